#include "ui/setup/frm_service.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "core/common/formatting.h"
#include "core/model/option_entries.h"
#include "core/model/tariff_rules.h"
#include "ui/common/help_window.h"
#include "ui/dialogs/beep.h"
#include "ui/dialogs/message_box.h"
#include "ui/setup/frm_tariff.h"

namespace mirolat {

namespace {

QLineEdit* Box(const char* name, const char* toolTip, int width = 80) {
  auto* box = new QLineEdit;
  box->setObjectName(QLatin1String(name));
  box->setToolTip(QLatin1String(toolTip));
  box->setMaximumWidth(width);
  return box;
}

QComboBox* PeriodList(const char* name, const QStringList& choices) {
  // Only the listed periods: the text cannot be typed freely.
  auto* list = new QComboBox;
  list->setObjectName(QLatin1String(name));
  list->setToolTip(QStringLiteral("Threshold Period"));
  list->setEditable(false);
  list->addItems(choices);
  return list;
}

QPushButton* Button(const char* name, const QString& text) {
  auto* b = new QPushButton(text);
  b->setObjectName(QLatin1String(name));
  b->setAutoDefault(false);
  return b;
}

QLabel* Text(const QString& text) { return new QLabel(text); }

// The words of the controls that the option buttons never disable.
const char* const kAlwaysEnabled[] = {"DESCRIPTION", "NUMBER", "NOTICE",   "BTNCANCEL", "BTNHELP", "SHAPE",
                                      "IMAGE",       "OPT",    "TABSTRIP", "FRA",       "MEG",     "PROBLEM", "BUDGET"};

bool IsOurControl(const QWidget* w) {
  const QString name = w->objectName();
  return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

}  // namespace

frmService::frmService(Configuration& config, int serviceIndex, bool isNew, const LocaleValues& locale, QWidget* parent)
    : QDialog(parent), config_(config), index_(serviceIndex), isNew_(isNew), locale_(locale) {
  setObjectName(QStringLiteral("frmService"));
  setWindowTitle(QStringLiteral("MRL - Edit Service"));
  setModal(true);
  if (config_.Services.size() <= static_cast<size_t>(index_)) config_.Services.resize(static_cast<size_t>(index_) + 1);
  tariffEditor_ = [this](QWidget* parentWidget, std::array<Tariff, kMaxTariffs>& tariffs, int& count, int position) {
    frmTariff editor(tariffs, count, position, locale_, parentWidget);
    return editor.exec() == QDialog::Accepted;
  };
  leave_ = new LeaveWatcher(this);
  BuildControls();
  resize(720, 440);
  InstallHelpKey(this, kServiceEditorHelpTopic);
  Load();
}

void frmService::SetTariffEditorRunner(TariffEditorRunner runner) { tariffEditor_ = std::move(runner); }

// ---------------------------------------------------------------- layout

void frmService::BuildControls() {
  setStyleSheet(QStringLiteral(
      "QLineEdit:disabled { background-color: rgb(192, 192, 192); color: rgb(64, 64, 64); }"
      "QComboBox:disabled, QTreeWidget:disabled { background-color: rgb(192, 192, 192); color: rgb(128, 128, 128); }"));
  auto* outer = new QVBoxLayout(this);
  TabStrip1 = new QTabWidget;
  TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
  // The tabs' contents, built in tab order.
  const struct {
    const char* caption;
    const char* toolTip;
    QWidget* contents;
  } tabs[4] = {{"Service Details", "Dialed Service Description and Number", BuildDetailsTab()},
               {"Dial-up Cost", "Dial-up Tariffs and Charges", BuildDialCostTab()},
               {"Service Cost ", "On-Line Charges For This Service", BuildServiceCostTab()},
               {"B&udget", "Billing Cycle and Budget of This Service", BuildBudgetTab()}};
  for (int i = 0; i < 4; ++i) {
    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(4, 4, 4, 4);
    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("fraService%1").arg(i));
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->addWidget(tabs[i].contents);
    pageLayout->addWidget(frame);
    fraService[static_cast<size_t>(i)] = frame;
    TabStrip1->addTab(page, QLatin1String(tabs[i].caption));
    TabStrip1->setTabToolTip(i, QLatin1String(tabs[i].toolTip));
  }
  outer->addWidget(TabStrip1);
  // Why OK is disabled.
  lblProblem = new QLabel;
  lblProblem->setObjectName(QStringLiteral("lblProblem"));
  lblProblem->setWordWrap(true);
  outer->addWidget(lblProblem);
  auto* buttons = new QHBoxLayout;
  btnHelp = Button("btnHelp", QStringLiteral("&Help"));
  btnCancel = Button("btnCancel", QStringLiteral("&Cancel"));
  btnOK = Button("btnOK", QStringLiteral("&OK"));
  btnOK->setDefault(true);
  buttons->addWidget(btnHelp);
  buttons->addStretch();
  buttons->addWidget(btnCancel);
  buttons->addWidget(btnOK);
  outer->addLayout(buttons);

