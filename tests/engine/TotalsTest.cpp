#include "engine/Totals.h"

#include "base/XmlNode.h"
#include "lang/Localizer.h"

#include <gtest/gtest.h>

namespace purgo = s::file::gui::dialogs::purgo;
using purgo::TimeRecord;
using purgo::TimeRecordHandle;

namespace {

// The English texts the totals use, as the language table holds them.
s::lang::Localizer& english()
{
    static s::lang::Localizer* localizer = [] {
        auto* l = new s::lang::Localizer();
        s::xml::Node root;
        root.parse(uR"(<lang><languages><entry tagName="eng" engName="English" trueName="English"/></languages>
<entries><entry id="801000"><eng>&#160; (</eng></entry><entry id="801100"><eng>&#160; Items)</eng></entry>
<entry id="900000"><eng>Clean Now!</eng></entry></entries></lang>)");
        l->load(root, 10);
        return l;
    }();
    return *localizer;
}

TimeRecord* target(bool checked, int64_t found, int64_t size)
{
    TimeRecord* t = TimeRecord::makeTarget(purgo::Type_File, u"t", u"C:\\x");
    t->checked = checked;
    t->found = found;
    t->size = size;
    return t;
}

TEST(Totals, SelectionNeedsBothTheGroupAndTheTargetChecked)
{
    TimeRecordHandle checkedGroup(TimeRecord::makeGroup(u"a", u"A", u""));
    checkedGroup->checked = true;
    checkedGroup->addChild(target(true, 3, 1536));
    checkedGroup->addChild(target(false, 4, 100));
    TimeRecordHandle uncheckedGroup(TimeRecord::makeGroup(u"b", u"B", u""));
    uncheckedGroup->addChild(target(true, 5, 3221225472LL));  // checked, but its group is not

    TimeRecord* groups[] = {checkedGroup.get(), uncheckedGroup.get()};
    const purgo::Totals totals = purgo::computeTotals(groups);
    EXPECT_EQ(totals.allFound, 12);
    EXPECT_EQ(totals.allSize, 1536 + 100 + 3221225472LL);
    EXPECT_EQ(totals.selectedFound, 3);
    EXPECT_EQ(totals.selectedSize, 1536);

    EXPECT_EQ(purgo::cleanButtonCaption(totals, english()).toUtf8(), "Clean Now!  (1.50 KB) (3)");
    const purgo::StatusLabels labels = purgo::statusLabels(totals, english());
    EXPECT_EQ(labels.open.toUtf8(), "  (");
    EXPECT_EQ(labels.count.toUtf8(), "12");
    EXPECT_EQ(labels.close.toUtf8(), "  Items)");
    EXPECT_EQ(labels.size.toUtf8(), "3.00 GB") << "every group's bytes, checked or not";
}

TEST(Totals, RelatedGroupsAreFoundCheckedOrCustom)
{
    struct Case {
        int64_t found;
        bool checked;
        bool custom;
        bool related;
    };
    const Case cases[] = {
        {0, false, false, false}, {1, false, false, true}, {0, true, false, true}, {0, false, true, true}};
    for (const auto& c : cases) {
        TimeRecordHandle group(TimeRecord::makeGroup(u"g", u"G", u""));
        group->found = c.found;
        group->checked = c.checked;
        group->custom = c.custom;
        EXPECT_EQ(purgo::isRelated(*group), c.related) << c.found << c.checked << c.custom;
    }
}

}  // namespace
