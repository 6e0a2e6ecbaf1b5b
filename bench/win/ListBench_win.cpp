// The target list's window over the application's row model with a
// catalogue-sized tree (134 groups, 2,000 targets), on a real display (run
// it under Wine with a display, or on Windows): fill (set the groups, expand
// them all, paint), sort by Size (and paint), repaint the whole list. Each
// against a baseline in this same binary and window: a plain owner-data
// ListView with the same row count, no custom draw, its texts answered from
// a vector.
//
//   purgo_list_bench_win [rounds]
//
// Google Benchmark is not packaged for MinGW, so this is a small timer of its
// own: every figure is the best of a few rounds (the first round of each
// pays for fonts and caches).
#include "app/main/TargetListModel.h"
#include "gui/SkinnedFrame_win.h"
#include "gui/TargetListView_win.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

namespace purgo = s::file::gui::dialogs::purgo;
using purgo::TimeRecord;
using purgo::TimeRecordHandle;
using s::gui::list::Column;
using s::gui::list::SortDirection;

namespace {

constexpr int kGroups = 134;
constexpr int kTargets = 2000;
constexpr int kListWidth = 600;
constexpr int kListHeight = 700;

// The tree of bench/ListModelBench.cpp: sizes from a small linear
// congruential generator, many empty targets (ties) as on a clean machine.
class Tree {
public:
    Tree()
    {
        uint64_t seed = 12345;
        const auto next = [&seed] {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            return seed >> 33;
        };
        for (int g = 0; g < kGroups; ++g) {
            m_handles.emplace_back(TimeRecord::makeGroup(u"g", u"Group", u"What the group covers"));
            TimeRecord& group = *m_handles.back();
            const int count = kTargets / kGroups + (g < kTargets % kGroups ? 1 : 0);
            for (int t = 0; t < count; ++t) {
                TimeRecord* target = TimeRecord::makeTarget(purgo::Type_File, u"t", u"C:\\x");
                target->size = next() % 3 == 0 ? 0 : static_cast<int64_t>(next() % 100000000);
                group.size += target->size;
                group.addChild(target);
            }
            groups.push_back(&group);
        }
    }

