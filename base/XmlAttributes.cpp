#include "base/XmlAttributes.h"

#include "base/StrBuffer.h"

#include <cstring>
#include <utility>

namespace s::xml {

void AttrRecord::assign(std::u16string_view name, std::u16string_view value)
{
    freeBuffer();
    if (name.empty() && value.empty())
        return;
    buffer = new char16_t[name.size() + value.size() + 2];
    // (An empty view may carry a null pointer, which memcpy must not see.)
    if (!name.empty())
        std::memcpy(buffer, name.data(), name.size() * sizeof(char16_t));
    buffer[name.size()] = 0;
    if (!value.empty())
        std::memcpy(buffer + name.size() + 1, value.data(), value.size() * sizeof(char16_t));
    buffer[name.size() + 1 + value.size()] = 0;
    nameLength = static_cast<int32_t>(name.size());
    valueLength = static_cast<int32_t>(value.size());
}

void AttrRecord::freeBuffer()
{
    delete[] buffer;
    buffer = nullptr;
    nameLength = 0;
    valueLength = 0;
}

AttrFactory& AttrFactory::instance()
{
    static AttrFactory* const factory = new AttrFactory();
    return *factory;
}

void AttrFactory::resetObject(void* object)
{
    if (object)
        static_cast<AttrRecord*>(object)->freeBuffer();
}

void AttrFactory::disposeObject(void* object)
{
    if (!object)
        return;
    auto* record = static_cast<AttrRecord*>(object);
    record->freeBuffer();
    delete record;
}

Attributes::Attributes()
{
    m_records.setDestructor(&AttrFactory::instance());
}

Attributes::Attributes(const Attributes& other) : Attributes()
{
    *this = other;
}

Attributes::Attributes(Attributes&& other) noexcept : Attributes()
{
    *this = std::move(other);
}

Attributes& Attributes::operator=(const Attributes& other)
{
    if (this != &other) {
        clear();
        m_records.reserve(other.count());
        for (int i = 0; i < other.count(); ++i)
            addRaw(other.name(i), other.rawValue(i));
    }
    return *this;
}

Attributes& Attributes::operator=(Attributes&& other) noexcept
{
    if (this != &other) {
        m_records = std::move(other.m_records);
        other.m_records.setDestructor(&AttrFactory::instance());
    }
    return *this;
}

int Attributes::find(std::u16string_view name) const
{
    for (int i = 0; i < count(); ++i) {
        const AttrRecord& r = record(i);
        if (static_cast<std::size_t>(r.nameLength) != name.size())
            continue;
        const std::u16string_view candidate = r.name();
        bool equal = true;
        for (std::size_t k = 0; k < name.size() && equal; ++k)
            equal = s::str::StrBuffer::foldCase(candidate[k]) == s::str::StrBuffer::foldCase(name[k]);
        if (equal)
            return i;
    }
    return -1;
}

void Attributes::addRaw(std::u16string_view name, std::u16string_view rawValue)
{
    AttrRecord* record = AttrFactory::instance().takeRecord();
    record->assign(name, rawValue);
    // Elements have a few attributes: start with a small block instead of
    // the growth rule's hundred (the language table has ten thousand texts).
    if (m_records.capacity() == 0)
        m_records.reserveExactly(4);
    m_records.add(record);
}

}  // namespace s::xml
