// A whole file written or read by its Windows path, behind the program's back
// (for tests that prepare or inspect what a program they start sees).
#pragma once

#include <string>
#include <string_view>

namespace testing_platform {

// Creates the file's folder (one level) when missing; false on any failure.
bool writeWholeFile(const std::wstring& path, std::string_view bytes);
// Empty when the file cannot be read.
std::string readWholeFile(const std::wstring& path);

}  // namespace testing_platform
