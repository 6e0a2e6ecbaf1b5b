// Fuzzes the settings file as the program reads and writes it: any bytes as
// SaveData.xml, then the custom groups and the checked states read as the
// collect run reads them, the main window's save, and a second start. Besides
// the sanitizers' checks (and the time limit, which catches counts that
// loop) it asserts that the custom groups come back from the saved file
// exactly as they were saved, that a damaged file is kept byte for byte
// before it is replaced, and that the file written reads as well-formed.
#include "catalogue/CustomGroups.h"
#include "catalogue/TargetState.h"
#include "engine/CheckedStates.h"
#include "platform/FileIo.h"
#include "platform/fake/FakeFileSystem.h"
#include "settings/MappedData.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace {

namespace purgo = s::file::gui::dialogs::purgo;
using purgo::TimeRecord;

constexpr std::u16string_view kPath = u"C:\\Purgo\\savedata\\SaveData.xml";

struct TopLevel {
    ~TopLevel()
    {
        for (TimeRecord* node : nodes)
            node->release();
    }
    std::vector<TimeRecord*> nodes;
};

// What the collect run builds: the custom groups, then a built-in group;
// then every group's checked states.
void build(s::map::IMappedData& store, TopLevel& tree)
{
    purgo::readCustomGroups(store, tree.nodes);
    TimeRecord* builtIn = TimeRecord::makeGroup(u"Firefox", u"Mozilla Firefox", u"");
    builtIn->addChild(TimeRecord::makeTarget(purgo::Type_Folder_All_Levels, u"Cache", u"C:\\Cache"));
    builtIn->child(0)->defaultChecked = true;
    tree.nodes.push_back(builtIn);
    for (TimeRecord* node : tree.nodes)
        purgo::loadChecks(*node, purgo::kItemsPrefix, store);
}

bool sameRecord(const TimeRecord& a, const TimeRecord& b)
{
    if (!a.id.equals(b.id) || !a.title.equals(b.title) || !a.description.equals(b.description) ||
        a.customRecordId != b.customRecordId || a.customChildRecordId != b.customChildRecordId ||
        a.childCount() != b.childCount())
        return false;
    for (std::size_t j = 0; j < a.childCount(); ++j) {
        const TimeRecord& x = *a.child(j);
        const TimeRecord& y = *b.child(j);
        if (!x.id.equals(y.id) || x.kind != y.kind || !x.target.equals(y.target) ||
            x.wildInSubfolders != y.wildInSubfolders)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The in-memory machine's disk, fresh for each input.
    s::platform::fakeFileSystem().clear();
    s::platform::fakeFileSystem().addFileWithContent(kPath,
                                                     std::string_view(reinterpret_cast<const char*>(data), size));
    s::io::IFileIo& files = s::platform::fileIo();

    TopLevel first;
    {
        s::xml::MappedDataHandle store = s::xml::openFileStore(kPath, files);
        (void)store->getString(u"Language", u"");
        (void)store->getS32(u"MainWindow\\View", u"Transparency", 90);
        (void)store->getBytes(u"MainWindow", u"Blob");
        build(*store, first);
        store->setAutoSave(true);
        // The user flips a few checks.
        for (std::size_t i = 0; i < first.nodes.size(); i += 2) {
            first.nodes[i]->checked = !first.nodes[i]->checked;
            if (first.nodes[i]->childCount() > 0)
                first.nodes[i]->child(0)->checked = !first.nodes[i]->child(0)->checked;
        }
        s::thread::ObjLocker lock;
        purgo::saveTargetState(first.nodes, *store, lock);
        // A damaged file was kept byte for byte before it was replaced.
        if (store->damagedLine() > 0 && s::platform::fakeFileSystem().fileContent(store->damagedCopy().view()) !=
                                            std::string_view(reinterpret_cast<const char*>(data), size))
            std::abort();
    }

    TopLevel second;
    s::xml::MappedDataHandle store = s::xml::openFileStore(kPath, files);
    if (store->damagedLine() != 0)
        std::abort();  // what the store wrote must read as well-formed
    build(*store, second);
    if (first.nodes.size() != second.nodes.size())
        std::abort();
    for (std::size_t i = 0; i + 1 < first.nodes.size(); ++i) {
        if (!sameRecord(*first.nodes[i], *second.nodes[i]))
            std::abort();
    }
    return 0;
}
