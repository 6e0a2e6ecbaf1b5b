// Measuring a folder tree through the path object, as every scan of a folder
// target does: 3 levels of 8 folders, 40 files in each folder (23,400 files),
// in the in-memory file system.
//
// Baseline: the same walk written directly against the file-system service
// (find first/next, sizes from the enumeration), the least any measure must
// do. Read the path object's time as a multiple of it: the path logic (path
// texts, long-form checks, the pending list) should add little to the
// enumeration itself.
#include "platform/PathWin.h"
#include "platform/fake/FakeFileSystem.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

namespace p = s::platform;
using s::file::Descend;
using s::file::TopFiles;
using s::file::win::PathWin;

constexpr int kFoldersPerLevel = 8;
constexpr int kLevels = 3;
constexpr int kFilesPerFolder = 40;

const std::u16string& tree()
{
    static const std::u16string root = [] {
        const std::u16string base = u"C:\\bench\\tree";
        p::FakeFileSystem& fs = p::fakeFileSystem();
        const auto fill = [&](const auto& self, const std::u16string& folder, int level) -> void {
            fs.addFolder(folder);
            for (int f = 0; f < kFilesPerFolder; ++f)
                fs.addFile(folder + u"\\file" + std::u16string(1, static_cast<char16_t>(u'a' + f % 26)) +
                               static_cast<char16_t>(u'0' + f / 26) + u".tmp",
                           static_cast<std::uint64_t>(100 + f));
            if (level == kLevels)
                return;
            for (int d = 0; d < kFoldersPerLevel; ++d)
                self(self, folder + u"\\dir" + static_cast<char16_t>(u'0' + d), level + 1);
        };
        fill(fill, base, 0);
        return base;
    }();
    return root;
}

std::int64_t walk(const std::u16string& folder, std::int64_t& files, std::int64_t& folders)
{
    p::IFileSystem& fs = p::fileSystem();
    const std::u16string pattern = folder + u"\\*";
    p::FindHandle handle;
    p::FindData data;
    std::int64_t bytes = 0;
    if (fs.findFirst(pattern.c_str(), handle, data) != p::kErrorSuccess)
        return 0;
    do {
        if (data.name == u"." || data.name == u"..")
            continue;
        if (data.attributes & p::kFileAttributeDirectory) {
            ++folders;
            bytes += walk(folder + u"\\" + data.name, files, folders);
        } else {
            ++files;
            bytes += static_cast<std::int64_t>(data.size);
        }
    } while (fs.findNext(handle, data) == p::kErrorSuccess);
    return bytes;
}

void BM_MeasureBaselineDirectWalk(benchmark::State& state)
{
    const std::u16string& root = tree();
    for (auto _ : state) {
        std::int64_t files = 0;
        std::int64_t folders = 0;
        benchmark::DoNotOptimize(walk(root, files, folders));
        benchmark::DoNotOptimize(files);
    }
}
BENCHMARK(BM_MeasureBaselineDirectWalk)->Unit(benchmark::kMillisecond);

void BM_MeasureFolderThroughPathObject(benchmark::State& state)
{
    const std::u16string& root = tree();
    for (auto _ : state) {
        std::int64_t files = 0;
        std::int64_t folders = 0;
        auto path = PathWin::make(root);
        benchmark::DoNotOptimize(path->measureFolder(Descend::Yes, TopFiles::Count, files, folders));
        benchmark::DoNotOptimize(files);
    }
}
BENCHMARK(BM_MeasureFolderThroughPathObject)->Unit(benchmark::kMillisecond);

}  // namespace
