// The main window's view section of the settings file, spelled once. It is
// the main window's frame section (app/start/AppWindow.h: "MainWindow" + "\View");
// besides the frame's own values it holds the window's view options, which
// the engine ("Show only Related" decides what a collect run lists), the skin
// menu (its schedule) and the custom target editor (the list's look) read as
// well, so the names live here, below all of them.
#pragma once

namespace s::map::mainwindow {

inline constexpr char16_t kViewSection[] = u"MainWindow\\View";

// Keys read or written by more than one part of the program.
inline constexpr char16_t kShowOnlyRelated[] = u"ShowOnlyRelated";
inline constexpr char16_t kUseAlternateRowColor[] = u"UseAlternateRowColor";
inline constexpr char16_t kFontSize[] = u"FontSize";

}  // namespace s::map::mainwindow
