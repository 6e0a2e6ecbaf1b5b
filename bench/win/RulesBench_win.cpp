// The community rule file at the start of a collect run, on the real file
// system and registry (run it under Wine or on Windows): the generated file
// shaped like the published one (bench/RulesShape.h) read, then read and
// detected into groups, in a profile where three Chromium browsers (two
// profiles each), Firefox, 120 Store packages and 60 of the file's
// applications are present. Goals: reading under 30 ms, reading and
// detecting under 200 ms.
//
//   purgo_rules_bench_win [rounds] [detect]
//
// With "detect" only the rounds of reading and detecting run (for a
// profiler: perf record -- wine purgo_rules_bench_win.exe 20 detect).
//
// Baselines in the same run: decoding the file's bytes (MultiByteToWideChar),
// the least a reader does; and listing every folder the fixture made once
// with FindFirstFileW, the least a detection that looks at the browsers'
// folders does.
//
// The fixture goes into the user's real folders (%LocalAppData%, %AppData%,
// %ProgramFiles%, HKCU\Software) because that is where the rules look: run
// it in a throw-away prefix only. It removes exactly what it made (files,
// then the folders and keys it created, deepest first) and nothing that was
// there before.
//
// Google Benchmark is not packaged for MinGW, so this is a small timer of its
// own: each figure is the median of the rounds, the best beside it.
#include "bench/RulesShape.h"
#include "catalogue/RuleGroups.h"

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace purgo = s::file::gui::dialogs::purgo;

namespace {

std::wstring wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::wstring folderOf(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : L"";
}

// What the fixture made, to be taken away again.
struct Made {
    std::vector<std::wstring> files;
    std::vector<std::wstring> folders;  // in the order made
    std::vector<std::wstring> keys;     // below HKCU\Software, in the order made
};

void makeFolders(const std::wstring& path, Made& made)
{
    for (std::size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1)) {
        const std::wstring part = path.substr(0, slash);
        if (CreateDirectoryW(part.c_str(), nullptr))
            made.folders.push_back(part);
    }
    if (CreateDirectoryW(path.c_str(), nullptr))
        made.folders.push_back(path);
}

bool makeFixture(const rules_shape::Shape& shape, Made& made)
{
    const std::map<std::string, std::wstring> roots = {
        {"LocalAppData", folderOf(CSIDL_LOCAL_APPDATA)},
        {"AppData", folderOf(CSIDL_APPDATA)},
        {"ProgramFiles", folderOf(CSIDL_PROGRAM_FILES)},
        {"CommonAppData", folderOf(CSIDL_COMMON_APPDATA)},
    };
    for (const auto& [name, root] : roots) {
        if (root.empty()) {
            std::fprintf(stderr, "no folder for %s\n", name.c_str());
            return false;
        }
    }
    for (const rules_shape::Place& place : shape.places) {
        const std::wstring path = roots.at(place.variable) + L"\\" + wide(place.path);
        if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
            std::fprintf(stderr, "already there, not a throw-away prefix? %ls\n", path.c_str());
            return false;
        }
        makeFolders(place.size >= 0 ? path.substr(0, path.rfind(L'\\')) : path, made);
        if (place.size < 0)
            continue;
        const HANDLE file =
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        made.files.push_back(path);
        const std::string bytes(static_cast<std::size_t>(place.size), 'x');
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    for (const std::string& key : shape.keys) {
        const std::wstring vendor = L"Software\\" + wide(key.substr(0, key.find('\\')));
        const std::wstring full = L"Software\\" + wide(key);
        for (const std::wstring& part : {vendor, full}) {
            HKEY handle = nullptr;
            DWORD disposition = 0;
            if (RegCreateKeyExW(HKEY_CURRENT_USER, part.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                                &disposition) != ERROR_SUCCESS)
                return false;
            RegCloseKey(handle);
            if (disposition == REG_CREATED_NEW_KEY)
                made.keys.push_back(part);
        }
    }
    return true;
}

void removeFixture(const Made& made)
{
    for (const std::wstring& file : made.files)
        DeleteFileW(file.c_str());
    for (auto it = made.folders.rbegin(); it != made.folders.rend(); ++it)
        RemoveDirectoryW(it->c_str());
    for (auto it = made.keys.rbegin(); it != made.keys.rend(); ++it)
        RegDeleteKeyW(HKEY_CURRENT_USER, it->c_str());
}

template <typename Work> std::vector<double> timed(int rounds, Work work)
{
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms;
}

double median(const std::vector<double>& sorted)
{
    return sorted[sorted.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const bool detectOnly = argc > 2 && std::string(argv[2]) == "detect";
    const rules_shape::Shape shape = rules_shape::makeShape();
    Made made;
    if (!makeFixture(shape, made)) {
        removeFixture(made);
        return 1;
    }

    const int baselineRounds = detectOnly ? 1 : rounds;
    std::wstring decoded(shape.text.size(), L'\0');
    const auto decode = timed(baselineRounds, [&] {
        MultiByteToWideChar(CP_UTF8, 0, shape.text.data(), static_cast<int>(shape.text.size()), decoded.data(),
                            static_cast<int>(decoded.size()));
    });
    const auto listing = timed(baselineRounds, [&] {
        WIN32_FIND_DATAW data;
        for (const std::wstring& folder : made.folders) {
            const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
            if (find == INVALID_HANDLE_VALUE)
                continue;
            while (FindNextFileW(find, &data)) {
            }
            FindClose(find);
        }
    });
    std::size_t entries = 0;
    const auto read = timed(baselineRounds, [&] {
        const purgo::RuleFile file = purgo::readRuleFile(shape.text);
        entries = file.entries.size();
    });
    std::size_t groups = 0;
    std::size_t targets = 0;
    const auto detect = timed(rounds, [&] {
        std::vector<purgo::TimeRecord*> list;
        purgo::RuleGroupBuilder builder;
        builder.add(purgo::readRuleFile(shape.text), list);
        groups = list.size();
        targets = 0;
        for (purgo::TimeRecord* group : list) {
            targets += group->childCount();
            group->release();
        }
    });
    removeFixture(made);

    std::printf("rule file: %zu bytes, %zu entries, %d FileKeys (%d REMOVESELF), %d DetectFile, %d Detect\n",
                shape.text.size(), entries, shape.fileKeys, shape.removeSelf, shape.detectFiles, shape.detects);
    std::printf("fixture: %zu files, %zu folders, %zu keys; %zu groups with %zu targets detected\n", made.files.size(),
                made.folders.size(), made.keys.size(), groups, targets);
    std::printf("%-34s %9s %9s\n", "median of rounds (best)", "ms", "best");
    std::printf("%-34s %9.2f %9.2f\n", "decode baseline", median(decode), decode.front());
    std::printf("%-34s %9.2f %9.2f\n", "read (goal < 30 ms)", median(read), read.front());
    std::printf("%-34s %9.2f %9.2f\n", "listing baseline", median(listing), listing.front());
    std::printf("%-34s %9.2f %9.2f\n", "read and detect (goal < 200 ms)", median(detect), detect.front());
    std::printf("ratios: read / decode %.1f, read and detect / listing %.1f\n", median(read) / median(decode),
                median(detect) / median(listing));
    return 0;
}
