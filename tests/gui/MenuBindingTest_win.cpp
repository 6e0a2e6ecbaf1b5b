// Native popup menus bound to a MenuModel, under Wine on a virtual display:
// each menu is really tracked (TrackPopupMenuEx's modal loop) and driven by
// keys posted before it starts, which its loop takes from the thread's queue.
#include "gui/MenuBinding_win.h"
#include "gui/SkinnedFrame_win.h"

#include "base/XmlNode.h"
#include "lang/Localizer.h"
#include "tests/support/MessagePump_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace s::gui;
using namespace s::gui::menu;

namespace {

constexpr int32_t kKeepOnTopText = 609100;
constexpr int32_t kSkinText = 8000000;

using testing_platform::pumpPending;

// A key as the menu loop reads it: a key press (arrows, Enter, Escape) or a
// typed character (a mnemonic letter).
struct Key {
    UINT message;
    WPARAM code;
};
const Key kDown{WM_KEYDOWN, VK_DOWN};
const Key kEnter{WM_KEYDOWN, VK_RETURN};
const Key kEscape{WM_KEYDOWN, VK_ESCAPE};
Key letter(wchar_t c)
{
    return Key{WM_CHAR, static_cast<WPARAM>(c)};
}

std::wstring menuString(HMENU menu, UINT item, UINT flags)
{
    wchar_t buffer[128] = {};
    GetMenuStringW(menu, item, buffer, 128, flags);
    return buffer;
}

class MenuBindingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        s::xml::Node root;
        root.parse(uR"(<lang><languages>
<entry tagName="eng" engName="English" trueName="English"/>
<entry tagName="deu" engName="German" trueName="Deutsch"/></languages>
<entries>
<entry id="609100"><eng>&amp;Keep on Top</eng><deu>&amp;Immer oben</deu></entry>
<entry id="8000000"><eng>&amp;Skin</eng><deu>&amp;Oberfläche</deu></entry>
</entries></lang>)");
        m_localizer.load(root, 10);
        m_localizer.selectIndex(0);

        // Keep on Top, a separator, a radio group, a greyed item, a submenu
        // refilled on each opening with one item more than the last time.
        m_model.add(MenuItem::item(kKeepOnTopText, 100).withCheck(false));
        m_model.add(MenuItem::separator());
        m_model.add(MenuItem::literal(u"&Low", 600).withRadio(1, false));
        m_model.add(MenuItem::literal(u"&Medium", 610).withRadio(1, true));
        m_model.add(MenuItem::literal(u"&High", 620).withRadio(1, false));
        m_model.add(MenuItem::literal(u"E&xit", 999).withEnabled(false));
        MenuItem skins = MenuItem::submenu(kSkinText);
        skins.rebuild = [this](MenuItem& submenu) {
            ++m_rebuilds;
            for (int i = 0; i < m_rebuilds; ++i)
                submenu.add(MenuItem::literal(u"Skin " + std::u16string(1, char16_t(u'A' + i)), 28200 + i)
                                .withRadio(2, i == 0));
        };
        m_model.add(std::move(skins));

        m_binding = std::make_unique<MenuBinding>(m_model);
        m_binding->onCommand = [this](int command) {
            m_commands.push_back(command);
        };

        FrameArgs args;
        args.caption = L"Owner";
        args.x = 10;
        args.y = 10;
        args.width = 300;
        args.height = 200;
        ASSERT_TRUE(m_owner.create(args));
        m_owner.show();
        pumpPending();
    }

    void TearDown() override { pumpPending(); }

    // Opens the whole menu with the keys waiting; returns what track answers.
    int open(const std::vector<Key>& keys)
    {
        for (const Key& key : keys)
            PostMessageW(m_owner.hwnd(), key.message, key.code, 1);
        const int chosen = m_binding->track(m_model.root(), m_owner.hwnd(), POINT{20, 20});
        // Keys left over when the menu ended early must not reach the next.
        pumpPending();
        return chosen;
    }

    UINT nativeState(int command)
    {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_FTYPE;
        if (!GetMenuItemInfoW(m_binding->popup(m_model.root()), MenuBinding::itemId(command), FALSE, &info))
            return 0xFFFFFFFF;
        return info.fState;
    }

    UINT nativeType(int command)
    {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(m_binding->popup(m_model.root()), MenuBinding::itemId(command), FALSE, &info);
        return info.fType;
    }

    s::lang::Localizer m_localizer;
    MenuModel m_model{&m_localizer};
    std::unique_ptr<MenuBinding> m_binding;
    SkinnedFrame m_owner;
    std::vector<int> m_commands;
    int m_rebuilds = 0;
};

