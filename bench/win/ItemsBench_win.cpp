// The items window's listing on the real file system (run it under Wine or
// on Windows): one folder target of 100,000 files listed as the window lists
// it when it opens (the clean's own listing, each item measured) into the
// window's model, then sorted by size; against the scan of the same target
// as the baseline, in this same binary. Prints the times and the ratio; the
// goal is the listing under a second.
//
//   purgo_items_bench_win [files]
//
// Google Benchmark is not packaged for MinGW, so this is a small timer of its
// own: every figure is the best of a few rounds (the first pays for the
// file system's caches).
#include "app/items/ItemsModel.h"
#include "engine/Scan.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace purgo = s::file::gui::dialogs::purgo;

namespace {

template <class F> double seconds(F&& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void bareDelete(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name != L"." && name != L"..")
                DeleteFileW((folder + L"\\" + name).c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    const int files = argc > 1 ? std::atoi(argv[1]) : 100000;
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring root = std::wstring(temp) + L"purgo-items-bench";
    bareDelete(root);
    CreateDirectoryW(root.c_str(), nullptr);
    const std::string bytes(64, 'x');
    for (int f = 0; f < files; ++f) {
        const HANDLE file = CreateFileW((root + L"\\cache" + std::to_wstring(f) + L".tmp").c_str(), GENERIC_WRITE, 0,
                                        nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(1 + f % 64), &written, nullptr);
        CloseHandle(file);
    }

    purgo::TimeRecordHandle group(purgo::TimeRecord::makeGroup(u"g", u"G", u""));
    group->addChild(
        purgo::TimeRecord::makeTarget(purgo::Type_Folder_1_Level, u"t", std::u16string(root.begin(), root.end())));
    purgo::TimeRecord& target = *group->child(0);
    double scanned = 1e9, listed = 1e9, sorted = 1e9;
    std::size_t count = 0;
    for (int round = 0; round < 3; ++round) {
        scanned = std::min(scanned, seconds([&] { purgo::scan(target, nullptr, purgo::Captions::Without); }));
        purgo::ItemsModel model;
        listed = std::min(listed, seconds([&] { model.setItems(purgo::listRowItems(target)); }));
        count = model.itemCount();
        sorted = std::min(sorted, seconds([&] { model.sortBy(purgo::ItemsModel::Column::Size, false); }));
    }
    std::printf("%d files: scan %.3f s; listing into the model %.3f s (%zu items), ratio %.2f; sort by size %.3f s\n",
                files, scanned, listed, count, listed / scanned, sorted);
    bareDelete(root);
    return listed < 1.0 ? 0 : 1;
}
