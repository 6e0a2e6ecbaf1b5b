// The Keep List window: the frame "KeepListWindow", owned by the main window,
// that lists the user's keep list (app/keep/KeepListModel.h) in the
// toolkit's owner-data list: Type, What and Added, sortable. Below it
// "Add File..." and "Add Folder..." (the system's dialogs), "Add
// Pattern..." and "Add Registry..." (a panel of two boxes in the custom
// editor's manner: Folder with Browse and Pattern, or Registry Key and
// Value Name with a "Default value" check box for the key's unnamed value,
// then OK or Cancel) and "Remove", which removes the entries
// whose boxes are checked, or the selected entry when none is. Each change
// is stored at once and reported through onChanged, so that the main
// window measures its rows again.
//
// The owner is not disabled: the window holds no records, only the store's
// entries. The object survives its window and builds the controls anew at
// every open. Its geometry is stored whenever it closes.
#pragma once

#include "app/keep/KeepListRows.h"
#include "app/start/AppBase.h"
#include "app/start/AppWindow.h"
#include "gui/Scale.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace s::file::gui::dialogs::purgo {

class KeepListWindow {
public:
    // Not owned; outlives the window.
    explicit KeepListWindow(s::app::win::AppBase& app);
    ~KeepListWindow();
    KeepListWindow(const KeepListWindow&) = delete;
    KeepListWindow& operator=(const KeepListWindow&) = delete;

    // Shows the stored list, owned by owner; an open window comes to the
    // front with the list read again. False when the window could not be
    // made.
    bool open(HWND owner);
    bool isOpen() const;
    HWND hwnd() const;
    KeepListRows& rows() { return m_rows; }
    KeepListModel& model() { return m_model; }

    // Another window changed the stored list: read it again (open or not).
    void reload();

    // After an entry was added or removed (and stored).
    std::function<void()> onChanged;

    // The form below the list: which kind of entry it is adding.
    enum class Form { None, Pattern, Registry };
    Form form() const { return m_form; }
    void showForm(Form form);
    // OK on the form: adds the entry the boxes name; Invalid keeps the form
    // open with the focus on the first box.
    UserKeepList::Added confirmForm();
    // "Remove", as the button does; how many entries went.
    std::size_t removeMarked();

    // The controls, for the window's tests (null while closed).
    enum class Control {
        List,
        AddFile,
        AddFolder,
        AddPattern,
        AddRegistry,
        Remove,
        FirstBox,
        SecondBox,
        DefaultValue,
        Browse,
        Ok,
        Cancel,
    };
    HWND control(Control which) const;

private:
    struct Controls;

    bool createWindow();
    void createControls();
    void layout(const RECT& content);
    void relayout();
    void changed(UserKeepList::Added result);
    void addFile();
    void addFolder();
    void browse();
    std::wstring text(int32_t id) const;

    s::app::win::AppBase& m_app;
    s::gui::Scale m_scale;
    s::app::win::AppWindow m_frame;
    KeepListModel m_model;
    KeepListRows m_rows;
    HWND m_owner = nullptr;
    Form m_form = Form::None;
    std::unique_ptr<Controls> m_controls;
};

}  // namespace s::file::gui::dialogs::purgo
