// The community rule file at the start of a collect run: a generated file of
// 4,000 entries (about the size of the community's) read, and its entries
// detected and turned into groups on the in-memory machine, where half of
// the applications are installed (their keys, folders and two profiles each).
// The goal is under 200 ms for reading and detecting.
//
// Baseline: decoding the file's bytes from UTF-8, the least any reader must
// do. Read the parse as a multiple of it; the build adds the machine's
// questions (keys, folders, wildcard profiles, protected places).
#include "base/Utf8.h"
#include "catalogue/RuleGroups.h"
#include "platform/fake/FakeFileSystem.h"
#include "platform/fake/FakeRegistry.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

namespace purgo = s::file::gui::dialogs::purgo;
using purgo::TimeRecord;

constexpr int kEntries = 4000;
constexpr std::u16string_view kLocal = u"C:\\Users\\tester\\AppData\\Local\\";
constexpr std::u16string_view kRoaming = u"C:\\Users\\tester\\AppData\\Roaming\\";

std::u16string wide(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

// The file, and the machine with every even-numbered vendor installed.
const std::string& ruleFile()
{
    static const std::string text = [] {
        std::string out;
        auto& disk = s::platform::fakeFileSystem();
        auto& registry = s::platform::fakeRegistry();
        const std::u16string user = registry.rootPath(s::platform::RootKey::CurrentUser);
        const std::byte data[8] = {};
        for (int i = 0; i < kEntries; ++i) {
            const std::string vendor = "Vendor" + std::to_string(i);
            out += "[" + vendor + " Studio *]\r\nLangSecRef=" + std::to_string(3021 + i % 11) + "\r\n";
            if (i % 3 == 0)
                out += "Detect=HKCU\\Software\\" + vendor + "\r\n";
            else
                out += "DetectFile=%LocalAppData%\\" + vendor + "\r\n";
            if (i % 7 == 0)
                out += "DetectOS=6.1|\r\n";
            out += "FileKey1=%LocalAppData%\\" + vendor + "\\Cache|*.*|RECURSE\r\n";
            out += "FileKey2=%AppData%\\" + vendor + "\\Profiles\\*\\cache2|*.*|RECURSE|REMOVESELF\r\n";
            out += "FileKey3=%LocalAppData%\\" + vendor + "\\Logs|*.log;*.tmp;*.dmp|RECURSE\r\n";
            out += "RegKey1=HKCU\\Software\\" + vendor + "\\Recent\r\n";
            out += "RegKey2=HKCU\\Software\\" + vendor + "|LastFolder\r\n";
            out += "ExcludeKey1=FILE|%LocalAppData%\\" + vendor + "\\Cache\\|settings.json\r\n\r\n";
            if (i % 2 != 0)
                continue;
            const std::u16string name = wide(vendor);
            disk.addFile(std::u16string(kLocal) + name + u"\\Cache\\data_0", 100);
            disk.addFile(std::u16string(kLocal) + name + u"\\Logs\\run.log", 10);
            for (const char16_t* profile : {u"\\Profiles\\abc.default\\cache2\\x", u"\\Profiles\\def.work\\cache2\\x"})
                disk.addFile(std::u16string(kRoaming) + name + profile, 5);
            registry.addKey(user + u"\\Software\\" + name + u"\\Recent");
            registry.setValue(user + u"\\Software\\" + name, u"LastFolder", 3, data);
        }
        return out;
    }();
    return text;
}

void BM_DecodeBaseline(benchmark::State& state)
{
    const std::string& text = ruleFile();
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
    const std::string& text = ruleFile();
    for (auto _ : state) {
        const purgo::RuleFile file = purgo::readRuleFile(text);
        benchmark::DoNotOptimize(file.entries.data());
    }
}
BENCHMARK(BM_ReadRuleFile)->Unit(benchmark::kMillisecond);

// Reading, detecting and building the groups, as the collect run does.
void BM_ReadAndDetect(benchmark::State& state)
{
    const std::string& text = ruleFile();
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
