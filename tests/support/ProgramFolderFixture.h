// The program's own folder for one test: natively a folder of the in-memory
// file system set as the program folder, with a stand-in for the test
// executable; under Wine the real folder of the test executable. Either way
// the folder "savedata" in it is removed before and after the test (it is
// the test's, nothing else puts one beside a test executable).
#pragma once

#include "base/StrBuffer.h"

#include <string>
#include <string_view>

namespace testing_settings {

class ProgramFolderFixture {
public:
    ProgramFolderFixture();
    ~ProgramFolderFixture();
    ProgramFolderFixture(const ProgramFolderFixture&) = delete;
    ProgramFolderFixture& operator=(const ProgramFolderFixture&) = delete;

    // The file name of the running test executable.
    static std::u16string_view executableName() { return u"settings_program_tests.exe"; }
    // The file's bytes read behind the platform's back; false when missing.
    static bool readBack(const s::str::StrBuffer& path, std::string& bytes);

private:
    static void removeSavedata();
};

}  // namespace testing_settings
