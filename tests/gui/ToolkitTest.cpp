// The toolkit's portable parts: the palette a painter draws with, the frame's
// geometry and hit test, and the closure queue that carries work from
// workers to the window thread.
#include "gui/ClosureQueue.h"
#include "gui/ColumnFit.h"
#include "gui/FrameElements.h"
#include "gui/FrameLayout.h"
#include "gui/SkinPalette.h"
#include "gui/Skinner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

using namespace s::gui;
using namespace s::gui::drawer;

namespace {

Rgb rgb(uint32_t value)
{
    return Rgb{static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

TEST(SkinPaletteTest, WithoutASkinPaintsTheBuiltInClassicLG)
{
    Skinner skins;
    const ISkin* classic = skins.skin(skins.findSkin(u"Classic LG"));
    const SkinPalette defaults(nullptr);
    for (int c = 0; c < kSkinColourCount; ++c) {
        const auto colour = static_cast<SkinColour>(c);
        EXPECT_EQ(defaults[colour], classic->colour(colour)) << "colour " << c;
    }
    EXPECT_EQ(SkinPalette()[SkinColour::windowBg], rgb(0x747474));
}

TEST(SkinPaletteTest, ButtonStatesTakeTheirColoursFromTheSkin)
{
    Skinner skins;
    const ISkin* white = skins.skin(skins.findSkin(u"White"));
    const SkinPalette palette(white);
    const Rgb header = white->colour(SkinColour::listHeaderBg);
    const Rgb headerFont = white->colour(SkinColour::listHeaderFont);
    const Rgb border = white->colour(SkinColour::compFg);
    const Rgb disabled = white->colour(SkinColour::compDisabled);
    struct Row {
        ButtonState state;
        const char* name;
        ButtonColours expected;
    };
    const Row rows[] = {
        {ButtonState::normal, "normal", {header, border, headerFont}},
        {ButtonState::focused, "focused", {header, border, headerFont}},
        {ButtonState::hot, "hot", {SkinPalette::blend(header, headerFont, 25), border, headerFont}},
        {ButtonState::pressed, "pressed", {headerFont, border, header}},
        {ButtonState::disabled, "disabled", {header, disabled, disabled}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(palette.button(row.state), row.expected) << row.name;
    EXPECT_NE(palette.button(ButtonState::hot).face, palette.button(ButtonState::normal).face)
        << "hot must be visible in the White skin";
}

TEST(SkinPaletteTest, AlternateRowsOnlyWhenAsked)
{
    Skinner skins;
    const SkinPalette palette(skins.skin(skins.findSkin(u"Black")));
    const Rgb bg = rgb(0xFFFFFF);
    const Rgb alt = rgb(0xEEEEEE);
    const struct {
        int index;
        bool alternate;
        Rgb expected;
    } rows[] = {{0, true, bg}, {1, true, alt}, {2, true, bg}, {3, true, alt}, {1, false, bg}, {0, false, bg}};
    for (const auto& row : rows)
        EXPECT_EQ(palette.row(row.index, row.alternate), row.expected)
            << "row " << row.index << (row.alternate ? " alternate" : "");
}

TEST(SkinPaletteTest, BlendRoundsBetweenItsEnds)
{
    EXPECT_EQ(SkinPalette::blend(rgb(0x000000), rgb(0xFFFFFF), 0), rgb(0x000000));
    EXPECT_EQ(SkinPalette::blend(rgb(0x000000), rgb(0xFFFFFF), 100), rgb(0xFFFFFF));
    EXPECT_EQ(SkinPalette::blend(rgb(0x000000), rgb(0xFFFFFF), 50), rgb(0x808080));
    EXPECT_EQ(SkinPalette::blend(rgb(0x102030), rgb(0x102030), 37), rgb(0x102030));
}

TEST(FrameLayoutTest, TitleBarPartsScaleAndKeepTheirOrder)
{
    for (int s : {1, 2, 4}) {
        const FrameLayout layout(s, 630 * s, 500 * s, {30 * s, 40 * s});
        SCOPED_TRACE(testing::Message() << "scale " << s);
        EXPECT_EQ(layout.titleBar(), (Box{0, 0, 630 * s, 26 * s}));
        EXPECT_EQ(layout.content(), (Box{0, 26 * s, 630 * s, 500 * s}));
        for (const Box& button : {layout.minimise(), layout.maximise(), layout.close()}) {
            EXPECT_EQ(button.width(), 18 * s);
            EXPECT_EQ(button.height(), 18 * s);
            EXPECT_EQ(button.top, 4 * s) << "centred in the title bar";
        }
        EXPECT_EQ(layout.maximise().left - layout.minimise().right, 2 * s);
        EXPECT_EQ(layout.close().left - layout.maximise().right, 2 * s);
        EXPECT_EQ(layout.close().right, 630 * s - 4 * s);
        EXPECT_EQ(layout.icon().width(), 16 * s);
        EXPECT_EQ(layout.icon().top, 5 * s);
        ASSERT_EQ(layout.menus().size(), 2u);
        EXPECT_EQ(layout.menus()[0].width(), 30 * s + 14 * s) << "text plus padding";
        EXPECT_EQ(layout.menus()[1].left, layout.menus()[0].right);
        // Left to right: menus, icon, caption, a gap, the buttons.
        EXPECT_LT(layout.menus()[1].right, layout.icon().left);
        EXPECT_LT(layout.icon().right, layout.caption().left);
        EXPECT_EQ(layout.minimise().left - layout.caption().right, 10 * s);
    }
}

TEST(FrameLayoutTest, HitTestTable)
{
    const FrameLayout layout(1, 400, 300, {30});
    struct Row {
        int x, y;
        Dragging dragging;
        Placement placement;
        FramePart expected;
    };
    const Dragging title = Dragging::titleBarOnly;
    const Dragging anywhere = Dragging::anywhere;
    const Placement normal = Placement::normal;
    const Row rows[] = {
        {layout.close().centreX(), layout.close().centreY(), title, normal, FramePart::close},
        {layout.maximise().centreX(), 10, title, normal, FramePart::maximise},
        {layout.minimise().left, layout.minimise().top, title, normal, FramePart::minimise},
        {layout.minimise().left - 1, 10, title, normal, FramePart::caption},
        {20, 13, anywhere, normal, FramePart::menu},
        {200, 13, title, normal, FramePart::caption},
        {200, 150, title, normal, FramePart::client},
        {200, 150, anywhere, normal, FramePart::caption},
        {0, 150, title, normal, FramePart::left},
        {3, 150, title, normal, FramePart::left},
        {4, 150, title, normal, FramePart::client},
        {399, 150, title, normal, FramePart::right},
        {200, 0, title, normal, FramePart::top},
        {200, 299, title, normal, FramePart::bottom},
        {0, 0, title, normal, FramePart::topLeft},
        {11, 1, title, normal, FramePart::topLeft},
        {399, 5, title, normal, FramePart::topRight},
        {1, 295, title, normal, FramePart::bottomLeft},
        {390, 298, title, normal, FramePart::bottomRight},
        // A maximised window has no edges to resize.
        {0, 150, title, Placement::maximised, FramePart::client},
        {200, 0, title, Placement::maximised, FramePart::caption},
        {399, 299, anywhere, Placement::maximised, FramePart::caption},
    };
    for (const Row& row : rows)
        EXPECT_EQ(layout.hitTest(row.x, row.y, row.dragging, row.placement), row.expected)
            << "at (" << row.x << ", " << row.y << ")" << (row.dragging == anywhere ? " EasyDrag" : "")
            << (row.placement == Placement::maximised ? " maximised" : "");
}

TEST(FrameLayoutTest, ADialogHasTheCloseButtonOnly)
{
    const FrameLayout full(1, 400, 300, {30});
    const FrameLayout dialog(1, 400, 300, {30}, false);
    EXPECT_EQ(dialog.close().left, full.close().left);
    EXPECT_EQ(dialog.minimise().width(), 0);
    EXPECT_EQ(dialog.maximise().width(), 0);
    EXPECT_EQ(dialog.caption().right, dialog.close().left - FrameLayout::kCaptionGap) << "the caption takes their room";
    // Where the sizing buttons would be is title bar.
    EXPECT_EQ(dialog.hitTest(full.maximise().centreX(), 10, Dragging::titleBarOnly, Placement::normal),
              FramePart::caption);
    EXPECT_EQ(dialog.hitTest(full.minimise().centreX(), 10, Dragging::titleBarOnly, Placement::normal),
              FramePart::caption);
}

// The filling column takes what the others leave of the list's width, down
// to its minimum; the other columns are never touched.
TEST(ColumnFitTest, TheFillingColumnTakesTheRestDownToItsMinimum)
{
    struct Row {
        const char* what;
        std::vector<int> widths;
        int fill;
        int available;
        int minimum;
        int expected;
    };
    const Row rows[] = {
        {"630-pixel main window", {260, 70, 60, 800}, 3, 573, 120, 183},
        {"a wide window", {260, 70, 60, 800}, 3, 1900, 120, 1510},
        {"too narrow: the minimum, and the list scrolls", {260, 70, 60, 800}, 3, 400, 120, 120},
        {"the filling column in the middle", {100, 50, 100}, 1, 400, 20, 200},
        {"a negative width counts as none", {-5, 50, 100}, 1, 300, 20, 200},
        {"no filling column", {100, 50}, -1, 400, 20, 0},
        {"past the columns", {100, 50}, 2, 400, 20, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(fillingWidth(row.widths, row.fill, row.available, row.minimum), row.expected) << row.what;
}

// What a screen reader finds in the title bar: menus, then the buttons the
// frame shows (restore in place of maximise while maximised, close only on a
// dialog), each at the box the frame paints and takes clicks in.
TEST(FrameElementsTest, TheTitleBarsPaintedPartsInReadingOrder)
{
    using Kind = FrameElementKind;
    struct Row {
        const char* what;
        bool sizeButtons;
        Placement placement;
        std::vector<Kind> expected;
    };
    const Row rows[] = {
        {"normal", true, Placement::normal, {Kind::menu, Kind::menu, Kind::minimise, Kind::maximise, Kind::close}},
        {"maximised", true, Placement::maximised, {Kind::menu, Kind::menu, Kind::minimise, Kind::restore, Kind::close}},
        {"dialog", false, Placement::normal, {Kind::menu, Kind::menu, Kind::close}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const FrameLayout layout(2, 800, 600, {30, 40}, row.sizeButtons);
        const std::vector<FrameElement> elements = frameElements(layout, row.placement);
        std::vector<Kind> kinds;
        for (const FrameElement& element : elements)
            kinds.push_back(element.kind);
        ASSERT_EQ(kinds, row.expected);
        EXPECT_EQ(elements[0].box, layout.menus()[0]);
        EXPECT_EQ(elements[1].menuIndex, 1);
        EXPECT_EQ(elements.back().box, layout.close());
        EXPECT_EQ(elements.back().menuIndex, -1);
        // Each element is found at its own centre and nowhere else; the
        // caption, the gaps between the buttons and the content are none.
        for (std::size_t i = 0; i < elements.size(); ++i) {
            const Box& box = elements[i].box;
            EXPECT_EQ(frameElementAt(elements, box.centreX(), box.centreY()), static_cast<int>(i)) << "element " << i;
            EXPECT_EQ(frameElementAt(elements, box.right, box.centreY()),
                      i + 1 < elements.size() && elements[i + 1].box.left == box.right ? static_cast<int>(i + 1) : -1)
                << "right of element " << i;
        }
        EXPECT_EQ(frameElementAt(elements, layout.caption().centreX(), layout.caption().centreY()), -1);
        EXPECT_EQ(frameElementAt(elements, layout.content().centreX(), layout.content().centreY()), -1);
    }
}

struct Counted {
    explicit Counted(std::atomic<int>& counter) : m_counter(&counter) {}
    Counted(const Counted&) = delete;
    ~Counted() { ++*m_counter; }
    std::atomic<int>* m_counter;
};

TEST(ClosureQueueTest, OneWakeUpPerBatchAndOrderKept)
{
    int wakes = 0;
    ClosureQueue queue([&wakes] {
        ++wakes;
        return true;
    });
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(queue.post([i, &seen] { seen.push_back(i); }));
    EXPECT_EQ(wakes, 1);
    queue.runPending();
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
    // A post made while a batch runs wakes the window again.
    queue.post([&] { queue.post([&seen] { seen.push_back(9); }); });
    EXPECT_EQ(wakes, 2);
    queue.runPending();
    EXPECT_EQ(wakes, 3);
    queue.runPending();
    EXPECT_EQ(seen.back(), 9);
}

TEST(ClosureQueueTest, CloseFreesWhatIsQueuedAndRefusesLaterPosts)
{
    std::atomic<int> freed{0};
    int ran = 0;
    ClosureQueue queue([] { return false; });  // the window is gone
    auto token = std::make_shared<Counted>(freed);
    EXPECT_TRUE(queue.post([token, &ran] { ++ran; }));
    token.reset();
    EXPECT_EQ(freed, 0) << "kept until the window thread closes the queue";
    queue.close();
    EXPECT_EQ(freed, 1);
    token = std::make_shared<Counted>(freed);
    EXPECT_FALSE(queue.post([token, &ran] { ++ran; }));
    token.reset();
    EXPECT_EQ(freed, 2);
    queue.runPending();
    EXPECT_EQ(ran, 0);
}

TEST(ClosureQueueTest, PostsFromManyThreadsAllRunOnce)
{
    std::atomic<int> wakes{0};
    ClosureQueue queue([&wakes] {
        ++wakes;
        return true;
    });
    constexpr int kThreads = 4;
    constexpr int kPosts = 500;
    std::vector<int> counts(kThreads, 0);
    std::vector<int> lastSeen(kThreads, -1);
    bool ordered = true;
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.emplace_back([&, t] {
            for (int i = 0; i < kPosts; ++i)
                queue.post([&, t, i] {
                    ordered = ordered && lastSeen[static_cast<std::size_t>(t)] == i - 1;
                    lastSeen[static_cast<std::size_t>(t)] = i;
                    ++counts[static_cast<std::size_t>(t)];
                });
        });
    }
    // The window thread runs batches while the workers post.
    for (int spins = 0; spins < 1000; ++spins)
        queue.runPending();
    for (auto& worker : workers)
        worker.join();
    queue.runPending();
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(counts[static_cast<std::size_t>(t)], kPosts) << "thread " << t;
    EXPECT_TRUE(ordered) << "each thread's posts run in the order they were made";
}

}  // namespace
