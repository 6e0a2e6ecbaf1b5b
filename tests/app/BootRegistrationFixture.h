// What the boot registration's tests share: a program file in a scratch
// folder, the Startup folder made where the machine has none, a unique entry
// name, and "EnableLUA" put back as it was.
#pragma once

#include "app/start/BootRegistration.h"
#include "platform/FileSystem.h"
#include "platform/RegFunctions.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <random>
#include <string>

namespace s::app::win {

namespace p = s::platform;

inline std::u16string uniqueName()
{
    std::u16string name = u"Oxle Purgo Test ";
    for (char c : std::to_string(std::random_device{}()))
        name += static_cast<char16_t>(c);
    return name;
}

inline constexpr char16_t kPolicies[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

inline OsVersion version(unsigned major, unsigned minor)
{
    OsVersion os;
    os.major = major;
    os.minor = minor;
    os.nt = true;
    return os;
}

// Sets or removes "EnableLUA" for one test and puts back what was there.
class UacSetting {
public:
    UacSetting()
    {
        p::RegKey key;
        if (p::regFunctions().openKey(p::RootKey::LocalMachine, kPolicies, p::kKeyRead, key) == 0) {
            std::uint32_t length = sizeof(m_old);
            m_had = p::regFunctions().queryValue(key, u"EnableLUA", nullptr, reinterpret_cast<std::byte*>(&m_old),
                                                 &length) == 0;
        }
    }
    ~UacSetting()
    {
        if (m_had)
            set(m_old);
        else
            remove();
    }
    UacSetting(const UacSetting&) = delete;
    UacSetting& operator=(const UacSetting&) = delete;

    void set(std::uint32_t value)
    {
        p::RegKey key;
        ASSERT_EQ(p::regFunctions().createKey(p::RootKey::LocalMachine, kPolicies, p::kKeyAllAccess, key), 0u);
        ASSERT_EQ(p::regFunctions().setValue(key, u"EnableLUA", p::kRegDword,
                                             reinterpret_cast<const std::byte*>(&value), sizeof(value)),
                  0u);
    }
    void remove()
    {
        p::RegKey key;
        if (p::regFunctions().openKey(p::RootKey::LocalMachine, kPolicies, p::kKeyAllAccess, key) == 0)
            p::regFunctions().deleteValue(key, u"EnableLUA");
    }

private:
    bool m_had = false;
    std::uint32_t m_old = 0;
};

inline bool exists(const std::u16string& path)
{
    return p::fileSystem().attributes(path.c_str()) != p::kInvalidFileAttributes;
}

class BootRegistration : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::u16string link = bootRunShortcutPath(name);
        ASSERT_FALSE(link.empty()) << "no Startup folder";
        // The in-memory machine has no Startup folder until one is made.
        for (std::size_t slash = link.find(u'\\', 3); slash != std::u16string::npos;
             slash = link.find(u'\\', slash + 1))
            p::fileSystem().createDirectory(link.substr(0, slash).c_str());
        scratch.putFile(u"purgo.exe", "MZ");
        program = std::u16string(scratch.join(u"purgo.exe").view());
    }
    void TearDown() override { unregisterBootRun(name, version(10, 0)); }

    // Unique per process, so that parallel runs never share an entry.
    const std::u16string name = uniqueName();
    testing_platform::ScratchFolder scratch;
    std::u16string program;
    UacSetting uac;
};

}  // namespace s::app::win
