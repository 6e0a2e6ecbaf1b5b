// A stand-in for a running browser in the catalogue tests under Wine: copied
// to the browser's executable name (chrome.exe) so that a process snapshot
// lists it under that name. It has no window, so it can never be mistaken
// for another test's window, and it ends by itself after the given time
// should the test that started it die first.
//   browser_standin.exe <milliseconds>
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    const unsigned long milliseconds = argc > 1 ? std::wcstoul(argv[1], nullptr, 10) : 60000;
    Sleep(milliseconds);
    return 0;
}
