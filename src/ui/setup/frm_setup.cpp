#include "ui/setup/frm_setup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTabBar>
#include <QKeyEvent>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "core/app/app_state.h"
#include "core/common/formatting.h"
#include "core/logfile/warnings.h"
#include "core/model/log_file_name.h"
#include "core/model/option_entries.h"
#include "core/settings/alert_options.h"
#include "core/settings/configuration_io.h"
#include "ui/common/help_window.h"
#include "ui/dialogs/beep.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/dialogs/file_dialog.h"
#include "ui/dialogs/message_box.h"
#include "ui/setup/frm_service.h"

namespace mirolat {

namespace {

enum Tab { kGeneral, kModem, kServices, kCosts, kFormat, kErrors, kHolidays, kBudget };

struct TabInfo {
  const char* caption;
  const char* toolTip;
  const char* frame;
  int topic;
};

const TabInfo kTabs[8] = {
    {"&General", "General Operating Parameters", "General Settings", 51},
    {"&Modem", "Modem Response Settings", "Response Codes", 33},
    {"&Services", "Service Descriptions, Numbers and Costs", "Dialled Services Details", 36},
    {"Cos&ts", "Default Connection Costs and Currency Format", "Default Costs", 46},
    {"&Format", "Date & Currency Format", "Currency and Date Formats", 47},
    {"&Errors", "Error Correction", "Error Correction/Adjustment", 48},
    {"Ho&lidays", "User Defined Holidays", "User Defined Holidays", 54},
    {"B&udget", "Billing Cycle and Budget of All Services", "Overall Billing Cycle and Budget", 71},
};

const double kPreviewAmount = 1234567.89;

QLineEdit* Box(const char* name, const char* toolTip = nullptr) {
  auto* box = new QLineEdit;
  box->setObjectName(QLatin1String(name));
  if (toolTip != nullptr) box->setToolTip(QLatin1String(toolTip));
  return box;
}

QLabel* Label(const QString& text, const char* name = nullptr) {
  auto* label = new QLabel(text);
  if (name != nullptr) label->setObjectName(QLatin1String(name));
  return label;
}

QPushButton* Button(const char* name, const QString& text) {
  auto* b = new QPushButton(text);
  b->setObjectName(QLatin1String(name));
  b->setAutoDefault(false);
  return b;
}

void SetRed(QLabel* label, bool red) {
  label->setStyleSheet(red ? QStringLiteral("color: rgb(255, 0, 0);") : QString());
}

}  // namespace

frmSetup::frmSetup(AppState& state, QWidget* parent)
    : QDialog(parent), state_(state), draft_(state.Config), today_([] { return QDate::currentDate(); }) {
  setObjectName(QStringLiteral("frmSetup"));
  setWindowTitle(QStringLiteral("MRL - Options"));
  setModal(true);
  // The table holds MaxServices + 1 records, and never fewer than the services in use.
  const std::size_t slots = static_cast<std::size_t>(std::max(draft_.MaxServices, draft_.UsedServices)) + 1;
  if (draft_.Services.size() < slots) draft_.Services.resize(slots);
  openingLogFile_ = draft_.ModemLogFile;
  serviceEditor_ = [this](QWidget* parentWidget, Configuration& draft, int index, bool isNew) {
    frmService editor(draft, index, isNew, state_.Locale, parentWidget);
    return editor.exec() == QDialog::Accepted;
  };
  leave_ = new LeaveWatcher(this);
  BuildControls();
  InstallHelpKey(this, [this] { return HelpTopic(); });
  Form_Load();
}

void frmSetup::SetTodayProvider(std::function<QDate()> today) {
  today_ = std::move(today);
  Form_Load();
}

void frmSetup::SetServiceEditorRunner(ServiceEditorRunner runner) { serviceEditor_ = std::move(runner); }

int frmSetup::HelpTopic() const { return kTabs[TabStrip1->currentIndex()].topic; }

// ---------------------------------------------------------------- layout

void frmSetup::BuildControls() {
  setStyleSheet(QStringLiteral("QLineEdit:disabled { background-color: rgb(192, 192, 192); color: rgb(64, 64, 64); }"));
  auto* outer = new QVBoxLayout(this);
  TabStrip1 = new QTabWidget;
  TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
  // The tabs' contents, built in tab order.
  QWidget* const contents[8] = {BuildGeneralTab(), BuildModemTab(),  BuildServicesTab(), BuildCostsTab(),
                                BuildFormatTab(),  BuildErrorsTab(), BuildHolidaysTab(), BuildBudgetTab()};
  for (int i = 0; i < 8; ++i) {
    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);
    Settings[static_cast<size_t>(i)] = new QGroupBox(QLatin1String(kTabs[i].frame));
    Settings[static_cast<size_t>(i)]->setObjectName(QStringLiteral("Settings%1").arg(i));
    auto* frameLayout = new QVBoxLayout(Settings[static_cast<size_t>(i)]);
    frameLayout->addWidget(contents[i]);
    pageLayout->addWidget(Settings[static_cast<size_t>(i)]);
    TabStrip1->addTab(page, QLatin1String(kTabs[i].caption));
    TabStrip1->setTabToolTip(i, QLatin1String(kTabs[i].toolTip));
  }
  // Every tab's caption in view: the dialog is as wide as the row of them.
  TabStrip1->tabBar()->setUsesScrollButtons(false);
  outer->addWidget(TabStrip1);
  auto* buttons = new QHBoxLayout;
  btnDefaults = Button("btnDefaults", QStringLiteral("&Restore Defaults"));
  btnDefaults->setToolTip(QStringLiteral("Restore Default Modem Settings"));
  btnHelp = Button("btnHelp", QStringLiteral("&Help"));
  btnCancel = Button("btnCancel", QStringLiteral("&Cancel"));
  btnSave = Button("btnSave", QStringLiteral("&OK"));
  btnSave->setDefault(true);
  buttons->addWidget(btnDefaults);
  buttons->addStretch();
  buttons->addWidget(btnHelp);
  buttons->addWidget(btnCancel);
  buttons->addWidget(btnSave);
  outer->addLayout(buttons);