  connect(TabStrip1, &QTabWidget::currentChanged, this, [this] { TabStrip1_Click(); });
  connect(btnOK, &QPushButton::clicked, this, [this] { btnOK_Click(); });
  connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancel_Click(); });
  connect(btnHelp, &QPushButton::clicked, this, [] { ShowHelp(kServiceEditorHelpTopic); });
  auto* nextTab = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
  connect(nextTab, &QShortcut::activated, this,
          [this] { TabStrip1->setCurrentIndex((TabStrip1->currentIndex() + 1) % TabStrip1->count()); });
}

QWidget* frmService::BuildDetailsTab() {
  auto* w = new QWidget;
  auto* grid = new QGridLayout(w);
  txtDescription = Box("txtDescription", "Dialled Service Description", 16777215);
  txtNumber = Box("txtNumber", "Dialled Number", 200);
  imgService = new QLabel;
  imgService->setObjectName(QStringLiteral("imgService"));
  imgService->setPixmap(style()->standardIcon(QStyle::SP_DriveNetIcon).pixmap(48, 48));
  const QString notices[2] = {
      QStringLiteral("This is where you define a specific dialled service in detail. MRL will look for the 'Dialled "
                     "Number' in your modem log and if found match this with the 'Service Description' you provide "
                     "above for presentation on reports."),
      QStringLiteral("You can also define complicated rates or tariffs specific to this service by clicking on the "
                     "appropriate tabs above. If you do not define costs for this service here then the 'Default "
                     "Costs' will be used as defined in the 'Default Costs' option window.")};
  for (int i = 0; i < 2; ++i) {
    auto* label = new QLabel(notices[i]);
    label->setObjectName(QStringLiteral("lblNotice%1").arg(i));
    label->setWordWrap(true);
    lblNotice[static_cast<size_t>(i)] = label;
  }
  grid->addWidget(imgService, 0, 0, 2, 1, Qt::AlignTop);
  grid->addWidget(Text(QStringLiteral("Dialled Service Description:")), 0, 1);
  grid->addWidget(txtDescription, 0, 2);
  grid->addWidget(Text(QStringLiteral("Dialled Number:")), 1, 1);
  grid->addWidget(txtNumber, 1, 2);
  grid->addWidget(lblNotice[0], 2, 0, 1, 3);
  grid->addWidget(lblNotice[1], 3, 0, 1, 3);
  grid->setRowStretch(4, 1);
  grid->setColumnStretch(2, 1);
  connect(txtDescription, &QLineEdit::textChanged, this, [this] { UpdateOkButton(); });
  connect(txtNumber, &QLineEdit::textChanged, this, [this] { UpdateOkButton(); });
  return w;
}

