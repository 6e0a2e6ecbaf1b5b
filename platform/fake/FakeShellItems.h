// The in-memory shell of native builds, and its test API. Only tests include
// this header; everything else reaches it through shellItems().
//
// What it models:
// - Special folders: the folders of a user "tester" on drive C: (Recent under
//   C:\Users\tester\AppData\Roaming\Microsoft\Windows, the Internet cache
//   under ...\AppData\Local\Microsoft\Windows\INetCache, and so on); the
//   Recycle Bin has no path. The folders are not created in the fake file
//   system; a test that needs one makes it.
// - Recycle Bins per drive root, "C:\" holding nothing at the start; a root
//   without a bin fails its query with kEFail, as a drive that does not exist
//   does on Windows. Emptying a bin leaves it at 0 items of 0 bytes.
// - Clearing the recent documents deletes every file directly in the Recent
//   folder of the fake file system (the shortcuts), as Windows does.
// - Opening a folder starts nothing; the request is recorded.
#pragma once

#include "platform/ShellItems.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace s::platform {

struct EmptyRecycleBinCall {
    std::u16string root;
    std::uint32_t flags = 0;
};

class FakeShellItems : public IShellItems {
public:
    // A folder path for csidl, or (with an empty path) a lookup that fails.
    virtual void setSpecialFolder(int csidl, std::u16string_view path) = 0;
    virtual void setRecycleBin(std::u16string_view root, std::int64_t size, std::int64_t items) = 0;
    // Makes the query and the emptying of that root fail with `result`.
    virtual void failRecycleBin(std::u16string_view root, HResult result) = 0;
    // Back to the start: the default folders, one empty bin on C:\, no
    // records.
    virtual void clear() = 0;

    // Inspection.
    virtual std::vector<int> openedFolders() = 0;
    virtual std::vector<EmptyRecycleBinCall> emptiedBins() = 0;
    virtual int recentDocumentClears() = 0;
};

// The same object as shellItems() in native builds.
FakeShellItems& fakeShellItems();

}  // namespace s::platform