  connect(TabStrip1, &QTabWidget::currentChanged, this, [this] { TabStrip1_Click(); });
  connect(btnDefaults, &QPushButton::clicked, this, [this] { btnDefaults_Click(); });
  connect(btnHelp, &QPushButton::clicked, this, [this] { ShowHelp(HelpTopic()); });
  connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancel_Click(); });
  connect(btnSave, &QPushButton::clicked, this, [this] { btnSave_Click(); });
  auto* nextTab = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
  connect(nextTab, &QShortcut::activated, this,
          [this] { TabStrip1->setCurrentIndex((TabStrip1->currentIndex() + 1) % TabStrip1->count()); });
}

QWidget* frmSetup::BuildGeneralTab() {
  auto* w = new QWidget;
  auto* grid = new QGridLayout(w);
  txtLogName = Box("txtLogName");
  cmdBrowse = Button("cmdBrowse", QStringLiteral("&Browse"));
  txtMaxServices = Box("txtMaxServices");
  txtMaxConnections = Box("txtMaxConnections");
  txtMaxConnectDays = Box("txtMaxConnectDays");
  txtMaxLogSize = Box("txtMaxLogSize");
  grid->addWidget(Label(QStringLiteral("Modem Log Filename:")), 0, 0);
  grid->addWidget(txtLogName, 0, 1, 1, 2);
  grid->addWidget(cmdBrowse, 0, 3);
  const struct {
    const char* label;
    QLineEdit* box;
  } rows[] = {{"Maximum  Services:", txtMaxServices},
              {"Maximum  Connections:", txtMaxConnections},
              {"Max Connect Time (days):", txtMaxConnectDays},
              {"Max Safe Log Size (KB):", txtMaxLogSize}};
  int row = 1;
  for (const auto& r : rows) {
    grid->addWidget(Label(QLatin1String(r.label)), row, 0);
    r.box->setMaximumWidth(90);
    grid->addWidget(r.box, row, 1);
    ++row;
  }
  optEditLog = new QCheckBox(QStringLiteral("Allow editing of log"));
  optEditLog->setObjectName(QStringLiteral("optEditLog"));
  optShowToolbars = new QCheckBox(QStringLiteral("Show Toolbars"));
  optShowToolbars->setObjectName(QStringLiteral("optShowToolbars"));
  optShowGraphic = new QCheckBox(QStringLiteral("Show MRL Graphic"));
  optShowGraphic->setObjectName(QStringLiteral("optShowGraphic"));
  optAutoOpt = new QCheckBox(QStringLiteral("Auto Optimize"));
  optAutoOpt->setObjectName(QStringLiteral("optAutoOpt"));
  grid->addWidget(optEditLog, 1, 2, 1, 2);
  grid->addWidget(optShowToolbars, 2, 2, 1, 2);
  grid->addWidget(optShowGraphic, 3, 2, 1, 2);
  grid->addWidget(optAutoOpt, 4, 2, 1, 2);
  chkBudgetAlerts = new QCheckBox(QStringLiteral("Show budget alerts as &pop-ups"));
  chkBudgetAlerts->setObjectName(QStringLiteral("chkBudgetAlerts"));
  chkTrayIcon = new QCheckBox(QStringLiteral("Show an icon in the s&ystem tray"));
  chkTrayIcon->setObjectName(QStringLiteral("chkTrayIcon"));
  grid->addWidget(chkBudgetAlerts, row++, 2, 1, 2);
  grid->addWidget(chkTrayIcon, row++, 2, 1, 2);
  grid->setRowStretch(row, 1);

  WatchLeave(txtLogName, [this] { return txtLogName_LostFocus(); });
  WatchLeave(txtMaxServices, [this] { return txtMaxServices_LostFocus(); });
  WatchLeave(txtMaxConnections, [this] { return txtMaxConnections_LostFocus(); });
  WatchLeave(txtMaxConnectDays, [this] { return txtMaxConnectDays_LostFocus(); });
  WatchLeave(txtMaxLogSize, [this] { return txtMaxLogSize_LostFocus(); });
  connect(cmdBrowse, &QPushButton::clicked, this, [this] { cmdBrowse_Click(); });
  connect(optEditLog, &QCheckBox::toggled, this, [this](bool on) { draft_.EditLog = on; });
  connect(optShowToolbars, &QCheckBox::toggled, this, [this](bool on) { draft_.ShowToolbars = on; });
  connect(optShowGraphic, &QCheckBox::toggled, this, [this](bool on) { draft_.ShowGraphic = on; });
  connect(optAutoOpt, &QCheckBox::toggled, this, [this](bool on) { draft_.AutoOptimize = on; });
  return w;
}

