// The key object over the native key services (platform/NativeRegistry.h):
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
#include "platform/NativeRegistry.h"

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

    // A key object from the pool, set to `text` (and so opened).
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
    int listValueNames(StrArray& out) override;
    std::int64_t valueDataLength(std::u16string_view name) override;
    bool deleteValue(std::u16string_view name) override;
    void deleteKeyTree(IncludeSelf includeSelf) override;

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
    void open();
    // Queries the named value into the shared data area, growing it as
    // needed; copies what was found into m_lastData.
    s::platform::NtStatus query(std::u16string_view name, std::uint32_t& dataLength);

    StrBuffer m_root;
    StrBuffer m_subkey;
    StrBuffer m_windowsPath;
    StrBuffer m_nativePath;  // empty when it cannot be formed (no SID)
    s::platform::NativeKey m_key;
    s::col::ArrayU08 m_lastData;
    std::uint32_t m_lastType = 0;
};

using RegDirHandle = s::thread::Pooled<RegDir>;

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