    std::vector<TimeRecord*> groups;

private:
    std::vector<TimeRecordHandle> m_handles;
};

void pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Best of `rounds`, in milliseconds; `prepare` runs untimed before each.
double best(int rounds, const std::function<void()>& prepare, const std::function<void()>& work)
{
    double fastest = 1e300;
    for (int i = 0; i < rounds; ++i) {
        prepare();
        pump();
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        fastest = std::min(fastest, std::chrono::duration<double, std::milli>(end - start).count());
    }
    return fastest;
}

// The baseline: an owner-data report ListView without custom draw, its
// texts from a vector through LVN_GETDISPINFOW. Its parent is the frame, so
// the frame forwards the notification here.
class PlainList {
public:
    bool create(HWND parent, int x, int y, int rows)
    {
        m_hwnd = CreateWindowExW(0, WC_LISTVIEWW, L"",
                                 WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, x, y,
                                 kListWidth, kListHeight, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!m_hwnd)
            return false;
        SendMessageW(m_hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
        const wchar_t* titles[] = {L"Title", L"Found", L"Size", L"Description"};
        for (int c = 0; c < 4; ++c) {
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.cx = c == 0 ? 240 : 110;
            column.pszText = const_cast<wchar_t*>(titles[c]);
            SendMessageW(m_hwnd, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
        }
        m_texts.resize(static_cast<std::size_t>(rows));
        m_sizes.resize(static_cast<std::size_t>(rows));
        uint64_t seed = 777;
        for (int i = 0; i < rows; ++i) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            m_sizes[static_cast<std::size_t>(i)] = static_cast<int64_t>((seed >> 33) % 100000000);
            m_texts[static_cast<std::size_t>(i)] = L"Row " + std::to_wstring(i);
        }
        m_order.resize(static_cast<std::size_t>(rows));
        std::iota(m_order.begin(), m_order.end(), 0);
        return true;
    }

    HWND hwnd() const { return m_hwnd; }

    void setCount(int count) { SendMessageW(m_hwnd, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOSCROLL); }

    void sortBySize(bool descending)
    {
        std::stable_sort(m_order.begin(), m_order.end(), [this, descending](int a, int b) {
            const int64_t left = m_sizes[static_cast<std::size_t>(a)];
            const int64_t right = m_sizes[static_cast<std::size_t>(b)];
            return descending ? left > right : left < right;
        });
        InvalidateRect(m_hwnd, nullptr, TRUE);
    }

    bool answer(NMHDR* header)
    {
        if (header->hwndFrom != m_hwnd || header->code != LVN_GETDISPINFOW)
            return false;
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
        if (!(info->item.mask & LVIF_TEXT))
            return true;
        const int row = m_order[static_cast<std::size_t>(info->item.iItem)];
        m_cell = info->item.iSubItem == 0   ? m_texts[static_cast<std::size_t>(row)]
                 : info->item.iSubItem == 2 ? std::to_wstring(m_sizes[static_cast<std::size_t>(row)] / 1024) + L" KB"
                                            : std::wstring(L"1");
        info->item.pszText = m_cell.data();
        return true;
    }

private:
    HWND m_hwnd = nullptr;
    std::vector<std::wstring> m_texts;
    std::vector<int64_t> m_sizes;
    std::vector<int> m_order;
    std::wstring m_cell;
};

// The frame passes a foreign child's notifications to the baseline.
class BenchFrame : public s::gui::SkinnedFrame {
public:
    PlainList* plain = nullptr;

protected:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) override
    {
        if (msg == WM_NOTIFY && plain && plain->answer(reinterpret_cast<NMHDR*>(lp)))
            return 0;
        return SkinnedFrame::onMessage(msg, wp, lp);
    }
};

void paintNow(HWND hwnd)
{
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void report(const char* name, double ours, double baseline)
{
    std::printf("%-22s %9.2f ms   baseline %8.2f ms   ratio %6.2f\n", name, ours, baseline, ours / baseline);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 10;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);

    Tree tree;
    s::gui::list::TargetListModel model([](const TimeRecord&) { return true; });

    BenchFrame frame;
    s::gui::FrameArgs frameArgs;
    frameArgs.caption = L"List bench";
    frameArgs.x = 0;
    frameArgs.y = 0;
    frameArgs.width = 2 * kListWidth + 30;
    frameArgs.height = kListHeight + 60;
    if (!frame.create(frameArgs))
        return 1;
    const int top = frame.layout().content().top;

    s::gui::TargetListView view;
    s::gui::TargetListArgs args;
    args.parent = frame.hwnd();
    args.x = 10;
    args.y = top;
    args.width = kListWidth;
    args.height = kListHeight;
    args.rows = &model;
    args.painter = &frame.painter();
    args.columnTitle = [](int32_t id) {
        return L"Column " + std::to_wstring(id);
    };
    if (!view.create(args))
        return 1;

    PlainList plain;
    frame.plain = &plain;
    model.setGroups(tree.groups);
    model.expandAll();
    const int rows = model.rowCount();
    if (!plain.create(frame.hwnd(), 20 + kListWidth, top, rows))
        return 1;
    frame.show();
    pump();

    std::printf("%d groups, %d targets, %d rows, best of %d rounds\n", kGroups, kTargets, rows, rounds);

    // Fill: from no rows to every group open, painted.
    const double fill = best(
        rounds,
        [&] {
            model.setGroups({});
            paintNow(view.hwnd());
        },
        [&] {
            model.setGroups(tree.groups);
            model.expandAll();
            UpdateWindow(view.hwnd());
        });
    const double fillBase = best(
        rounds,
        [&] {
            plain.setCount(0);
            paintNow(plain.hwnd());
        },
        [&] {
            plain.setCount(rows);
            UpdateWindow(plain.hwnd());
        });
    report("fill + expand all", fill, fillBase);

    // Sort by Size, alternating the direction so every round moves rows.
    bool descending = true;
    const double sort = best(
        rounds, [] {},
        [&] {
            model.sort(Column::Size, descending ? SortDirection::Descending : SortDirection::Ascending);
            descending = !descending;
            UpdateWindow(view.hwnd());
        });
    const double sortBase = best(
        rounds, [] {},
        [&] {
            plain.sortBySize(descending);
            descending = !descending;
            UpdateWindow(plain.hwnd());
        });
    report("sort by Size", sort, sortBase);

    const double repaint = best(
        rounds, [] {}, [&] { paintNow(view.hwnd()); });
    const double repaintBase = best(
        rounds, [] {}, [&] { paintNow(plain.hwnd()); });
    report("repaint", repaint, repaintBase);
    return 0;
}
