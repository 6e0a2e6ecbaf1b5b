// Parsing and writing a document shaped like the language table: 268 entries
// of 40 languages each, indented as the shipped file is, with texts in Latin,
// Cyrillic, Greek and CJK scripts and the table's escapes. The program parses
// it once at start-up, so parsing must stay in the low milliseconds.
//
// Baseline: decoding the same bytes from UTF-8, the least any parse must do.
// Read the parse and write times as multiples of it.
#include "base/StrBuffer.h"
#include "base/XmlNode.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using s::str::StrBuffer;
using s::xml::Node;

constexpr int kLanguages = 40;
constexpr int kEntries = 268;

const std::string& languageTable()
{
    static const std::string table = [] {
        static const char16_t* const kWords[] = {
            u"Clean",
            u"Now!",
            u"Temporary",
            u"files",
            u"Internet",
            u"cache",
            u"&amp;",
            u"cookies",
            u"Registry",
            u"Key",
            u"(Values Under",
            u"1-Level)",
            u"Nettoyer",
            u"Dateien",
            u"\u0424\u0430\u0439\u043B\u044B",
            u"\u0391\u03C1\u03C7\u03B5\u03AF\u03B1",
            u"\u4E34\u65F6\u6587\u4EF6",
            u"\u00C9l\u00E9ments",
            u"&lt;none&gt;",
            u"Espa\u00F1ol",
        };
        StrBuffer text;
        text.append(u"\uFEFF<lang>\r\n <languages>\r\n");
        for (int l = 0; l < kLanguages; ++l) {
            text.append(u"  <entry tagName=\"l").appendS32(l).append(u"\" engName=\"Language ").appendS32(l);
            text.append(u"\" trueName=\"Lingua ").appendS32(l).append(u"\"/>\r\n");
        }
        text.append(u" </languages>\r\n <entries>\r\n");
        unsigned seed = 1;
        for (int e = 0; e < kEntries; ++e) {
            text.append(u"  <entry id=\"").appendS32(100000 + e * 100).append(u"\">// translator's note\r\n");
            for (int l = 0; l < kLanguages; ++l) {
                text.append(u"   <l").appendS32(l).append(u'>');
                if (e % 17 == 0)
                    text.append(u"&#160;  ");
                const int words = 2 + static_cast<int>(seed % 7);
                for (int w = 0; w < words; ++w) {
                    seed = seed * 1103515245u + 12345u;
                    if (w > 0)
                        text.append(u' ');
                    text.append(kWords[(seed >> 16) % (sizeof(kWords) / sizeof(kWords[0]))]);
                }
                if (e % 23 == 0)
                    text.append(u"&#10;");
                text.append(u"</l").appendS32(l).append(u">\r\n");
            }
            text.append(u"  </entry>\r\n");
        }
        text.append(u" </entries>\r\n</lang>\r\n");
        return text.toUtf8();
    }();
    return table;
}

void BM_DecodeUtf8Baseline(benchmark::State& state)
{
    const std::string& bytes = languageTable();
    StrBuffer text;
    for (auto _ : state) {
        text.assignUtf8(bytes);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_DecodeUtf8Baseline)->Unit(benchmark::kMillisecond);

void BM_ParseLanguageTable(benchmark::State& state)
{
    const std::string& bytes = languageTable();
    Node root;
    for (auto _ : state) {
        // The program parses the table once: freeing the previous tree is not
        // part of the measurement (BM_ParseAndFreeLanguageTable has both).
        state.PauseTiming();
        root.clear();
        state.ResumeTiming();
        root.parseUtf8(bytes);
        benchmark::DoNotOptimize(root.childCount());
    }
    if (root.childCount() != 2 || root.child(1).childCount() != kEntries ||
        root.child(1).child(0).childCount() != kLanguages)
        state.SkipWithError("the table did not parse completely");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ParseLanguageTable)->Unit(benchmark::kMillisecond);

void BM_ParseAndFreeLanguageTable(benchmark::State& state)
{
    const std::string& bytes = languageTable();
    for (auto _ : state) {
        Node root;
        root.parseUtf8(bytes);
        benchmark::DoNotOptimize(root.childCount());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ParseAndFreeLanguageTable)->Unit(benchmark::kMillisecond);

// Parsing and reading every text, as the localizer loads the table.
void BM_ParseAndReadEveryText(benchmark::State& state)
{
    const std::string& bytes = languageTable();
    Node root;
    StrBuffer text;
    for (auto _ : state) {
        root.parseUtf8(bytes);
        const Node* entries = root.childNamed(u"entries");
        int64_t units = 0;
        for (int e = 0; e < entries->childCount(); ++e) {
            const Node& entry = entries->child(e);
            for (int l = 0; l < entry.childCount(); ++l) {
                entry.child(l).getString(text, u"");
                units += text.length();
            }
        }
        benchmark::DoNotOptimize(units);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ParseAndReadEveryText)->Unit(benchmark::kMillisecond);

void BM_WriteLanguageTable(benchmark::State& state)
{
    Node root;
    root.parseUtf8(languageTable());
    s::col::ArrayU08 out;
    for (auto _ : state) {
        root.toUtf8(out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * out.count());
}
BENCHMARK(BM_WriteLanguageTable)->Unit(benchmark::kMillisecond);

}  // namespace
