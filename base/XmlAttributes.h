// The attribute records of an XML element and their pool.
//
// A record holds a name and a value, the value in its stored (escaped) form.
// A record with an empty name holds element text. Names are not unique:
// adding always appends, and lookups take the first record whose name equals
// the asked one ignoring case (A-Z). To replace a value, remove the record and
// add a new one (it then moves to the end).
#pragma once

#include "base/Array.h"
#include "base/PoolerBase.h"

#include <cstdint>
#include <string_view>

namespace s::xml {

// One attribute: name and value in one heap block ("name\0value\0"), or no
// block when both are empty. 16 bytes, pooled by AttrFactory.
struct AttrRecord {
    char16_t* buffer = nullptr;
    int32_t nameLength = 0;
    int32_t valueLength = 0;

    std::u16string_view name() const { return {buffer ? buffer : u"", static_cast<std::size_t>(nameLength)}; }
    std::u16string_view value() const
    {
        return {buffer ? buffer + nameLength + 1 : u"", static_cast<std::size_t>(valueLength)};
    }
    // Replaces both texts.
    void assign(std::u16string_view name, std::u16string_view value);
    void freeBuffer();
};

// The pool of attribute records: a Factory whose spares are records with
// their buffers freed.
class AttrFactory : public s::thread::Factory {
public:
    // The process-wide pool. It is never destroyed, so that trees that live
    // until the end of the process can still give their records back.
    static AttrFactory& instance();

    const char* className() const override { return "s_xml_AttrFactory"; }
    // A new, empty pool of records.
    s::base::IObject* newInstance() const override { return new AttrFactory(); }

    AttrRecord* takeRecord() { return static_cast<AttrRecord*>(take()); }
    void giveRecord(AttrRecord* record) { give(record, kAskSize); }

    void* generate() override { return new AttrRecord(); }
    unsigned sizeOf(const void*) const override { return sizeof(AttrRecord); }
    void resetObject(void* object) override;
    void disposeObject(void* object) override;

    AttrFactory() = default;
    ~AttrFactory() override { clearSpares(); }
};

class Attributes : public s::thread::PooledObject<Attributes> {
public:
    Attributes();
    Attributes(const Attributes& other);
    Attributes(Attributes&& other) noexcept;
    Attributes& operator=(const Attributes& other);
    Attributes& operator=(Attributes&& other) noexcept;
    ~Attributes() override = default;

    const char* className() const override { return "s_xml_Attributes"; }
    void reset() override { clear(); }

    int count() const { return m_records.count(); }
    const AttrRecord& record(int index) const { return *m_records.at<AttrRecord>(index); }
    std::u16string_view name(int index) const { return record(index).name(); }
    // The stored (escaped) value.
    std::u16string_view rawValue(int index) const { return record(index).value(); }

    // Index of the first record named name ignoring case (A-Z), or -1.
    int find(std::u16string_view name) const;
    // Appends a record with the value as it is given (already escaped).
    void addRaw(std::u16string_view name, std::u16string_view rawValue);
    // Removes the record and gives it back to its pool.
    void removeAt(int index) { m_records.disposeAt(index); }
    void clear() { m_records.clear(); }

private:
    s::col::ArrayP m_records;
};

}  // namespace s::xml
