// The key object over the native key services (platform/NativeKeyService.h):
// the system's own registry logic, written once, running on ntdll and on the
// in-memory registry alike. The rules are in platform/IRegDir.h.
//
// Result areas, as the native calls want them, shared by every key object of
// the process, each under its own lock: subkey names and value names are
// read one entry at a time into 1024-byte areas; value data into an area of
// 16384 bytes that grows to the reported length plus 1026 bytes whenever the
// system says it is too small, and the query is repeated.
//
// Key objects and their lists come from pools: take one with RegDir::make,
// which gives it back when the handle goes out of scope.
#pragma once

#include "base/Array.h"
#include "base/Pool.h"
#include "platform/IRegDir.h"
#include "platform/NativeKeyService.h"

#include <vector>

namespace s::reg::win {

class RegDir final : public s::thread::PooledObject<RegDir, s::reg::IRegDir> {
public:
    static constexpr std::size_t kNameAreaBytes = 1024;
    static constexpr std::size_t kDataAreaStartBytes = 16384;
    static constexpr std::size_t kDataAreaSlackBytes = 1026;

    RegDir() = default;
    ~RegDir() override = default;
    RegDir(const RegDir&) = delete;
    RegDir& operator=(const RegDir&) = delete;

    // A key object from the pool, set to `text` (and so opened). A link
    // named by the text is followed, as any program opening the key would.
    static s::thread::Pooled<RegDir> make(std::u16string_view text);

    const char* className() const override { return "s_reg_win_RegDir"; }
    void reset() override;

    void setPath(std::u16string_view text) override;
    const StrBuffer& rootName() const override { return m_root; }
    const StrBuffer& subkeyPath() const override { return m_subkey; }
    const StrBuffer& windowsPath() const override { return m_windowsPath; }
    const StrBuffer& nativePath() const override { return m_nativePath; }
    std::u16string_view subkeyName() const override;
    bool isOpen() const override { return m_key.isOpen(); }
    bool exists() override;
    int listSubkeys(RegDirList& out) override;
    // The subkeys' names only, appended to out (nothing is opened); 0 for a
    // key that is not open or is a link.
    int listSubkeyNames(StrArray& out);
    int listValueNames(StrArray& out) override;
    std::int64_t valueDataLength(std::u16string_view name) override;
    bool deleteValue(std::u16string_view name) override;
    // True when the value can be queried (deleteValue deletes only such a
    // value); a value with no data exists too.
    bool valueExists(std::u16string_view name);
    void deleteKeyTree(IncludeSelf includeSelf) override;

    // True when this key is a place no clean may empty or delete: see
    // isProtectedNativePath. Decided on the native path, so that every name
    // of a key (HKEY_CURRENT_USER\X and HKEY_USERS\<the user's SID>\X,
    // HKEY_CLASSES_ROOT\X and HKEY_LOCAL_MACHINE\SOFTWARE\Classes\X) gets
    // the same answer; whether the key exists does not matter. The
    // InvalidKey stand-in for a text that names no root is not protected (it
    // normally does not exist). A key under HKEY_CURRENT_USER while the
    // user's SID cannot be read is protected: which key it would be cannot
    // be known, and it opens nothing anyway.
    bool isProtectedKey() const;

    // True when this object holds a registry link opened as itself: a subkey
    // met by listSubkeys (and so by deleteKeyTree and any measuring) whose
    // key is a link. Such a key lists no subkeys and no values, reads and
    // deletes no value, and deleteKeyTree(IncludeSelf::Yes) removes the link
    // alone: nothing in the key it stands for is ever listed, counted or
    // deleted. Measured, it is one subkey with nothing below it - exactly
    // the one key a clean removes. A key named by setPath's text is opened
    // following links and is never a link itself.
    bool isLink() const { return m_link; }
    // True when the key the text names is itself a registry link (opened as
    // itself to tell). A link further up the path does not count: Windows
    // keeps some of its own there (CurrentControlSet).
    static bool namesLink(std::u16string_view text);