QWidget* frmService::BuildDialCostTab() {
  auto* w = new QWidget;
  auto* v = new QVBoxLayout(w);
  optDialCost[0] = new QRadioButton(QStringLiteral("&Per Call Tariff"));
  optDialCost[0]->setObjectName(QStringLiteral("optDialCost0"));
  optDialCost[1] = new QRadioButton(QStringLiteral("&Time Segmented Tariffs"));
  optDialCost[1]->setObjectName(QStringLiteral("optDialCost1"));
  // The pair sits in two frames: the group keeps exactly one of them checked.
  auto* dialCost = new QButtonGroup(w);
  dialCost->addButton(optDialCost[0]);
  dialCost->addButton(optDialCost[1]);

  fraFixedTariff = new QGroupBox;
  fraFixedTariff->setObjectName(QStringLiteral("fraFixedTariff"));
  auto* fixed = new QHBoxLayout(fraFixedTariff);
  txtDialFixedTariff = Box("txtDialFixedTariff", "Cost Per Call");
  fixed->addWidget(optDialCost[0]);
  fixed->addSpacing(12);
  fixed->addWidget(Text(QStringLiteral("To Dial This Service Costs")));
  fixed->addWidget(txtDialFixedTariff);
  fixed->addWidget(Text(QStringLiteral("Per Call ")));
  fixed->addStretch();

  fraTimeTariff = new QGroupBox;
  fraTimeTariff->setObjectName(QStringLiteral("fraTimeTariff"));
  auto* timed = new QGridLayout(fraTimeTariff);
  lstDialTimeTariff = new QTreeWidget;
  lstDialTimeTariff->setObjectName(QStringLiteral("lstDialTimeTariff"));
  lstDialTimeTariff->setHeaderLabels({QStringLiteral("Description"), QStringLiteral("Days"), QStringLiteral("Hours"),
                                      QStringLiteral("Per Call"), QStringLiteral("Per Min"), QStringLiteral("After")});
  lstDialTimeTariff->setRootIsDecorated(false);
  lstDialTimeTariff->setAllColumnsShowFocus(true);
  lstDialTimeTariff->setToolTip(QStringLiteral("User Defined Tariffs"));
  const int widths[6] = {120, 80, 150, 70, 70, 110};
  for (int i = 0; i < 6; ++i) lstDialTimeTariff->setColumnWidth(i, widths[i]);
  btnDialTimeTariffNew = Button("btnDialTimeTariffNew", QStringLiteral("&New"));
  btnDialTimeTariffEdit = Button("btnDialTimeTariffEdit", QStringLiteral("&Edit"));
  btnDialTimeTariffDelete = Button("btnDialTimeTariffDelete", QStringLiteral("&Delete"));
  lblDialTimeTariff9 = new QLabel;
  lblDialTimeTariff9->setObjectName(QStringLiteral("lblDialTimeTariff9"));
  timed->addWidget(optDialCost[1], 0, 0, 1, 2);
  timed->addWidget(lstDialTimeTariff, 1, 0, 5, 1);
  timed->addWidget(btnDialTimeTariffNew, 1, 1);
  timed->addWidget(btnDialTimeTariffEdit, 2, 1);
  timed->addWidget(btnDialTimeTariffDelete, 3, 1);
  timed->addWidget(lblDialTimeTariff9, 4, 1);
  timed->setRowStretch(5, 1);
  v->addWidget(fraFixedTariff);
  v->addWidget(fraTimeTariff, 1);

  connect(optDialCost[0], &QRadioButton::clicked, this, [this] { optDialCost_Click(0); });
  connect(optDialCost[1], &QRadioButton::clicked, this, [this] { optDialCost_Click(1); });
  connect(txtDialFixedTariff, &QLineEdit::textChanged, this, [this] { UpdateOkButton(); });
  WatchLeave(txtDialFixedTariff, [this] { return AmountBox_LostFocus(txtDialFixedTariff); });
  connect(btnDialTimeTariffNew, &QPushButton::clicked, this, [this] { btnDialTimeTariffNew_Click(); });
  connect(btnDialTimeTariffEdit, &QPushButton::clicked, this, [this] { btnDialTimeTariffEdit_Click(); });
  connect(btnDialTimeTariffDelete, &QPushButton::clicked, this, [this] { btnDialTimeTariffDelete_Click(); });
  connect(lstDialTimeTariff, &QTreeWidget::itemClicked, this, [this] { lstDialTimeTariff_Click(); });
  connect(lstDialTimeTariff, &QTreeWidget::currentItemChanged, this, [this] { lstDialTimeTariff_Click(); });
  connect(lstDialTimeTariff, &QTreeWidget::itemDoubleClicked, this, [this] { btnDialTimeTariffEdit_Click(); });
  return w;
}

