// The machine a catalogue test looks at. Natively it is the fakes, seeded as
// a small Windows installation on C: with one fixed drive; under Wine it is
// the throw-away prefix itself. Each helper changes only what a test asks for,
// and every test removes what it made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace catalogue_test {

// Natively: fresh fakes (folders below, drive C: fixed, the program at
// C:\Purgo\purgo.exe). Both: the catalogue's folder cache is forgotten.
void setUpMachine();

bool makeFolder(std::u16string_view path);
// An ini file of ASCII text, readable by GetPrivateProfileStringW.
bool writeIniFile(std::u16string_view path, std::string_view text);
// A file of `bytes` bytes, with the folders above it.
bool makeFile(std::u16string_view path, std::size_t bytes);
// Removes a file or a folder with everything in it; quiet when missing.
void removePath(std::u16string_view path);

// A program of the given executable name ("chrome.exe") that runs in this
// session while the object lives: natively a process of the fake table,
// under Wine a small stand-in program copied to that name by the test
// fixture (tests/CMakeLists.txt) and started from drive C:.
class RunningProgram {
public:
    explicit RunningProgram(std::u16string_view executableName);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool started() const { return m_started; }

private:
    bool m_started = false;
    std::uintptr_t m_handle = 0;  // the process, under Wine
    std::uint32_t m_id = 0;
};

}  // namespace catalogue_test
