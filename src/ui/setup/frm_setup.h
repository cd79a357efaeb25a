#pragma once
// The options dialog: the modem log's name and the general limits, the modem
// response texts, the dialled services, the default costs, the read-only
// locale formats, the substitutes for a missing disconnect entry, the
// holidays and the overall billing cycle and budget. Every tab edits a draft of the configuration record; OK writes
// the holiday list into it, makes it the program's record and saves the
// whole record in one transaction; Cancel and the close box leave the record
// exactly as it was.
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <array>
#include <functional>

#include "ui/dialogs/leave_watcher.h"
#include "ui/setup/budget_editor.h"
#include "core/model/configuration.h"

namespace mirolat {

struct AppState;

class frmSetup : public QDialog {
  Q_OBJECT
 public:
  // Edits a draft of state.Config with state.Locale; the log folder is
  // state.File.WindowsDir (or the open archive's folder). OK saves into
  // state.Store (when there is one) through the shared error reporter, sets
  // state.LogFileChanged when the log's name changed (and then clears
  // LogCorrupt and NotAModemLog so that the new log is judged afresh).
  explicit frmSetup(AppState& state, QWidget* parent = nullptr);

  // The record being edited (what OK will save).
  const Configuration& Draft() const { return draft_; }
  const QList<Date>& WorkingHolidays() const { return holidays_; }
  // The help topic of the selected tab.
  int HelpTopic() const;
  // Today's date for the Format tab's preview and the calendar's start (tests pin it).
  void SetTodayProvider(std::function<QDate()> today);

  // Opens the service editor; tests replace it to drive the editor themselves.
  // Gets the draft and the 0-based service index (UsedServices for a new
  // service); returns true when the editor's OK wrote the record.
  using ServiceEditorRunner = std::function<bool(QWidget* parent, Configuration& draft, int serviceIndex, bool isNew)>;
  void SetServiceEditorRunner(ServiceEditorRunner runner);

 private:
  // Controls, under the window's own names.
  QTabWidget* TabStrip1 = nullptr;
  std::array<QGroupBox*, 8> Settings{};
  QPushButton* btnDefaults = nullptr;
  QPushButton* btnCancel = nullptr;
  QPushButton* btnSave = nullptr;
  QPushButton* btnHelp = nullptr;
  // General
  QLineEdit* txtLogName = nullptr;
  QPushButton* cmdBrowse = nullptr;
  QLineEdit* txtMaxServices = nullptr;
  QLineEdit* txtMaxConnections = nullptr;
  QLineEdit* txtMaxConnectDays = nullptr;
  QLineEdit* txtMaxLogSize = nullptr;
  QCheckBox* optEditLog = nullptr;
  QCheckBox* optShowToolbars = nullptr;
  QCheckBox* optShowGraphic = nullptr;
  QCheckBox* optAutoOpt = nullptr;
  QCheckBox* chkBudgetAlerts = nullptr;  // per-user options, saved by OK beside the record
  QCheckBox* chkTrayIcon = nullptr;
  // Modem
  QLineEdit* TextOptDial = nullptr;
  QLineEdit* TextOptAnswer = nullptr;
  QLineEdit* TextOptConnect = nullptr;
  QLineEdit* TextOptUsrDisconnect = nullptr;
  QLineEdit* TextOptRemDisconnect = nullptr;
  QLineEdit* TextOptReads = nullptr;
  QLineEdit* TextOptWrites = nullptr;
  QLabel* lblModemProblem = nullptr;  // why a refused response text keeps the cursor
  QLineEdit* refusedModemText_ = nullptr;  // the box lblModemProblem speaks of
  // Services
  QTreeWidget* lstServices = nullptr;
  QPushButton* btnNew = nullptr;
  QPushButton* btnEdit = nullptr;
  QPushButton* btnDelete = nullptr;
  QLabel* lblServices1 = nullptr;
  QLabel* lblServices2 = nullptr;
  // Costs
  QCheckBox* optCalcCosts = nullptr;
  QLineEdit* txtDialCost = nullptr;
  QLineEdit* txtCostPerHour = nullptr;
  QLineEdit* txtCostPerMeg = nullptr;
  QLabel* lblCostNotice = nullptr;
  // Format
  QLabel* lblCountry = nullptr;
  QLabel* lblRegionalSettings = nullptr;
  QLabel* lblPreview = nullptr;
  QLabel* lblShortDate = nullptr;
  QLabel* lblLongDate = nullptr;
  QLabel* lblDateFormat = nullptr;
  // Errors
  QLineEdit* mskNoDisconDuration = nullptr;
  QLineEdit* mskNoDisconData = nullptr;
  QLabel* lblDurationProblem = nullptr;  // why a refused duration keeps the cursor
  QCheckBox* optShowErrors = nullptr;
  // Holidays
  QCalendarWidget* CalHolidays = nullptr;
  QListWidget* lstHolidays = nullptr;
  QPushButton* btnAdd = nullptr;
  QPushButton* btnRemove = nullptr;
  QLabel* lblUsedHolidays = nullptr;
  // Budget: the overall billing cycle and budget
  BudgetEditor* OverallBudget = nullptr;