QWidget* frmService::BuildServiceCostTab() {
  auto* w = new QWidget;
  auto* v = new QVBoxLayout(w);
  optServiceCost[0] = new QRadioButton(QStringLiteral("&Flat Hourly Rate"));
  optServiceCost[0]->setObjectName(QStringLiteral("optServiceCost0"));
  optServiceCost[1] = new QRadioButton(QStringLiteral("Fle&xi Rate"));
  optServiceCost[1]->setObjectName(QStringLiteral("optServiceCost1"));
  auto* serviceCost = new QButtonGroup(w);
  serviceCost->addButton(optServiceCost[0]);
  serviceCost->addButton(optServiceCost[1]);

  fraFlatRate = new QGroupBox;
  fraFlatRate->setObjectName(QStringLiteral("fraFlatRate"));
  auto* flat = new QHBoxLayout(fraFlatRate);
  txtServiceFixedRate = Box("txtServiceFixedRate", "Cost Per Hour");
  flat->addWidget(optServiceCost[0]);
  flat->addSpacing(12);
  flat->addWidget(Text(QStringLiteral("This Service Costs")));
  flat->addWidget(txtServiceFixedRate);
  flat->addWidget(Text(QStringLiteral("Per Hour")));
  flat->addStretch();

  fraFlexiRate = new QGroupBox;
  fraFlexiRate->setObjectName(QStringLiteral("fraFlexiRate"));
  auto* flexi = new QGridLayout(fraFlexiRate);
  txtServiceFlexRate = Box("txtServiceFlexRate", "Cost Per Hour");
  txtServiceFlexHours = Box("txtServiceFlexHours", "Threshold Hours", 40);
  lstServiceFlexPeriod = PeriodList("lstServiceFlexPeriod", FlexPeriodChoices());
  txtServiceFlexRate2 = Box("txtServiceFlexRate2", "Penalty or Excess Rate");
  auto* row1 = new QHBoxLayout;
  row1->addWidget(Text(QStringLiteral("Costs")));
  row1->addWidget(txtServiceFlexRate);
  row1->addWidget(Text(QStringLiteral("Per Hour up to ")));
  row1->addWidget(txtServiceFlexHours);
  row1->addWidget(Text(QStringLiteral("Hours Per")));
  row1->addWidget(lstServiceFlexPeriod);
  row1->addStretch();
  auto* row2 = new QHBoxLayout;
  row2->addWidget(Text(QStringLiteral("Time in Excess of this is Charged at ")));
  row2->addWidget(txtServiceFlexRate2);
  row2->addWidget(Text(QStringLiteral("Per Hour")));
  row2->addStretch();
  flexi->addWidget(optServiceCost[1], 0, 0);
  flexi->addLayout(row1, 1, 0);
  flexi->addLayout(row2, 2, 0);

  fraPerMeg = new QGroupBox(QStringLiteral("Download Rate"));
  fraPerMeg->setObjectName(QStringLiteral("fraPerMeg"));
  auto* meg = new QVBoxLayout(fraPerMeg);
  txtPerMeg = Box("txtPerMeg", "Cost Per Megabyte");
  txtAfterMeg = Box("txtAfterMeg", "Threshold (Megabytes)", 40);
  lstMegPeriod = PeriodList("lstMegPeriod", MegPeriodChoices());
  auto* row3 = new QHBoxLayout;
  row3->addWidget(Text(QStringLiteral("Costs")));
  row3->addWidget(txtPerMeg);
  row3->addWidget(Text(QStringLiteral("Per Megabyte After")));
  row3->addWidget(txtAfterMeg);
  row3->addWidget(Text(QStringLiteral("Megabytes Per")));
  row3->addWidget(lstMegPeriod);
  row3->addStretch();
  auto* note = Text(QStringLiteral(
      "MRL will determine the amount of data received per session from the modem log and use this to calculate the "
      "cost. This is in addition to either of the above two rates so if your service provider only charges for "
      "downloaded data then make sure the 'Flat Hourly Rate' above is selected and set to zero."));
  note->setObjectName(QStringLiteral("lblMegNotice"));
  note->setWordWrap(true);
  meg->addLayout(row3);
  meg->addWidget(note);

  v->addWidget(fraFlatRate);
  v->addWidget(fraFlexiRate);
  v->addWidget(fraPerMeg);
  v->addStretch();

  connect(optServiceCost[0], &QRadioButton::clicked, this, [this] { optServiceCost_Click(0); });
  connect(optServiceCost[1], &QRadioButton::clicked, this, [this] { optServiceCost_Click(1); });
  for (QLineEdit* box : {txtServiceFixedRate, txtPerMeg}) {
    connect(box, &QLineEdit::textChanged, this, [this] { UpdateOkButton(); });
    WatchLeave(box, [this, box] { return AmountBox_LostFocus(box); });
  }
  for (QLineEdit* box : {txtServiceFlexRate, txtServiceFlexRate2}) {
    connect(box, &QLineEdit::textEdited, this, [this, box] { FlexRate_Changed(box); });
    connect(box, &QLineEdit::textChanged, this, [this] { UpdateOkButton(); });
    WatchLeave(box, [this, box] { return FlexRate_LostFocus(box); });
  }
  connect(txtServiceFlexHours, &QLineEdit::textEdited, this, [this] { FlexHours_Changed(); });
  connect(txtServiceFlexHours, &QLineEdit::textChanged, this, [this] { UpdateOkButton(); });
  WatchLeave(txtServiceFlexHours, [this] { return txtServiceFlexHours_LostFocus(); });
  connect(txtAfterMeg, &QLineEdit::textEdited, this, [this] { AfterMeg_Changed(); });
  connect(txtAfterMeg, &QLineEdit::textChanged, this, [this] { UpdateOkButton(); });
  WatchLeave(txtAfterMeg, [this] { return txtAfterMeg_LostFocus(); });
  connect(lstServiceFlexPeriod, &QComboBox::currentIndexChanged, this, [this] { UpdateOkButton(); });
  connect(lstMegPeriod, &QComboBox::currentIndexChanged, this, [this] { UpdateOkButton(); });
  return w;
}

