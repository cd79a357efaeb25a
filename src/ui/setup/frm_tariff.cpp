#include "ui/setup/frm_tariff.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
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

frmTariff::~frmTariff() {
  // A list that loses the focus while the window goes says it was chosen;
  // nothing here may answer once the editor's own state is gone.
  delete leave_;
  for (QComboBox* list : findChildren<QComboBox*>()) {
    list->disconnect(this);
    if (QLineEdit* edit = list->lineEdit()) edit->disconnect(this);
  }
}

void frmTariff::BuildControls() {
  setStyleSheet(QStringLiteral("QLineEdit:disabled { background-color: rgb(192, 192, 192); color: rgb(64, 64, 64); }"));
  auto* outer = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  lstDialTimeTariffDescrip = List("lstDialTimeTariffDescrip", "Tariff Description", TariffDescriptionChoices());
  lstDialTimeTariffDialDays = List("lstDialTimeTariffDialDays", "Which Days?", TariffDayChoices(locale_));
  lstDialTimeTariffDialStart = List("lstDialTimeTariffDialStart", "Start Time (24 Hour Format)", TariffStartChoices());
  lstDialTimeTariffDialEnd = List("lstDialTimeTariffDialEnd", "End Time (24 Hour Format)", TariffEndChoices());
  // A time is typed as it is read, without completion from the list: leaving
  // the list takes the time or refuses it.
  for (QComboBox* list : {lstDialTimeTariffDialStart, lstDialTimeTariffDialEnd}) {
    list->setCompleter(nullptr);
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
  // Why OK is disabled, or what the editor just did to an entry.
  lblProblem = new QLabel;
  lblProblem->setObjectName(QStringLiteral("lblProblem"));
  lblProblem->setWordWrap(true);

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
  outer->addWidget(lblProblem);
  auto* buttons = new QHBoxLayout;
  btnHelp = new QPushButton(QStringLiteral("&Help"));
  btnHelp->setObjectName(QStringLiteral("btnHelp"));
  btnCancel = new QPushButton(QStringLiteral("&Cancel"));
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnOK = new QPushButton(QStringLiteral("&OK"));
  btnOK->setObjectName(QStringLiteral("btnOK"));
  for (QPushButton* b : {btnHelp, btnCancel, btnOK}) b->setAutoDefault(false);
  btnOK->setDefault(true);
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
  for (QComboBox* list : {lstDialTimeTariffDescrip, lstDialTimeTariffDialDays, lstDialTimeTariffDialStart,
                          lstDialTimeTariffDialEnd}) {
    connect(list->lineEdit(), &QLineEdit::textEdited, this, [this] { ClearNotice(); });
  }
  for (QComboBox* list : {lstDialTimeTariffDialStart, lstDialTimeTariffDialEnd}) {
    // A time picked from the list is taken at once; a typed one when it is left.
    connect(list, &QComboBox::activated, this, [this, list] {
      if (list->currentText() == shown_.value(list)) return;  // the text was taken already
      ClearNotice();
      Time_LostFocus(list);
    });
    leave_->Watch(list, [this, list] { return Time_LostFocus(list); });
  }
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
  lstDialTimeTariffDescrip->setCurrentText(e.Description);
  lstDialTimeTariffDialDays->setCurrentText(e.AppliesDays);
  lstDialTimeTariffDialStart->setCurrentText(e.Start);
  lstDialTimeTariffDialEnd->setCurrentText(e.End);
  txtDialTimeTariffDialRate->setText(e.DialRate);
  txtDialTimeTariffMinuteRate->setText(e.PerMinuteRate);
  txtDialTimeTariffAfterMins->setText(e.AfterMinutes);
  txtDialTimeTariffAfterSecs->setText(e.AfterSeconds);
  shown_[lstDialTimeTariffDialStart] = e.Start;
  shown_[lstDialTimeTariffDialEnd] = e.End;
  shown_[txtDialTimeTariffAfterMins] = e.AfterMinutes;
  shown_[txtDialTimeTariffAfterSecs] = e.AfterSeconds;
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

void frmTariff::Refuse(QWidget* box, TariffField field, const QString& typed) {
  Beep();
  notice_ = RefusedTariffEntry(field, typed);
  auto* list = qobject_cast<QComboBox*>(box);
  QLineEdit* edit = list != nullptr ? list->lineEdit() : qobject_cast<QLineEdit*>(box);
  edit->setText(shown_.value(box));
  ValidateEntries();
  QTimer::singleShot(0, box, [box, edit] {
    box->setFocus();
    edit->selectAll();
  });
}

void frmTariff::ClearNotice() {
  if (notice_.isEmpty()) return;
  notice_.clear();
  ValidateEntries();
}

void frmTariff::ShowAssist(QComboBox* list) {
  const TimeOfDay t = ReadHhMm(list->currentText());
  lblAssist->setText(t >= 0 ? MediumTimeText(t, locale_) : QString());
  lblAssist->show();
}

// ---------------------------------------------------------------- times

void frmTariff::Start_Changed() {
  if (lstDialTimeTariffDialStart->hasFocus()) ShowAssist(lstDialTimeTariffDialStart);
  ValidateEntries();
}

void frmTariff::End_Changed() {
  if (lstDialTimeTariffDialEnd->hasFocus()) ShowAssist(lstDialTimeTariffDialEnd);
  ValidateEntries();
}

bool frmTariff::Time_LostFocus(QComboBox* list) {
  const bool isStart = list == lstDialTimeTariffDialStart;
  const QString text = list->currentText();
  if (!text.isEmpty() && ReadHhMm(text) < 0) {
    Refuse(list, isStart ? TariffField::Start : TariffField::End, text);
    return false;
  }
  shown_[list] = text;
  // The other time follows where it would come on the wrong side, and the
  // line below says so.
  QComboBox* other = isStart ? lstDialTimeTariffDialEnd : lstDialTimeTariffDialStart;
  const QString start = lstDialTimeTariffDialStart->currentText();
  const QString end = lstDialTimeTariffDialEnd->currentText();
  const QString moved = isStart ? EndAfterStartChange(start, end) : StartAfterEndChange(start, end);
  if (!text.isEmpty() && moved != other->currentText()) {
    other->setCurrentText(moved);
    shown_[other] = moved;
    notice_ = MovedTariffTime(isStart ? TariffField::End : TariffField::Start, moved);
  }
  ValidateEntries();
  return true;
}

// ---------------------------------------------------------------- amounts and threshold

void frmTariff::Amount_Changed(QLineEdit* box) {
  notice_.clear();
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
  // Nothing typed, or only the decimal separator, is 0; anything else must be an amount.
  const QString text = box->text().trimmed();
  const bool nothing = text.isEmpty() || text == locale_.MoneyDecimalSeparator;
  const std::optional<double> amount = nothing ? std::optional<double>(0) : ReadAmount(text, locale_);
  if (!amount) {
    Refuse(box, box == txtDialTimeTariffDialRate ? TariffField::DialRate : TariffField::PerMinuteRate, box->text());
    return false;
  }
  shown_[box] = FormatAmount(*amount, 4, locale_);
  box->setText(shown_[box]);
  if (box == txtDialTimeTariffMinuteRate) ApplyPerMinuteRule(true);
  ValidateEntries();
  return true;
}

void frmTariff::ApplyPerMinuteRule(bool moveFocus) {
  const bool perMinute = ReadAmount(txtDialTimeTariffMinuteRate->text(), locale_).value_or(0) > 0;
  if (!perMinute) {
    for (QLineEdit* box : {txtDialTimeTariffAfterMins, txtDialTimeTariffAfterSecs}) {
      box->setText(QStringLiteral("0"));
      shown_[box] = box->text();
    }
  }
  txtDialTimeTariffAfterMins->setEnabled(perMinute);
  txtDialTimeTariffAfterSecs->setEnabled(perMinute);
  ValidateEntries();
  if (moveFocus && perMinute && isVisible()) {
    QTimer::singleShot(0, txtDialTimeTariffAfterMins, [this] { txtDialTimeTariffAfterMins->setFocus(); });
  }
}

void frmTariff::Threshold_Changed(QLineEdit* box, int max) {
  notice_.clear();
  if (!box->text().isEmpty() && ReadThreshold(box->text(), max) < 0) {
    Beep();
    KeepFocus(box);
  }
  ValidateEntries();
}

bool frmTariff::Threshold_LostFocus(QLineEdit* box) {
  const bool minutes = box == txtDialTimeTariffAfterMins;
  if (box->text().trimmed().isEmpty()) box->setText(QStringLiteral("0"));
  const qint64 value = ReadThreshold(box->text(), minutes ? kMaxThresholdMinutes : kMaxThresholdSeconds);
  if (value < 0) {
    Refuse(box, minutes ? TariffField::AfterMinutes : TariffField::AfterSeconds, box->text());
    return false;
  }
  shown_[box] = QString::number(value);
  box->setText(shown_[box]);
  ValidateEntries();
  if (box == txtDialTimeTariffAfterSecs && btnOK->isEnabled() && isVisible()) btnOK->setFocus();
  return true;
}

void frmTariff::ValidateEntries() {
  if (lblProblem == nullptr) return;  // still being built
  const TariffEntries entries = Entries();
  btnOK->setEnabled(ValidateTariff(entries, locale_).ok());
  lblProblem->setText(notice_.isEmpty() ? TariffProblem(entries, locale_) : notice_);
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
