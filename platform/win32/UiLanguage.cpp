#include "platform/UiLanguage.h"

#include <windows.h>

namespace s::platform {

uint16_t userUiLanguage()
{
    return GetUserDefaultUILanguage();
}

}  // namespace s::platform
