// Measuring: how many items each target would delete (found) and how many
// bytes they hold (size), summed per group; with captions, every ordinary
// target also gets its display texts (the last component of its path as
// title, the kind's caption and the path as description).
//
// Nothing in a scan reports an error: a key that cannot be opened counts as
// empty, a folder that cannot be enumerated as empty, a missing file as 0.
#pragma once

#include "engine/TimeRecord.h"

#include <array>
#include <cstdint>

namespace s::lang {
class Localizer;
}
namespace s::reg::win {
class RegDir;
}

namespace s::file::gui::dialogs::purgo {

enum class Captions : uint8_t { Without, With };

// The texts a scan with captions writes, copied from the localizer once. A
// collect measures groups on several threads (engine/GroupOverlap.h); the
// localizer fills a language's texts on first use and follows the window's
// language choice, so the workers read these copies and never the localizer.
struct CaptionTexts {
    static constexpr std::size_t kKinds = 12;  // the kinds 0 … 11
    std::array<Text, kKinds> kinds;            // by kind, as captionId() names them
    Text defaultValue;                         // the title of a key's default value
};
CaptionTexts captionTexts(s::lang::Localizer& localizer);

// Scans a group (every child) or a target (and adds its measures to its
// group). The localizer is needed only with captions.
void scan(TimeRecord& node, s::lang::Localizer* localizer, Captions captions);
// The same with the caption texts read before (null: captions without the
// localized parts, as with a null localizer). Reads nothing shared but what
// is fixed while a run lasts: safe on several threads at once, each on its
// own group.
void scanWith(TimeRecord& node, const CaptionTexts* texts, Captions captions);

// Value bytes under a key: with descend every subkey at every depth (counted
// into `subkeys`, their values counted into `values`); with ownValues the
// key's own values too. Subkeys weigh nothing; only value data counts.
int64_t measureKey(s::reg::win::RegDir& key, bool descend, bool ownValues, int64_t& values, int64_t& subkeys);

// The caption language id of a kind (2001000 …), or 0 for Type_File_Func.
int32_t captionId(int32_t kind);

}  // namespace s::file::gui::dialogs::purgo