QWidget* frmSetup::BuildModemTab() {
  auto* w = new QWidget;
  auto* grid = new QGridLayout(w);
  TextOptDial = Box("TextOptDial", "Dialling");
  TextOptAnswer = Box("TextOptAnswer", "Answering");
  TextOptConnect = Box("TextOptConnect", "Connecting");
  TextOptUsrDisconnect = Box("TextOptUsrDisconnect", "Disconnect By User");
  TextOptRemDisconnect = Box("TextOptRemDisconnect", "Disconnect By Host");
  TextOptReads = Box("TextOptReads", "Data Downloaded During Session");
  TextOptWrites = Box("TextOptWrites", "Data Uploaded During Session");
  const struct {
    const char* label;
    QLineEdit* box;
  } rows[] = {{"Dial:", TextOptDial},
              {"Answer:", TextOptAnswer},
              {"Connect:", TextOptConnect},
              {"User Disconnect:", TextOptUsrDisconnect},
              {"Remote Disconnect:", TextOptRemDisconnect}};
  int row = 0;
  for (const auto& r : rows) {
    grid->addWidget(Label(QLatin1String(r.label)), row, 0);
    grid->addWidget(r.box, row, 1, 1, 2);
    ++row;
  }
  grid->addWidget(Label(QStringLiteral("Reads - Writes:")), row, 0);
  grid->addWidget(TextOptReads, row, 1);
  grid->addWidget(TextOptWrites, row, 2);
  // The names a screen reader gives the boxes, and the refusal below.
  for (const auto& r : rows) r.box->setAccessibleName(QString::fromLatin1(r.label).chopped(1));
  TextOptReads->setAccessibleName(QStringLiteral("Reads"));
  TextOptWrites->setAccessibleName(QStringLiteral("Writes"));
  lblModemProblem = Label(QString(), "lblModemProblem");
  lblModemProblem->setWordWrap(true);
  SetRed(lblModemProblem, true);
  lblModemProblem->hide();
  grid->addWidget(lblModemProblem, row + 1, 0, 1, 3);
  grid->setRowStretch(row + 2, 1);
  for (QLineEdit* box : {TextOptDial, TextOptAnswer, TextOptConnect, TextOptUsrDisconnect, TextOptRemDisconnect,
                         TextOptReads, TextOptWrites}) {
    WatchLeave(box, [this, box] { return ModemText_LostFocus(box); });
  }
  return w;
}

QWidget* frmSetup::BuildServicesTab() {
  auto* w = new QWidget;
  auto* grid = new QGridLayout(w);
  lstServices = new QTreeWidget;
  lstServices->setObjectName(QStringLiteral("lstServices"));
  lstServices->setToolTip(QStringLiteral("User Defined Services"));
  lstServices->setHeaderLabels({QStringLiteral("Service Description"), QStringLiteral("Number")});
  lstServices->setRootIsDecorated(false);
  lstServices->setAllColumnsShowFocus(true);
  lstServices->header()->setStretchLastSection(true);
  lstServices->setColumnWidth(0, 260);
  btnNew = Button("btnNew", QStringLiteral("&New"));
  btnEdit = Button("btnEdit", QStringLiteral("Ed&it"));
  btnDelete = Button("btnDelete", QStringLiteral("&Delete"));
  lblServices1 = Label(QString(), "lblServices1");
  lblServices2 = Label(QString(), "lblServices2");
  grid->addWidget(lstServices, 0, 0, 6, 1);
  grid->addWidget(btnNew, 0, 1);
  grid->addWidget(btnEdit, 1, 1);
  grid->addWidget(btnDelete, 2, 1);
  grid->addWidget(lblServices1, 3, 1);
  grid->addWidget(lblServices2, 4, 1);
  grid->setRowStretch(5, 1);
  connect(btnNew, &QPushButton::clicked, this, [this] { btnNew_Click(); });
  connect(btnEdit, &QPushButton::clicked, this, [this] { btnEdit_Click(); });
  connect(btnDelete, &QPushButton::clicked, this, [this] { btnDelete_Click(); });
  connect(lstServices, &QTreeWidget::itemDoubleClicked, this, [this] { btnEdit_Click(); });
  return w;
}

QWidget* frmSetup::BuildCostsTab() {
  auto* w = new QWidget;
  auto* grid = new QGridLayout(w);
  optCalcCosts = new QCheckBox(QStringLiteral("Calculate Costs"));
  optCalcCosts->setObjectName(QStringLiteral("optCalcCosts"));
  txtDialCost = Box("txtDialCost");
  txtCostPerHour = Box("txtCostPerHour");
  txtCostPerMeg = Box("txtCostPerMeg");
  grid->addWidget(optCalcCosts, 0, 0, 1, 2);
  const struct {
    const char* label;
    QLineEdit* box;
  } rows[] = {{"Default Dial-up Cost:", txtDialCost},
              {"Default Service Cost Per Hour:", txtCostPerHour},
              {"Default Service Cost Per Megabyte:", txtCostPerMeg}};
  int row = 1;
  for (const auto& r : rows) {
    grid->addWidget(Label(QLatin1String(r.label)), row, 0);
    r.box->setMaximumWidth(110);
    grid->addWidget(r.box, row, 1);
    ++row;
  }
  lblCostNotice =
      Label(QStringLiteral("Use the 'Services' tab to define dial-up tariffs and service provider rates for "
                           "a  specific dialled service."),
            "lblCostNotice");
  lblCostNotice->setWordWrap(true);
  grid->addWidget(lblCostNotice, row, 0, 1, 3);
  grid->setRowStretch(row + 1, 1);
  grid->setColumnStretch(2, 1);
  connect(optCalcCosts, &QCheckBox::toggled, this, [this] { optCalcCosts_Click(); });
  for (QLineEdit* box : {txtDialCost, txtCostPerHour, txtCostPerMeg}) {
    WatchLeave(box, [this, box] { return CostBox_LostFocus(box); });
  }
  return w;
}

