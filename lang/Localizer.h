// The language table: one LangPack per language, the current language, and the
// components to tell when it changes. Lookups never fail loudly: an unknown id
// reads as the empty text.
#pragma once

#include "base/Array.h"
#include "base/IEventListener.h"
#include "base/Pool.h"
#include "base/StrBuffer.h"
#include "lang/LangPack.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace s::xml {
class Node;
}

namespace s::lang {

class Localizer : public s::thread::PooledObject<Localizer>, private LangPackSource {
public:
    Localizer();
    ~Localizer() override;
    Localizer(const Localizer&) = delete;
    Localizer& operator=(const Localizer&) = delete;

    const char* className() const override { return "s_lang_Localizer"; }
    void reset() override;

    // Builds the packs from a parsed table. On Windows before 6.0 the
    // Venetian texts get "ł" for "ƚ", which those systems' fonts lack.
    void load(const s::xml::Node& root);
    void load(const s::xml::Node& root, unsigned windowsMajorVersion);
    // The same from the table's UTF-8 bytes, which must outlive this object
    // (the program's own resource does): every language's names at once,
    // but the texts only of the language current() chooses and of English;
    // another pack's when it is first asked for, read from the bytes again.
    // A program shows one language, and the forty cost megabytes.
    void loadTable(std::string_view utf8, unsigned windowsMajorVersion);

    int count() const { return static_cast<int>(m_packs.size()); }
    LangPack* pack(int index) const { return m_packs[static_cast<std::size_t>(index)]; }

    // The current pack; chosen from the system language on first use, else
    // the first pack. Needs at least one pack.
    LangPack* current();
    const StrBuffer& text(int32_t id);
    const StrBuffer& englishText(int32_t id);
    bool hasText(int32_t id);

    LangPack* findByEnglishName(std::u16string_view name) const;
    void select(std::u16string_view name);
    void selectIndex(int index);

    void addListener(s::gui::events::IEventListener* listener);
    void removeListener(s::gui::events::IEventListener* listener);

private:
    // One pack per <entry> of the <languages> element.
    void readLanguages(const s::xml::Node& languages);
    // The texts of `which` (packs of this table) from the table's entries.
    void fillTexts(const s::xml::Node& root, const std::vector<LangPack*>& which);
    // The same from loadTable's bytes: scanned when the table has the
    // program's own shape, parsed whole otherwise.
    void readTexts(const std::vector<LangPack*>& which);
    // The scan; false (and nothing added) when the table has another shape.
    bool scanTexts(const std::vector<LangPack*>& which);
    void fill(LangPack& pack) override;
    void addText(LangPack& pack, int32_t id, std::u16string_view key, std::u16string_view text,
                 bool legacyVenetian) const;
    void notify();
    void releasePacks();

    std::vector<LangPack*> m_packs;  // owned
    std::string_view m_table;        // loadTable's bytes, for the packs not yet filled
    bool m_legacyVenetian = false;
    LangPack* m_current = nullptr;
    std::vector<s::gui::events::IEventListener*> m_listeners;  // not owned
};

// The English name of a Windows LANGID as the table matches it
// ("Chinese_simplified", "Japanese", "Unknown").
StrBuffer languageNameOf(uint16_t langId);
// The user's UI language by that rule; read once per process.
const StrBuffer& systemLanguageName();

}  // namespace s::lang
