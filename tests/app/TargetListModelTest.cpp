#include "app/main/TargetListModel.h"

#include "engine/Totals.h"
#include "tests/support/Utf8.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

namespace purgo = s::file::gui::dialogs::purgo;
using purgo::TimeRecord;
using purgo::TimeRecordHandle;
using namespace s::gui::list;

namespace {

using testing_platform::utf8;

// Writes down what the view is told, one short line per call.
class RecordingView : public IListModelListener {
public:
    void rowsInserted(int first, int count) override
    {
        add("ins " + std::to_string(first) + "+" + std::to_string(count));
    }
    void rowsRemoved(int first, int count) override
    {
        add("rem " + std::to_string(first) + "+" + std::to_string(count));
    }
    void rowChanged(int row) override { add("chg " + std::to_string(row)); }
    void rowsReset() override { add("reset"); }
    void selectionChanged(int row) override { add("sel " + std::to_string(row)); }
    void hotChanged(int row) override { add("hot " + std::to_string(row)); }

    // The calls since the last take, joined by ", ".
    std::string take()
    {
        std::string joined = m_log;
        m_log.clear();
        return joined;
    }

private:
    void add(const std::string& line) { m_log += (m_log.empty() ? "" : ", ") + line; }
    std::string m_log;
};

// A target tree owned by the test, a model over it that asks a set of
// "absent" records instead of the disk, and a recording view.
class ListFixture : public ::testing::Test {
protected:
    ListFixture()
        : model([this](const TimeRecord& target) {
              ++asked;
              return absent.count(&target) == 0;
          })
    {
        model.setListener(&view);
    }

    // A group titled `id` with `targets` targets titled id1, id2, … (all
    // checked, as the catalogue makes them); the group unchecked.
    TimeRecord& group(const char16_t* id, int targets = 0)
    {
        groups.emplace_back(TimeRecord::makeGroup(id, id, u""));
        TimeRecord& made = *groups.back();
        for (int i = 1; i <= targets; ++i) {
            std::u16string title = std::u16string(id) + static_cast<char16_t>(u'0' + i);
            TimeRecord* target = TimeRecord::makeTarget(purgo::Type_File, title, u"C:\\x");
            target->title = title;
            made.addChild(target);
        }
        return made;
    }

    void show()
    {
        std::vector<TimeRecord*> list;
        for (const TimeRecordHandle& g : groups)
            list.push_back(g.get());
        model.setGroups(list);
        view.take();
    }

    // The rows as "A >A1 >A2 B": targets marked by their indent.
    std::string rows() const
    {
        std::string text;
        for (int row = 0; row < model.rowCount(); ++row) {
            if (!text.empty())
                text += ' ';
            if (model.depth(row) == 1)
                text += '>';
            text += utf8(model.record(row)->title);
        }
        return text;
    }

