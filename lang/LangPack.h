// The texts of one language of the language table, looked up by numeric id
// (linear search, first match) or by text key.
#pragma once

#include "base/Array.h"
#include "base/MapTable.h"
#include "base/Pool.h"
#include "base/StrArray.h"
#include "base/StrBuffer.h"

#include <cstdint>
#include <string_view>
#include <utility>

namespace s::lang {

using s::str::strbuffer::StrBuffer;

class LangPack;

// Fills a pack whose texts were left in the table (Localizer::loadTable).
class LangPackSource {
public:
    virtual void fill(LangPack& pack) = 0;

protected:
    ~LangPackSource() = default;
};

class LangPack : public s::thread::PooledObject<LangPack> {
public:
    LangPack();
    const char* className() const override { return "s_lang_LangPack"; }
    void reset() override;

    const StrBuffer& tagName() const { return m_tagName; }
    const StrBuffer& engName() const { return m_engName; }
    const StrBuffer& trueName() const { return m_trueName; }
    void setNames(std::u16string_view tagName, std::u16string_view engName, std::u16string_view trueName);

    // No duplicate check: an id added twice is found at its first place.
    void add(int32_t id, std::u16string_view text);
    void addKeyed(std::u16string_view key, std::u16string_view text);

    // The stored text of id, or nullptr.
    const StrBuffer* find(int32_t id) const;
    const StrBuffer* findKeyed(std::u16string_view key) const;
    bool hasId(int32_t id) const { return find(id) != nullptr; }
    bool hasKey(std::u16string_view key) const
    {
        ensureFilled();
        return m_keyed.contains(key);
    }
    int count() const
    {
        ensureFilled();
        return m_ids.count();
    }
    int32_t idAt(int index) const
    {
        ensureFilled();
        return m_ids.get(index);
    }

    // A pack with its names only: `source` adds the texts when one is first
    // asked for. Until then the pack holds none.
    void leaveUnfilled(LangPackSource* source) { m_source = source; }
    bool isFilled() const { return m_source == nullptr; }

private:
    void ensureFilled() const
    {
        // The source is dropped first: filling looks texts up in this pack.
        if (m_source)
            std::exchange(const_cast<LangPack*>(this)->m_source, nullptr)->fill(*const_cast<LangPack*>(this));
    }

    LangPackSource* m_source = nullptr;
    StrBuffer m_tagName;
    StrBuffer m_engName;
    StrBuffer m_trueName;
    s::col::ArrayS32 m_ids;
    s::str::StrArray m_texts;  // parallel to m_ids
    // Keyed texts live in their own array: appended to m_texts they would
    // shift every later numeric text away from its id.
    s::str::StrArray m_keys;
    s::str::StrArray m_keyedTexts;
    s::map::MapTable m_keyed;  // key -> StrBuffer* owned by m_keyedTexts
};

}  // namespace s::lang
