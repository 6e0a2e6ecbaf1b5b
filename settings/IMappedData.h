// s::map::IMappedData: the settings store's interface. Every setting, window
// position, checked target and custom group the program remembers is a typed
// value addressed by a section path and a name.
//
// Addressing:
//   - section: element names separated by "\" or "/" ("items\Firefox",
//     "MainWindow/View"), compared ignoring case (A-Z). Empty components do
//     not count: "items\" is "items", "" is the root itself.
//   - name: the value's name in the section, compared ignoring case. The
//     empty name "" is the section's own text; any other name is an
//     attribute of the section's element.
//
// Failure rules, shared by every operation:
//   - a getter returns the caller's default only when the section or the
//     value is missing; a value that is present is always converted, so
//     letters where a number is expected read as 0 (false for a bool);
//   - a write that cannot reach the file is not reported: the value stays in
//     memory for the rest of the run;
//   - nothing throws.
//
// Implementations serialise their calls: the window thread and the main
// window's worker use one store, each call is atomic. A caller that needs
// several calls to stay together (and to reach the file in one write) holds
// a SaveBatch.
#pragma once

#include "base/Array.h"
#include "base/IObject.h"
#include "base/Pool.h"
#include "base/StrBuffer.h"

#include <cstdint>
#include <string_view>

namespace s::map {

using s::str::StrBuffer;

class IMappedData : public s::base::IObject {
public:
    // Writes the whole document to the backing file. False when there is no
    // file or it could not be written.
    virtual bool save() = 0;
    // Makes the section the selected one, creating every missing element on
    // the way. Repeated calls with the same path reuse the selection.
    virtual void selectSection(std::u16string_view section) = 0;
    // Removes the section's last element, with everything under it.
    virtual void removeSection(std::u16string_view section) = 0;
    // Selects the section only if it exists; creates nothing.
    virtual bool findSection(std::u16string_view section) = 0;
    // The section exists and holds a value of that name ("" : it has text).
    virtual bool exists(std::u16string_view section, std::u16string_view name) = 0;

    // Unsigned decimal (as wcstoul: a leading "-" negates), narrowed.
    virtual uint8_t getU8(std::u16string_view section, std::u16string_view name, uint8_t defaultValue) = 0;
    virtual uint16_t getU16(std::u16string_view section, std::u16string_view name, uint16_t defaultValue) = 0;
    virtual uint32_t getU32(std::u16string_view section, std::u16string_view name, uint32_t defaultValue) = 0;
    virtual uint64_t getU64(std::u16string_view section, std::u16string_view name, uint64_t defaultValue) = 0;
    // Signed decimal: leading white space and a sign, up to the first
    // non-digit, 0 without digits; saturated, then narrowed.
    virtual int8_t getS8(std::u16string_view section, std::u16string_view name, int8_t defaultValue) = 0;
    virtual int16_t getS16(std::u16string_view section, std::u16string_view name, int16_t defaultValue) = 0;
    virtual int32_t getS32(std::u16string_view section, std::u16string_view name, int32_t defaultValue) = 0;
    virtual int64_t getS64(std::u16string_view section, std::u16string_view name, int64_t defaultValue) = 0;
    virtual float getFloat(std::u16string_view section, std::u16string_view name, float defaultValue) = 0;
    virtual double getDouble(std::u16string_view section, std::u16string_view name, double defaultValue) = 0;
    // True when the stored text begins with "1" or "true" (lower case only).
    virtual bool getBool(std::u16string_view section, std::u16string_view name, bool defaultValue) = 0;
    // The decoded text. The result is the caller's own copy (so that a read on
    // another thread cannot change it). flag, when given, is cleared; option
    // is for stores that need one (the file store uses none).
    virtual StrBuffer getString(std::u16string_view section, std::u16string_view name,
                                std::u16string_view defaultValue = {}, bool* flag = nullptr, int option = 0) = 0;
    // Raw binary values: bytes copied into buffer, at most size; returns how
    // many. Stores that keep text (the file store) hold none and return 0.
    virtual int getBinary(std::u16string_view section, std::u16string_view name, void* buffer, int size) = 0;
    // The value read as two hexadecimal digits per byte, replacing target's
    // content (empty when absent). Returns target.
    virtual s::col::ArrayU08& getBytes(std::u16string_view section, std::u16string_view name,
                                       s::col::ArrayU08& target) = 0;
    // Deletes the value; false when there was none.
    virtual bool remove(std::u16string_view section, std::u16string_view name) = 0;

    // Writing replaces the value: the old one goes and the new one is added
    // behind the section's other values.
    virtual void setU8(std::u16string_view section, std::u16string_view name, uint8_t value) = 0;
    virtual void setU16(std::u16string_view section, std::u16string_view name, uint16_t value) = 0;
    virtual void setU32(std::u16string_view section, std::u16string_view name, uint32_t value) = 0;
    virtual void setU64(std::u16string_view section, std::u16string_view name, uint64_t value) = 0;
    virtual void setS8(std::u16string_view section, std::u16string_view name, int8_t value) = 0;
    virtual void setS16(std::u16string_view section, std::u16string_view name, int16_t value) = 0;
    virtual void setS32(std::u16string_view section, std::u16string_view name, int32_t value) = 0;
    virtual void setS64(std::u16string_view section, std::u16string_view name, int64_t value) = 0;
    // Six decimals.
    virtual void setFloat(std::u16string_view section, std::u16string_view name, float value) = 0;
    virtual void setDouble(std::u16string_view section, std::u16string_view name, double value) = 0;
    // "1" or "0".
    virtual void setBool(std::u16string_view section, std::u16string_view name, bool value) = 0;
    virtual void setString(std::u16string_view section, std::u16string_view name, std::u16string_view value) = 0;
    // Raw binary values; a store that keeps text stores none (it only saves
    // when auto-save is on, as after any write).
    virtual void setBinary(std::u16string_view section, std::u16string_view name, const void* data, int size) = 0;
    // Two lower-case hexadecimal digits per byte.
    virtual void setBytes(std::u16string_view section, std::u16string_view name, const uint8_t* bytes, int count) = 0;

    // With auto-save on, every change writes the whole file at once.
    virtual bool autoSave() = 0;
    virtual void setAutoSave(bool on) = 0;

    // Batches (SaveBatch below): while one is held, this thread's calls are
    // the only ones and changes wait; when the outermost batch ends, one save
    // writes them all (with auto-save on). Nestable.
    virtual void beginBatch() = 0;
    virtual void endBatch() = 0;

    // getBytes into a new pooled array.
    s::thread::Pooled<s::col::ArrayU08> getBytes(std::u16string_view section, std::u16string_view name)
    {
        s::thread::Pooled<s::col::ArrayU08> bytes = s::thread::Pooled<s::col::ArrayU08>::take();
        getBytes(section, name, *bytes);
        return bytes;
    }
};

// Holds a batch for one scope.
class SaveBatch {
public:
    explicit SaveBatch(IMappedData& store) : m_store(store) { m_store.beginBatch(); }
    ~SaveBatch() { m_store.endBatch(); }
    SaveBatch(const SaveBatch&) = delete;
    SaveBatch& operator=(const SaveBatch&) = delete;

private:
    IMappedData& m_store;
};

}  // namespace s::map
