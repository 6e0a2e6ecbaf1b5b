// Folder measure and cleaning of a tree of 100,000 files in 100 folders on
// the real file system (run it under Wine or on Windows), each against a
// baseline in this same binary that makes the bare Win32 calls: enumerate
// and sum the sizes; delete the files, then the folders. Prints the ratios.
//
//   purgo_bench_win [folders] [files-per-folder] [rounds]
//   purgo_bench_win keep    a scan of 100 folder targets of 100 files with
//                           the user's keep list of 1,000 entries (ten of
//                           them files in ten of the folders, the rest
//                           elsewhere), against the same scan without one
//   purgo_bench_win collect [groups] [folders-per-group] [files-per-folder] [rounds]
//                           the collect's measure of several groups (4 of
//                           25 folders of 1,000 files unless told), each an
//                           all-levels folder target, on one thread and on
//                           the pool the collect run uses, against the bare
//                           loop over the whole tree
//
// Google Benchmark is not packaged for MinGW, so this is a small timer of its
// own: the engine and its baseline alternate round by round, and the
// medians and the spread of the per-round ratios are reported (the machine
// is shared: a ratio taken within one round is what survives the noise).
#include "engine/Clean.h"
#include "engine/GroupOverlap.h"
#include "engine/Scan.h"
#include "engine/UserKeepList.h"
#include "platform/PathWin.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace purgo = s::file::gui::dialogs::purgo;

