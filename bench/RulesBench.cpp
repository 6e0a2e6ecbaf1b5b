// The community rule file at the start of a collect run: a generated file
// shaped like the published one (bench/RulesShape.h: 4,067 entries, 1.8 MB,
// 14,000 FileKeys, wildcards in middle components over 47 Chromium-style
// browsers) read, and its entries detected and turned into groups on the
// in-memory machine with three browsers, Firefox, 120 Store packages and 60
// of the applications present. bench/win/RulesBench_win.cpp measures the
// same under Wine on the real file system, where the goals are set.
//
// Baseline: decoding the file's bytes from UTF-8, the least any reader must
// do. Read the parse as a multiple of it; the build adds the machine's
// questions (keys, folders, wildcard profiles, protected places).
#include "base/Utf8.h"
#include "bench/RulesShape.h"
#include "catalogue/RuleGroups.h"
#include "platform/ShellItems.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace {

namespace purgo = s::file::gui::dialogs::purgo;
using purgo::TimeRecord;

std::u16string wide(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

// The file, with its machine set up once on the in-memory disk and registry.
const rules_shape::Shape& shape()
{
    static const rules_shape::Shape made = [] {
        rules_shape::Shape out = rules_shape::makeShape();
        auto& disk = s::platform::fakeFileSystem();
        auto& registry = s::platform::fakeRegistry();
        const std::map<std::string, int> csidl = {
            {"LocalAppData", s::platform::kCsidlLocalAppData},
            {"AppData", s::platform::kCsidlAppData},
            {"ProgramFiles", s::platform::kCsidlProgramFiles},
            {"CommonAppData", s::platform::kCsidlCommonAppData},
        };
        for (const rules_shape::Place& place : out.places) {
            std::u16string folder;
            s::platform::shellItems().specialFolderPath(csidl.at(place.variable), folder);
            const std::u16string path = folder + u"\\" + wide(place.path);
            if (place.size >= 0)
                disk.addFile(path, static_cast<std::uint64_t>(place.size));
            else
                disk.addFolder(path);
        }
        const std::u16string user = registry.rootPath(s::platform::RootKey::CurrentUser);
        for (const std::string& key : out.keys)
            registry.addKey(user + u"\\Software\\" + wide(key));
        return out;
    }();
    return made;
}

void BM_DecodeBaseline(benchmark::State& state)
{
    const std::string& text = shape().text;
    std::u16string out(text.size(), u'\0');
    for (auto _ : state) {
        const std::size_t units =
            s::str::utf8::decode(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), out.data());
        benchmark::DoNotOptimize(units);
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_DecodeBaseline)->Unit(benchmark::kMillisecond);

void BM_ReadRuleFile(benchmark::State& state)
{
    const std::string& text = shape().text;
    for (auto _ : state) {
        const purgo::RuleFile file = purgo::readRuleFile(text);
        benchmark::DoNotOptimize(file.entries.data());
    }
}
BENCHMARK(BM_ReadRuleFile)->Unit(benchmark::kMillisecond);

// Reading, detecting and building the groups, as the collect run does.
void BM_ReadAndDetect(benchmark::State& state)
{
    const std::string& text = shape().text;
    std::size_t groups = 0;
    for (auto _ : state) {
        std::vector<TimeRecord*> list;
        purgo::RuleGroupBuilder builder;
        builder.add(purgo::readRuleFile(text), list);
        groups = list.size();
        state.PauseTiming();
        for (TimeRecord* group : list)
            group->release();
        state.ResumeTiming();
    }
    state.counters["groups"] = static_cast<double>(groups);
}
BENCHMARK(BM_ReadAndDetect)->Unit(benchmark::kMillisecond);

}  // namespace