 private Q_SLOTS:
  // Window procedures and handlers. A leave handler gives false when it
  // refused the entry (it beeped and put the old value back or kept the focus).
  void Form_Load();
  void TabStrip1_Click();
  bool txtLogName_LostFocus();
  bool txtMaxServices_LostFocus();
  bool txtMaxConnections_LostFocus();
  bool txtMaxConnectDays_LostFocus();
  bool txtMaxLogSize_LostFocus();
  void cmdBrowse_Click();
  bool ModemText_LostFocus(QLineEdit* box);
  void btnDefaults_Click();
  void btnNew_Click();
  void btnEdit_Click();
  void btnDelete_Click();
  void optCalcCosts_Click();
  bool CostBox_LostFocus(QLineEdit* box);
  void optShowErrors_Click();
  bool mskNoDisconDuration_LostFocus();
  bool mskNoDisconData_LostFocus();
  void AddCalendarDate();
  void btnAdd_Click();
  void btnRemove_Click();
  void lstHolidays_Click();
  void btnSave_Click();
  void btnCancel_Click();

 Q_SIGNALS:
  // After OK saved the record. logFileChanged: the modem log's file name is
  // not the one the dialog opened with.
  void ConfigurationChanged(bool logFileChanged);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  QWidget* BuildGeneralTab();
  QWidget* BuildModemTab();
  QWidget* BuildServicesTab();
  QWidget* BuildCostsTab();
  QWidget* BuildFormatTab();
  QWidget* BuildErrorsTab();
  QWidget* BuildHolidaysTab();
  QWidget* BuildBudgetTab();
  void WatchLeave(QLineEdit* box, std::function<bool()> handler);
  bool LeaveFocusedBox();
  bool LimitLeft(QLineEdit* box, int& field, qint64 max);
  void RefreshServiceLabels();
  void RefreshServiceButtons();
  void FillServiceList(int select);
  void FillHolidayList(int select);
  void RefreshHolidayLabel();
  void ShowLimit(QLineEdit* box, qint64 value);
  QString LogFolder() const;
  QString ServiceItemText(int index) const;
  void RestoreFocus(QLineEdit* box);
  bool RunServiceEditor(int index, bool isNew);

  AppState& state_;
  Configuration draft_;
  QString openingLogFile_;
  QList<Date> holidays_;
  std::function<QDate()> today_;
  ServiceEditorRunner serviceEditor_;
  std::array<QString, 3> costTexts_{};  // as last shown, to tell an edit
  QString durationShown_;
  QString dataShown_;
  LeaveWatcher* leave_ = nullptr;
  bool holidayLabelRed_ = false;
  bool saved_ = false;
};

}  // namespace mirolat
