// The machine a catalogue test looks at. Natively it is the fakes, seeded as
// a small Windows installation on C: with one fixed drive; under Wine it is
// the throw-away prefix itself. Each helper changes only what a test asks for,
// and every test removes what it made.
#pragma once

#include <string>
#include <string_view>

namespace catalogue_test {

// Natively: fresh fakes (folders below, drive C: fixed, the program at
// C:\Purgo\purgo.exe). Both: the catalogue's folder cache is forgotten.
void setUpMachine();

bool makeFolder(std::u16string_view path);
// An ini file of ASCII text, readable by GetPrivateProfileStringW.
bool writeIniFile(std::u16string_view path, std::string_view text);
// Removes a file or a folder with everything in it; quiet when missing.
void removePath(std::u16string_view path);

}  // namespace catalogue_test