QWidget* frmService::BuildBudgetTab() {
  Budget = new BudgetEditor(locale_, QStringLiteral("this service's"));
  connect(Budget, &BudgetEditor::Changed, this, [this] { UpdateOkButton(); });
  return Budget;
}

void frmService::WatchLeave(QWidget* box, std::function<bool()> handler) {
  leave_->Watch(box, std::move(handler));
}

void frmService::KeepFocus(QWidget* box) {
  QTimer::singleShot(0, box, [box] { box->setFocus(); });
}

// ---------------------------------------------------------------- load

void frmService::Load() {
  if (!config_.ShowGraphic) imgService->hide();
  const Service& stored = config_.Services[static_cast<size_t>(index_)];
  working_ = stored.Tariffs;
  ServiceEntries e;
  if (isNew_) {
    e = NewServiceEntries(config_, locale_);
    count_ = 1;
    working_[0] = DefaultTariff(config_);
  } else {
    e = EntriesOf(stored, config_, locale_);
    count_ = std::clamp(stored.UsedTariffs, 0, kMaxTariffs);
  }
  dialOption_ = e.DialOption;
  serviceOption_ = e.ServiceOption;
  txtDescription->setText(e.Description);
  txtNumber->setText(e.Number);
  txtDialFixedTariff->setText(e.DialFixedTariff);
  txtServiceFixedRate->setText(e.ServiceFixedRate);
  txtServiceFlexRate->setText(e.FlexRate);
  txtServiceFlexHours->setText(e.FlexHours);
  txtServiceFlexRate2->setText(e.FlexRate2);
  flexShown_[txtServiceFlexRate] = e.FlexRate;
  flexShown_[txtServiceFlexRate2] = e.FlexRate2;
  txtPerMeg->setText(e.PerMeg);
  txtAfterMeg->setText(e.AfterMeg);
  storedFlexPeriod_ = e.FlexPeriod;
  storedMegPeriod_ = e.MegPeriod;
  lstServiceFlexPeriod->setCurrentIndex(lstServiceFlexPeriod->findText(e.FlexPeriod));
  lstMegPeriod->setCurrentIndex(lstMegPeriod->findText(e.MegPeriod));
  optDialCost[static_cast<size_t>(dialOption_ - 1)]->setChecked(true);
  optServiceCost[static_cast<size_t>(serviceOption_ - 1)]->setChecked(true);
  if (isNew_) txtDescription->selectAll();
  selectedTariff_ = count_ > 0 ? 1 : 0;
  FillTariffList();
  optServiceCost_Click(serviceOption_ - 1);
  optDialCost_Click(dialOption_ - 1);
  Budget->Load(stored.Budget, FromQDate(QDate::currentDate()));
  TabStrip1_Click();
}

void frmService::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  TabStrip1_Click();
  if (isNew_ && txtDescription->isEnabled() && txtDescription->isVisible()) txtDescription->setFocus();
}

ServiceEntries frmService::Entries() const {
  ServiceEntries e;
  e.Description = txtDescription->text();
  e.Number = txtNumber->text();
  e.DialOption = dialOption_;
  e.DialFixedTariff = txtDialFixedTariff->text();
  e.ServiceOption = serviceOption_;
  e.ServiceFixedRate = txtServiceFixedRate->text();
  e.FlexRate = txtServiceFlexRate->text();
  e.FlexHours = txtServiceFlexHours->text();
  e.FlexPeriod = lstServiceFlexPeriod->currentIndex() < 0 ? storedFlexPeriod_ : lstServiceFlexPeriod->currentText();
  e.FlexRate2 = txtServiceFlexRate2->text();
  e.PerMeg = txtPerMeg->text();
  e.AfterMeg = txtAfterMeg->text();
  e.MegPeriod = lstMegPeriod->currentIndex() < 0 ? storedMegPeriod_ : lstMegPeriod->currentText();
  return e;
}