    std::vector<TimeRecordHandle> groups;
    std::set<const TimeRecord*> absent;
    int asked = 0;  // location questions, which cost a disk access each
    TargetListModel model;
    RecordingView view;
};

TEST_F(ListFixture, GroupsExpandToTheirTargetsInTheirOwnOrder)
{
    group(u"A", 2);
    group(u"B");
    group(u"C", 3);
    show();
    EXPECT_EQ(rows(), "A B C");
    EXPECT_EQ(model.kind(1), RowKind::Group);

    EXPECT_TRUE(model.expand(2));
    EXPECT_EQ(view.take(), "ins 3+3, chg 2") << "the new rows and the group's expander";
    EXPECT_FALSE(model.expand(2)) << "already expanded";
    EXPECT_FALSE(model.expand(3)) << "a target row does not expand";
    EXPECT_EQ(view.take(), "");

    EXPECT_TRUE(model.toggleExpanded(0));
    EXPECT_EQ(view.take(), "ins 1+2, chg 0");
    EXPECT_EQ(rows(), "A >A1 >A2 B C >C1 >C2 >C3");
    EXPECT_EQ(model.kind(1), RowKind::Target);
    EXPECT_EQ(model.groupRowOf(6), 4);
    EXPECT_EQ(model.rowOf(*groups[2]->child(2)), 7);

    // An empty group can be open too; it just has nothing under it.
    EXPECT_TRUE(model.expand(3));
    EXPECT_TRUE(model.isExpanded(3));
    EXPECT_EQ(view.take(), "chg 3");

    EXPECT_TRUE(model.collapse(0));
    EXPECT_EQ(view.take(), "rem 1+2, chg 0");
    EXPECT_EQ(rows(), "A B C >C1 >C2 >C3");
    EXPECT_FALSE(model.collapse(0));
    EXPECT_EQ(model.rowOf(*groups[0]->child(0)), -1) << "a collapsed group's targets have no rows";

    model.expandAll();
    EXPECT_EQ(view.take(), "reset");
    EXPECT_EQ(rows(), "A >A1 >A2 B C >C1 >C2 >C3");
    model.collapseAll();
    EXPECT_EQ(rows(), "A B C");
}

TEST_F(ListFixture, CheckStatesComeFromTheRecords)
{
    struct Case {
        const char* name;
        bool groupChecked;
        std::vector<bool> targets;
        CheckState group;
    };
    const Case cases[] = {
        {"unchecked group over checked targets", false, {true, true}, CheckState::Unchecked},
        {"unchecked group over nothing checked", false, {false}, CheckState::Unchecked},
        {"checked group, every target checked", true, {true, true, true}, CheckState::Checked},
        {"checked group, one target unchecked", true, {true, false, true}, CheckState::Partial},
        {"checked group, no target checked", true, {false, false}, CheckState::Partial},
        {"checked group without targets", true, {}, CheckState::Checked},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        groups.clear();
        TimeRecord& g = group(u"G", static_cast<int>(c.targets.size()));
        g.checked = c.groupChecked;
        for (std::size_t i = 0; i < c.targets.size(); ++i)
            g.child(i)->checked = c.targets[i];
        show();
        model.expandAll();
        EXPECT_EQ(model.checkState(0), c.group);
        for (std::size_t i = 0; i < c.targets.size(); ++i) {
            EXPECT_EQ(model.checkState(static_cast<int>(i) + 1),
                      c.targets[i] ? CheckState::Checked : CheckState::Unchecked)
                << "a target shows its own flag, whatever its group's";
        }
    }
}

TEST_F(ListFixture, ClickingBoxesFollowsTheGroupAndTargetRules)
{
    TimeRecord& a = group(u"A", 2);
    group(u"B", 1);
    a.checked = true;
    a.child(1)->checked = false;
    show();
    model.expand(0);  // A >A1 >A2 B
    view.take();

    // Each step: the row clicked, then the states of A, A1, A2, B and what
    // the view was told.
    struct Step {
        const char* name;
        int row;
        CheckState a, a1, a2, b;
        const char* told;
    };
    const Step steps[] = {
        {"checking the last unchecked target completes its group", 2, CheckState::Checked, CheckState::Checked,
         CheckState::Checked, CheckState::Unchecked, "chg 2, chg 0"},
        {"clearing a target of a checked group makes it partial", 1, CheckState::Partial, CheckState::Unchecked,
         CheckState::Checked, CheckState::Unchecked, "chg 1, chg 0"},
        {"clicking a partial group clears it; its targets keep their flags", 0, CheckState::Unchecked,
         CheckState::Unchecked, CheckState::Checked, CheckState::Unchecked, "chg 0"},
        {"checking it again shows partial: a target is still unchecked", 0, CheckState::Partial, CheckState::Unchecked,
         CheckState::Checked, CheckState::Unchecked, "chg 0"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_TRUE(model.toggleCheck(step.row));
        EXPECT_EQ(model.checkState(0), step.a);
        EXPECT_EQ(model.checkState(1), step.a1);
        EXPECT_EQ(model.checkState(2), step.a2);
        EXPECT_EQ(model.checkState(3), step.b);
        EXPECT_EQ(view.take(), step.told);
    }

    // Under an unchecked group a target's flag cannot change the group's look.
    model.expand(3);
    groups[1]->child(0)->checked = false;
    view.take();
    EXPECT_TRUE(model.toggleCheck(4));
    EXPECT_EQ(model.checkState(4), CheckState::Checked);
    EXPECT_EQ(model.checkState(3), CheckState::Unchecked);
    EXPECT_EQ(view.take(), "chg 4");
}

TEST_F(ListFixture, SelectAllAndDeselectAllTouchOnlyGroupRows)
{
    TimeRecord& a = group(u"A", 2);
    TimeRecord& b = group(u"B", 1);
    TimeRecord& hidden = group(u"H", 1);
    a.checked = true;
    a.child(0)->checked = false;  // partial
    show();
    model.setFilter([&](const TimeRecord& g) { return &g != &hidden; });
    model.expandAll();  // A >A1 >A2 B >B1
    b.child(0)->checked = false;
    view.take();

    EXPECT_EQ(model.setAllGroupsChecked(true), 1) << "only B was unchecked; A is partial";
    EXPECT_EQ(view.take(), "chg 3");
    EXPECT_FALSE(hidden.checked) << "a group without a row is not selected";
    EXPECT_FALSE(b.child(0)->checked) << "targets keep their flags";
    EXPECT_EQ(model.checkState(3), CheckState::Partial);

    EXPECT_EQ(model.setAllGroupsChecked(false), 2) << "checked and partial groups both clear";
    EXPECT_EQ(model.checkState(0), CheckState::Unchecked);
    EXPECT_EQ(model.checkState(3), CheckState::Unchecked);
    EXPECT_TRUE(a.child(1)->checked);
}

// The question before a group is checked (a group with a warning): asked
// when the user checks a group, by its box or Select All, never when a group
// is unchecked or a target is checked; No leaves the group unchecked.
TEST_F(ListFixture, CheckingAGroupAsksTheQuestionFirst)
{
    TimeRecord& a = group(u"A", 1);
    TimeRecord& b = group(u"B", 1);
    TimeRecord& c = group(u"C", 1);
    show();
    std::vector<std::string> questions;
    bool answer = false;
    model.setCheckQuestion([&](const TimeRecord& g) {
        questions.push_back(utf8(g.title));
        return answer || &g == &c;
    });
    model.expand(0);  // A >A1 B C

    EXPECT_FALSE(model.toggleCheck(0)) << "No";
    EXPECT_FALSE(a.checked);
    answer = true;
    EXPECT_TRUE(model.toggleCheck(0));
    EXPECT_TRUE(a.checked);
    EXPECT_TRUE(model.toggleCheck(0)) << "unchecking asks nothing";
    EXPECT_TRUE(model.toggleCheck(1)) << "a target asks nothing";
    EXPECT_EQ(questions, (std::vector<std::string>{"A", "A"}));

    questions.clear();
    answer = false;
    b.checked = false;
    EXPECT_EQ(model.setAllGroupsChecked(true), 1) << "only C's question is answered Yes";
    EXPECT_EQ(questions, (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_FALSE(a.checked);
    EXPECT_FALSE(b.checked);
    EXPECT_TRUE(c.checked);
    questions.clear();
    EXPECT_EQ(model.setAllGroupsChecked(false), 1);
    EXPECT_TRUE(questions.empty());
}

// Six groups whose titles, sizes, counts and descriptions catch the usual
// faults of a list sort: folding beyond A-Z or the wrong way ("_" lies
// between "Z" and "a"), longest-first on equal beginnings, 64-bit values cut
// to 32 bits, negative numbers, unstable ties.
class SortFixture : public ListFixture {
protected:
    void SetUp() override
    {
        struct GroupRow {
            const char16_t* id;
            const char16_t* title;
            int64_t size;
            int64_t found;
            const char16_t* description;
        };
        const GroupRow groupRows[] = {
            {u"g1", u"beta", 4294967296LL, 3, u"Cache"},
            {u"g2", u"Alpha", 10, 3, u"cache"},
            {u"g3", u"alp", -1, 0, u"Cookies"},
            {u"g4", u"ALPHA", 10, 12, u"cache files"},
            {u"g5", u"_x", 1, 3, u""},
            {u"g6", u"\u00C4rger", 4294967295LL, 2, u"Cache"},
        };
        for (const GroupRow& row : groupRows) {
            TimeRecord& g = group(row.id, row.id[1] == u'1' ? 2 : 0);
            g.title = row.title;
            g.size = row.size;
            g.found = row.found;
            g.description = row.description;
        }
        show();
    }

    std::string order() const
    {
        std::string ids;
        for (int row = 0; row < model.rowCount(); ++row) {
            if (!ids.empty())
                ids += ' ';
            ids += model.depth(row) == 1 ? ">" + utf8(model.record(row)->title) : utf8(model.record(row)->id);
        }
        return ids;
    }
};

TEST_F(SortFixture, SortsGroupsByEachColumnStably)
{
    constexpr auto Up = SortDirection::Ascending;
    constexpr auto Down = SortDirection::Descending;
    struct Case {
        const char* name;
        bool hasPrior;
        Column priorColumn;
        SortDirection priorDirection;
        Column column;
        SortDirection direction;
        const char* order;
    };
    const Case cases[] = {
        {"title: A-Z folded to a-z, shorter first, ties in place, U+00C4 unfolded", false, Column::Title, Up,
         Column::Title, Up, "g5 g3 g2 g4 g1 g6"},
        {"title descending keeps ties in place too", false, Column::Title, Up, Column::Title, Down,
         "g6 g1 g2 g4 g3 g5"},
        {"size as signed 64-bit", false, Column::Title, Up, Column::Size, Up, "g3 g5 g2 g4 g6 g1"},
        {"size descending", false, Column::Title, Up, Column::Size, Down, "g1 g6 g2 g4 g5 g3"},
        {"found", false, Column::Title, Up, Column::Found, Up, "g3 g6 g1 g2 g5 g4"},
        {"found descending", false, Column::Title, Up, Column::Found, Down, "g4 g1 g2 g5 g6 g3"},
        {"description ignoring case", false, Column::Title, Up, Column::Description, Up, "g5 g1 g2 g6 g4 g3"},
        {"a second sort keeps the first one's order among its ties", true, Column::Title, Up, Column::Found, Down,
         "g4 g5 g2 g1 g6 g3"},
        {"and the other way round", true, Column::Size, Down, Column::Description, Up, "g5 g1 g6 g2 g4 g3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        show();  // back to g1 … g6
        if (c.hasPrior)
            model.sort(c.priorColumn, c.priorDirection);
        model.sort(c.column, c.direction);
        EXPECT_EQ(order(), c.order);
        EXPECT_TRUE(model.isSorted());
        EXPECT_EQ(model.sortColumn(), c.column);
        EXPECT_EQ(model.sortDirection(), c.direction);
    }
}

TEST_F(SortFixture, TargetsStayUnderTheirGroupAndTheSelectionFollowsItsRecord)
{
    model.expand(0);  // g1 >g11 >g12 g2 …
    model.select(2);  // g12
    model.setHot(4);
    view.take();

    model.sort(Column::Size, SortDirection::Ascending);
    EXPECT_EQ(order(), "g3 g5 g2 g4 g6 g1 >g11 >g12");
    EXPECT_EQ(model.selected(), 7) << "still g12";
    EXPECT_EQ(model.hot(), -1) << "the mouse is over another record now";
    EXPECT_EQ(view.take(), "reset");
    EXPECT_TRUE(model.isExpanded(5));
}

TEST_F(ListFixture, InsertedGroupsGoBeforeTheGroupAtOrAfterTheRow)
{
    struct Case {
        const char* name;
        int at;
        int row;
        const char* rows;
    };
    const Case cases[] = {
        {"at the top", 0, 0, "N A >A1 >A2 B C"},
        {"on a target row: after that group's targets", 1, 3, "A >A1 >A2 N B C"},
        {"on a group row: before it", 3, 3, "A >A1 >A2 N B C"},
        {"at the end", 5, 5, "A >A1 >A2 B C N"},
        {"past the end", 99, 5, "A >A1 >A2 B C N"},
        {"before the start", -4, 0, "N A >A1 >A2 B C"},
    };
    group(u"A", 2);
    group(u"B");
    group(u"C");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        show();
        model.expand(0);
        model.select(4);  // C
        view.take();
        TimeRecordHandle added(TimeRecord::makeGroup(u"N", u"N", u""));
        EXPECT_EQ(model.insertGroup(added.get(), c.at), c.row);
        EXPECT_EQ(rows(), c.rows);
        EXPECT_EQ(utf8(model.record(model.selected())->title), "C") << "the selection moves with its row";
        const bool shiftsSelection = c.row <= 4;
        EXPECT_EQ(view.take(), "ins " + std::to_string(c.row) + "+1" + (shiftsSelection ? ", sel 5" : ""));
        EXPECT_EQ(model.insertGroup(added.get(), 0), -1) << "a group is listed once";
        model.removeGroup(added.get());
    }
}

TEST_F(ListFixture, AppendedGroupsComeAfterEveryRowInOneChange)
{
    group(u"A", 2);
    group(u"B");
    show();
    model.expand(0);  // A >A1 >A2 B
    model.select(3);
    view.take();
    TimeRecordHandle n(TimeRecord::makeGroup(u"N", u"N", u""));
    TimeRecordHandle hidden(TimeRecord::makeGroup(u"H", u"H", u""));
    TimeRecordHandle m(TimeRecord::makeGroup(u"M", u"M", u""));
    model.setFilter([&](const TimeRecord& g) { return &g != hidden.get(); });
    view.take();

    const std::vector<TimeRecord*> arriving{n.get(), hidden.get(), groups[1].get(), m.get()};
    EXPECT_EQ(model.appendGroups(arriving), 2) << "the hidden group and the one listed already get no row";
    EXPECT_EQ(rows(), "A >A1 >A2 B N M") << "in their order, after the last group's targets";
    EXPECT_EQ(view.take(), "ins 4+2") << "one change for the lot, the selection above it untouched";
    EXPECT_EQ(utf8(model.record(model.selected())->title), "B");

    EXPECT_EQ(model.appendGroups({}), 0);
    EXPECT_EQ(view.take(), "") << "nothing arrived, nothing said";
    model.setFilter({});
    EXPECT_EQ(rows(), "A >A1 >A2 B N H M") << "the hidden group kept its place among the groups";
    for (TimeRecordHandle* added : {&n, &hidden, &m})
        model.removeGroup(added->get());
}

TEST_F(ListFixture, AModifiedGroupTakesTheRowOfTheOneItReplaces)
{
    group(u"A");
    group(u"B", 1);
    group(u"C");
    show();
    model.expand(1);  // A B >B1 C
    view.take();
    const int row = model.rowOf(*groups[1]);
    TimeRecordHandle modified(TimeRecord::makeGroup(u"B", u"B2", u""));
    EXPECT_TRUE(model.removeGroup(groups[1].get()));
    EXPECT_EQ(model.insertGroup(modified.get(), row), row);
    EXPECT_EQ(rows(), "A B2 C");
    EXPECT_EQ(view.take(), "rem 1+2, ins 1+1");
    EXPECT_FALSE(model.removeGroup(groups[1].get())) << "no longer listed";
    model.removeGroup(modified.get());
}

TEST_F(ListFixture, RemovingTheHotOrSelectedRowLeavesNoDanglingIndex)
{
    // Rows: 0 A, 1 >A1, 2 >A2, 3 B, 4 C, 5 >C1.
    struct Case {
        const char* name;
        int selected;
        int hot;
        int removed;  // group index
        int selectedAfter;
        int hotAfter;
        const char* told;
    };
    const Case cases[] = {
        {"selected target of the removed group", 1, 5, 0, -1, 2, "rem 0+3, sel -1, hot 2"},
        {"selected removed group row", 0, -1, 0, -1, -1, "rem 0+3, sel -1"},
        {"rows below move up", 3, 4, 0, 0, 1, "rem 0+3, sel 0, hot 1"},
        {"hot row removed, selection above stays", 3, 4, 2, 3, -1, "rem 4+2, hot -1"},
        {"selected last row removed", 5, 3, 2, -1, 3, "rem 4+2, sel -1"},
        {"a collapsed group without rows below it", 4, 1, 1, 3, 1, "rem 3+1, sel 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        groups.clear();
        group(u"A", 2);
        group(u"B");
        group(u"C", 1);
        show();
        model.expand(0);
        model.expand(4);
        model.select(c.selected);
        model.setHot(c.hot);
        view.take();
        EXPECT_TRUE(model.removeGroup(groups[static_cast<std::size_t>(c.removed)].get()));
        EXPECT_EQ(model.selected(), c.selectedAfter);
        EXPECT_EQ(model.hot(), c.hotAfter);
        EXPECT_EQ(view.take(), c.told);
        EXPECT_LT(model.selected(), model.rowCount());
        EXPECT_LT(model.hot(), model.rowCount());
    }
}

TEST_F(ListFixture, CollapsingHandsASelectedTargetToItsGroup)
{
    group(u"A");
    group(u"B", 2);
    group(u"C");
    show();
    model.expand(1);  // A B >B1 >B2 C
    model.select(3);
    model.setHot(2);
    view.take();
    EXPECT_TRUE(model.collapse(1));
    EXPECT_EQ(model.selected(), 1);
    EXPECT_EQ(model.hot(), -1);
    EXPECT_EQ(view.take(), "rem 2+2, sel 1, hot -1, chg 1");

    model.expand(1);
    model.select(4);  // C
    model.collapseAll();
    EXPECT_EQ(model.selected(), 2) << "C, moved up";
    model.expandAll();
    model.select(3);  // B2
    model.collapseAll();
    EXPECT_EQ(model.selected(), 1) << "B";
}

TEST_F(ListFixture, ShowOnlyRelatedHidesAndShowsGroupsInPlace)
{
    TimeRecord& found = group(u"Found", 1);
    TimeRecord& empty = group(u"Empty", 1);
    TimeRecord& checked = group(u"Checked", 1);
    TimeRecord& custom = group(u"Custom");
    found.found = 4;
    found.child(0)->found = 4;
    found.child(0)->size = 100;
    empty.child(0)->size = 7;  // counted in the totals though hidden
    checked.checked = true;
    custom.custom = true;
    show();
    model.expand(1);  // Empty stays open while hidden
    model.select(3);  // Checked
    view.take();

    model.setFilter([](const TimeRecord& g) { return purgo::isRelated(g); });
    EXPECT_EQ(rows(), "Found Checked Custom");
    EXPECT_EQ(model.selected(), 1);
    EXPECT_EQ(view.take(), "reset");
    EXPECT_EQ(model.totals().allSize, 107);

    // A record change alone does not take a row away; the filter does.
    model.toggleCheck(1);
    EXPECT_EQ(rows(), "Found Checked Custom");
    model.applyFilter();
    EXPECT_EQ(rows(), "Found Custom");
    EXPECT_EQ(model.selected(), -1);

    TimeRecordHandle unrelated(TimeRecord::makeGroup(u"U", u"U", u""));
    EXPECT_EQ(model.insertGroup(unrelated.get(), 1), -1) << "hidden by the filter";
    EXPECT_EQ(rows(), "Found Custom");

    model.setFilter({});
    EXPECT_EQ(rows(), "Found Empty >Empty1 Checked U Custom");
    model.removeGroup(unrelated.get());
}

TEST_F(ListFixture, CellsLinksAndMarks)
{
    TimeRecord& custom = group(u"Custom", 2);
    custom.custom = true;
    for (std::size_t i = 0; i < 2; ++i)
        custom.child(i)->custom = true;
    custom.size = 1024;
    custom.found = 1234567;
    custom.description = u"Own files";
    custom.child(0)->size = 0;
    custom.child(1)->size = 1048575;
    absent.insert(custom.child(1));
    show();
    model.expand(0);

    struct Case {
        int row;
        bool link;
        bool absentLook;
        bool customMark;
        const char* size;
        const char* found;
    };
    const Case cases[] = {
        {0, true, false, true, "1.00 KB", "1234567"},
        {1, true, false, false, "0 B", "0"},
        {2, false, true, false, "1023 KB", "0"},
        {3, false, false, false, "", ""},  // no such row
        {-1, false, false, false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(model.isLink(c.row), c.link);
        EXPECT_EQ(model.looksAbsent(c.row), c.absentLook);
        EXPECT_EQ(model.hasCustomMark(c.row), c.customMark);
        EXPECT_EQ(utf8(model.cellText(c.row, Column::Size)), c.size);
        EXPECT_EQ(utf8(model.cellText(c.row, Column::Found)), c.found);
    }
    EXPECT_EQ(utf8(model.cellText(0, Column::Title)), "Custom");
    EXPECT_EQ(utf8(model.cellText(0, Column::Description)), "Own files");
    EXPECT_EQ(utf8(model.cellText(2, Column::Description)), "C:\\x");

    // The folder appears: the row turns into a link once refreshed, and the
    // group's row (its sums) is repainted with it.
    absent.clear();
    view.take();
    EXPECT_EQ(model.refresh(*custom.child(1)), 2);
    EXPECT_TRUE(model.isLink(2));
    EXPECT_EQ(view.take(), "chg 0, chg 2");
    absent.insert(custom.child(0));
    EXPECT_EQ(model.refresh(custom), 0);
    EXPECT_TRUE(model.looksAbsent(1));
    EXPECT_EQ(view.take(), "chg 0, chg 1, chg 2");
    model.collapse(0);
    EXPECT_EQ(model.refresh(*custom.child(0)), -1) << "no row to repaint";
}

// A group whose program runs says so in its Description cell, in place of
// its description; its targets and the other groups keep theirs.
TEST_F(ListFixture, ARunningProgramsGroupSaysCloseItFirst)
{
    TimeRecord& browser = group(u"Browser", 1);
    browser.description = u"Erase Browser Cache Files";
    browser.guardName = u"Browser";
    TimeRecord& other = group(u"Other");
    other.description = u"Erase Other History";
    model.setRunningNote([](const TimeRecord& record) {
        s::str::strbuffer::StrBuffer note(u"Close ");
        note += record.guardName.view();
        return note;
    });
    show();
    model.expand(0);
    EXPECT_EQ(utf8(model.cellText(0, Column::Description)), "Erase Browser Cache Files") << "not running";
    browser.guardRunning = true;
    EXPECT_EQ(utf8(model.cellText(0, Column::Description)), "Close Browser");
    EXPECT_EQ(utf8(model.cellText(1, Column::Description)), "C:\\x");
    EXPECT_EQ(utf8(model.cellText(2, Column::Description)), "Erase Other History");
}

TEST_F(ListFixture, LocationsAreAskedWhenAGroupOpensNotWhenRowsMove)
{
    TimeRecord& a = group(u"A", 2);
    TimeRecord& b = group(u"B", 3);
    show();
    struct Step {
        const char* name;
        std::function<void()> action;
        int asked;
    };
    const Step steps[] = {
        {"opening A asks its two targets", [&] { model.expand(0); }, 2},
        {"opening everything asks only B's", [&] { model.expandAll(); }, 3},
        {"sorting asks nothing", [&] { model.sort(Column::Title, SortDirection::Descending); }, 0},
        {"filtering asks nothing",
         [&] {
             model.setFilter([&](const TimeRecord& g) { return &g == &a; });
             model.setFilter({});
         },
         0},
        {"a refreshed target is asked again", [&] { model.refresh(*a.child(1)); }, 1},
        {"a refreshed group asks all of its targets", [&] { model.refresh(b); }, 3},
        {"closing and opening a group asks again",
         [&] {
             model.collapse(model.rowOf(b));
             model.expand(model.rowOf(b));
         },
         3},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        asked = 0;
        absent.insert(b.child(2));  // seen only by those who ask
        step.action();
        EXPECT_EQ(asked, step.asked);
    }
    EXPECT_TRUE(model.looksAbsent(model.rowOf(*b.child(2))));
    EXPECT_FALSE(model.looksAbsent(model.rowOf(*a.child(1))));
}

TEST_F(ListFixture, RowsOutsideTheListAreIgnored)
{
    group(u"A", 1);
    show();
    for (int row : {-1, 1, 99}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(model.record(row), nullptr);
        EXPECT_EQ(model.checkState(row), CheckState::Unchecked);
        EXPECT_FALSE(model.toggleCheck(row));
        EXPECT_FALSE(model.expand(row));
        EXPECT_FALSE(model.isExpanded(row));
        EXPECT_EQ(model.groupRowOf(row), -1);
        model.select(row);
        model.setHot(row);
    }
    EXPECT_EQ(model.selected(), -1);
    EXPECT_EQ(model.hot(), -1);
    EXPECT_EQ(view.take(), "");
    model.select(0);
    EXPECT_EQ(view.take(), "chg 0, sel 0");
    model.select(-1);
    EXPECT_EQ(view.take(), "chg 0, sel -1");
}

}  // namespace