namespace {

std::wstring g_root;

void makeTree(int folders, int files)
{
    CreateDirectoryW(g_root.c_str(), nullptr);
    for (int d = 0; d < folders; ++d) {
        const std::wstring dir = g_root + L"\\d" + std::to_wstring(d);
        CreateDirectoryW(dir.c_str(), nullptr);
        for (int f = 0; f < files; ++f) {
            const std::wstring name = dir + L"\\f" + std::to_wstring(f) + L".tmp";
            HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            if (h != INVALID_HANDLE_VALUE) {
                DWORD written = 0;
                WriteFile(h, "x", 1, &written, nullptr);
                CloseHandle(h);
            }
        }
    }
}

int64_t bareMeasure(const std::wstring& folder, int64_t& count)
{
    int64_t bytes = 0;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (!wcscmp(data.cFileName, L".") || !wcscmp(data.cFileName, L".."))
            continue;
        ++count;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            bytes += bareMeasure(folder + L"\\" + data.cFileName, count);
        else
            bytes += (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return bytes;
}

void bareDelete(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!wcscmp(data.cFileName, L".") || !wcscmp(data.cFileName, L".."))
                continue;
            const std::wstring path = folder + L"\\" + data.cFileName;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                bareDelete(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

template <class F> double seconds(F&& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int keepBench()
{
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    g_root = std::wstring(temp) + L"purgo-keep-bench";
    bareDelete(g_root);
    makeTree(100, 100);
    const auto folder = [](int d) {
        const std::wstring w = g_root + L"\\d" + std::to_wstring(d);
        return std::u16string(w.begin(), w.end());
    };
    purgo::TimeRecordHandle group(purgo::TimeRecord::makeGroup(u"g", u"G", u""));
    for (int d = 0; d < 100; ++d)
        group->addChild(purgo::TimeRecord::makeTarget(purgo::Type_Folder_1_Level, u"t", folder(d)));
    purgo::UserKeepList list;
    for (int i = 0; list.entries().size() < 1000; ++i) {
        const std::wstring n = std::to_wstring(i);
        const std::u16string number(n.begin(), n.end());
        if (i < 10)
            list.add({purgo::KeepEntryType::File, folder(i * 10) + u"\\f7.tmp", {}, 0});
        else if (i % 2)
            list.add({purgo::KeepEntryType::Folder, u"C:\\Tools\\app" + number, {}, 0});
        else
            list.add({purgo::KeepEntryType::Pattern, u"C:\\Work\\p" + number, u"*.cfg", 0});
    }
    const std::vector<purgo::TimeRecord*> groups{&*group};
    double without = 1e9, with = 1e9;
    int64_t foundWithout = 0, foundWith = 0;
    for (int round = 0; round < 5; ++round) {
        purgo::applyUserKeepList(groups, nullptr);
        without = std::min(without, seconds([&] { purgo::scan(*group, nullptr, purgo::Captions::Without); }));
        foundWithout = group->found;
        purgo::applyUserKeepList(groups, list.keepList());
        with = std::min(with, seconds([&] { purgo::scan(*group, nullptr, purgo::Captions::Without); }));
        foundWith = group->found;
    }
    std::printf("scan of 10,000 files: without a keep list %.4f s (%lld found), with 1,000 entries %.4f s (%lld "
                "found), ratio %.3f\n",
                without, static_cast<long long>(foundWithout), with, static_cast<long long>(foundWith), with / without);
    bareDelete(g_root);
    return 0;
}

int collectBench(int argc, char** argv)
{
    const int groupCount = argc > 2 ? std::max(1, std::atoi(argv[2])) : 4;
    const int folders = argc > 3 ? std::max(1, std::atoi(argv[3])) : 25;
    const int files = argc > 4 ? std::max(1, std::atoi(argv[4])) : 1000;
    const int rounds = argc > 5 ? std::max(1, std::atoi(argv[5])) : 5;
    const int pool = purgo::overlapWorkers();
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring top = std::wstring(temp) + L"purgo-collect-bench-" + std::to_wstring(GetCurrentProcessId());
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::printf("collect: %d groups x %d folders x %d files, %d rounds, pool of %d (%u processors)\n", groupCount,
                folders, files, rounds, pool, std::thread::hardware_concurrency());
    CreateDirectoryW(top.c_str(), nullptr);
    std::vector<purgo::TimeRecord*> groups;
    for (int g = 0; g < groupCount; ++g) {
        g_root = top + L"\\g" + std::to_wstring(g);
        makeTree(folders, files);
        const std::u16string folder(g_root.begin(), g_root.end());
        purgo::TimeRecord* group = purgo::TimeRecord::makeGroup(u"g", u"G", u"");
        group->addChild(purgo::TimeRecord::makeTarget(purgo::Type_Folder_All_Levels, u"t", folder));
        groups.push_back(group);
    }
    const auto collect = [&](int workers) {
        const std::atomic<bool> cancel{false};
        purgo::OverlapSteps steps;
        steps.measure = [&](int i) {
            purgo::scan(*groups[static_cast<std::size_t>(i)], nullptr, purgo::Captions::Without);
        };
        steps.publish = [](int) {
        };
        return seconds([&] { purgo::measureInOrder(static_cast<int>(groups.size()), workers, cancel, steps); });
    };
    const auto bare = [&] {
        int64_t count = 0;
        return seconds([&] { bareMeasure(top, count); });
    };
    // The three alternate, the order turned every round, so that none always
    // finds the caches another warmed.
    std::vector<double> bares, ones, pools;
    for (int round = 0; round < rounds; ++round) {
        for (int step = 0; step < 3; ++step) {
            switch ((step + round) % 3) {
            case 0:
                bares.push_back(bare());
                break;
            case 1:
                ones.push_back(collect(1));
                break;
            default:
                pools.push_back(collect(pool));
                break;
            }
        }
    }
    int64_t found = 0;
    for (const purgo::TimeRecord* group : groups)
        found += group->found;
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    const auto ratios = [&](const std::vector<double>& a, const std::vector<double>& b) {
        std::vector<double> r;
        for (std::size_t i = 0; i < a.size(); ++i)
            r.push_back(a[i] / b[i]);
        std::sort(r.begin(), r.end());
        std::printf("median %.2f, range %.2f-%.2f", median(r), r.front(), r.back());
    };
    std::printf("found %lld; bare %.3f s, one thread %.3f s, pool %.3f s (medians)\n", static_cast<long long>(found),
                median(bares), median(ones), median(pools));
    std::printf("one thread / bare: ");
    ratios(ones, bares);
    std::printf("\npool / bare: ");
    ratios(pools, bares);
    std::printf("\npool / one thread: ");
    ratios(pools, ones);
    std::printf("\n");
    for (purgo::TimeRecord* group : groups)
        group->release();
    bareDelete(top);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "collect")
        return collectBench(argc, argv);
    if (argc > 1 && std::string(argv[1]) == "keep")
        return keepBench();
    if (argc > 1 && std::string(argv[1]) == "steps") {
        wchar_t tmp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, tmp);
        g_root = std::wstring(tmp) + L"purgo-steps";
        bareDelete(g_root);
        makeTree(1, 2000);
        const std::wstring dir = g_root + L"\\d0";
        auto name = [&](int f) {
            const std::wstring w = dir + L"\\f" + std::to_wstring(f) + L".tmp";
            return std::u16string(w.begin(), w.end());
        };
        std::printf("make %.3f\n", seconds([&] {
                        for (int f = 0; f < 2000; ++f)
                            s::file::win::PathWin::make(name(f));
                    }));
        std::printf("make+exists %.3f\n", seconds([&] {
                        for (int f = 0; f < 2000; ++f)
                            s::file::win::PathWin::make(name(f))->exists();
                    }));
        std::printf("make+attributes %.3f\n", seconds([&] {
                        for (int f = 0; f < 2000; ++f)
                            s::file::win::PathWin::make(name(f))->attributes();
                    }));
        std::printf("deletePath %.3f\n", seconds([&] {
                        for (int f = 0; f < 2000; ++f)
                            s::file::win::PathWin::make(name(f))->deletePath(s::file::NotifyShell::No,
                                                                             s::file::AtReboot::Leave);
                    }));
        makeTree(1, 2000);
        std::printf("deletePath of the folder %.3f\n", seconds([&] {
                        const std::u16string folder(dir.begin(), dir.end());
                        s::file::win::PathWin::make(folder)->deletePath(s::file::NotifyShell::No,
                                                                        s::file::AtReboot::Leave);
                    }));
        makeTree(1, 2000);
        std::printf("list then deletePath each %.3f\n", seconds([&] {
                        const std::u16string folder(dir.begin(), dir.end());
                        auto list = s::file::win::PathListHandle::take();
                        s::file::win::PathWin::make(folder)->listChildren(*list, s::file::HiddenAndSystem::Include,
                                                                          s::file::Recursion::TopLevel);
                        for (int i = 0; i < list->count(); ++i)
                            list->get(i).deletePath(s::file::NotifyShell::No, s::file::AtReboot::Leave);
                    }));
        bareDelete(g_root);
        return 0;
    }
    const int folders = argc > 1 ? std::atoi(argv[1]) : 100;
    const int files = argc > 2 ? std::atoi(argv[2]) : 1000;
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    // One folder per process, so that two builds can be measured side by side.
    g_root = std::wstring(temp) + L"purgo-bench-" + std::to_wstring(GetCurrentProcessId());
    // Each line as it is printed: a run of many minutes shows its progress.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    bareDelete(g_root);
    std::printf("tree: %d folders x %d files, %d rounds, each figure against its baseline in the same round\n", folders,
                files, rounds);
    makeTree(folders, files);

    const std::u16string root(g_root.begin(), g_root.end());
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    const auto report = [&](const char* what, const std::vector<double>& bare, const std::vector<double>& engine) {
        std::vector<double> ratios;
        for (std::size_t i = 0; i < bare.size(); ++i)
            ratios.push_back(engine[i] / bare[i]);
        std::sort(ratios.begin(), ratios.end());
        std::printf("%s: bare %.3f s, engine %.3f s (medians); ratio median %.2f, range %.2f-%.2f\n", what,
                    median(bare), median(engine), median(ratios), ratios.front(), ratios.back());
    };

    // Measure: the two alternate, the order swapped every round, so that
    // neither always finds the caches the other warmed.
    std::vector<double> bareMeasures, engineMeasures;
    for (int round = 0; round < rounds; ++round) {
        const auto bare = [&] {
            int64_t count = 0;
            return seconds([&] { bareMeasure(g_root, count); });
        };
        const auto engine = [&] {
            return seconds([&] {
                int64_t f = 0, d = 0;
                s::file::win::PathWin::make(root)->measureFolder(s::file::Descend::Yes, s::file::TopFiles::Count, f, d);
            });
        };
        if (round % 2) {
            engineMeasures.push_back(engine());
            bareMeasures.push_back(bare());
        } else {
            bareMeasures.push_back(bare());
            engineMeasures.push_back(engine());
        }
    }
    report("measure", bareMeasures, engineMeasures);

    // Clean: each round deletes a fresh tree with the bare loop, then one with
    // the engine as a target of each kind would (start-up mode: no rescan,
    // the deletion alone). "all levels" deletes every listed child as an
    // item of its own, "and self" walks the tree from the folder.
    for (const auto kind : {purgo::Type_Folder_All_Levels_IncludeSelf, purgo::Type_Folder_All_Levels}) {
        std::vector<double> bareCleans, engineCleans;
        for (int round = 0; round < rounds; ++round) {
            bareDelete(g_root);
            makeTree(folders, files);
            bareCleans.push_back(seconds([&] { bareDelete(g_root); }));
            makeTree(folders, files);
            purgo::TimeRecordHandle group(purgo::TimeRecord::makeGroup(u"g", u"G", u""));
            group->checked = true;
            group->addChild(purgo::TimeRecord::makeTarget(kind, u"t", root));
            purgo::CleanContext context;
            context.mode = purgo::CleanMode::Startup;
            engineCleans.push_back(seconds([&] { purgo::clean(*group, context); }));
        }
        report(kind == purgo::Type_Folder_All_Levels ? "clean, all levels" : "clean, all levels and self", bareCleans,
               engineCleans);
    }
    bareDelete(g_root);
    return 0;
}