// ---------------------------------------------------------------- tabs and option groups

void frmService::TabStrip1_Click() {
  const int current = TabStrip1->currentIndex();
  for (int i = 0; i < 4; ++i) fraService[static_cast<size_t>(i)]->setEnabled(i == current);
  if (current == 0 && txtDescription->isVisible()) txtDescription->setFocus();
  if (current == 1) optDialCost_Click(dialOption_ - 1);
  if (current == 2) optServiceCost_Click(serviceOption_ - 1);
  if (current == 3 && Budget->isVisible()) Budget->FirstControl()->setFocus();
}

void frmService::DisableOptionControls() {
  for (QWidget* w : findChildren<QWidget*>()) {
    if (!IsOurControl(w)) continue;
    const QString name = w->objectName().toUpper();
    bool exempt = false;
    for (const char* word : kAlwaysEnabled) exempt = exempt || name.contains(QLatin1String(word));
    if (!exempt) w->setEnabled(false);
  }
}

void frmService::EnableControlGroup(const QString& word) {
  for (QWidget* w : findChildren<QWidget*>()) {
    if (IsOurControl(w) && w->objectName().contains(word, Qt::CaseInsensitive)) w->setEnabled(true);
  }
}

void frmService::optDialCost_Click(int index) {
  DisableOptionControls();
  // The service cost group stays as its own option button set it.
  EnableControlGroup(serviceOption_ == 2 ? QStringLiteral("ServiceFlex") : QStringLiteral("ServiceFixed"));
  optDialCost[static_cast<size_t>(index)]->setChecked(true);
  if (index == 0) {
    EnableControlGroup(QStringLiteral("DialFixedTariff"));
    dialOption_ = 1;
    if (txtDialFixedTariff->isVisible()) txtDialFixedTariff->setFocus();
  } else {
    EnableControlGroup(QStringLiteral("DialTimeTariff"));
    dialOption_ = 2;
    if (count_ > 0) {
      if (selectedTariff_ == 0) selectedTariff_ = 1;
      lstDialTimeTariff->setCurrentItem(lstDialTimeTariff->topLevelItem(selectedTariff_ - 1));
    } else if (btnDialTimeTariffNew->isVisible()) {
      btnDialTimeTariffNew->setFocus();
    }
  }
  RefreshTariffButtons();
  UpdateOkButton();
  ShowTariffSummary();
}

void frmService::optServiceCost_Click(int index) {
  DisableOptionControls();
  EnableControlGroup(dialOption_ == 2 ? QStringLiteral("DialTimeTariff") : QStringLiteral("DialFixedTariff"));
  RefreshTariffButtons();
  optServiceCost[static_cast<size_t>(index)]->setChecked(true);
  if (index == 0) {
    EnableControlGroup(QStringLiteral("ServiceFixed"));
    serviceOption_ = 1;
    if (txtServiceFixedRate->isVisible()) txtServiceFixedRate->setFocus();
  } else {
    EnableControlGroup(QStringLiteral("ServiceFlex"));
    serviceOption_ = 2;
    if (txtServiceFlexRate->isVisible()) txtServiceFlexRate->setFocus();
  }
  UpdateOkButton();
}

void frmService::UpdateOkButton() {
  if (btnOK == nullptr || lstMegPeriod == nullptr) return;  // still being built
  const ServiceEntries entries = Entries();
  const QString budget = Budget != nullptr ? Budget->Problem() : QString();
  btnOK->setEnabled(ValidateService(entries, count_, locale_).ok() && budget.isEmpty());
  const QString service = ServiceProblem(entries, count_, locale_);
  lblProblem->setText(service.isEmpty() ? budget : service);
}

// ---------------------------------------------------------------- tariff list

