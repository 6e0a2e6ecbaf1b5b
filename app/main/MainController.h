// The main window without its window: the run states (collecting, ready,
// cleaning, canceling, closed), every command of the menus, the list's
// context menu and the controls, the view options it keeps in the settings,
// the custom groups coming and going, and the two runs through IRunView. It
// talks to the window through IMainView, which the Win32 window
// (app/main/MainWindow_win.h) implements and a recording view implements in the
// native tests.
//
// Threads: the runs call IRunView on the worker; the controller hands every
// change to the window thread through IMainView::post, and the state, the
// list and the view change only there.
#pragma once

#include "app/main/MainWindowState.h"
#include "app/main/TargetListModel.h"
#include "app/start/AppBase.h"
#include "app/start/AppWindow.h"
#include "base/ObjLocker.h"
#include "base/Pool.h"
#include "base/Thread.h"
#include "engine/RunController.h"
#include "engine/Totals.h"
#include "gui/ListViewStep.h"
#include "gui/MenuModel.h"
#include "gui/SkinMenu.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace s::file::gui::dialogs::purgo {

struct RulesDownload;
struct BootQuery;

// What the controller asks of the window. Every call comes on the window
// thread.
class IMainView {
public:
    virtual ~IMainView() = default;

    // Runs work on the window thread later; work for a window that is gone
    // is dropped.
    virtual void post(std::function<void()> work) = 0;
    // Called on the collect run's worker for each group before its row is
    // posted: the view loads what painting the row needs (its icon, from
    // "file,index") there rather than on the window thread, which paints
    // the rows as they come. Must be safe beside the window thread.
    virtual void loadRowIcon(std::u16string_view /*iconSpec*/) {}

    // The status row: one language text (the totals hidden), or the four
    // totals labels (the text hidden).
    virtual void showStatus(int32_t textId) = 0;
    virtual void showTotals(const StatusLabels& labels) = 0;
    // "Clean Now!" / "Cancel".
    virtual void setCleanCaption(const s::str::strbuffer::StrBuffer& caption) = 0;
    virtual void setCleanEnabled(bool on) = 0;
    virtual void setListEnabled(bool on) = 0;
    // "+", "Add Custom Target" (and their menu items): only while ready.
    virtual void setEditingEnabled(bool on) = 0;
    // The "Collecting Information..." panel over the list.
    virtual void showCollecting(bool on) = 0;
    // The progress bar: shown over 0 … range at 0, moved, hidden.
    virtual void showProgress(int range) = 0;
    virtual void setProgress(int position) = 0;
    virtual void hideProgress() = 0;
    // A message box titled with the program's name, and a yes/no question
    // (true: yes) under a title.
    virtual void showMessage(const s::str::strbuffer::StrBuffer& text) = 0;
    virtual bool ask(const s::str::strbuffer::StrBuffer& title, const s::str::strbuffer::StrBuffer& question) = 0;
    // The two check boxes below the list.
    virtual void setShowRelatedChecked(bool on) = 0;
    virtual void setBootRunChecked(bool on) = 0;
    // The list's rows change as a whole: drawing waits until change is done.
    virtual void changeRowsQuietly(const std::function<void()>& change) = 0;

    // The view options as the window shows them.
    virtual void setKeepOnTop(bool on) = 0;
    virtual void setMiddleClickClose(bool close) = 0;
    virtual void setOpacity(int percent, bool onlyOnTop) = 0;
    virtual void setAlternateRows(bool on) = 0;
    virtual void setCellHeight(s::gui::list::ListViewStep step) = 0;
    virtual void setFontSize(s::gui::list::ListViewStep step) = 0;

    // "Exit": the window closes as its close box closes it.
    virtual void requestClose() = 0;
    // The window is closing: its frame's place and size stored, then hidden.
    virtual void storeGeometryAndHide() = 0;
    // The list's columns as they are now (order and widths).
    virtual ColumnLayout columns() const = 0;
};

class MainController : private IRunView {
public:
    enum class State : std::uint8_t { Collecting, Ready, Cleaning, Canceling, Closed };

    // None is owned; all outlive the controller. builder fills the target
    // tree (the catalogue when none is given).
    MainController(IMainView& view, s::app::win::AppBase& app, s::app::win::AppWindow& frame, TreeBuilder builder = {});
    // A run still going on is cancelled and waited for.
    ~MainController() override;
    MainController(const MainController&) = delete;
    MainController& operator=(const MainController&) = delete;

    // Reads the view options from the settings and builds the menus; the
    // window is made from what this reads.
    // A boot run applies no periodic skin change.
    void loadOptions(bool bootRun = false);
    bool showOnlyRelated() const { return m_showOnlyRelated; }
    bool alternateRows() const { return m_useAlternateRowColor; }
    int opacity() const { return m_opacity; }
    bool opacityOnlyOnTop() const { return m_opacityOnlyOnTop; }
    s::gui::list::ListViewStep cellHeight() const;
    s::gui::list::ListViewStep fontSize() const;
    s::gui::menu::MenuModel& menus() { return m_menus; }

    // A boot run: collects and cleans on this thread with nothing shown; the
    // state is Closed after it.
    void runBoot();
    // The window shows that the list is being filled; then startCollect
    // hands the collect run to the worker and shows whether a boot run is
    // registered.
    void enterCollecting();
    void startCollect();

