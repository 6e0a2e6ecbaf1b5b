#include "tests/base/ThreadProbe.h"

#include <string>
#include <unistd.h>

namespace purgo_test {

// A thread of this process is listed under /proc/self/task by its kernel id
// until it has ended (threads other than the first are reaped at once).
bool osThreadAlive(unsigned long id)
{
    const std::string path = "/proc/self/task/" + std::to_string(id);
    return access(path.c_str(), F_OK) == 0;
}

}  // namespace purgo_test
