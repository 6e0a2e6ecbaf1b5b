// The rule file's reader: each key form and flag, and files that are not
// sound (bad lines, unknown keys, duplicate sections, binary bytes, a byte
// order mark or none, CRLF or LF, a 5 MB file) load what is sound.
#include "catalogue/RuleFile.h"

#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace s::file::gui::dialogs::purgo {
namespace {

using s::platform::testing::narrow;

struct KeyCase {
    const char* line;
    std::function<void(const RuleEntry&)> check;
};

TEST(RuleFile, ReadsEachKeyFormAndFlag)
{
    const std::vector<KeyCase> cases = {
        {"LangSecRef=3022",
         [](const RuleEntry& e) {
             EXPECT_EQ(e.langSecRef, 3022);
         }},
        {"Section=Games",
         [](const RuleEntry& e) {
             EXPECT_EQ(e.section, u"Games");
         }},
        {"Detect=HKCU\\Software\\App",
         [](const RuleEntry& e) {
             EXPECT_EQ(e.detects, std::vector<std::u16string_view>{u"HKCU\\Software\\App"});
         }},
        {"detect12 = HKLM\\Software\\App ",
         [](const RuleEntry& e) {
             EXPECT_EQ(e.detects, std::vector<std::u16string_view>{u"HKLM\\Software\\App"});
         }},
        {"DetectFile=%AppData%\\App\\*\\prefs.js",
         [](const RuleEntry& e) {
             EXPECT_EQ(e.detectFiles, std::vector<std::u16string_view>{u"%AppData%\\App\\*\\prefs.js"});
         }},
        {"DetectFile3=%ProgramFiles%\\App",
         [](const RuleEntry& e) {
             EXPECT_EQ(e.detectFiles.size(), 1u);
         }},
        {"DetectOS=6.1|",
         [](const RuleEntry& e) {
             EXPECT_TRUE(e.hasDetectOs);
             EXPECT_EQ(e.detectOsMin, u"6.1");
             EXPECT_EQ(e.detectOsMax, u"");
         }},
        {"DetectOS=|6.3",
         [](const RuleEntry& e) {
             EXPECT_EQ(e.detectOsMin, u"");
             EXPECT_EQ(e.detectOsMax, u"6.3");
         }},
        {"DetectOS=6.2|10.0",
         [](const RuleEntry& e) {
             EXPECT_EQ(e.detectOsMin, u"6.2");
             EXPECT_EQ(e.detectOsMax, u"10.0");
         }},
        {"DetectOS=seven",
         [](const RuleEntry& e) {
             EXPECT_TRUE(e.detectOsUnreadable);
             EXPECT_EQ(e.problems.size(), 1u);
         }},
        {"SpecialDetect=DET_CHROME",
         [](const RuleEntry& e) {
             EXPECT_TRUE(e.specialDetect);
         }},
        {"Default=True",
         [](const RuleEntry& e) {
             EXPECT_TRUE(e.problems.empty());
         }},
        {"Warning=Logs you out",
         [](const RuleEntry& e) {
             EXPECT_EQ(e.warning, u"Logs you out");
         }},
        {"FileKey1=%LocalAppData%\\App\\Cache|*.*",
         [](const RuleEntry& e) {
             ASSERT_EQ(e.fileKeys.size(), 1u);
             EXPECT_EQ(e.fileKeys[0].path, u"%LocalAppData%\\App\\Cache");
             EXPECT_EQ(e.fileKeys[0].patterns(), std::vector<std::u16string_view>{u"*.*"});
             EXPECT_FALSE(e.fileKeys[0].recurse);
             EXPECT_FALSE(e.fileKeys[0].removeSelf);
             EXPECT_EQ(e.fileKeys[0].number, 1);
         }},
        {"FileKey7=C:\\App | *.log; *.tmp ;;thumbs.db | recurse",
         [](const RuleEntry& e) {
             ASSERT_EQ(e.fileKeys.size(), 1u);
             EXPECT_EQ(e.fileKeys[0].patterns(), (std::vector<std::u16string_view>{u"*.log", u"*.tmp", u"thumbs.db"}));
             EXPECT_TRUE(e.fileKeys[0].recurse);
             EXPECT_EQ(e.fileKeys[0].number, 7);
         }},
        {"FileKey2=C:\\App|*.*|REMOVESELF",
         [](const RuleEntry& e) {
             ASSERT_EQ(e.fileKeys.size(), 1u);
             EXPECT_TRUE(e.fileKeys[0].removeSelf);
         }},
        {"FileKey3=C:\\App|*.*|RECURSE|REMOVESELF",
         [](const RuleEntry& e) {
             ASSERT_EQ(e.fileKeys.size(), 1u);
             EXPECT_TRUE(e.fileKeys[0].recurse && e.fileKeys[0].removeSelf);
         }},
        {"FileKey4=C:\\App|*.*|SHRED",
         [](const RuleEntry& e) {
             EXPECT_TRUE(e.fileKeys.empty());
             ASSERT_EQ(e.problems.size(), 1u);
             EXPECT_EQ(e.problems[0], u"FileKey4: unknown flag SHRED");
         }},
        {"FileKey5=C:\\App",
         [](const RuleEntry& e) {
             EXPECT_TRUE(e.fileKeys.empty());
             EXPECT_EQ(e.problems.size(), 1u);
         }},
        {"FileKey6=C:\\App| ; ",
         [](const RuleEntry& e) {
             EXPECT_TRUE(e.fileKeys.empty());
             EXPECT_EQ(e.problems.size(), 1u);
         }},
        {"RegKey1=HKCU\\Software\\App\\MRU",
         [](const RuleEntry& e) {
             ASSERT_EQ(e.regKeys.size(), 1u);
             EXPECT_EQ(e.regKeys[0].key, u"HKCU\\Software\\App\\MRU");
             EXPECT_FALSE(e.regKeys[0].hasValue);
         }},
        {"RegKey2=HKCU\\Software\\App|LastFile",
         [](const RuleEntry& e) {
             ASSERT_EQ(e.regKeys.size(), 1u);
             EXPECT_EQ(e.regKeys[0].value, u"LastFile");
             EXPECT_TRUE(e.regKeys[0].hasValue);
         }},
        {"RegKey3=HKCU\\Software\\App|",
         [](const RuleEntry& e) {
             EXPECT_TRUE(e.regKeys.empty());
             EXPECT_EQ(e.problems.size(), 1u);
         }},
        {"ExcludeKey1=FILE|%AppData%\\App\\|settings.json;*.ini",
         [](const RuleEntry& e) {
             ASSERT_EQ(e.excludes.size(), 1u);
             EXPECT_EQ(e.excludes[0].kind, RuleExclude::Kind::File);
             EXPECT_EQ(e.excludes[0].path, u"%AppData%\\App\\");
             EXPECT_EQ(e.excludes[0].patterns, (std::vector<std::u16string>{u"settings.json", u"*.ini"}));
         }},
        {"ExcludeKey2=FILE|C:\\App\\keep.dat",
         [](const RuleEntry& e) {
             ASSERT_EQ(e.excludes.size(), 1u);
             EXPECT_EQ(e.excludes[0].path, u"C:\\App");
             EXPECT_EQ(e.excludes[0].patterns, std::vector<std::u16string>{u"keep.dat"});
         }},
        {"ExcludeKey3=PATH|C:\\App\\Keep\\|*.log",
         [](const RuleEntry& e) {
             ASSERT_EQ(e.excludes.size(), 1u);
             EXPECT_EQ(e.excludes[0].kind, RuleExclude::Kind::Path);
             EXPECT_EQ(e.excludes[0].patterns, std::vector<std::u16string>{u"*.log"});
         }},
        {"ExcludeKey4=path|C:\\App\\Keep",
         [](const RuleEntry& e) {
             ASSERT_EQ(e.excludes.size(), 1u);
             EXPECT_EQ(e.excludes[0].patterns, std::vector<std::u16string>{u"*.*"});
         }},
        {"ExcludeKey5=REG|HKCU\\Software\\App\\Keep",
         [](const RuleEntry& e) {
             ASSERT_EQ(e.excludes.size(), 1u);
             EXPECT_EQ(e.excludes[0].kind, RuleExclude::Kind::Registry);
             EXPECT_FALSE(e.excludes[0].hasValue);
         }},
        {"ExcludeKey6=REG|HKCU\\Software\\App|Size",
         [](const RuleEntry& e) {
             ASSERT_EQ(e.excludes.size(), 1u);
             EXPECT_TRUE(e.excludes[0].hasValue);
             EXPECT_EQ(e.excludes[0].value, u"Size");
         }},
        {"ExcludeKey7=DISK|C:\\",
         [](const RuleEntry& e) {
             EXPECT_TRUE(e.excludes.empty());
             EXPECT_EQ(e.problems.size(), 1u);
             EXPECT_TRUE(e.excludeUnreadable);
         }},
        {"FileKeyX=C:\\App|*.*",
         [](const RuleEntry& e) {
             EXPECT_TRUE(e.fileKeys.empty());
             EXPECT_TRUE(e.problems.empty());
         }},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.line);
        const RuleFile file = readRuleFile(std::string("[Case *]\n") + c.line + "\n");
        ASSERT_EQ(file.entries.size(), 1u);
        EXPECT_EQ(file.entries[0].name, u"Case *");
        c.check(file.entries[0]);
    }
}

