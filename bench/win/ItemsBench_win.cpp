// The items window's listing on the real file system (run it under Wine or
// on Windows, on a display): one wildcard target ("*.tmp" in a folder and
// its subfolders) over 100,000 files in 100 folders, listed as the window
// lists it when it opens (the clean's own listing, each item measured) into
// the window's model, then sorted by size; against the scan of the same
// target as the baseline, in this same binary. Then the phases of opening
// the window one by one: the clean's listing alone (the enumeration and a
// path object per item), the items made from it (measures, texts, times),
// the model (the first sort, by path), and the window itself opened on the
// row until its list has painted. Prints the times and the ratio; the goal
// is the window open under a second.
//
//   purgo_items_bench_win [folders] [files-per-folder]
//
// Run it from drive C: of the prefix (its settings file goes beside it).
//
// The files are spread over folders because Wine makes a file in a folder
// of n entries in time that grows with n: one folder of 100,000 would take
// the better part of an hour to make.
//
// Google Benchmark is not packaged for MinGW, so this is a small timer of its
// own: every figure is the best of a few rounds (the first pays for the
// file system's caches).
#include "app/items/ItemsModel.h"
#include "app/items/ItemsWindow_win.h"
#include "app/start/AppBase.h"
#include "engine/Scan.h"
#include "gui/Skinner.h"
#include "lang/Localizer.h"

#include <windows.h>

#include <commctrl.h>

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

// What Win32 alone costs: every folder enumerated once, its entries counted.
std::size_t bareEnumeration(const std::wstring& root, int folders)
{
    std::size_t entries = 0;
    for (int d = -1; d < folders; ++d) {
        const std::wstring folder = d < 0 ? root : root + L"\\d" + std::to_wstring(d);
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        do
            ++entries;
        while (FindNextFileW(find, &data));
        FindClose(find);
    }
    return entries;
}

}  // namespace

int main(int argc, char** argv)
{
    const int folders = argc > 1 ? std::atoi(argv[1]) : 100;
    const int perFolder = argc > 2 ? std::atoi(argv[2]) : 1000;
    const int files = folders * perFolder;
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring root = std::wstring(temp) + L"purgo-items-bench";
    const auto removeAll = [&] {
        for (int d = 0; d < folders; ++d)
            bareDelete(root + L"\\d" + std::to_wstring(d));
        bareDelete(root);
    };
    removeAll();
    CreateDirectoryW(root.c_str(), nullptr);
    const std::string bytes(64, 'x');
    for (int d = 0; d < folders; ++d) {
        const std::wstring dir = root + L"\\d" + std::to_wstring(d);
        CreateDirectoryW(dir.c_str(), nullptr);
        for (int f = 0; f < perFolder; ++f) {
            const HANDLE file = CreateFileW((dir + L"\\cache" + std::to_wstring(f) + L".tmp").c_str(), GENERIC_WRITE, 0,
                                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            DWORD written = 0;
            WriteFile(file, bytes.data(), static_cast<DWORD>(1 + f % 64), &written, nullptr);
            CloseHandle(file);
        }
    }

    purgo::TimeRecordHandle group(purgo::TimeRecord::makeGroup(u"g", u"G", u""));
    const std::wstring pattern = root + L"\\*.tmp";
    group->addChild(
        purgo::TimeRecord::makeTarget(purgo::Type_File_Wild, u"t", std::u16string(pattern.begin(), pattern.end())));
    purgo::TimeRecord& target = *group->child(0);
    target.wildInSubfolders = true;
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

    // The phases of opening the window on the row. The program's start
    // steps would open its web page for a settings file of another version.
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring saveData(module);
    saveData.resize(saveData.find_last_of(L'\\') + 1);
    saveData += L"savedata";
    CreateDirectoryW(saveData.c_str(), nullptr);
    saveData += L"\\SaveData.xml";
    const HANDLE settings =
        CreateFileW(saveData.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const char kSettings[] = "<savedata><Version>1.25</Version></savedata>";
    DWORD written = 0;
    WriteFile(settings, kSettings, sizeof kSettings - 1, &written, nullptr);
    CloseHandle(settings);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    s::gui::drawer::Skinner skins;
    s::app::win::AppBase app;
    app.initialise(u"purgo_items_bench_win.exe", &skins);
    app.lang().select(u"English");
    double bare = 1e9, enumerated = 1e9, made = 1e9, modelled = 1e9, opened = 1e9;
    for (int round = 0; round < 3; ++round) {
        bare = std::min(bare, seconds([&] { bareEnumeration(root, folders); }));
        std::size_t seen = 0;
        enumerated =
            std::min(enumerated, seconds([&] { purgo::forEachCleanItem(target, [&](purgo::CleanItem&) { ++seen; }); }));
        std::vector<purgo::ListedItem> items;
        made = std::min(made, seconds([&] { items = purgo::listRowItems(target); }));
        purgo::ItemsModel model;
        modelled = std::min(modelled, seconds([&] { model.setItems(std::move(items)); }));
        purgo::ItemsWindow window(app);
        opened = std::min(opened, seconds([&] {
                              window.open(nullptr, target);
                              UpdateWindow(window.hwnd());
                              UpdateWindow(window.control(purgo::ItemsWindow::Control::List));
                          }));
        if (seen != count || window.rows().rowCount() != static_cast<int>(count))
            std::printf("round %d: %zu items enumerated, %d in the window\n", round, seen, window.rows().rowCount());
    }
    std::printf("opening the window: %.3f s; the clean's listing %.3f s (bare FindFirstFileW/FindNextFileW over "
                "the folders once: %.3f s), the items made from it %.3f s, the model %.3f s, the window's own part "
                "%.3f s\n",
                opened, enumerated, bare, made - enumerated, modelled, opened - made - modelled);
    removeAll();
    return opened < 1.0 ? 0 : 1;
}
