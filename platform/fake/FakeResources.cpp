#include "platform/Resources.h"

#include <mutex>
#include <string>
#include <vector>

namespace s::platform {

namespace {

struct Entry {
    std::u16string type;
    int id;
    ResourceData data;
};

// Filled during static initialisation by the generated carrier files; a
// function-local static so that the order of initialisation does not matter.
std::vector<Entry>& entries()
{
    static std::vector<Entry> table;
    return table;
}

std::mutex& entriesLock()
{
    static std::mutex lock;
    return lock;
}

// Resource type names compare without regard to case, as Windows does.
bool sameTypeName(const std::u16string& a, const char16_t* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char16_t x = a[i], y = b[i];
        if (x >= u'a' && x <= u'z')
            x = static_cast<char16_t>(x - 32);
        if (y >= u'a' && y <= u'z')
            y = static_cast<char16_t>(y - 32);
        if (x != y)
            return false;
    }
    return i == a.size() && b[i] == 0;
}

}  // namespace

ResourceData findResource(const char16_t* typeName, int id)
{
    std::lock_guard guard(entriesLock());
    for (const Entry& entry : entries()) {
        if (entry.id == id && sameTypeName(entry.type, typeName))
            return entry.data;
    }
    return {};
}

void registerEmbeddedResource(const char16_t* typeName, int id, const unsigned char* data, std::size_t size)
{
    std::lock_guard guard(entriesLock());
    entries().push_back({typeName, id, {data, size}});
}

}  // namespace s::platform
