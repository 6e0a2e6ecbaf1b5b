// The main window: the skinned frame with its menus, the target list, the
// status row, "Clean Now!" and the boot check box; its controller runs the
// collect and clean runs on its own worker and shows what they do. A boot run
// builds the window without showing it, cleans silently and closes.
#pragma once

#include "app/AppBase.h"
#include "app/AppWindow.h"
#include "app/TargetListModel.h"
#include "base/IEventListener.h"
#include "base/ObjLocker.h"
#include "base/Thread.h"
#include "engine/Runs.h"
#include "gui/Button_win.h"
#include "gui/CheckBox_win.h"
#include "gui/Label_win.h"
#include "gui/MenuBinding_win.h"
#include "gui/MenuModel.h"
#include "gui/OverlayPanel_win.h"
#include "gui/PictureButton_win.h"
#include "gui/ProgressBar_win.h"
#include "gui/SkinMenu.h"
#include "gui/SkinnedFrame_win.h"
#include "gui/TargetListView_win.h"

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

namespace s::file::gui::dialogs::purgo {

struct RulesDownload;

class Dialog : private IRunView, private s::gui::events::IEventListener {
public:
    enum class State : std::uint8_t { Collecting, Ready, Cleaning, Canceling, Closed };

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

    // Named commands of the custom target editor: a copy of its record is
    // added to the list, or replaces the group with its id.
    void addNewRecord(const TimeRecord& record);
    void modifyRecord(const TimeRecord& record);

    // Opens the custom target editor for a new group (null) or a copy of a
    // group; set by whoever provides the editor.
    std::function<void(Dialog& dialog, const TimeRecord* group)> openCustomEditor;
    // Shows the version information window; set by whoever provides it.
    std::function<void(Dialog& dialog)> showVersionInformation;
    // After the build (both kinds): the update check.
    std::function<void(Dialog& dialog)> afterBuild;

    // For the window's tests and the editor.
    State state() const { return m_state; }
    HWND hwnd() const { return m_window.hwnd(); }
    s::gui::list::TargetListModel& list() { return m_list; }
    s::gui::TargetListView& listView() { return m_listView; }
    std::vector<TimeRecord*>& targets() { return m_runs.groups(); }
    RunController& runs() { return m_runs; }
    s::app::win::AppBase& app() { return m_app; }
    int scale() const { return m_scale; }
    // The commands of the menus and the list's context menu.
    void command(int number);
    // "Clean Now!" / "Cancel".
    void pressCleanButton();
    // View > "Get Community Rules...": the rule file downloaded on a worker
    // of its own (app/RulesUpdate.h), the outcome told in a message, and the
    // list collected again when a new file is in place.
    void getCommunityRules();
    bool rulesDownloadRunning() const { return m_rulesBusy; }
    void setShowOnlyRelated(bool on);
    void setBootRunChecked(bool on);
    // The texts now shown in the status row and on the button.
    std::wstring statusText() const;
    std::wstring cleanButtonText() const;
    bool bootRunChecked() const;

private:
    // IRunView, called on the worker: every change goes to the window thread.
    void collectStarted() override;
    void addRow(TimeRecord& group) override;
    void collectFinished(const Totals& totals) override;
    void cleanStarted(const s::str::strbuffer::StrBuffer& status, const s::str::strbuffer::StrBuffer& buttonCaption,
                      int groupCount) override;
    void cleanProgress(int position) override;
    void showResult(const s::str::strbuffer::StrBuffer& message) override;
    void cleanFinished(const Totals& totals) override;
    void post(std::function<void()> work);

    // The language changed.
    void onEvent(s::base::IObject* source, int code) override;

    bool createWindow();
    void createElements();
    void configureList();
    void layout(const RECT& content);
    void relayout();
    void buildMenus();
    void applyViewOptions();
    void showTotals(bool on);
    void setStatus(int32_t textId);
    void updateTotals();
    void enterReadyState();
    void checksChanged();
    // The question before a group with a warning is checked; true: check it.
    bool askBeforeChecking(const TimeRecord& group);
    void rulesDownloaded(const std::u16string& message, bool saved);
    // A new collect run over a fresh tree, the checks kept.
    void collectAgain();
    void onLink(int row);
    void onDoubleClick(int row);
    void onContextMenu(int row, POINT screen);
    void rowCommand(int number, int row);
    void removeCustomGroup(int row);
    void lookUp(const TimeRecord& target);
    bool close();
    void saveOnClose();
    void storeGeometry();
    void openAddress(int32_t textId);

    s::app::win::AppBase& m_app;
    s::app::win::AppWindow& m_frame;
    s::map::IMappedData& m_settings;
    s::lang::Localizer& m_lang;
    HICON m_icon;
    int m_scale;
    bool m_bootRun = false;
    State m_state = State::Collecting;
    bool m_showOnlyRelated = true;
    bool m_useAlternateRowColor = true;
    int m_opacity = 100;
    bool m_opacityOnlyOnTop = false;
    bool m_saved = false;
    s::thread::ObjLocker m_lock;

    RunController m_runs;
    std::unique_ptr<s::thread::win::Thread> m_worker;
    std::unique_ptr<s::thread::win::Thread> m_rulesWorker;
    std::unique_ptr<RulesDownload> m_rulesDownload;
    bool m_rulesBusy = false;

    s::gui::menu::MenuModel m_menus;
    s::gui::drawer::StoredSkinSettings m_skinSettings;
    std::unique_ptr<s::gui::drawer::SkinMenu> m_skinMenu;

    s::gui::list::TargetListModel m_list;
    s::gui::SkinnedFrame m_window;
    s::gui::TargetListView m_listView;
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
    bool m_progressShown = false;
    bool m_totalsShown = false;
};

}  // namespace s::file::gui::dialogs::purgo