QWidget* frmSetup::BuildFormatTab() {
  auto* w = new QWidget;
  auto* grid = new QGridLayout(w);
  lblRegionalSettings = Label(QString(), "lblRegionalSettings");
  lblRegionalSettings->setWordWrap(true);
  lblCountry = Label(QString(), "lblCountry");
  lblPreview = Label(QString(), "lblPreview");
  lblShortDate = Label(QString(), "lblShortDate");
  lblLongDate = Label(QString(), "lblLongDate");
  lblDateFormat = Label(QString(), "lblDateFormat");
  lblDateFormat->setWordWrap(true);
  grid->addWidget(lblRegionalSettings, 0, 0, 1, 2);
  grid->addWidget(Label(QStringLiteral("Country:")), 1, 0);
  grid->addWidget(lblCountry, 1, 1);
  grid->addWidget(Label(QStringLiteral("Currency:")), 2, 0);
  grid->addWidget(lblPreview, 2, 1);
  grid->addWidget(Label(QStringLiteral("Short Date:")), 3, 0);
  grid->addWidget(lblShortDate, 3, 1);
  grid->addWidget(Label(QStringLiteral("Long Date:")), 4, 0);
  grid->addWidget(lblLongDate, 4, 1);
  grid->addWidget(lblDateFormat, 5, 0, 1, 2);
  grid->setRowStretch(6, 1);
  grid->setColumnStretch(1, 1);
  return w;
}

QWidget* frmSetup::BuildErrorsTab() {
  auto* w = new QWidget;
  auto* grid = new QGridLayout(w);
  auto* first =
      Label(QStringLiteral("If the 'Disconnect' log entry is missing for a dialled connection, then set the "
                           "duration of that connection to:"));
  first->setWordWrap(true);
  mskNoDisconDuration = Box("mskNoDisconDuration");
  mskNoDisconDuration->setInputMask(QStringLiteral("99:99:99;_"));
  mskNoDisconDuration->setMaximumWidth(90);
  mskNoDisconData = Box("mskNoDisconData");
  mskNoDisconData->setMaximumWidth(90);
  lblDurationProblem = Label(QString(), "lblDurationProblem");
  lblDurationProblem->setWordWrap(true);
  SetRed(lblDurationProblem, true);
  lblDurationProblem->hide();
  optShowErrors = new QCheckBox(QStringLiteral("Show errors in reports"));
  optShowErrors->setObjectName(QStringLiteral("optShowErrors"));
  grid->addWidget(first, 0, 0, 1, 3);
  grid->addWidget(mskNoDisconDuration, 1, 0);
  grid->addWidget(Label(QStringLiteral("(hh:mm:ss)")), 1, 1);
  grid->addWidget(lblDurationProblem, 2, 0, 1, 3);
  grid->addWidget(Label(QStringLiteral("and set the amount of data read by the modem to:")), 3, 0, 1, 3);
  grid->addWidget(mskNoDisconData, 4, 0);
  grid->addWidget(Label(QStringLiteral("(KBs)")), 4, 1);
  grid->addWidget(optShowErrors, 5, 0, 1, 3);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(6, 1);
  connect(optShowErrors, &QCheckBox::toggled, this, [this] { optShowErrors_Click(); });
  WatchLeave(mskNoDisconDuration, [this] { return mskNoDisconDuration_LostFocus(); });
  WatchLeave(mskNoDisconData, [this] { return mskNoDisconData_LostFocus(); });
  return w;
}

QWidget* frmSetup::BuildHolidaysTab() {
  auto* w = new QWidget;
  auto* grid = new QGridLayout(w);
  CalHolidays = new QCalendarWidget;
  CalHolidays->setObjectName(QStringLiteral("CalHolidays"));
  CalHolidays->setToolTip(QStringLiteral("Double click to Add a New Holiday"));
  CalHolidays->setGridVisible(true);
  lstHolidays = new QListWidget;
  lstHolidays->setObjectName(QStringLiteral("lstHolidays"));
  lstHolidays->setToolTip(QStringLiteral("Double click to Remove a Holiday"));
  lstHolidays->setMaximumWidth(140);
  btnAdd = Button("btnAdd", QStringLiteral("&Add"));
  btnAdd->setToolTip(QStringLiteral("Add Date to Holiday List"));
  btnRemove = Button("btnRemove", QStringLiteral("Remo&ve"));
  btnRemove->setToolTip(QStringLiteral("Remove Date From Holiday List"));
  lblUsedHolidays = Label(QString(), "lblUsedHolidays");
  grid->addWidget(CalHolidays, 0, 0, 3, 1);
  grid->addWidget(lstHolidays, 0, 1, 1, 2);
  grid->addWidget(btnAdd, 1, 1);
  grid->addWidget(btnRemove, 1, 2);
  grid->addWidget(lblUsedHolidays, 2, 1, 1, 2);
  connect(CalHolidays, &QCalendarWidget::activated, this, [this] { AddCalendarDate(); });
  connect(btnAdd, &QPushButton::clicked, this, [this] { btnAdd_Click(); });
  connect(btnRemove, &QPushButton::clicked, this, [this] { btnRemove_Click(); });
  connect(lstHolidays, &QListWidget::itemClicked, this, [this] { lstHolidays_Click(); });
  connect(lstHolidays, &QListWidget::itemDoubleClicked, this, [this] { btnRemove_Click(); });
  return w;
}