    // "Clean Now!" starts the clean run when ready; "Cancel" asks a clean
    // run to stop.
    void pressCleanButton();
    // The commands of the title bar's menus (gui/MenuModel, app/main/MainMenus.h).
    void command(int number);
    // The list's context menu for a row (-1: none), filled into model; null
    // while a clean run goes on.
    s::gui::menu::MenuItem* contextMenu(int row, s::gui::menu::MenuModel& model);
    // A command of the context menu on a row.
    void rowCommand(int number, int row);
    // A row's link, a double click on a row, a check box clicked.
    void onLink(int row);
    void onDoubleClick(int row);
    void checksChanged();
    // The two check boxes.
    void setShowOnlyRelated(bool on);
    void setBootRun(bool on);
    // The custom target editor's results: a copy of record is added to the
    // list, or replaces the group with its id.
    void addNewRecord(const TimeRecord& record);
    void modifyRecord(const TimeRecord& record);

    // View > "Get Community Rules...": the rule file downloaded on a worker
    // of its own (app/rules/RulesUpdate.h), the outcome told in a message,
    // and the list collected again when a new file is in place. One download
    // at a time, and none while a run changes the tree.
    void getCommunityRules();
    bool rulesDownloadRunning() const { return m_rulesBusy; }

    // The language changed: the captions of the state and the rows again.
    void languageChanged();
    // The window is closing: a run is cancelled and waited for, then the
    // checks and the column layout are saved (once; never in a boot run).
    bool close();
    // Cancels a run and waits for the worker.
    void stop();
    // A run, the boot registration query or a download is still going on.
    bool backgroundWorkRunning() const;

    // Opens the custom target editor for a new group (null) or a copy of a
    // group: only while the window is ready, as the top-level list changes on
    // the window thread only between runs (a collect run still appends to it
    // on the worker, and a group the editor gives back must not be added
    // beside it). Shows the version window.
    std::function<void(const TimeRecord* group)> openCustomEditor;
    std::function<void()> showVersionInformation;
    // "Show Items..." on a row, or a double click on its Found cell: the
    // items window for the row, only while the list is ready (a run reads
    // and writes the records on the worker).
    std::function<void(TimeRecord& row)> showItems;
    // View → "Keep List...": the window of the user's keep list.
    std::function<void()> showKeepList;
    void showItemsOf(int row);
    // The items window stored new keep list entries: every row is measured
    // again by a collect run on the worker (the catalogue applies the stored
    // list), the figures coming back through the window's queue. During a
    // collect or a clean they are measured again once it has ended.
    void keepListChanged();

    State state() const { return m_state; }
    bool bootRun() const { return m_bootRun; }
    s::gui::list::TargetListModel& list() { return m_list; }
    std::vector<TimeRecord*>& targets() { return m_runs.groups(); }
    RunController& runs() { return m_runs; }

private:
    // IRunView, called on the worker: every change goes to the window thread.
    void addRow(TimeRecord& group) override;
    // On the window thread: every group that arrived since the last call
    // gets its row.
    void showArrivedRows();
    void collectFinished(const Totals& totals) override;
    void cleanStarted(const s::str::strbuffer::StrBuffer& status, const s::str::strbuffer::StrBuffer& buttonCaption,
                      int groupCount) override;
    void cleanProgress(int position) override;
    void showResult(const s::str::strbuffer::StrBuffer& message) override;
    void cleanFinished(const Totals& totals) override;

    void buildMenus();
    void updateTotals();
    void enterReadyState();
    void setEditing(bool on);
    void retitleRows();
    void removeCustomGroup(int row);
    // The question before a group with a warning is checked; true: check it.
    bool askBeforeChecking(const TimeRecord& group);
    void rulesDownloaded(const std::u16string& message, bool saved);
    void collectAgain();
    void lookUp(const TimeRecord& target);

    IMainView& m_view;
    s::app::win::AppBase& m_app;
    s::app::win::AppWindow& m_frame;
    s::map::IMappedData& m_settings;
    s::lang::Localizer& m_lang;
    bool m_bootRun = false;
    State m_state = State::Collecting;
    bool m_showOnlyRelated = true;
    bool m_useAlternateRowColor = true;
    int m_opacity = 100;
    bool m_opacityOnlyOnTop = false;
    bool m_saved = false;
    s::thread::ObjLocker m_lock;
    // Groups the collect run measured and the window thread has not listed
    // yet; one posted call lists all of them.
    s::thread::ObjLocker m_arrivalLock;
    std::vector<TimeRecord*> m_arrived;
    // The collect run has handed over its last group (its final call is
    // posted).
    bool m_arrivalsOver = false;

    s::gui::list::TargetListModel m_list;
    RunController m_runs;
    std::unique_ptr<s::thread::win::Thread> m_worker;
    std::unique_ptr<RulesDownload> m_rulesDownload;
    std::unique_ptr<s::thread::win::Thread> m_rulesWorker;
    bool m_rulesBusy = false;
    std::unique_ptr<BootQuery> m_bootQuery;
    s::thread::Pooled<s::thread::win::Thread> m_queryWorker;
    // The user clicked the boot box before the query answered.
    bool m_bootChosen = false;
    // The language changed during a run: the rows take its titles when the
    // run is over.
    bool m_retitle = false;
    // The keep list changed while a run was in progress.
    bool m_measureAgain = false;
    // The clean run's result, shown when the window is ready again.
    s::str::strbuffer::StrBuffer m_pendingResult;

    s::gui::menu::MenuModel m_menus;
    s::gui::drawer::StoredSkinSettings m_skinSettings;
    std::unique_ptr<s::gui::drawer::SkinMenu> m_skinMenu;
};

}  // namespace s::file::gui::dialogs::purgo
