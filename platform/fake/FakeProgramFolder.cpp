#include "platform/fake/FakeProgramFolder.h"
#include "platform/ProgramFolder.h"

#include <mutex>

namespace s::platform {

namespace {

std::mutex g_lock;

s::str::StrBuffer& folder()
{
    static s::str::StrBuffer value(u"C:\\Program Files\\Oxle Purgo");
    return value;
}

}  // namespace

s::str::StrBuffer programFolder()
{
    std::lock_guard guard(g_lock);
    return folder();
}

void setProgramFolder(std::u16string_view value)
{
    std::lock_guard guard(g_lock);
    folder().assign(value);
}

}  // namespace s::platform