void frmSetup::WatchLeave(QLineEdit* box, std::function<bool()> handler) {
  leave_->Watch(box, std::move(handler));
}

bool frmSetup::LeaveFocusedBox() {
  QWidget* focused = focusWidget();
  return leave_->Leave(focused);
}

void frmSetup::RestoreFocus(QLineEdit* box) {
  box->setFocus();
  box->selectAll();
}

// ---------------------------------------------------------------- load

QWidget* frmSetup::BuildBudgetTab() {
  OverallBudget = new BudgetEditor(state_.Locale, QStringLiteral("the overall"));
  return OverallBudget;
}

void frmSetup::Form_Load() {
  const LocaleValues& loc = state_.Locale;
  const QDate today = today_();
  // Format tab.
  lblCountry->setText(loc.LocaleCountry);
  lblRegionalSettings->setText(QStringLiteral("The Country setting for this computer is ") + loc.LocaleCountry +
                               QStringLiteral(". Below are examples of your Currency format and 'Short' and 'Long' "
                                              "Date formats."));
  lblPreview->setText(FormatMoney(kPreviewAmount, loc.CurrencySymbol, loc.CurrencySymbolFirst, loc.CurrencySpace,
                                  loc.CurrencyDigits, 0, loc));
  lblDateFormat->setText(
      QStringLiteral("These formats follow your desktop's region settings (the LANG and LC_* environment variables). "
                     "Change them there; MRL takes them up the next time it starts."));
  lblShortDate->setText(loc.Locale.toString(today, QLocale::ShortFormat));
  lblLongDate->setText(loc.Locale.toString(today, QLocale::LongFormat));

  // General and Modem.
  txtLogName->setText(draft_.ModemLogFile);
  ShowLimit(txtMaxServices, draft_.MaxServices);
  ShowLimit(txtMaxConnections, draft_.MaxConnections);
  ShowLimit(txtMaxConnectDays, draft_.MaxConnectDays);
  ShowLimit(txtMaxLogSize, draft_.MaxLogSize);
  const QSignalBlocker b1(optEditLog), b2(optShowToolbars), b3(optShowGraphic), b4(optAutoOpt), b5(optCalcCosts),
      b6(optShowErrors);
  optEditLog->setChecked(draft_.EditLog);
  optShowToolbars->setChecked(draft_.ShowToolbars);
  optShowGraphic->setChecked(draft_.ShowGraphic);
  optAutoOpt->setChecked(draft_.AutoOptimize);
  AlertOptions alerts;
  if (state_.Store) RunStep(SharedErrorReporter(), [&] { alerts = ReadAlertOptions(*state_.Store); });
  chkBudgetAlerts->setChecked(alerts.ShowBudgetAlerts);
  chkTrayIcon->setChecked(alerts.ShowTrayIcon);
  TextOptDial->setText(draft_.ModemDial);
  TextOptAnswer->setText(draft_.ModemAnswer);
  TextOptConnect->setText(draft_.ModemConnect);
  TextOptUsrDisconnect->setText(draft_.ModemUserDisconnect);
  TextOptRemDisconnect->setText(draft_.ModemHostDisconnect);
  TextOptReads->setText(draft_.ModemReads);
  TextOptWrites->setText(draft_.ModemWrites);

  // Costs: each box shows its amount; only an edit stores it again.
  optCalcCosts->setChecked(draft_.CalcCosts);
  const double amounts[3] = {draft_.DialCost, draft_.CostPerHour, draft_.CostPerMeg};
  QLineEdit* costBoxes[3] = {txtDialCost, txtCostPerHour, txtCostPerMeg};
  for (int i = 0; i < 3; ++i) {
    costTexts_[static_cast<size_t>(i)] = FormatAmount(amounts[i], 4, loc);
    costBoxes[i]->setText(costTexts_[static_cast<size_t>(i)]);
  }
  optCalcCosts_Click();

  // Errors: the boxes as the check box shows them; the stored values stay.
  optShowErrors->setChecked(draft_.ShowErrors);
  optShowErrors_Click();

  // Services.
  FillServiceList(0);

  // Holidays: the whole stored list, in date order.
  holidays_ = HolidaysOf(draft_);
  holidayLabelRed_ = false;
  FillHolidayList(holidays_.isEmpty() ? -1 : 0);
  CalHolidays->setSelectedDate(holidays_.isEmpty() ? today : ToQDate(holidays_.first()));

  // Budget.
  OverallBudget->Load(draft_.OverallBudget, FromQDate(today));

  btnDefaults->setVisible(false);
  btnDefaults->setEnabled(false);
  state_.LogFileChanged = false;
  saved_ = false;
  RefreshServiceLabels();
  RefreshServiceButtons();
  RefreshHolidayLabel();
  TabStrip1_Click();
}

void frmSetup::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  TabStrip1_Click();
  RefreshServiceLabels();
  if (TabStrip1->currentIndex() == kGeneral && txtLogName->isEnabled()) txtLogName->setFocus();
}

