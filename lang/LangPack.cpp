#include "lang/LangPack.h"

namespace s::lang {

LangPack::LangPack() = default;

void LangPack::reset()
{
    m_source = nullptr;
    m_tagName.clear();
    m_engName.clear();
    m_trueName.clear();
    m_ids.clear();
    m_texts.clear();
    m_keyed.clear();
    m_keys.clear();
    m_keyedTexts.clear();
}

void LangPack::setNames(std::u16string_view tagName, std::u16string_view engName, std::u16string_view trueName)
{
    m_tagName.assign(tagName);
    m_engName.assign(engName);
    m_trueName.assign(trueName);
}

void LangPack::add(int32_t id, std::u16string_view text)
{
    m_ids.add(id);
    m_texts.add(text);
}

void LangPack::addKeyed(std::u16string_view key, std::u16string_view text)
{
    m_keys.add(key);
    StrBuffer& stored = m_keyedTexts.add(text);
    if (!m_keyed.contains(key))
        m_keyed.put(key, &stored);
}

const StrBuffer* LangPack::find(int32_t id) const
{
    ensureFilled();
    const int index = m_ids.indexOf(id);
    return index < 0 ? nullptr : &m_texts.get(index);
}

const StrBuffer* LangPack::findKeyed(std::u16string_view key) const
{
    ensureFilled();
    return static_cast<const StrBuffer*>(m_keyed.get(key));
}

}  // namespace s::lang