// -- choosing -------------------------------------------------------------------

struct ChoiceRow {
    const char* name;
    std::vector<std::vector<Key>> openings;  // one key sequence per opening
    std::vector<int> answers;                // track's answer per opening
    std::vector<int> marked;                 // marked among 100, 600, 610, 620 afterwards
};

TEST_F(MenuBindingTest, ChoicesMoveTheMarksInTheModelAndInTheNativeMenu)
{
    const std::vector<ChoiceRow> rows = {
        {"arrow to the check item", {{kDown, kEnter}}, {100}, {100, 610}},
        {"its mnemonic letter", {{letter(L'k')}}, {100}, {100, 610}},
        {"the check item twice", {{kDown, kEnter}, {letter(L'k')}}, {100, 100}, {610}},
        {"a radio item by letter", {{letter(L'h')}}, {620}, {620}},
        {"a radio item by arrows", {{kDown, kDown, kEnter}}, {600}, {600}},
        {"the marked radio item again", {{letter(L'm')}}, {610}, {610}},
        {"two radio items", {{letter(L'h')}, {letter(L'l')}}, {620, 600}, {600}},
        {"the greyed item by letter", {{letter(L'x'), kEscape}}, {-1}, {610}},
        {"the greyed item by arrows", {{kDown, kDown, kDown, kDown, kDown, kEnter, kEscape}}, {-1}, {610}},
        {"escape", {{kEscape}}, {-1}, {610}},
    };
    for (const ChoiceRow& row : rows) {
        SCOPED_TRACE(row.name);
        // Back to the first state.
        m_model.setMarked(100, false);
        m_model.setMarked(610, true);
        m_commands.clear();

        std::vector<int> answers;
        for (const std::vector<Key>& keys : row.openings)
            answers.push_back(open(keys));
        EXPECT_EQ(answers, row.answers);
        std::vector<int> reported;
        for (int answer : row.answers) {
            if (answer >= 0)
                reported.push_back(answer);
        }
        EXPECT_EQ(m_commands, reported) << "onCommand after the model took it";

        for (int command : {100, 600, 610, 620}) {
            const bool expected = std::find(row.marked.begin(), row.marked.end(), command) != row.marked.end();
            EXPECT_EQ(m_model.find(command)->marked, expected) << "model, command " << command;
            EXPECT_EQ((nativeState(command) & MFS_CHECKED) != 0, expected) << "HMENU, command " << command;
        }
    }
}

TEST_F(MenuBindingTest, TheNativeItemsCarryKindMarkAndState)
{
    HMENU menu = m_binding->popup(m_model.root());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 7);
    EXPECT_EQ(nativeType(100) & MFT_RADIOCHECK, 0u) << "a check mark";
    for (int radio : {600, 610, 620})
        EXPECT_NE(nativeType(radio) & MFT_RADIOCHECK, 0u) << "radio " << radio;
    EXPECT_NE(nativeState(999) & MFS_GRAYED, 0u);
    EXPECT_EQ(nativeState(610) & MFS_GRAYED, 0u);
    EXPECT_NE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    EXPECT_NE(GetSubMenu(menu, 6), nullptr);
    EXPECT_EQ(menuString(menu, 6, MF_BYPOSITION), L"&Skin");
    // The model's enabled flag reaches the built menu at once.
    m_model.setEnabled(999, true);
    EXPECT_EQ(nativeState(999) & MFS_GRAYED, 0u);
    EXPECT_EQ(open({letter(L'x')}), 999) << "enabled now, the letter chooses it";
}