// ---------------------------------------------------------------- tabs

void frmSetup::TabStrip1_Click() {
  const int current = TabStrip1->currentIndex();
  btnDefaults->setVisible(current == kModem);
  btnDefaults->setEnabled(current == kModem);
}

void frmSetup::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier &&
      TabStrip1->currentIndex() == kServices) {
    btnDelete_Click();
    return;
  }
  QDialog::keyPressEvent(event);
}

// ---------------------------------------------------------------- General

void frmSetup::ShowLimit(QLineEdit* box, qint64 value) { box->setText(QString::number(value)); }

QString frmSetup::LogFolder() const {
  if (state_.File.ArchiveOpen && !state_.File.LogFilePath.isEmpty()) {
    return QFileInfo(state_.File.LogFilePath).absolutePath() + QLatin1Char('/');
  }
  return state_.File.WindowsDir;
}

bool frmSetup::txtLogName_LostFocus() {
  const QString name = txtLogName->text();
  if (name == draft_.ModemLogFile) return true;
  // A plain name of a file that is in the log folder itself, taken literally.
  const QFileInfo file(QDir(LogFolder()).filePath(name));
  if (IsPlainLogFileName(name) && file.exists() && file.isFile()) {
    draft_.ModemLogFile = name;
    return true;
  }
  txtLogName->setText(openingLogFile_);
  draft_.ModemLogFile = openingLogFile_;
  return false;
}

bool frmSetup::LimitLeft(QLineEdit* box, int& field, qint64 max) {
  if (box->text() == QString::number(field)) return true;
  const std::optional<qint64> value = ReadWholeNumber(box->text(), kMinLimit, max, state_.Locale);
  if (!value) {
    Beep();
    ShowLimit(box, field);
    return false;
  }
  field = static_cast<int>(*value);
  ShowLimit(box, field);
  return true;
}

bool frmSetup::txtMaxServices_LostFocus() {
  const QString text = txtMaxServices->text();
  if (text == QString::number(draft_.MaxServices)) return true;
  const std::optional<qint64> any = ReadWholeNumber(text, -kMax32, kMax32, state_.Locale);
  if (any && *any >= 0 && *any < draft_.UsedServices) {
    MessageBox::Show(QStringLiteral("You are currently using more services than this.\n"
                                    "Please reduce the number of defined services and try again!"),
                     MessageButtons::Ok, MessageIcon::None, QString(), this);
    ShowLimit(txtMaxServices, draft_.MaxServices);
    return false;
  }
  const std::optional<qint64> value = ReadWholeNumber(text, MinMaxServices(draft_), kMax16, state_.Locale);
  if (!value) {
    Beep();
    ShowLimit(txtMaxServices, draft_.MaxServices);
    return false;
  }
  SetMaxServices(draft_, static_cast<int>(*value));
  ShowLimit(txtMaxServices, draft_.MaxServices);
  RefreshServiceLabels();
  RefreshServiceButtons();
  return true;
}

bool frmSetup::txtMaxConnections_LostFocus() {
  return LimitLeft(txtMaxConnections, draft_.MaxConnections, kMaxConnectionsLimit);
}
bool frmSetup::txtMaxConnectDays_LostFocus() {
  return LimitLeft(txtMaxConnectDays, draft_.MaxConnectDays, kMaxConnectDaysLimit);
}
bool frmSetup::txtMaxLogSize_LostFocus() { return LimitLeft(txtMaxLogSize, draft_.MaxLogSize, kMaxLogSizeLimit); }

void frmSetup::cmdBrowse_Click() {
  const QString folder = LogFolder();
  const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
  for (;;) {
    const QString chosen =
        FileDialog::GetOpenFileName(this, QStringLiteral("Modem Log File"), QDir(folder).filePath(txtLogName->text()),
                                    QStringLiteral("Modem Log Files (*.txt *.log)"));
    if (chosen.isEmpty()) break;
    const QFileInfo file(chosen);
    if (!file.isFile() || QFileInfo(file.absolutePath()).canonicalFilePath() != canonicalFolder) {
      MessageBox::Show(WarnWrongDirectory(QDir::toNativeSeparators(folder)), this);
      continue;
    }
    txtLogName->setText(file.fileName());
    break;
  }
  txtLogName->setFocus();
  txtLogName_LostFocus();
}

// ---------------------------------------------------------------- Modem

bool frmSetup::ModemText_LostFocus(QLineEdit* box) {
  const QString text = box->text().toUpper();
  const QString tooLong = LengthProblem(text, kMaxNameLength);
  if (!tooLong.isEmpty()) {
    refusedModemText_ = box;
    lblModemProblem->setText(box->accessibleName() + QStringLiteral(": the text ") + tooLong +
                             QStringLiteral(". Shorten it to leave the box."));
    lblModemProblem->show();
    Beep();
    QTimer::singleShot(0, box, [this, box] { RestoreFocus(box); });
    return false;
  }
  // The box the cursor went to on its way back says nothing about the refused one.
  if (box == refusedModemText_) {
    refusedModemText_ = nullptr;
    lblModemProblem->hide();
  }
  box->setText(text);
  if (box == TextOptDial) draft_.ModemDial = text;
  if (box == TextOptAnswer) draft_.ModemAnswer = text;
  if (box == TextOptConnect) draft_.ModemConnect = text;
  if (box == TextOptUsrDisconnect) draft_.ModemUserDisconnect = text;
  if (box == TextOptRemDisconnect) draft_.ModemHostDisconnect = text;
  if (box == TextOptReads) draft_.ModemReads = text;
  if (box == TextOptWrites) draft_.ModemWrites = text;
  return true;
}

