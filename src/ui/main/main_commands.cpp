#include "ui/main/main_commands.h"

#include "ui/main/frm_main.h"

namespace mirolat {

// The table names the window's private menu items and handlers: it is a
// friend of frmMain.
std::span<const MainCommandSpec> MainCommands() {
  using M = MainMenu;
  using S = QStyle;
  static const MainCommandSpec kCommands[] = {
    {M::File, false, &frmMain::mnuOpenLog, "mnuOpenLog", "&Open Modem Log", "F2", 0, "", "", "", S::SP_CustomBase, false, &frmMain::mnuOpenLog_Click},
    {M::File, false, &frmMain::mnuOpenArchive, "mnuOpenArchive", "Open &Archive", "F3", 2, "Open Archive", "Open Archive", "document-open", S::SP_DialogOpenButton, true, &frmMain::mnuOpenArchive_Click},
    {M::File, true, &frmMain::mnuSetup, "mnuSetup", "&MRL Options", "", 3, "Setup", "MRL Options", "preferences-system", S::SP_FileDialogDetailedView, false, &frmMain::mnuSetup_Click},
    {M::File, true, &frmMain::mnuExit, "mnuExit", "&Exit", "Ctrl+Q; Ctrl+X", 4, "Exit", "Close Program", "application-exit", S::SP_TitleBarCloseButton, false, &frmMain::btnExit_Click},
    {M::Tools, false, &frmMain::mnuViewLog, "mnuViewLog", "&View Modem Log", "F4", 6, "View Modem Log", "View Modem Log or Archive", "text-x-generic", S::SP_FileDialogContentsView, false, &frmMain::btnViewLog_Click},
    {M::Tools, false, &frmMain::mnuClearLog, "mnuClearLog", "&Clear Modem Log", "F5", 7, "Clear Modem Log", "Clear Modem Log", "edit-delete", S::SP_TrashIcon, true, &frmMain::mnuClearLog_Click},
    {M::Tools, false, &frmMain::mnuPurgeLog, "mnuPurgeLog", "&Purge Modem Log", "F6", 0, "", "", "", S::SP_CustomBase, false, &frmMain::mnuPurgeLog_Click},
    {M::Tools, false, &frmMain::mnuOptimize, "mnuOptimize", "&Optimize Modem Log", "F7", 8, "Optimize Modem Log", "Optimize Modem Log or Archive", "view-refresh", S::SP_BrowserReload, false, &frmMain::mnuOptimize_Click},
    {M::Tools, true, &frmMain::mnuRepairLog, "mnuRepairLog", "&Repair Modem Log", "F8", 9, "Repair Modem Log", "Repair Modem Log", "tools-check-spelling", S::SP_DialogApplyButton, false, &frmMain::mnuRepairLog_Click},
    {M::QuickDate, false, &frmMain::mnuToday, "mnuToday", "To&Day", "Ctrl+T", 11, "Today", "Today's Date", "go-jump", S::SP_ArrowDown, false, &frmMain::mnuToday_Click},
    {M::QuickDate, true, &frmMain::mnuPlusWeek, "mnuPlusWeek", "One &Week +", "", 0, "", "", "", S::SP_CustomBase, false, &frmMain::mnuPlusWeek_Click},
    {M::QuickDate, false, &frmMain::mnuMinusWeek, "mnuMinusWeek", "One Wee&k -", "", 0, "", "", "", S::SP_CustomBase, false, &frmMain::mnuMinusWeek_Click},
    {M::QuickDate, true, &frmMain::mnuPlusMonth, "mnuPlusMonth", "One &Month +", "", 0, "", "", "", S::SP_CustomBase, false, &frmMain::mnuPlusMonth_Click},
    {M::QuickDate, false, &frmMain::mnuMinusMonth, "mnuMinusMonth", "One M&onth -", "", 0, "", "", "", S::SP_CustomBase, false, &frmMain::mnuMinusMonth_Click},
    {M::QuickDate, true, &frmMain::mnuLogStart, "mnuLogStart", "&First Entry", "Ctrl+F", 12, "First Entry", "Date of First Entry in Log", "go-first", S::SP_MediaSkipBackward, false, &frmMain::mnuLogStart_Click},
    {M::QuickDate, false, &frmMain::mnuLogEnd, "mnuLogEnd", "&Last Entry", "Ctrl+L", 13, "Last Entry", "Date of Last Entry in Log", "go-last", S::SP_MediaSkipForward, false, &frmMain::mnuLogEnd_Click},
    {M::QuickDate, true, &frmMain::mnuThisCycle, "mnuThisCycle", "This &Billing Cycle", "", 0, "", "", "", S::SP_CustomBase, false, &frmMain::mnuThisCycle_Click},
    {M::QuickDate, false, &frmMain::mnuLastCycle, "mnuLastCycle", "Last Billing &Cycle", "", 0, "", "", "", S::SP_CustomBase, false, &frmMain::mnuLastCycle_Click},
    {M::Help, false, &frmMain::mnuTopics, "mnuTopics", "&Topics", "F1", 15, "Help", "Help", "help-contents", S::SP_MessageBoxQuestion, false, &frmMain::mnuTopics_Click},
    {M::Help, false, &frmMain::mnsSearchHelp, "mnsSearchHelp", "&Search for Help", "", 16, "Search Help", "Search For Help", "system-search", S::SP_FileDialogContentsView, false, &frmMain::mnsSearchHelp_Click},
    {M::Help, false, &frmMain::mnuHowToHelp, "mnuHowToHelp", "&Using Help", "", 0, "", "", "", S::SP_CustomBase, false, &frmMain::mnuHowToHelp_Click},
    {M::Help, true, &frmMain::mnuAbout, "mnuAbout", "&About MRL", "", 17, "About MRL", "About MRL", "help-about", S::SP_MessageBoxInformation, false, &frmMain::mnuAbout_Click},
  };
  return kCommands;
}

}  // namespace mirolat