void frmService::FillTariffList() {
  lstDialTimeTariff->clear();
  for (int i = 0; i < count_; ++i) {
    const Tariff& t = working_[static_cast<size_t>(i)];
    auto* item = new QTreeWidgetItem(lstDialTimeTariff);
    item->setText(0, t.Description);
    item->setText(1, t.AppliesDays);
    item->setText(2, TariffHoursText(t, locale_));
    item->setText(3, FormatMoney(t.DialRate, 4, locale_));
    item->setText(4, FormatMoney(t.PerMinuteRate, 4, locale_));
    item->setText(5, AfterText(t.After));
  }
  if (selectedTariff_ >= 1 && selectedTariff_ <= count_) {
    lstDialTimeTariff->setCurrentItem(lstDialTimeTariff->topLevelItem(selectedTariff_ - 1));
  }
  // Every column as wide as its widest text: no hours or amounts cut off.
  for (int i = 0; i < lstDialTimeTariff->columnCount(); ++i) lstDialTimeTariff->resizeColumnToContents(i);
  ShowTariffCount();
  ShowTariffSummary();
}

void frmService::ShowTariffCount() {
  lblDialTimeTariff9->setText(QString::number(count_) + QStringLiteral(" Tariffs (Max ") +
                              QString::number(kMaxTariffs) + QLatin1Char(')'));
  const bool full = count_ >= kMaxTariffs;
  lblDialTimeTariff9->setStyleSheet(full ? QStringLiteral("color: rgb(255, 0, 0);") : QString());
  if (full) Beep();
}

void frmService::ShowTariffSummary() {
  if (count_ == 0 || selectedTariff_ < 1 || selectedTariff_ > count_) {
    lstDialTimeTariff->setToolTip(QStringLiteral("User Defined Tariffs"));
  } else {
    lstDialTimeTariff->setToolTip(TariffSummary(working_[static_cast<size_t>(selectedTariff_ - 1)], locale_));
  }
}

void frmService::RefreshTariffButtons() {
  const bool tariffs = dialOption_ == 2;
  btnDialTimeTariffNew->setEnabled(tariffs && count_ < kMaxTariffs);
  btnDialTimeTariffEdit->setEnabled(tariffs && count_ > 0);
  btnDialTimeTariffDelete->setEnabled(tariffs && count_ > 0);
}

void frmService::lstDialTimeTariff_Click() {
  const int row = lstDialTimeTariff->indexOfTopLevelItem(lstDialTimeTariff->currentItem());
  if (row >= 0) selectedTariff_ = row + 1;
  ShowTariffSummary();
}

void frmService::btnDialTimeTariffNew_Click() {
  if (count_ >= kMaxTariffs) {
    Beep();
    return;
  }
  if (tariffEditor_(this, working_, count_, 0)) selectedTariff_ = count_;
  SortTariffs(working_, count_, &selectedTariff_);
  FillTariffList();
  RefreshTariffButtons();
  UpdateOkButton();
}

void frmService::btnDialTimeTariffEdit_Click() {
  const int row = lstDialTimeTariff->indexOfTopLevelItem(lstDialTimeTariff->currentItem());
  if (!btnDialTimeTariffEdit->isEnabled() || row < 0) return;
  selectedTariff_ = row + 1;
  tariffEditor_(this, working_, count_, selectedTariff_);
  SortTariffs(working_, count_, &selectedTariff_);
  FillTariffList();
  UpdateOkButton();
}

void frmService::btnDialTimeTariffDelete_Click() {
  if (count_ == 0) return;
  const int row = lstDialTimeTariff->indexOfTopLevelItem(lstDialTimeTariff->currentItem());
  if (row < 0) return;
  selectedTariff_ = row + 1;
  for (int i = row; i + 1 < count_; ++i) working_[static_cast<size_t>(i)] = working_[static_cast<size_t>(i + 1)];
  --count_;
  if (selectedTariff_ > count_) selectedTariff_ = count_;
  FillTariffList();
  RefreshTariffButtons();
  UpdateOkButton();
}

// ---------------------------------------------------------------- fields

bool frmService::AmountBox_LostFocus(QLineEdit* box) {
  const std::optional<double> amount = ReadAmount(box->text(), locale_);
  if (!amount) {
    Beep();
    KeepFocus(box);
    return false;
  }
  box->setText(FormatAmount(*amount, 4, locale_));
  UpdateOkButton();
  return true;
}

void frmService::FlexRate_Changed(QLineEdit* box) {
  const QString text = box->text();
  const bool typing = !text.isEmpty() && text.endsWith(locale_.MoneyDecimalSeparator) &&
                      (text.size() == locale_.MoneyDecimalSeparator.size() ||
                       ReadAmount(text.chopped(locale_.MoneyDecimalSeparator.size()), locale_).has_value());
  if (!text.isEmpty() && !typing && !ReadAmount(text, locale_)) {
    Beep();
    KeepFocus(box);
  }
  UpdateOkButton();
}

