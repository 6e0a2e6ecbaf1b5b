// The community rule file winapp2.ini, read as text: its sections (one
// cleaning entry each) and their keys, without looking at the machine.
// catalogue/RuleGroups.h turns the entries into groups.
//
// The format, as this reader takes it:
//   [Entry Name *]                    one entry; the name ends with " *" by custom
//   LangSecRef=3021 | Section=Words    its category
//   Detect=HKCU\Software\X             Detect, Detect1, Detect2 ...: a key that must exist
//   DetectFile=%AppData%\X             DetectFile, DetectFile1 ...: a file or folder
//   DetectOS=6.1|10.0                  min|max Windows version, either may be empty
//   SpecialDetect=DET_CHROME           detection built into other cleaners: not supported
//   Default=False                      read and ignored: imported entries start unchecked
//   Warning=Text                       shown in the description, asked before the group is checked
//   FileKey1=path|pattern[;pattern...][|RECURSE][|REMOVESELF]
//   RegKey1=key  or  key|value
//   ExcludeKey1=FILE|folder|pattern  PATH|folder|pattern  REG|key  REG|key|value
// Keys compare without regard to case; numbered keys take any number (or
// none). Lines are split at CR, LF or CRLF; blanks around keys, values and
// parts are dropped; lines starting with ';' or '#' are comments. The text is
// UTF-8 with or without its byte order mark (bytes that are not UTF-8 become
// U+FFFD, and the paths holding them name nothing), or UTF-16 LE with its
// mark.
//
// The header's comments "; Version: ..." and "; # of entries: N" are read
// for the reports (see ruleFileFault).
//
// What is not sound is skipped and counted, never fatal: a line that is
// neither a section, a comment nor key=value, a line before the first
// section, an unknown key, a key whose value has the wrong form (that key
// alone is dropped and its entry notes why; for an ExcludeKey the entry is
// marked, as it cannot be cleaned without it). A second section of a name
// already read (compared without regard to case) is kept apart as a
// duplicate for the caller to report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace s::file::gui::dialogs::purgo {

// The texts of an entry are views into the file's text (RuleFile::text),
// valid for as long as a copy of the RuleFile is: a file of thousands of
// entries is read without a string of its own for each line.
struct RuleFileKey {
    std::u16string_view path;
    std::u16string_view patternList;  // "*.log;*.tmp": at least one pattern
    bool recurse = false;
    bool removeSelf = false;
    int number = 0;  // of FileKeyN; 0 without a number

    // The patterns of the list, without blanks and empty ones.
    std::vector<std::u16string_view> patterns() const;
};

struct RuleRegKey {
    std::u16string_view key;    // as written (abbreviated roots allowed)
    std::u16string_view value;  // empty: the whole key
    bool hasValue = false;
    int number = 0;
};

struct RuleExclude {
    enum class Kind : std::uint8_t { File, Path, Registry };
    Kind kind = Kind::File;
    std::u16string path;                   // folder, or key
    std::vector<std::u16string> patterns;  // File and Path; empty for Registry
    std::u16string value;                  // Registry: the value name
    bool hasValue = false;
    int number = 0;
};

struct RuleEntry {
    std::u16string_view name;  // as written between the brackets
    int langSecRef = -1;       // -1 when absent or not a number
    std::u16string_view section;
    std::vector<std::u16string_view> detects;
    std::vector<std::u16string_view> detectFiles;
    bool hasDetectOs = false;
    std::u16string_view detectOsMin;  // "6.1"; empty: no lower bound
    std::u16string_view detectOsMax;
    bool detectOsUnreadable = false;  // a DetectOS that is not min|max: never detected
    bool specialDetect = false;
    std::u16string_view warning;
    std::vector<RuleFileKey> fileKeys;
    std::vector<RuleRegKey> regKeys;
    std::vector<RuleExclude> excludes;
    // An ExcludeKey that could not be read: what it was to keep is unknown,
    // so the entry must not clean at all.
    bool excludeUnreadable = false;
    // Keys of this entry that were dropped, with why ("FileKey3: no
    // pattern"); in the order met.
    std::vector<std::u16string> problems;
    bool duplicate = false;  // a name read before
};

struct RuleFile {
    // The decoded text the entries' views look into, shared by copies.
    std::shared_ptr<const std::u16string> text;
    std::vector<RuleEntry> entries;
    int badLines = 0;     // not a section, comment or key=value; or before any section
    int unknownKeys = 0;  // key=value with a key the format does not have
    // Characters the decoding could not make (bytes that are not UTF-8) and
    // NULs: a rule file is text, so these say it is damaged or is no rule
    // file at all.
    int brokenCharacters = 0;
    // The community file's header comments before its first entry:
    // "; Version: 250310" gives "Version: 250310"; "; # of entries: 4,067"
    // gives 4067 (-1 without that line).
    std::u16string_view versionLine;
    int declaredEntries = -1;
};

// Reads the bytes of a rule file. Never fails: what is not sound is counted.
RuleFile readRuleFile(std::string_view bytes);

// Why a rule file read this way must not be used at all, in English; empty
// when it may. Such a file is damaged or no rule file: characters that are
// not text, no entry, fewer entries than its header announces (a file cut
// short), or more lines that are neither sections, comments nor key=value
// than entries (a web page, another format). Its entries are not run, not
// even the sound ones: a file cut short may end inside an entry whose
// exclusions were never read.
std::u16string ruleFileFault(const RuleFile& file);

// The largest rule file read; the community file is a few megabytes.
inline constexpr std::size_t kRuleFileMaxBytes = 32u * 1024u * 1024u;

}  // namespace s::file::gui::dialogs::purgo
