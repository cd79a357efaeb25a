#include "ui/setup/frm_tariff.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "core/model/option_entries.h"
#include "ui/common/help_window.h"
#include "ui/dialogs/beep.h"
#include "ui/dialogs/message_box.h"

namespace mirolat {

namespace {

QComboBox* List(const char* name, const char* toolTip, const QStringList& items) {
  auto* list = new QComboBox;
  list->setObjectName(QLatin1String(name));
  list->setToolTip(QLatin1String(toolTip));
  list->setEditable(true);
  list->setInsertPolicy(QComboBox::NoInsert);
  list->addItems(items);
  return list;
}

QLineEdit* Box(const char* name, const char* toolTip) {
  auto* box = new QLineEdit;
  box->setObjectName(QLatin1String(name));
  box->setToolTip(QLatin1String(toolTip));
  box->setMaximumWidth(70);
  return box;
}

}  // namespace

frmTariff::frmTariff(std::array<Tariff, kMaxTariffs>& tariffs, int& count, int position, const LocaleValues& locale,
                     QWidget* parent)
    : QDialog(parent), tariffs_(tariffs), count_(count), position_(position), locale_(locale) {
  setObjectName(QStringLiteral("frmTariff"));
  setWindowTitle(QStringLiteral("MRL - Dial-up Tariff Definition"));
  setModal(true);
  leave_ = new LeaveWatcher(this);
  BuildControls();
  InstallHelpKey(this, kTariffEditorHelpTopic);
  Load();
}

void frmTariff::BuildControls() {
  setStyleSheet(QStringLiteral("QLineEdit:disabled { background-color: rgb(192, 192, 192); color: rgb(64, 64, 64); }"));
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  lstDialTimeTariffDescrip = List("lstDialTimeTariffDescrip", "Tariff Description", TariffDescriptionChoices());
  lstDialTimeTariffDialDays = List("lstDialTimeTariffDialDays", "Which Days?", TariffDayChoices(locale_));
  lstDialTimeTariffDialStart = List("lstDialTimeTariffDialStart", "Start Time (24 Hour Format)", TariffStartChoices());
  lstDialTimeTariffDialEnd = List("lstDialTimeTariffDialEnd", "End Time (24 Hour Format)", TariffEndChoices());
  // Times are typed as hh:mm and nothing else.
  const QRegularExpression time(QStringLiteral("([01]?\\d|2[0-3]?)(:[0-5]?\\d?)?"));
  for (QComboBox* list : {lstDialTimeTariffDialStart, lstDialTimeTariffDialEnd}) {
    list->setValidator(new QRegularExpressionValidator(time, list));
    list->setMaxVisibleItems(12);
    list->installEventFilter(this);
  }
  txtDialTimeTariffDialRate = Box("txtDialTimeTariffDialRate", "Minimum Call Charge");
  txtDialTimeTariffMinuteRate = Box("txtDialTimeTariffMinuteRate", "Cost Per Minute");
  txtDialTimeTariffAfterMins = Box("txtDialTimeTariffAfterMins", "Threshold Minutes");
  txtDialTimeTariffAfterSecs = Box("txtDialTimeTariffAfterSecs", "Threshold Seconds");
  lblAssist = new QLabel;
  lblAssist->setObjectName(QStringLiteral("lblAssist"));
  lblAssist->setStyleSheet(QStringLiteral("color: rgb(0, 0, 128);"));
  lblAssist->hide();

  grid->addWidget(new QLabel(QStringLiteral("Description:")), 0, 0);
  grid->addWidget(lstDialTimeTariffDescrip, 0, 1, 1, 4);
  grid->addWidget(new QLabel(QStringLiteral("Applies:")), 1, 0);
  auto* applies = new QHBoxLayout;
  applies->addWidget(lstDialTimeTariffDialDays, 1);
  applies->addWidget(lstDialTimeTariffDialStart);
  applies->addWidget(new QLabel(QStringLiteral("-")));
  applies->addWidget(lstDialTimeTariffDialEnd);
  grid->addLayout(applies, 1, 1, 1, 4);
  grid->addWidget(new QLabel(QStringLiteral("Costs:")), 2, 0);
  grid->addWidget(txtDialTimeTariffDialRate, 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("Per Call +")), 2, 2);
  grid->addWidget(txtDialTimeTariffMinuteRate, 2, 3);
  grid->addWidget(new QLabel(QStringLiteral("Per Min")), 2, 4);
  grid->addWidget(new QLabel(QStringLiteral("After:")), 3, 0);
  grid->addWidget(txtDialTimeTariffAfterMins, 3, 1);
  grid->addWidget(new QLabel(QStringLiteral("Minutes")), 3, 2);
  grid->addWidget(txtDialTimeTariffAfterSecs, 3, 3);
  grid->addWidget(new QLabel(QStringLiteral("Seconds")), 3, 4);
  grid->setColumnStretch(5, 1);
  outer->addLayout(grid);
  outer->addWidget(lblAssist);
  auto* buttons = new QHBoxLayout;
  btnHelp = new QPushButton(QStringLiteral("&Help"));
  btnHelp->setObjectName(QStringLiteral("btnHelp"));
  btnCancel = new QPushButton(QStringLiteral("&Cancel"));
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnOK = new QPushButton(QStringLiteral("&OK"));
  btnOK->setObjectName(QStringLiteral("btnOK"));
  for (QPushButton* b : {btnHelp, btnCancel, btnOK}) b->setAutoDefault(false);
  buttons->addWidget(btnHelp);
  buttons->addStretch();
  buttons->addWidget(btnCancel);
  buttons->addWidget(btnOK);
  outer->addLayout(buttons);

