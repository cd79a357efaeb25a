#include "ui/main/date_range_panel.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QStyle>
#include <QTimer>

#include "core/app/app_state.h"
#include "core/common/date_entry.h"
#include "ui/dialogs/beep.h"

namespace mirolat {

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setGeometry(geometry);
  return l;
}

}  // namespace

DateRangePanel::DateRangePanel(AppState& state, QWidget* parent)
    : QWidget(parent), state_(state), today_([] { return QDate::currentDate(); }) {
  setObjectName(QStringLiteral("DateRange"));
  BuildControls();
  resize(572, 216);
}

void DateRangePanel::BuildControls() {
  inputFrame = new QFrame(this);
  inputFrame->setObjectName(QStringLiteral("inputFrame"));
  inputFrame->setFrameShape(QFrame::StyledPanel);
  inputFrame->setGeometry(0, 0, 260, 130);

  LabelStarting = MakeLabel(inputFrame, "LabelStarting", QStringLiteral("Starting Date: "), QRect(10, 16, 95, 24));
  LabelEnding = MakeLabel(inputFrame, "LabelEnding", QStringLiteral("Ending Date: "), QRect(10, 52, 95, 24));
  for (QLabel* l : {LabelStarting, LabelEnding}) {
    l->setToolTip(QStringLiteral("Double click here to reset to current date"));
    l->installEventFilter(this);
  }
  const QPixmap arrow = style()->standardIcon(QStyle::SP_ArrowRight).pixmap(16, 16);
  imgStartArrow = MakeLabel(inputFrame, "imgStartArrow", QString(), QRect(105, 20, 16, 16));
  imgEndArrow = MakeLabel(inputFrame, "imgEndArrow", QString(), QRect(105, 56, 16, 16));
  for (QLabel* l : {imgStartArrow, imgEndArrow}) {
    l->setPixmap(arrow);
    l->hide();
  }

  const auto box = [this](const char* name, const QString& tip, int y) {
    auto* b = new QLineEdit(inputFrame);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(125, y, 85, 24);
    b->setToolTip(tip);
    b->installEventFilter(this);
    return b;
  };
  inputStarting = box("inputStarting", QStringLiteral("Enter the starting date."), 16);
  inputEnding = box("inputEnding", QStringLiteral("Enter the ending date."), 52);

  const auto spin = [this](const char* name, const QString& tip, const QRect& geometry) {
    auto* s = new SpinButton(inputFrame);
    s->setObjectName(QString::fromLatin1(name));
    s->setToolTip(tip);
    s->setGeometry(geometry);
    return s;
  };
  UpDown1 = spin("UpDown1", QStringLiteral("Increments/de-increments starting date by one day"),
                 QRect(212, 16, 17, 24));
  UpDown2 = spin("UpDown2", QStringLiteral("Increments/de-increments ending date by one day"),
                 QRect(212, 52, 17, 24));
  // The week and month steps are reached with Tab or their labels' keys and
  // step with the arrow keys; the day steps are the date boxes' own Up and Down.
  lblWeek = MakeLabel(inputFrame, "lblWeek", QStringLiteral("&Week"), QRect(70, 94, 50, 20));
  UpDown3 = spin("UpDown3", QStringLiteral("Increments/de-increments date by one week"), QRect(125, 90, 17, 28));
  lblMonth = MakeLabel(inputFrame, "lblMonth", QStringLiteral("&Month"), QRect(150, 94, 50, 20));
  UpDown4 = spin("UpDown4", QStringLiteral("Increments/de-increments date by one month"), QRect(205, 90, 17, 28));
  lblWeek->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  lblMonth->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  for (SpinButton* s : {UpDown3, UpDown4}) s->SetKeyboardFocus(true);
  lblWeek->setBuddy(UpDown3);
  lblMonth->setBuddy(UpDown4);

  lblDateTitle = MakeLabel(this, "lblDateTitle", QString(), QRect(280, 0, 290, 22));
  lblDateTitle->setAlignment(Qt::AlignCenter);
  CalendarFocus = new QFrame(this);
  CalendarFocus->setObjectName(QStringLiteral("CalendarFocus"));
  CalendarFocus->setGeometry(278, 22, 294, 194);
  CalendarFocus->setStyleSheet(QStringLiteral("#CalendarFocus { border: 2px solid palette(highlight); }"));
  CalendarFocus->hide();
  Calendar1 = new QCalendarWidget(this);
  Calendar1->setObjectName(QStringLiteral("Calendar1"));
  Calendar1->setGeometry(280, 24, 290, 190);
  Calendar1->setToolTip(QStringLiteral("Click on the calendar to insert a date"));
  Calendar1->setGridVisible(true);
  if (auto* days = Calendar1->findChild<QAbstractItemView*>()) days->installEventFilter(this);

  connect(inputStarting, &QLineEdit::textChanged, this, [this] { OnTextEdited(DateBox::Start); });
  connect(inputEnding, &QLineEdit::textChanged, this, [this] { OnTextEdited(DateBox::End); });
  connect(Calendar1, &QCalendarWidget::clicked, this, &DateRangePanel::Calendar1_Click);
  // Enter on a day picked with the arrow keys is the keyboard's click.
  connect(Calendar1, &QCalendarWidget::activated, this, &DateRangePanel::Calendar1_Click);
  connect(Calendar1, &QCalendarWidget::selectionChanged, this, &DateRangePanel::ShowDateTitle);
  connect(UpDown1, &SpinButton::UpClick, this, [this] { StepBox(DateBox::Start, 1); });
  connect(UpDown1, &SpinButton::DownClick, this, [this] { StepBox(DateBox::Start, -1); });
  connect(UpDown2, &SpinButton::UpClick, this, [this] { StepBox(DateBox::End, 1); });
  connect(UpDown2, &SpinButton::DownClick, this, [this] { StepBox(DateBox::End, -1); });
  connect(UpDown3, &SpinButton::UpClick, this, [this] { CalendarStep(7, 0); });
  connect(UpDown3, &SpinButton::DownClick, this, [this] { CalendarStep(-7, 0); });
  connect(UpDown4, &SpinButton::UpClick, this, [this] { CalendarStep(0, 1); });
  connect(UpDown4, &SpinButton::DownClick, this, [this] { CalendarStep(0, -1); });
}

