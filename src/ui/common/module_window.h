#pragma once
// What the main window needs of a module window (queue or Markov): its menus to merge in place
// of the main "&File" and "&Modules" menus. The main window wraps the module in an MDI
// sub-window; when the module widget is destroyed the main window returns to its no-module
// state (button bar, a new background picture, ModuleOpen false). A module closes the whole
// program ("Close &Wachtrix") with window()->close().

class QMenu;

namespace wachtrix::ui {

class ModuleWindow {
public:
    virtual ~ModuleWindow() = default;
    virtual QMenu* fileMenu() = 0;                   // replaces the main "&File"
    virtual QMenu* editMenu() { return nullptr; }    // follows "&File", where there is one
    virtual QMenu* windowMenu() { return nullptr; }  // added before "&Help", where there is one
    virtual QMenu* helpMenu() = 0;                   // added at the end
};

}  // namespace wachtrix::ui