  connect(btnOK, &QPushButton::clicked, this, [this] { btnOK_Click(); });
  connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancel_Click(); });
  connect(btnHelp, &QPushButton::clicked, this, [] { ShowHelp(kTariffEditorHelpTopic); });
  connect(lstDialTimeTariffDescrip, &QComboBox::currentTextChanged, this, [this] { ValidateEntries(); });
  connect(lstDialTimeTariffDialDays, &QComboBox::currentTextChanged, this, [this] { ValidateEntries(); });
  connect(lstDialTimeTariffDialStart, &QComboBox::currentTextChanged, this, [this] { Start_Changed(); });
  connect(lstDialTimeTariffDialEnd, &QComboBox::currentTextChanged, this, [this] { End_Changed(); });
  for (QLineEdit* box : {txtDialTimeTariffDialRate, txtDialTimeTariffMinuteRate}) {
    connect(box, &QLineEdit::textEdited, this, [this, box] { Amount_Changed(box); });
    leave_->Watch(box, [this, box] { return Amount_LostFocus(box); });
    box->installEventFilter(this);
  }
  connect(txtDialTimeTariffAfterMins, &QLineEdit::textEdited, this,
          [this] { Threshold_Changed(txtDialTimeTariffAfterMins, kMaxThresholdMinutes); });
  connect(txtDialTimeTariffAfterSecs, &QLineEdit::textEdited, this,
          [this] { Threshold_Changed(txtDialTimeTariffAfterSecs, kMaxThresholdSeconds); });
  for (QLineEdit* box : {txtDialTimeTariffAfterMins, txtDialTimeTariffAfterSecs}) {
    leave_->Watch(box, [this, box] { return Threshold_LostFocus(box); });
    box->installEventFilter(this);
  }
}

void frmTariff::Load() {
  const TariffEntries e =
      position_ == 0 ? NewTariffEntries(locale_) : EntriesOf(tariffs_[static_cast<size_t>(position_ - 1)], locale_);
  adjusting_ = true;  // filling the lists moves nothing
  lstDialTimeTariffDescrip->setCurrentText(e.Description);
  lstDialTimeTariffDialDays->setCurrentText(e.AppliesDays);
  lstDialTimeTariffDialStart->setCurrentText(e.Start);
  lstDialTimeTariffDialEnd->setCurrentText(e.End);
  adjusting_ = false;
  txtDialTimeTariffDialRate->setText(e.DialRate);
  txtDialTimeTariffMinuteRate->setText(e.PerMinuteRate);
  txtDialTimeTariffAfterMins->setText(e.AfterMinutes);
  txtDialTimeTariffAfterSecs->setText(e.AfterSeconds);
  for (QLineEdit* box : {txtDialTimeTariffDialRate, txtDialTimeTariffMinuteRate}) Amount_LostFocus(box);
  ApplyPerMinuteRule(false);
  ValidateEntries();
}

void frmTariff::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  lblAssist->hide();
  lstDialTimeTariffDescrip->setFocus();
  if (position_ == 0) lstDialTimeTariffDescrip->lineEdit()->selectAll();
}

TariffEntries frmTariff::Entries() const {
  return {lstDialTimeTariffDescrip->currentText(),   lstDialTimeTariffDialDays->currentText(),
          lstDialTimeTariffDialStart->currentText(), lstDialTimeTariffDialEnd->currentText(),
          txtDialTimeTariffDialRate->text(),         txtDialTimeTariffMinuteRate->text(),
          txtDialTimeTariffAfterMins->text(),        txtDialTimeTariffAfterSecs->text()};
}

bool frmTariff::eventFilter(QObject* watched, QEvent* event) {
  auto* list = qobject_cast<QComboBox*>(watched);
  if (event->type() == QEvent::FocusIn) {
    if (list == lstDialTimeTariffDialStart && list->currentText().isEmpty())
      list->setCurrentText(QStringLiteral("00:00"));
    if (list == lstDialTimeTariffDialStart || list == lstDialTimeTariffDialEnd) ShowAssist(list);
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (position_ == 0 && box != nullptr) QTimer::singleShot(0, box, [box] { box->selectAll(); });
  } else if (event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (list == lstDialTimeTariffDialStart || list == lstDialTimeTariffDialEnd) {
      if (reason != Qt::PopupFocusReason) lblAssist->hide();
    }
  }
  return QDialog::eventFilter(watched, event);
}

void frmTariff::KeepFocus(QWidget* box) {
  QTimer::singleShot(0, box, [box] { box->setFocus(); });
}