QList<QWidget*> DateRangePanel::TabOrder() const {
  return {inputStarting, inputEnding, UpDown3, UpDown4, Calendar1};
}

Date DateRangePanel::Today() const { return FromQDate(today_()); }
Date DateRangePanel::CalendarDate() const { return FromQDate(Calendar1->selectedDate()); }

void DateRangePanel::SetCalendarDate(Date date) {
  if (date <= 0) return;
  Calendar1->setSelectedDate(ToQDate(date));
}

void DateRangePanel::SetDateMask() {
  const QString sep = QStringLiteral("\\") + state_.Locale.DateSeparator;
  const QString mask = QStringLiteral("99") + sep + QStringLiteral("99") + sep + QStringLiteral("99");
  for (QLineEdit* box : {inputStarting, inputEnding}) {
    if (box->inputMask() != mask + QStringLiteral("; ") && box->inputMask() != mask) box->setInputMask(mask);
  }
}

void DateRangePanel::SetControlsEnabled(bool enabled) {
  for (QWidget* w : {static_cast<QWidget*>(inputStarting), static_cast<QWidget*>(inputEnding),
                     static_cast<QWidget*>(UpDown1), static_cast<QWidget*>(UpDown2), static_cast<QWidget*>(UpDown3),
                     static_cast<QWidget*>(UpDown4), static_cast<QWidget*>(LabelStarting),
                     static_cast<QWidget*>(LabelEnding), static_cast<QWidget*>(lblWeek),
                     static_cast<QWidget*>(lblMonth)}) {
    w->setEnabled(enabled);
  }
}

void DateRangePanel::ShowDateTitle() {
  lblDateTitle->setText(state_.Locale.Locale.toString(Calendar1->selectedDate(), QLocale::LongFormat));
}

void DateRangePanel::InitDateRange() {
  const CurrentFileState& f = state_.File;
  const bool fromLog = f.ArchiveOpen || (f.LogExists && !f.NotAModemLog && !f.LogCorrupt && !f.LogEmpty);
  // An empty archive has no last date: today stands in for it.
  SetCalendarDate(fromLog && f.LogLastDate > 0 ? f.LogLastDate : Today());
  const Date day = CalendarDate();
  state_.ReportStartDate = day;
  state_.ReportEndDate = day;
  WriteBoxDate(DateBox::Start, day);
  WriteBoxDate(DateBox::End, day);
}

void DateRangePanel::SetExtraRoom(int dx, int dy) {
  const int shift = dx / 3;
  resize(572 + dx, 216 + dy);
  lblDateTitle->setGeometry(280 + shift, 0, 290 + dx - shift, 22);
  CalendarFocus->setGeometry(278 + shift, 22, 294 + dx - shift, 194 + dy);
  Calendar1->setGeometry(280 + shift, 24, 290 + dx - shift, 190 + dy);
}

void DateRangePanel::KeepDateRange() {
  const ReportRange before{state_.ReportStartDate, state_.ReportEndDate, state_.StartDateValid, state_.EndDateValid};
  const std::optional<ReportRange> kept = RangeAfterFileChange(before, RangeBoundsOf(state_.File));
  if (!kept) {
    InitDateRange();
    return;
  }
  state_.ReportStartDate = kept->start;
  state_.ReportEndDate = kept->end;
  ShowInBox(DateBox::Start, kept->start);
  ShowInBox(DateBox::End, kept->end);
  SetCalendarDate(active_ == DateBox::Start ? kept->start : kept->end);
  Q_EMIT RangeChanged();
  ShowDateTitle();
}

QLineEdit* DateRangePanel::BoxOf(DateBox box) const {
  if (box == DateBox::Start) return inputStarting;
  if (box == DateBox::End) return inputEnding;
  return nullptr;
}

