// Points the platform's own answers (where Windows, a profile, the program
// and the temporary folder are; the current folder) at folders of a test's
// sandbox, so that a test of the places no clean may empty can put sentinels
// in them. Natively it sets the in-memory machine; under Wine it changes this
// process's environment and current folder, which the real Win32 calls read
// (GetTempPathW, ExpandEnvironmentStringsW, relative paths). Everything goes
// back when the object goes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace safety_test {

class SafetyMachine {
public:
    SafetyMachine();
    ~SafetyMachine();
    SafetyMachine(const SafetyMachine&) = delete;
    SafetyMachine& operator=(const SafetyMachine&) = delete;

    // %SystemRoot% and %windir% name `folder`.
    void pointWindowsFolderAt(std::u16string_view folder);
    // %USERPROFILE% names `folder`.
    void pointProfileAt(std::u16string_view folder);
    // TMP and TEMP are unset and the profile is `profile`: GetTempPathW falls
    // back to the profile, as it does on a machine whose variables are gone.
    void dropTemporaryFolder(std::u16string_view profile);
    void setCurrentFolder(std::u16string_view folder);

    // The folder of the running program: natively one the test chooses,
    // under Wine this test's own (it runs from a copy on drive C:).
    std::u16string programFolder(std::u16string_view wanted);

    // `path` in 8.3 form: natively `shortName` becomes the alias of its last
    // component; under Wine the file system made one of its own. Empty when
    // there is none.
    std::u16string shortForm(std::u16string_view path, std::u16string_view shortName);

    // Files at absolute paths (parents made as needed), checked and removed
    // without the code under test.
    static bool makeFile(std::u16string_view path, std::uint64_t size = 4);
    static bool writeFile(std::u16string_view path, std::string_view bytes);
    // The file's bytes; empty when it cannot be read.
    static std::string readFile(std::u16string_view path);
    static bool exists(std::u16string_view path);
    static void removeFile(std::u16string_view path);

    // Reads the machine again (protected places, the catalogue's folders).
    static void forgetAnswers();

private:
    struct Saved;
    std::unique_ptr<Saved> m_saved;
};

}  // namespace safety_test