    // The data and type of the value last queried by valueDataLength (empty
    // when that query failed).
    const s::col::ArrayU08& lastValueData() const { return m_lastData; }
    std::uint32_t lastValueType() const { return m_lastType; }

    // The current user's SID is read from the process token once per
    // process. When that fails, a message box says so once, and keys under
    // HKEY_CURRENT_USER do not open. For tests: read it again next time.
    static void forgetCurrentUser();

    // The size the shared value-data area has grown to (for tests).
    static std::size_t dataAreaBytes();

private:
    static s::thread::Pooled<RegDir> make(std::u16string_view text, s::platform::OpenLink link);
    void setPathAs(std::u16string_view text, s::platform::OpenLink link);
    void open();
    // Queries the named value into the shared data area, growing it as
    // needed; copies what was found into m_lastData.
    s::platform::NtStatus query(std::u16string_view name, std::uint32_t& dataLength);

    StrBuffer m_root;
    StrBuffer m_subkey;
    StrBuffer m_windowsPath;
    StrBuffer m_nativePath;  // empty when it cannot be formed (no SID)
    bool m_named = false;    // the text named a root (not the InvalidKey stand-in)
    s::platform::OpenLink m_openLink = s::platform::OpenLink::Follow;
    bool m_link = false;
    s::platform::NativeKey m_key;
    s::col::ArrayU08 m_lastData;
    std::uint32_t m_lastType = 0;
};

using RegDirHandle = s::thread::Pooled<RegDir>;

// The places no clean may empty, by native path. Names compare with A-Z
// folded, as the registry does, and empty components (doubled or trailing
// backslashes) do not count. Protected are:
//  - \Registry itself and the roots \Registry\Machine and \Registry\User;
//  - every key one level below a root, which covers each user hive
//    (\Registry\User\<SID>, <SID>_Classes, .DEFAULT) and HKEY_LOCAL_MACHINE's
//    hives (SOFTWARE, SYSTEM, SAM, ...);
//  - every key one level below a user hive, since each hive is a user's root;
//  - under HKEY_LOCAL_MACHINE and under every user hive: Software\Microsoft,
//    Software\Microsoft\Windows, Software\Microsoft\Windows\CurrentVersion,
//    Software\Classes, Software\Policies and Software\Wow6432Node;
//  - every key one level below a classes root: HKEY_LOCAL_MACHINE\SOFTWARE
//    \Classes and <user hive>\Software\Classes (<SID>_Classes is a hive);
//  - HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet and ControlSet000 to 999;
//  - HKEY_CURRENT_CONFIG (...\Hardware Profiles\Current under
//    CurrentControlSet or any ControlSetnnn) and every key one level below
//    it.
// Anything else is an ordinary key: ...\CurrentVersion\Explorer\RunMRU is
// not protected. Registry links are not resolved here: a path through a link
// is judged by its text.
bool isProtectedNativePath(std::u16string_view nativePath);

// An owning list of key objects, itself pooled. Its elements go back to their
// pool (closing their keys) when the list is cleared, reset or destroyed.
class RegDirList final : public s::thread::PooledObject<RegDirList> {
public:
    RegDirList() = default;
    ~RegDirList() override { clear(); }
    RegDirList(const RegDirList&) = delete;
    RegDirList& operator=(const RegDirList&) = delete;

    const char* className() const override { return "s_reg_win_RegDirList"; }
    void reset() override { clear(); }

    int count() const { return static_cast<int>(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    RegDir& get(int index) const { return *m_items[static_cast<std::size_t>(index)]; }
    RegDir& operator[](int index) const { return get(index); }

    void add(RegDirHandle key) { m_items.push_back(key.detach()); }
    void clear();

private:
    std::vector<RegDir*> m_items;
};

using RegDirListHandle = s::thread::Pooled<RegDirList>;

}  // namespace s::reg::win