void frmSetup::btnDefaults_Click() {
  RestoreModemDefaults(draft_);
  refusedModemText_ = nullptr;
  lblModemProblem->hide();
  TextOptDial->setText(draft_.ModemDial);
  TextOptAnswer->setText(draft_.ModemAnswer);
  TextOptConnect->setText(draft_.ModemConnect);
  TextOptUsrDisconnect->setText(draft_.ModemUserDisconnect);
  TextOptRemDisconnect->setText(draft_.ModemHostDisconnect);
  TextOptReads->setText(draft_.ModemReads);
  TextOptWrites->setText(draft_.ModemWrites);
}

// ---------------------------------------------------------------- Services

QString frmSetup::ServiceItemText(int index) const {
  return draft_.Services[static_cast<size_t>(index)].ServiceName + QStringLiteral("  ");
}

void frmSetup::FillServiceList(int select) {
  lstServices->clear();
  for (int i = 0; i < draft_.UsedServices; ++i) {
    auto* item = new QTreeWidgetItem(lstServices);
    item->setText(0, ServiceItemText(i));
    item->setText(1, draft_.Services[static_cast<size_t>(i)].ServiceNumber);
  }
  if (select >= 0 && select < lstServices->topLevelItemCount()) {
    lstServices->setCurrentItem(lstServices->topLevelItem(select));
  }
}

void frmSetup::RefreshServiceLabels() {
  lblServices1->setText(QString::number(draft_.UsedServices) + QStringLiteral(" Used"));
  lblServices2->setText(QStringLiteral("(Max ") + QString::number(draft_.MaxServices) + QLatin1Char(')'));
  const bool full = draft_.UsedServices == draft_.MaxServices;
  SetRed(lblServices1, full);
  SetRed(lblServices2, full);
}

void frmSetup::RefreshServiceButtons() {
  btnEdit->setEnabled(draft_.UsedServices >= 1);
  btnDelete->setEnabled(draft_.UsedServices >= 1);
}

bool frmSetup::RunServiceEditor(int index, bool isNew) { return serviceEditor_(this, draft_, index, isNew); }

void frmSetup::btnNew_Click() {
  if (draft_.UsedServices < draft_.MaxServices) {
    const int index = draft_.UsedServices;
    if (draft_.Services.size() <= static_cast<size_t>(index)) draft_.Services.resize(static_cast<size_t>(index) + 1);
    if (RunServiceEditor(index, true)) {
      ++draft_.UsedServices;
      FillServiceList(index);
      lstServices->setFocus();
    }
  } else {
    Beep();
  }
  RefreshServiceLabels();
  RefreshServiceButtons();
}

void frmSetup::btnEdit_Click() {
  const int index = lstServices->indexOfTopLevelItem(lstServices->currentItem());
  if (draft_.UsedServices < 1 || index < 0) {
    Beep();
    return;
  }
  if (RunServiceEditor(index, false)) {
    QTreeWidgetItem* item = lstServices->topLevelItem(index);
    item->setText(0, ServiceItemText(index));
    item->setText(1, draft_.Services[static_cast<size_t>(index)].ServiceNumber);
    lstServices->setCurrentItem(item);
  }
}

void frmSetup::btnDelete_Click() {
  const int index = lstServices->indexOfTopLevelItem(lstServices->currentItem());
  if (draft_.UsedServices < 1 || index < 0) {
    Beep();
    return;
  }
  DeleteService(draft_, index);
  FillServiceList(std::min(index, draft_.UsedServices - 1));
  RefreshServiceLabels();
  RefreshServiceButtons();
  lstServices->setFocus();
}

// ---------------------------------------------------------------- Costs

void frmSetup::optCalcCosts_Click() {
  draft_.CalcCosts = optCalcCosts->isChecked();
  for (QLineEdit* box : {txtDialCost, txtCostPerHour, txtCostPerMeg}) box->setEnabled(draft_.CalcCosts);
}

bool frmSetup::CostBox_LostFocus(QLineEdit* box) {
  const size_t i = box == txtDialCost ? 0 : box == txtCostPerHour ? 1 : 2;
  if (box->text() == costTexts_[i]) return true;
  const std::optional<double> amount = ReadAmount(box->text(), state_.Locale);
  if (!amount) {
    Beep();
    QTimer::singleShot(0, box, [this, box] { RestoreFocus(box); });
    return false;
  }
  double& field = i == 0 ? draft_.DialCost : i == 1 ? draft_.CostPerHour : draft_.CostPerMeg;
  field = *amount;
  costTexts_[i] = FormatAmount(field, 4, state_.Locale);
  box->setText(costTexts_[i]);
  return true;
}

// ---------------------------------------------------------------- Errors

void frmSetup::optShowErrors_Click() {
  draft_.ShowErrors = optShowErrors->isChecked();
  mskNoDisconDuration->setEnabled(draft_.ShowErrors);
  mskNoDisconData->setEnabled(draft_.ShowErrors);
  if (draft_.ShowErrors) {
    durationShown_ = FormatDuration(static_cast<float>(draft_.NoDisconDuration));
    dataShown_ = FormatWholeNumber(draft_.NoDisconData, state_.Locale);
  } else {
    durationShown_ = QStringLiteral("00:00:00");
    dataShown_ = QStringLiteral("0");
  }
  mskNoDisconDuration->setText(durationShown_);
  mskNoDisconData->setText(dataShown_);
  durationShown_ = mskNoDisconDuration->displayText();
}

