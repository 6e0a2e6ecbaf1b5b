#include "platform/ErrorText.h"

namespace s::platform {

// The in-memory platform knows the texts of the errors its fakes inject,
// worded as US English Windows words them; others have none.
std::u16string systemErrorText(Win32Error error)
{
    switch (error) {
    case kErrorFileNotFound:
        return u"The system cannot find the file specified.\r\n";
    case kErrorAccessDenied:
        return u"Access is denied.\r\n";
    default:
        return {};
    }
}

}  // namespace s::platform