// One sound entry among what a damaged or hand-edited file holds.
std::string damagedFile(const char* newline, bool byteOrderMark)
{
    std::string text = byteOrderMark ? "\xEF\xBB\xBF" : "";
    const char* lines[] = {
        "; a comment",
        "FileKey1=C:\\Before|*.*",  // before any section
        "[First *]",
        "LangSecRef=3021",
        "FileKey1=C:\\First|*.tmp",
        "garbage without equals",
        "=no key",
        "Colour=blue",  // unknown key
        "[]",
        "FileKey1=C:\\Orphan|*.*",  // belongs to no entry
        "[Second *]",
        "RegKey1=HKCU\\Software\\Second",
        "Binary\x01\xFF\xFE\x80=\x00\x9F",
        "[first *]",  // the same name again
        "FileKey1=C:\\Again|*.*",
        "[Unclosed",
        "[Third *]",
        "FileKey1=C:\\Third\\\xC3\xA9t\xC3\xA9|*.log",
    };
    for (const char* line : lines) {
        text += line;
        text += newline;
    }
    // A NUL inside the text reads as an ordinary unit.
    text += std::string("Detect=HKCU\\A\0B", 15);
    return text;
}

TEST(RuleFile, LoadsWhatIsSoundOfADamagedFile)
{
    for (const char* newline : {"\n", "\r\n", "\r"}) {
        for (bool mark : {false, true}) {
            SCOPED_TRACE(std::string(mark ? "BOM, " : "no BOM, ") + (newline[0] == '\r' ? "CR" : "LF") +
                         (newline[1] ? "LF" : ""));
            const RuleFile file = readRuleFile(damagedFile(newline, mark));
            ASSERT_EQ(file.entries.size(), 4u);
            EXPECT_EQ(file.entries[0].name, u"First *");
            EXPECT_EQ(file.entries[0].langSecRef, 3021);
            ASSERT_EQ(file.entries[0].fileKeys.size(), 1u);
            EXPECT_EQ(file.entries[0].fileKeys[0].path, u"C:\\First");
            EXPECT_EQ(file.entries[1].name, u"Second *");
            EXPECT_EQ(file.entries[1].regKeys.size(), 1u);
            EXPECT_FALSE(file.entries[1].duplicate);
            EXPECT_TRUE(file.entries[2].duplicate);
            EXPECT_EQ(file.entries[3].name, u"Third *");
            ASSERT_EQ(file.entries[3].fileKeys.size(), 1u);
            EXPECT_EQ(file.entries[3].fileKeys[0].path, u"C:\\Third\\\u00E9t\u00E9");
            ASSERT_EQ(file.entries[3].detects.size(), 1u);
            EXPECT_EQ(file.entries[3].detects[0].size(), 8u);
            // Before the first section, no '=', empty key, the empty
            // section, its orphan key and the unclosed section.
            EXPECT_EQ(file.badLines, 6);
            EXPECT_EQ(file.unknownKeys, 2);
        }
    }
}

