#include "engine/Scan.h"

#include "engine/KeepList.h"
#include "engine/KeptWalk.h"
#include "engine/TargetSafety.h"

#include "base/StrArray.h"
#include "lang/Localizer.h"
#include "lang/TextIds.h"
#include "platform/PathWin.h"
#include "platform/RegDir.h"

#include <mutex>

namespace s::file::gui::dialogs::purgo {

namespace ids = s::lang::ids;

namespace {

using s::file::win::PathWin;
using s::reg::win::RegDir;

// Splits a value target at its last backslash: the key path before it, the
// value name after it (empty: the key's default value). Without a backslash
// the whole text is the key path.
void splitValueTarget(const Text& target, Text& keyPath, Text& valueName)
{
    const int slash = target.lastIndexOf(u'\\');
    if (slash < 0) {
        keyPath = target;
        valueName.clear();
        return;
    }
    keyPath.assign(target.view().substr(0, static_cast<std::size_t>(slash)));
    valueName.assign(target.view().substr(static_cast<std::size_t>(slash) + 1));
}

void describe(TimeRecord& target, const CaptionTexts* texts, std::u16string_view title)
{
    target.title.assign(title);
    target.description.clear();
    if (texts && target.kind >= 0 && static_cast<std::size_t>(target.kind) < CaptionTexts::kKinds)
        target.description.append(texts->kinds[static_cast<std::size_t>(target.kind)].view());
    target.description.append(target.target.view());
}

// Whether a target's measure is taken here, or it is one the engine refuses
// (engine/TargetSafety.h) and measures 0, or one whose keep list the
// measure must walk (engine/KeptWalk.h).
enum class Reach : uint8_t { Refused, Allowed, Kept };

void showRow(TimeRecord& node)
{
    if (node.listRow)
        node.listRow->showMeasures(node);
}

void scanRegistryKey(TimeRecord& target, const CaptionTexts* texts, Captions captions, Reach reach)
{
    auto key = RegDir::make(target.target.view());
    if (captions == Captions::With)
        describe(target, texts, key->subkeyName());
    if (reach != Reach::Allowed)
        return;
    int64_t values = 0;
    int64_t subkeys = 0;
    target.size = measureKey(*key, target.kind != Type_RegKey_1_Level, target.kind != Type_RegKey_OnlyAllSubKeys,
                             values, subkeys);
    // The key itself counts only while it is there: a key its clean removed
    // is no item left for the next boot.
    const bool self = target.kind == Type_RegKey_All_Levels_IncludeSelf && key->exists();
    target.found = values + subkeys + (self ? 1 : 0);
}

void scanRegistryValue(TimeRecord& target, const CaptionTexts* texts, Captions captions, Reach reach)
{
    Text keyPath;
    Text valueName;
    splitValueTarget(target.target, keyPath, valueName);
    auto key = RegDir::make(keyPath.view());
    if (captions == Captions::With) {
        if (valueName.isEmpty() && texts)
            describe(target, texts, texts->defaultValue.view());
        else
            describe(target, texts, valueName.view());
    }
    if (reach != Reach::Allowed)
        return;
    target.size = key->valueDataLength(valueName.view());
    target.found = target.size != 0 ? 1 : 0;
}

void scanFolder(TimeRecord& target, const CaptionTexts* texts, Captions captions, Reach reach)
{
    auto path = PathWin::make(target.target.view());
    if (captions == Captions::With)
        describe(target, texts, path->lastComponent().view());
    if (reach != Reach::Allowed)
        return;
    int64_t files = 0;
    int64_t folders = 0;
    const auto descend = target.kind == Type_Folder_1_Level ? s::file::Descend::No : s::file::Descend::Yes;
    const auto topFiles =
        target.kind == Type_Folder_OnlyAllSubFolders ? s::file::TopFiles::Skip : s::file::TopFiles::Count;
    target.size = path->measureFolder(descend, topFiles, files, folders);
    // The folder itself counts only while it is there (see the keys above).
    const bool self = target.kind == Type_Folder_All_Levels_IncludeSelf && path->exists();
    target.found = files + folders + (self ? 1 : 0);
}

void scanFile(TimeRecord& target, const CaptionTexts* texts, Captions captions, Reach reach)
{
    auto path = PathWin::make(target.target.view());
    if (captions == Captions::With)
        describe(target, texts, path->lastComponent().view());
    if (reach != Reach::Allowed)
        return;
    target.found = path->exists() ? 1 : 0;
    target.size = path->fileSize();
}

void scanWildcard(TimeRecord& target, const CaptionTexts* texts, Captions captions, Reach reach)
{
    auto path = PathWin::make(target.target.view());
    if (captions == Captions::With)
        describe(target, texts, path->lastComponent().view());
    if (reach != Reach::Allowed)
        return;
    auto files = s::file::win::PathListHandle::take();
    const int count =
        path->expandWildcard(*files, s::file::HiddenAndSystem::Include,
                             target.wildInSubfolders ? s::file::InSubfolders::Yes : s::file::InSubfolders::No);
    int64_t size = 0;
    for (int i = 0; i < count; ++i)
        size += files->get(i).fileSize();
    target.found = count;
    target.size = size;
}

// The special handlers were written for one run at a time: some share state
// between their targets (the cookie sites and their totals, the one walk of
// the URL cache) and some reach COM. Groups measured at once therefore take
// turns here; the folder and registry walks, most of a collect, still overlap.
std::recursive_mutex& specialHandlerTurn()
{
    static std::recursive_mutex turn;
    return turn;
}

void scanSpecial(TimeRecord& target, Captions captions)
{
    if (target.countHandler) {
        std::lock_guard turn(specialHandlerTurn());
        target.countHandler(target.target, target.size, target.found, target.handlerData, target.handlerExtra);
    }
    if (captions == Captions::With)
        target.description.append(target.target.view());
}

}  // namespace

int32_t captionId(int32_t kind)
{
    static constexpr int32_t kCaptions[] = {2001000, 2002000, 2003000, 2004000, 2005000, 2005000,
                                            2011000, 2012000, 2013000, 2014000, 2015000, 2016000};
    if (kind < 0 || kind >= static_cast<int32_t>(std::size(kCaptions)))
        return 0;
    return kCaptions[kind];
}

CaptionTexts captionTexts(s::lang::Localizer& localizer)
{
    CaptionTexts texts;
    for (std::size_t kind = 0; kind < CaptionTexts::kKinds; ++kind)
        texts.kinds[kind] = localizer.text(captionId(static_cast<int32_t>(kind)));
    texts.defaultValue = localizer.text(ids::kDefaultValueText);
    return texts;
}

void scan(TimeRecord& node, s::lang::Localizer* localizer, Captions captions)
{
    if (!localizer || captions == Captions::Without) {
        scanWith(node, nullptr, captions);
        return;
    }
    const CaptionTexts texts = captionTexts(*localizer);
    scanWith(node, &texts, captions);
}

int64_t measureKey(RegDir& key, bool descend, bool ownValues, int64_t& values, int64_t& subkeys)
{
    int64_t size = 0;
    if (key.isOpen() && descend) {
        auto children = s::reg::win::RegDirListHandle::take();
        const int count = key.listSubkeys(*children);
        subkeys += count;
        for (int i = 0; i < count; ++i)
            size += measureKey(children->get(i), true, true, values, subkeys);
    }
    if (ownValues) {
        auto names = s::thread::Pooled<s::str::StrArray>::take();
        const int count = key.listValueNames(*names);
        values += count;
        for (int i = 0; i < count; ++i)
            size += key.valueDataLength(names->get(i).view());
    }
    return size;
}

void scanWith(TimeRecord& node, const CaptionTexts* texts, Captions captions)
{
    node.found = 0;
    node.size = 0;
    if (!node.parent) {
        for (std::size_t i = 0; i < node.childCount(); ++i)
            scanWith(*node.child(i), texts, captions);
        showRow(node);
        return;
    }

    // A refused target keeps its captions and measures 0 (the 1 of the
    // "and self" kinds included): nothing of it will be deleted.
    Reach reach = mayReach(node) ? Reach::Allowed : Reach::Refused;
    if (reach == Reach::Allowed && walksKept(node))
        reach = Reach::Kept;
    switch (node.kind) {
    case Type_RegKey_1_Level:
    case Type_RegKey_All_Levels:
    case Type_RegKey_All_Levels_IncludeSelf:
    case Type_RegKey_OnlyAllSubKeys:
        scanRegistryKey(node, texts, captions, reach);
        break;
    case Type_RegValue:
    case Type_RegValue_Wild:
        scanRegistryValue(node, texts, captions, reach);
        break;
    case Type_Folder_1_Level:
    case Type_Folder_All_Levels:
    case Type_Folder_All_Levels_IncludeSelf:
    case Type_Folder_OnlyAllSubFolders:
        scanFolder(node, texts, captions, reach);
        break;
    case Type_File:
        scanFile(node, texts, captions, reach);
        break;
    case Type_File_Wild:
        scanWildcard(node, texts, captions, reach);
        break;
    case Type_File_Func:
        scanSpecial(node, captions);
        break;
    default:
        break;
    }
    if (reach == Reach::Kept) {
        const KeptMeasure measure = measureKept(node);
        node.found = measure.found;
        node.size = measure.size;
    }
    node.parent->found += node.found;
    node.parent->size += node.size;
    showRow(node);
}

}  // namespace s::file::gui::dialogs::purgo