DateBox DateRangePanel::BoxFor(const QObject* widget) const {
  if (widget == inputStarting) return DateBox::Start;
  if (widget == inputEnding) return DateBox::End;
  return DateBox::None;
}

void DateRangePanel::ShowInBox(DateBox box, Date date) {
  const bool was = writing_;
  writing_ = true;
  BoxOf(box)->setText(DateToBoxText(date, state_.Locale));
  writing_ = was;
}

void DateRangePanel::WriteBoxDate(DateBox box, Date date) {
  ShowInBox(box, date);
  OnTextEdited(box);
}

void DateRangePanel::OnTextEdited(DateBox box) {
  if (writing_) return;
  const ReportRange before{state_.ReportStartDate, state_.ReportEndDate, state_.StartDateValid, state_.EndDateValid};
  const Date entered = DateFromBoxText(BoxOf(box)->text(), state_.Locale);
  Apply(EnterDate(before, box, entered, active_, RangeBoundsOf(state_.File)));
}

void DateRangePanel::Apply(const RangeEntry& e) {
  state_.ReportStartDate = e.range.start;
  state_.ReportEndDate = e.range.end;
  state_.StartDateValid = e.range.startValid;
  state_.EndDateValid = e.range.endValid;
  if (e.rewriteStart) ShowInBox(DateBox::Start, e.range.start);
  if (e.rewriteEnd) ShowInBox(DateBox::End, e.range.end);
  for (StatusMessageId message : e.messages) {
    Beep();
    Q_EMIT Message(message);
  }
  SetCalendarDate(e.calendar);
  Q_EMIT RangeChanged();
  ShowDateTitle();
}

void DateRangePanel::BoxGotFocus(DateBox box) {
  active_ = box;
  const bool start = box == DateBox::Start;
  Q_EMIT Message(start ? StatusMessageId::EnterStart : StatusMessageId::EnterEnd);
  imgStartArrow->setVisible(start);
  imgEndArrow->setVisible(!start);
  SetCalendarDate(start ? state_.ReportStartDate : state_.ReportEndDate);
  ShowDateTitle();
}

void DateRangePanel::BoxLostFocus(DateBox box) {
  const bool valid = box == DateBox::Start ? state_.StartDateValid : state_.EndDateValid;
  if (!valid) {
    Beep();
    Q_EMIT Message(StatusMessageId::InvalidDate);
    QLineEdit* edit = BoxOf(box);
    QTimer::singleShot(0, edit, [edit] { edit->setFocus(Qt::OtherFocusReason); });
  }
  Q_EMIT RangeChanged();
}

void DateRangePanel::Calendar1_Click() {
  QLineEdit* box = BoxOf(active_);
  if (box == nullptr) return;
  WriteBoxDate(active_, CalendarDate());
  box->setFocus(Qt::OtherFocusReason);
}

void DateRangePanel::ApplyQuickDate(QuickDate command) {
  if (active_ == DateBox::None) return;
  Date from = active_ == DateBox::Start ? state_.ReportStartDate : state_.ReportEndDate;
  const bool month = command == QuickDate::MonthForward || command == QuickDate::MonthBack;
  if (month) from = CalendarDate();
  const Date target = QuickDateTarget(command, from, Today(), state_.File);
  if (target <= 0) return;
  if (month) SetCalendarDate(target);
  WriteBoxDate(active_, target);
}

void DateRangePanel::ApplyRange(const ReportRange& range) {
  WriteBoxDate(DateBox::Start, range.start);
  WriteBoxDate(DateBox::End, range.end);
}

void DateRangePanel::CalendarStep(int days, int months) {
  if (active_ == DateBox::None) return;
  Calendar1->setSelectedDate(Calendar1->selectedDate().addDays(days).addMonths(months));
  Calendar1_Click();
}

void DateRangePanel::StepBox(DateBox box, int days) {
  SetCalendarDate((box == DateBox::Start ? state_.ReportStartDate : state_.ReportEndDate) + days);
  WriteBoxDate(box, CalendarDate());
  BoxOf(box)->setFocus(Qt::OtherFocusReason);
}

bool DateRangePanel::eventFilter(QObject* watched, QEvent* event) {
  if (const DateBox box = BoxFor(watched); box != DateBox::None && event->type() == QEvent::KeyPress) {
    // Up and Down step the box's day, as its spin button does.
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() == Qt::NoModifier && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
      StepBox(box, key->key() == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  if (watched == LabelStarting || watched == LabelEnding) {
    const DateBox box = watched == LabelStarting ? DateBox::Start : DateBox::End;
    if (event->type() == QEvent::MouseButtonPress) {
      BoxOf(box)->setFocus(Qt::MouseFocusReason);
    } else if (event->type() == QEvent::MouseButtonDblClick) {
      BoxOf(box)->setFocus(Qt::MouseFocusReason);
      WriteBoxDate(box, Today());
    }
  }
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
    if (qobject_cast<QAbstractItemView*>(watched) != nullptr) {
      CalendarFocus->setVisible(event->type() == QEvent::FocusIn);
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace mirolat
