#include "platform/SystemInfo.h"

namespace s::platform {

// The in-memory platform looks like a Windows 7 machine installed on C:.
const SystemFacts& systemFacts()
{
    static const SystemFacts facts{u"C:\\Windows", u"C:\\Windows\\system32", 6, 1, 7601};
    return facts;
}

}  // namespace s::platform
