#include "platform/fake/FakeUiLanguage.h"
#include "platform/UiLanguage.h"

#include <atomic>

namespace s::platform {

namespace {
std::atomic<uint16_t> g_langId{0x0409};
}

uint16_t userUiLanguage()
{
    return g_langId.load();
}

void setFakeUserUiLanguage(uint16_t langId)
{
    g_langId.store(langId);
}

}  // namespace s::platform