// -- submenus refilled as they open -------------------------------------------

TEST_F(MenuBindingTest, ASubmenuWithARebuildShowsTheItemsOfEachOpening)
{
    std::vector<int> counts;
    m_binding->onPopupOpened = [&counts](HMENU menu, const MenuItem& submenu) {
        if (submenu.textId == kSkinText)
            counts.push_back(GetMenuItemCount(menu));
    };
    // The letter opens the submenu with its first item selected.
    EXPECT_EQ(open({letter(L's'), kEnter}), 28200);
    EXPECT_EQ(open({letter(L's'), kDown, kEnter}), 28201);
    EXPECT_EQ(open({letter(L's'), kDown, kDown, kEnter}), 28202);
    EXPECT_EQ(counts, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(m_rebuilds, 3);
    // The rebuilt items are the model's: the radio mark moved there too.
    HMENU skins = GetSubMenu(m_binding->popup(m_model.root()), 6);
    EXPECT_EQ(GetMenuItemCount(skins), 3);
    EXPECT_EQ(menuString(skins, 2, MF_BYPOSITION), L"Skin C");
    EXPECT_NE(nativeState(28202) & MFS_CHECKED, 0u);
    EXPECT_EQ(nativeState(28200) & MFS_CHECKED, 0u);
    EXPECT_TRUE(m_model.find(28202)->marked);
}

// -- languages -------------------------------------------------------------------

TEST_F(MenuBindingTest, ALanguageChangeGivesTheNextOpeningTheNewTexts)
{
    m_model.setMarked(100, true);
    HMENU menu = m_binding->popup(m_model.root());
    EXPECT_EQ(menuString(menu, MenuBinding::itemId(100), MF_BYCOMMAND), L"&Keep on Top");
    m_localizer.selectIndex(1);
    menu = m_binding->popup(m_model.root());
    EXPECT_EQ(menuString(menu, MenuBinding::itemId(100), MF_BYCOMMAND), L"&Immer oben");
    EXPECT_EQ(menuString(menu, 6, MF_BYPOSITION), L"&Oberfläche");
    EXPECT_EQ(menuString(menu, MenuBinding::itemId(610), MF_BYCOMMAND), L"&Medium") << "literal texts stay";
    EXPECT_NE(nativeState(100) & MFS_CHECKED, 0u) << "marks survive the new build";
    // The new mnemonic works: "i" is now Keep on Top's letter.
    EXPECT_EQ(open({letter(L'i')}), 100);
    EXPECT_FALSE(m_model.find(100)->marked);
}

// -- the frame's title-bar menus -----------------------------------------------

TEST(FrameMenus, ATitleMenuOpensTheModelsSubmenuAndItsChoiceMovesTheMark)
{
    MenuModel model(nullptr);
    MenuItem view = MenuItem::submenu(0);
    view.text = u"View";
    view.add(MenuItem::literal(u"&Keep on Top", 100).withCheck(false));
    view.add(MenuItem::literal(u"&Alternate rows", 991).withCheck(true));
    model.add(std::move(view));

    SkinnedFrame frame;
    FrameArgs args;
    args.caption = L"Oxle Purgo";
    args.x = 10;
    args.y = 10;
    args.width = 420;
    args.height = 300;
    args.menus = &model;
    ASSERT_TRUE(frame.create(args));
    frame.show();
    pumpPending();
    std::vector<int> commands;
    frame.onCommand = [&commands](int command) {
        commands.push_back(command);
    };
    const Box box = frame.layout().menus()[0];
    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE(opening);
        PostMessageW(frame.hwnd(), WM_CHAR, L'a', 1);
        SendMessageW(frame.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.centreX(), box.centreY()));
        pumpPending();
        EXPECT_EQ(model.find(991)->marked, opening == 1);
        EXPECT_FALSE(model.find(100)->marked);
    }
    EXPECT_EQ(commands, (std::vector<int>{991, 991}));
}

}  // namespace
