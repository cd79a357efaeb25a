#pragma once
// The main window's commands: for each, its menu item (menu, object name,
// caption, shortcut key), its toolbar button (position, key, tooltip, icon)
// and the window's handler. A command with both has one QAction, shown in the
// menu and on the toolbar, unless the availability table enables the two
// apart (Open Archive, Clear Modem Log): then the button is an action of its
// own running the same handler.
#include <QAction>
#include <QStyle>
#include <span>

namespace mirolat {

class frmMain;

enum class MainMenu { File, Tools, QuickDate, Help };

struct MainCommandSpec {
  MainMenu menu;
  bool separatorBefore;       // a separator above the item in its menu
  QAction* frmMain::*item;    // the window's field for the menu item
  const char* name;           // the menu item's object name
  const char* caption;
  const char* shortcut;       // portable key text ("; " between several keys), or empty
  int toolbarPosition;        // 1-based, separators included; 0 when not on the toolbar
  const char* toolbarKey;
  const char* toolbarTip;
  const char* themeIcon;      // the desktop theme's icon (freedesktop name)
  QStyle::StandardPixmap icon;  // the icon Qt bundles, where the theme has none
  bool ownButton;             // the button is enabled apart from the menu item
  void (frmMain::*handler)();
};

// Every command, menus in their order.
std::span<const MainCommandSpec> MainCommands();

// The toolbar's length in positions (its last position is a separator).
constexpr int kMainToolbarPositions = 18;

}  // namespace mirolat
