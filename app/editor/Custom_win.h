// The custom target editor's window: the frame "CustomTargetWindow", owned
// by the main window, which stays disabled while the editor is open. It binds
// its controls to the editor's logic (app/editor/CustomEditor.h) and shows what the
// logic says: the title and description boxes, the list of the group's
// targets with Remove, the "Clean Up Target" box with the type selector and
// one panel of boxes per type, Test-Find Matches / Apply Change / Add as New,
// and OK / Cancel. The window is not modal in the sense of a loop of its own:
// the owner's message loop runs it, and openEditor returns at once.
//
// The object survives its window and builds the controls anew at every
// openEditor. Its geometry is stored whenever it closes.
#pragma once

#include "app/editor/CustomEditor.h"
#include "app/start/AppBase.h"
#include "app/start/AppWindow.h"
#include "gui/Scale.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace s::file::gui::dialogs {

class Custom {
public:
    // Gives the owner the edited group ("AddNewRecord" or "ModifyRecord");
    // the owner takes a copy.
    using Send = std::function<void(CustomEditor::Message message, const TimeRecord& group)>;

    // Not owned; outlives the editor.
    explicit Custom(s::app::win::AppBase& app);
    ~Custom();
    Custom(const Custom&) = delete;
    Custom& operator=(const Custom&) = delete;

    // Opens the window for a new group (null) or a copy of `group`, owned by
    // `owner` (disabled until the window closes). False, and nothing opens,
    // when the window could not be made or is open already.
    bool openEditor(HWND owner, const TimeRecord* group, Send send);
    bool isOpen() const;
    HWND hwnd() const;
    CustomEditor& editor() { return m_editor; }

    // The controls' child-window ids: how the system, accessibility tools
    // and automation find them (GetDlgItem). The fields of the "Clean Up
    // Target" box are children of the box (kBox), the others of the window.
    enum ControlId : int {
        kTitle = 1001,
        kDescription,
        kList,
        kRemove,
        kBox,
        kType,
        kTestFind,
        kApplyChange,
        kAddAsNew,
        kOk,
        kCancel,
        kCounts,  // Test-Find Matches' counts
        kItems,   // and the first items it found
        kSubFolders,
        kWarning,
        kExtension,
        kValueName,
    };
    // A type's File, Folder or Registry Key box and its Browse button.
    static constexpr int pathBoxId(EditorType type) { return 1100 + static_cast<int>(type); }
    static constexpr int browseId(EditorType type) { return 1200 + static_cast<int>(type); }

private:
    struct Controls;

    bool createWindow(const TimeRecord* group);
    void createControls();
    void layout(const RECT& content);
    void relayout();
    // Shows the editor's state: the type's panel, the boxes it rewrote, the
    // buttons it allows.
    void showState();
    void showPanel(EditorType type);
    void browse(EditorType type);
    void testFind();
    void pressOk();
    bool closing();
    void lookUp(int row);
    std::wstring text(int32_t id) const;

    s::app::win::AppBase& m_app;
    s::gui::Scale m_scale;
    s::app::win::AppWindow m_frame;
    CustomEditor m_editor;
    HWND m_owner = nullptr;
    Send m_send;
    std::unique_ptr<Controls> m_controls;
    EditorType m_shownType = EditorType::None;
    int m_shownRevision = -1;
    // Set while the window writes the boxes itself: their change
    // notifications are not the user's.
    bool m_showing = false;
};

}  // namespace s::file::gui::dialogs
