// The main window: the skinned frame with its menus, the target list, the
// status row, "Clean Now!" and the boot check box. Dialog is the Win32 view
// of the main controller (app/main/MainController.h): it makes the windows, hands
// their events to the controller and shows what the controller says. A boot
// run builds the window without showing it, cleans silently and closes.
#pragma once

#include "app/main/MainController.h"
#include "app/main/RowIcons_win.h"
#include "app/start/AppBase.h"
#include "app/start/AppWindow.h"
#include "base/IEventListener.h"
#include "gui/Button_win.h"
#include "gui/CheckBox_win.h"
#include "gui/Label_win.h"
#include "gui/OverlayPanel_win.h"
#include "gui/PictureButton_win.h"
#include "gui/ProgressBar_win.h"
#include "gui/Scale.h"
#include "gui/SkinnedFrame_win.h"
#include "gui/TargetListView_win.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace s::file::gui::dialogs::purgo {

class Dialog : private IMainView, private s::gui::events::IEventListener {
public:
    // Neither is owned; both outlive the dialog. icon (not owned) is drawn
    // in the title bar. builder fills the target tree (the catalogue when
    // none is given).
    Dialog(s::app::win::AppBase& app, s::app::win::AppWindow& frame, HICON icon, TreeBuilder builder = {});
    // Giving back: a run still going on is cancelled (a clean stops after
    // its current target, a collect runs to its end) and waited for; then
    // the window and the records go.
    ~Dialog() override;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the window and starts the work: the collect run on the worker,
    // or, for a boot run, the silent collect and clean on this thread and
    // the close.
    void build(bool bootRun);
    // The window's message loop, until it is closed.
    void runMessageLoop();

    // The picture at the small icon size for the title bar and the taskbar
    // (not owned); set before build. Without it the icon is scaled down.
    void setSmallIcon(HICON icon) { m_smallIcon = icon; }

    // The states, the commands and the list.
    MainController& controller() { return m_controller; }
    HWND hwnd() const { return m_window.hwnd(); }
    // Work for the window thread from any thread (null before build).
    std::shared_ptr<s::gui::ClosureQueue> closures() const { return m_window.closures(); }

    // Opens the custom target editor for a new group (null) or a copy of a
    // group; set by whoever provides the editor.
    std::function<void(Dialog& dialog, const TimeRecord* group)> openCustomEditor;
    // Shows the version information window; set by whoever provides it.
    std::function<void(Dialog& dialog)> showVersionInformation;
    // Shows the items window of a row; set by whoever provides it.
    std::function<void(Dialog& dialog, TimeRecord& row)> showItems;
    // Shows the keep list window; set by whoever provides it.
    std::function<void(Dialog& dialog)> showKeepList;
    // After the build (both kinds): the update check.
    std::function<void(Dialog& dialog)> afterBuild;

    // The controls' child-window ids: how the system, accessibility tools
    // and automation find them (GetDlgItem). The status row shows either the
    // four totals labels or the status label.
    enum ControlId : int {
        kList = 1001,
        kTotalSize,
        kTotalOpen,
        kTotalCount,
        kTotalClose,
        kStatus,
        kProgress,
        kPlus,
        kAddCustom,
        kShowRelated,
        kClean,
        kBootRun,
    };

private:
    // IMainView.
    void post(std::function<void()> work) override;
    void loadRowIcon(std::u16string_view iconSpec) override;
    void showStatus(int32_t textId) override;
    void showTotals(const StatusLabels& labels) override;
    void setCleanCaption(const s::str::strbuffer::StrBuffer& caption) override;
    void setCleanEnabled(bool on) override;
    void setListEnabled(bool on) override;
    void setEditingEnabled(bool on) override;
    void showCollecting(bool on) override;
    void showProgress(int range) override;
    void setProgress(int position) override;
    void hideProgress() override;
    void showMessage(const s::str::strbuffer::StrBuffer& text) override;
    bool ask(const s::str::strbuffer::StrBuffer& title, const s::str::strbuffer::StrBuffer& question) override;
    void setShowRelatedChecked(bool on) override;
    void setBootRunChecked(bool on) override;
    void changeRowsQuietly(const std::function<void()>& change) override;
    void setKeepOnTop(bool on) override;
    void setMiddleClickClose(bool close) override;
    void setOpacity(int percent, bool onlyOnTop) override;
    void setAlternateRows(bool on) override;
    void setCellHeight(s::gui::list::ListViewStep step) override;
    void setFontSize(s::gui::list::ListViewStep step) override;
    void requestClose() override;
    void storeGeometryAndHide() override;
    ColumnLayout columns() const override;

    // The language changed.
    void onEvent(s::base::IObject* source, int code) override;

    bool createWindow();
    void createElements();
    void nameTitleButtons();
    void configureList();
    void layout(const RECT& content);
    void relayout();

    // Shows the totals labels or the status text in the status row; laid
    // out at once unless the caller lays it out after more changes.
    void showTotalsRow(bool on, bool laidOut = true);
    void onContextMenu(int row, POINT screen);

    s::app::win::AppBase& m_app;
    s::app::win::AppWindow& m_frame;
    s::lang::Localizer& m_lang;
    HICON m_icon;
    HICON m_smallIcon = nullptr;
    s::gui::Scale m_scale;
    bool m_bootRun = false;

    MainController m_controller;
    s::gui::SkinnedFrame m_window;
    s::gui::TargetListView m_listView;
    // The list's row icons; the collect worker loads them too.
    std::shared_ptr<s::app::win::RowIcons> m_icons;
    s::gui::OverlayPanel m_collecting;
    s::gui::Label m_totalSize;
    s::gui::Label m_totalOpen;
    s::gui::Label m_totalCount;
    s::gui::Label m_totalClose;
    s::gui::Label m_status;
    s::gui::ProgressBar m_progress;
    s::gui::PictureButton m_plus;
    s::gui::Button m_addCustom;
    s::gui::CheckBox m_showRelated;
    s::gui::Button m_clean;
    s::gui::CheckBox m_bootCheck;
    bool m_totalsShown = false;
};

}  // namespace s::file::gui::dialogs::purgo