bool frmService::FlexRate_LostFocus(QLineEdit* box) {
  // Nothing typed, or only the decimal separator, is 0; anything else that is
  // not an amount is refused and the previous rate comes back.
  const QString text = box->text().trimmed();
  const bool nothing = text.isEmpty() || text == locale_.MoneyDecimalSeparator;
  const std::optional<double> amount = nothing ? std::optional<double>(0) : ReadAmount(text, locale_);
  if (!amount) {
    Beep();
    box->setText(flexShown_.value(box));
    KeepFocus(box);
    UpdateOkButton();
    return false;
  }
  flexShown_[box] = FormatAmount(*amount, 4, locale_);
  box->setText(flexShown_[box]);
  UpdateOkButton();
  return true;
}

void frmService::FlexHours_Changed() {
  const QString text = txtServiceFlexHours->text();
  if (text.isEmpty()) return;
  const std::optional<qint64> hours = ReadWholeNumber(text, 0, kMax32, locale_);
  if (!hours) {
    Beep();
    txtServiceFlexHours->clear();
    KeepFocus(txtServiceFlexHours);
  } else if (*hours > kMaxFlexHours) {
    Beep();
    txtServiceFlexHours->setText(QString::number(kMaxFlexHours));
    KeepFocus(txtServiceFlexHours);
  }
  UpdateOkButton();
}

bool frmService::txtServiceFlexHours_LostFocus() {
  const std::optional<qint64> hours = ReadWholeNumber(txtServiceFlexHours->text(), 0, kMaxFlexHours, locale_);
  txtServiceFlexHours->setText(QString::number(hours.value_or(0)));
  UpdateOkButton();
  return true;
}

void frmService::AfterMeg_Changed() {
  const QString text = txtAfterMeg->text();
  if (!text.isEmpty() && !ReadWholeNumber(text, 0, kMaxAfterMeg, locale_)) {
    Beep();
    KeepFocus(txtAfterMeg);
  }
  UpdateOkButton();
}

bool frmService::txtAfterMeg_LostFocus() {
  if (txtAfterMeg->text().isEmpty()) txtAfterMeg->setText(QStringLiteral("0"));
  const std::optional<qint64> megabytes = ReadWholeNumber(txtAfterMeg->text(), 0, kMaxAfterMeg, locale_);
  if (!megabytes) {
    Beep();
    KeepFocus(txtAfterMeg);
    return false;
  }
  txtAfterMeg->setText(QString::number(*megabytes));
  UpdateOkButton();
  return true;
}

// ---------------------------------------------------------------- OK, Cancel

void frmService::btnOK_Click() {
  const ServiceEntries entries = Entries();
  if (!ValidateService(entries, count_, locale_).ok() || !Budget->Problem().isEmpty()) {
    btnOK->setEnabled(false);
    MessageBox::Show(MessageBoxSpec{QStringLiteral("WARNING - Incorrect Parameters"),
                                    QStringLiteral("Not All Of The Options You Have Selected Have Been Entered "
                                                   "Correctly!\n\nPlease review your options for this service. The "
                                                   "information you have\nentered is either incomplete or "
                                                   "inappropriate."),
                                    MessageButtons::Ok, MessageIcon::Exclamation, 0},
                     this);
    return;
  }
  const int other = FindOtherServiceWithNumber(config_, entries.Number, isNew_ ? -1 : index_);
  if (other >= 0) {
    const MessageButton answer = MessageBox::Show(
        MessageBoxSpec{QStringLiteral("WARNING"),
                       QStringLiteral("The Dialled Number ") + entries.Number.trimmed() +
                           QStringLiteral(" Is Already Used By The Service '") +
                           config_.Services[static_cast<size_t>(other)].ServiceName +
                           QStringLiteral("'!\n\nSessions on this number are counted for the first service with it "
                                          "only. Press OK to keep the number anyway."),
                       MessageButtons::OkCancel, MessageIcon::Exclamation, 0},
        this);
    if (answer != MessageButton::Ok) {
      TabStrip1->setCurrentIndex(0);
      txtNumber->setFocus();
      return;
    }
  }
  config_.Services[static_cast<size_t>(index_)] = BuildService(entries, working_, count_, locale_);
  config_.Services[static_cast<size_t>(index_)].Budget = Budget->Budget();
  accept();
}

void frmService::btnCancel_Click() { reject(); }

}  // namespace mirolat
