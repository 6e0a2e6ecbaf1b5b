// What a test needs to see of the operating system's threads directly.
#pragma once

namespace purgo_test {

// Whether the thread with this id (as OsThread numbers them) still runs.
bool osThreadAlive(unsigned long id);

}  // namespace purgo_test