bool frmSetup::mskNoDisconDuration_LostFocus() {
  // A disabled box shows a placeholder: it never writes the setting.
  if (!mskNoDisconDuration->isEnabled() || mskNoDisconDuration->displayText() == durationShown_) return true;
  const std::optional<int> seconds = ReadDurationText(mskNoDisconDuration->displayText());
  lblDurationProblem->setText(DurationTextProblem(mskNoDisconDuration->displayText()));
  lblDurationProblem->setVisible(!seconds);
  if (!seconds) {
    Beep();
    QTimer::singleShot(0, mskNoDisconDuration, [this] { RestoreFocus(mskNoDisconDuration); });
    return false;
  }
  draft_.NoDisconDuration = *seconds;
  durationShown_ = mskNoDisconDuration->displayText();
  return true;
}

bool frmSetup::mskNoDisconData_LostFocus() {
  if (!mskNoDisconData->isEnabled() || mskNoDisconData->text() == dataShown_) return true;
  const std::optional<double> kilobytes = ReadKilobytes(mskNoDisconData->text(), state_.Locale);
  if (!kilobytes) {
    Beep();
    mskNoDisconData->setText(dataShown_);
    return false;
  }
  dataShown_ = FormatWholeNumber(*kilobytes, state_.Locale);
  mskNoDisconData->setText(dataShown_);
  draft_.NoDisconData = ReadKilobytes(dataShown_, state_.Locale).value_or(0);
  return true;
}

// ---------------------------------------------------------------- Holidays

void frmSetup::FillHolidayList(int select) {
  lstHolidays->clear();
  for (Date d : holidays_) lstHolidays->addItem(state_.Locale.Locale.toString(ToQDate(d), QLocale::ShortFormat));
  if (select >= 0 && select < lstHolidays->count()) lstHolidays->setCurrentRow(select);
}

void frmSetup::RefreshHolidayLabel() {
  lblUsedHolidays->setText(QString::number(holidays_.size()) + QStringLiteral(" Holidays (Max ") +
                           QString::number(kMaxHolidays) + QLatin1Char(')'));
  SetRed(lblUsedHolidays, holidayLabelRed_);
}

void frmSetup::AddCalendarDate() {
  const HolidayAddResult r = AddHoliday(holidays_, FromQDate(CalHolidays->selectedDate()));
  switch (r.outcome) {
    case HolidayAdd::Added:
      FillHolidayList(r.index);
      break;
    case HolidayAdd::AlreadyListed:
      Beep();
      lstHolidays->setCurrentRow(r.index);
      break;
    case HolidayAdd::ListFull:
      Beep();
      holidayLabelRed_ = true;
      break;
  }
  RefreshHolidayLabel();
}

void frmSetup::btnAdd_Click() {
  AddCalendarDate();
  CalHolidays->setSelectedDate(CalHolidays->selectedDate().addDays(1));
}

void frmSetup::lstHolidays_Click() {
  const int row = lstHolidays->currentRow();
  if (row >= 0 && row < holidays_.size()) CalHolidays->setSelectedDate(ToQDate(holidays_[row]));
}

void frmSetup::btnRemove_Click() {
  const int row = lstHolidays->currentRow();
  if (holidays_.isEmpty() || row < 0 || lstHolidays->currentItem() == nullptr) return;
  holidays_.removeAt(row);
  holidayLabelRed_ = false;
  FillHolidayList(std::min<int>(row, static_cast<int>(holidays_.size()) - 1));
  RefreshHolidayLabel();
}

// ---------------------------------------------------------------- OK, Cancel

void frmSetup::btnSave_Click() {
  // An entry still being typed is checked as leaving its box would check it.
  if (!LeaveFocusedBox()) return;
  // The Budget tab's entries are taken only whole; its red line says what is wrong.
  if (!OverallBudget->Problem().isEmpty()) {
    Beep();
    TabStrip1->setCurrentIndex(kBudget);
    OverallBudget->FirstControl()->setFocus();
    return;
  }
  draft_.OverallBudget = OverallBudget->Budget();
  setCursor(Qt::WaitCursor);
  const bool logFileChanged = draft_.ModemLogFile != openingLogFile_;
  StoreHolidays(draft_, holidays_);
  saved_ = true;
  state_.Config = draft_;
  // The windows' own settings are theirs to write when they close.
  if (state_.Store) SaveConfigurationKeepingWindows(*state_.Store, state_.Config, SharedErrorReporter());
  if (state_.Store) {
    const AlertOptions alerts{chkBudgetAlerts->isChecked(), chkTrayIcon->isChecked()};
    RunStep(SharedErrorReporter(), [&] { WriteAlertOptions(*state_.Store, alerts); });
  }
  state_.LogFileChanged = logFileChanged;
  if (logFileChanged) {
    state_.File.LogCorrupt = false;
    state_.File.NotAModemLog = false;
  }
  unsetCursor();
  accept();
  Q_EMIT ConfigurationChanged(logFileChanged);
}

void frmSetup::btnCancel_Click() { reject(); }

}  // namespace mirolat