TEST(RuleFile, ReadsUtf16WithItsMark)
{
    const std::u16string text = u"[Wide *]\r\nFileKey1=C:\\W\u00FCde|*.*\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    bytes += 'x';  // an odd byte at the end
    const RuleFile file = readRuleFile(bytes);
    ASSERT_EQ(file.entries.size(), 1u);
    ASSERT_EQ(file.entries[0].fileKeys.size(), 1u);
    EXPECT_EQ(file.entries[0].fileKeys[0].path, u"C:\\W\u00FCde");
}

TEST(RuleFile, ReadsAFiveMegabyteFile)
{
    std::string text;
    int count = 0;
    while (text.size() < 5u * 1024u * 1024u) {
        const std::string n = std::to_string(++count);
        text += "[Entry " + n + " *]\r\nLangSecRef=3021\r\nDetect=HKCU\\Software\\Vendor" + n +
                "\r\nFileKey1=%LocalAppData%\\Vendor" + n + "\\Cache|*.*|RECURSE\r\nFileKey2=%AppData%\\Vendor" + n +
                "|*.log;*.tmp\r\nRegKey1=HKCU\\Software\\Vendor" + n + "\\Recent\r\n; " +
                std::string(static_cast<std::size_t>(count % 200), 'x') + "\r\n";
    }
    const RuleFile file = readRuleFile(text);
    ASSERT_EQ(file.entries.size(), static_cast<std::size_t>(count));
    EXPECT_EQ(file.badLines, 0);
    EXPECT_EQ(narrow(file.entries.back().name), "Entry " + std::to_string(count) + " *");
    EXPECT_EQ(file.entries.back().fileKeys.size(), 2u);
}

TEST(RuleFile, BinaryBytesNeverCrash)
{
    std::string bytes;
    std::uint32_t state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245u + 12345u;
        bytes += static_cast<char>(state >> 24);
        if (i % 97 == 0)
            bytes += "\n[E]\nFileKey1=C:\\x|*|";
    }
    const RuleFile file = readRuleFile(bytes);
    EXPECT_GT(file.entries.size(), 0u);
    EXPECT_TRUE(readRuleFile("").entries.empty());
    EXPECT_TRUE(readRuleFile("\xFF\xFE").entries.empty());
    EXPECT_TRUE(readRuleFile("\xEF\xBB\xBF").entries.empty());
    EXPECT_EQ(readRuleFile("[").badLines, 1);
}

}  // namespace
}  // namespace s::file::gui::dialogs::purgo