void frmTariff::ShowAssist(QComboBox* list) {
  const TimeOfDay t = ReadHhMm(list->currentText());
  lblAssist->setText(t >= 0 ? MediumTimeText(t, locale_) : QString());
  lblAssist->show();
}

// ---------------------------------------------------------------- times

void frmTariff::Start_Changed() {
  if (adjusting_) return;
  if (lstDialTimeTariffDialStart->hasFocus()) ShowAssist(lstDialTimeTariffDialStart);
  const QString end =
      EndAfterStartChange(lstDialTimeTariffDialStart->currentText(), lstDialTimeTariffDialEnd->currentText());
  if (end != lstDialTimeTariffDialEnd->currentText()) {
    adjusting_ = true;
    lstDialTimeTariffDialEnd->setCurrentText(end);
    adjusting_ = false;
  }
  ValidateEntries();
}

void frmTariff::End_Changed() {
  if (adjusting_) return;
  if (lstDialTimeTariffDialEnd->hasFocus()) ShowAssist(lstDialTimeTariffDialEnd);
  const QString start =
      StartAfterEndChange(lstDialTimeTariffDialStart->currentText(), lstDialTimeTariffDialEnd->currentText());
  if (start != lstDialTimeTariffDialStart->currentText()) {
    adjusting_ = true;
    lstDialTimeTariffDialStart->setCurrentText(start);
    adjusting_ = false;
  }
  ValidateEntries();
}

// ---------------------------------------------------------------- amounts and threshold

void frmTariff::Amount_Changed(QLineEdit* box) {
  const QString text = box->text();
  const QString& sep = locale_.MoneyDecimalSeparator;
  const bool typing = !sep.isEmpty() && text.endsWith(sep) &&
                      (text == sep || ReadAmount(text.chopped(sep.size()), locale_).has_value());
  if (!text.isEmpty() && !typing && !ReadAmount(text, locale_)) {
    Beep();
    KeepFocus(box);
  }
  ValidateEntries();
}

bool frmTariff::Amount_LostFocus(QLineEdit* box) {
  const std::optional<double> amount = ReadAmount(box->text(), locale_);
  box->setText(FormatAmount(amount.value_or(0), 4, locale_));
  if (box == txtDialTimeTariffMinuteRate) ApplyPerMinuteRule(true);
  ValidateEntries();
  return amount.has_value();
}

void frmTariff::ApplyPerMinuteRule(bool moveFocus) {
  const bool perMinute = ReadAmount(txtDialTimeTariffMinuteRate->text(), locale_).value_or(0) > 0;
  if (!perMinute) {
    txtDialTimeTariffAfterMins->setText(QStringLiteral("0"));
    txtDialTimeTariffAfterSecs->setText(QStringLiteral("0"));
  }
  txtDialTimeTariffAfterMins->setEnabled(perMinute);
  txtDialTimeTariffAfterSecs->setEnabled(perMinute);
  ValidateEntries();
  if (moveFocus && perMinute && isVisible()) {
    QTimer::singleShot(0, txtDialTimeTariffAfterMins, [this] { txtDialTimeTariffAfterMins->setFocus(); });
  }
}

void frmTariff::Threshold_Changed(QLineEdit* box, int max) {
  if (!box->text().isEmpty() && ReadThreshold(box->text(), max) < 0) {
    Beep();
    KeepFocus(box);
  }
  ValidateEntries();
}

bool frmTariff::Threshold_LostFocus(QLineEdit* box) {
  const int max = box == txtDialTimeTariffAfterMins ? kMaxThresholdMinutes : kMaxThresholdSeconds;
  if (box->text().trimmed().isEmpty()) box->setText(QStringLiteral("0"));
  const qint64 value = ReadThreshold(box->text(), max);
  if (value >= 0) box->setText(QString::number(value));
  ValidateEntries();
  if (box == txtDialTimeTariffAfterSecs && btnOK->isEnabled() && isVisible()) btnOK->setFocus();
  return value >= 0;
}

void frmTariff::ValidateEntries() {
  if (btnOK == nullptr) return;
  btnOK->setEnabled(ValidateTariff(Entries(), locale_).ok());
}

// ---------------------------------------------------------------- OK, Cancel

void frmTariff::btnOK_Click() {
  const TariffEntries entries = Entries();
  if (!ValidateTariff(entries, locale_).ok()) {
    btnOK->setEnabled(false);
    return;
  }
  if (position_ == 0 && TariffExists(entries.Description, tariffs_, count_) != 0) {
    MessageBox::Show(
        MessageBoxSpec{QStringLiteral("WARNING"), QStringLiteral("A Tariff With This Name Already Exists!"),
                       MessageButtons::Ok, MessageIcon::Exclamation, 0},
        this);
    lstDialTimeTariffDescrip->setFocus();
    return;
  }
  int position = position_;
  if (position == 0) {
    if (count_ >= kMaxTariffs) return;
    position = ++count_;
  }
  tariffs_[static_cast<size_t>(position - 1)] = BuildTariff(entries, locale_);
  accept();
}

void frmTariff::btnCancel_Click() { reject(); }

}  // namespace mirolat
