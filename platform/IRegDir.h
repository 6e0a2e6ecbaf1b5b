// The key object: the only way the engine reaches registry keys and values.
// One object holds one key, opened through the native key services by its
// native path, and answers what the engine asks about it.
//
// Reading of the text (setPath): a root key name, "\", the subkey path. The
// roots, matched without regard to case in this order, and their native
// paths:
//   HKEY_USERS           \Registry\User
//   HKEY_LOCAL_MACHINE   \Registry\Machine
//   HKEY_CURRENT_USER    \Registry\User\<the current user's SID>
//   HKEY_CURRENT_CONFIG  \Registry\Machine\System\CurrentControlSet\Hardware Profiles\Current
//   HKEY_CLASSES_ROOT    \Registry\Machine\SOFTWARE\Classes
// The root name must end the text or be followed by "\"; trailing
// backslashes of the subkey path go. Any other text (abbreviations such as
// HKCU included) stands for HKEY_CURRENT_USER\InvalidKey, which normally does
// not exist.
//
// The key is opened with all key rights. A key that cannot be opened so - a
// missing one, or one the user may read but not write - behaves as missing:
// it lists nothing, measures nothing and deletions on it do nothing.
//
// Failure rules: nothing here reports an error beyond its result. Each object
// is used by one thread at a time; the result areas the enumerations and
// queries share are locked inside.
#pragma once

#include "base/IObject.h"
#include "base/StrArray.h"
#include "base/StrBuffer.h"

#include <cstdint>
#include <string_view>

namespace s::reg {

using s::str::strarray::StrArray;
using s::str::strbuffer::StrBuffer;

namespace win {
class RegDirList;
}

enum class IncludeSelf : std::uint8_t { No, Yes };

class IRegDir : public s::base::IObject {
public:
    // Chooses the root, sets the subkey path and opens the key. No error is
    // reported: a key that does not open is missing.
    virtual void setPath(std::u16string_view text) = 0;

    virtual const StrBuffer& rootName() const = 0;     // "HKEY_CURRENT_USER"
    virtual const StrBuffer& subkeyPath() const = 0;   // "Software\X"
    virtual const StrBuffer& windowsPath() const = 0;  // root name, "\", subkey path
    virtual const StrBuffer& nativePath() const = 0;   // native root, "\", subkey path
    // The text after the last backslash of the subkey path.
    virtual std::u16string_view subkeyName() const = 0;

    virtual bool isOpen() const = 0;
    // Opens the key again (closing it first when it is open), so that a key
    // deleted or made since counts as it is now.
    virtual bool exists() = 0;

    // Key objects for every subkey, in the registry's order, appended to
    // `out`; the count appended. Stops at the first entry that cannot be read.
    // Each subkey is opened as itself: one that is a registry link stays the
    // link, which lists nothing, and is never the key it stands for.
    virtual int listSubkeys(win::RegDirList& out) = 0;
    // Every value name, the unnamed default value as "", appended to `out`;
    // the count appended.
    virtual int listValueNames(StrArray& out) = 0;
    // The data length in bytes of the named value ("" the default value); 0
    // when it or the key is missing. The data is kept as lastValueData().
    virtual std::int64_t valueDataLength(std::u16string_view name) = 0;

    // Deletes the named value when it exists. True when it was deleted.
    virtual bool deleteValue(std::u16string_view name) = 0;
    // Deletes every subkey at every depth, children first, and with
    // IncludeSelf::Yes the key itself with its values. A link met below the
    // key is deleted as itself; nothing in its target is touched. Registry
    // deletions are never scheduled for the next boot.
    virtual void deleteKeyTree(IncludeSelf includeSelf) = 0;
};

}  // namespace s::reg
