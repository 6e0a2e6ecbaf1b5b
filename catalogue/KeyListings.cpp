#include "catalogue/KeyListings.h"

#include "base/StrArray.h"
#include "base/StrBuffer.h"
#include "platform/RegDir.h"

namespace s::file::gui::dialogs::purgo {

namespace {

// A key asked about this often is listed; fewer questions open the keys
// below it one by one.
constexpr int kListFromQuestion = 3;

std::u16string folded(std::u16string_view text)
{
    return s::str::strbuffer::StrBuffer::foldedCopy(text);
}

}  // namespace

KeyListings::Key& KeyListings::keyOf(std::u16string_view keyPath)
{
    return m_keys[folded(keyPath)];
}

bool KeyListings::existsDirectly(std::u16string_view keyPath)
{
    return s::reg::win::RegDir::make(keyPath)->exists();
}

bool KeyListings::exists(std::u16string_view keyPath)
{
    while (!keyPath.empty() && keyPath.back() == u'\\')
        keyPath.remove_suffix(1);
    const std::size_t slash = keyPath.rfind(u'\\');
    // A root key, or a key right below one (HKEY_USERS\<SID>): opened.
    if (slash == std::u16string_view::npos || keyPath.find(u'\\') == slash)
        return existsDirectly(keyPath);
    const std::u16string_view parent = keyPath.substr(0, slash);
    // HKEY_CLASSES_ROOT is two keys merged, whose listing is not what an
    // open finds.
    if (folded(keyPath.substr(0, keyPath.find(u'\\'))) == u"hkey_classes_root")
        return existsDirectly(keyPath);
    Key& key = keyOf(parent);
    if (key.direct)
        return existsDirectly(keyPath);
    if (!key.listed) {
        if (++key.asked < kListFromQuestion) {
            if (!exists(parent)) {
                key.listed = true;
                key.present = false;
                return false;
            }
            return existsDirectly(keyPath);
        }
        key.listed = true;
        auto opened = s::reg::win::RegDir::make(parent);
        key.present = opened->exists();
        // A registry link lists nothing of the key it stands for: its keys
        // are opened one by one.
        if (key.present && opened->isLink()) {
            key.direct = true;
            return existsDirectly(keyPath);
        }
        if (key.present) {
            s::str::StrArray names;
            opened->listSubkeyNames(names);
            for (int i = 0; i < names.count(); ++i)
                key.names.insert(folded(names[i].view()));
        }
    }
    return key.present && key.names.count(folded(keyPath.substr(slash + 1))) != 0;
}

}  // namespace s::file::gui::dialogs::purgo
