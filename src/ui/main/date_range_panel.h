#pragma once
// The report range of the main window: the start and end date boxes with
// their labels, arrows and day spin buttons, the week and month spin buttons,
// the calendar and its date title. Typing, the calendar, the spin buttons and
// the quick-date commands all write a date into a box; the range rules
// (core/app/report_range.h) then pull it back into the current file's dates
// and drag the other box along. The panel keeps AppState's report range.
#include <QCalendarWidget>
#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <functional>

#include "core/app/report_range.h"
#include "ui/main/spin_button.h"

namespace mirolat {

struct AppState;

class DateRangePanel : public QWidget {
  Q_OBJECT
 public:
  DateRangePanel(AppState& state, QWidget* parent);

  QFrame* inputFrame = nullptr;
  QLineEdit* inputStarting = nullptr;
  QLineEdit* inputEnding = nullptr;
  SpinButton* UpDown1 = nullptr;
  SpinButton* UpDown2 = nullptr;
  SpinButton* UpDown3 = nullptr;
  SpinButton* UpDown4 = nullptr;
  QLabel* lblWeek = nullptr;   // names UpDown3 for the keyboard (Alt+W)
  QLabel* lblMonth = nullptr;  // names UpDown4 (Alt+M)
  QCalendarWidget* Calendar1 = nullptr;
  QFrame* CalendarFocus = nullptr;  // drawn round the calendar while its days have the focus
  QLabel* lblDateTitle = nullptr;
  QLabel* LabelStarting = nullptr;
  QLabel* LabelEnding = nullptr;
  QLabel* imgStartArrow = nullptr;
  QLabel* imgEndArrow = nullptr;

  // 1 start box, 2 end box, 0 before either had the focus.
  int ActiveDateField() const { return static_cast<int>(active_); }

  // What "today" is (tests pin it).
  void SetTodayProvider(std::function<QDate()> today) { today_ = std::move(today); }
  Date Today() const;

  // The boxes' mask from the locale's date separator.
  void SetDateMask();
  // The calendar at the file's last day (today for a file without dates);
  // both dates take it.
  void InitDateRange();
  // The file changed on disk: the range stays as the user chose it while it
  // lies within the file, clamped into it otherwise (InitDateRange when there
  // is nothing to keep).
  void KeepDateRange();
  // The panel larger than its natural size by (dx, dy): the calendar takes
  // the room, its left edge moving right by a third of dx.
  void SetExtraRoom(int dx, int dy);
  // Date boxes, spin buttons and their labels.
  void SetControlsEnabled(bool enabled);
  void ShowDateTitle();
  // Writes the quick date into the active box (nothing before a box had the focus).
  void ApplyQuickDate(QuickDate command);
  // Writes a whole range into both boxes (the billing-cycle quick dates).
  void ApplyRange(const ReportRange& range);

  // The focus entered or left a box (focus moves inside the window only).
  void BoxGotFocus(DateBox box);
  void BoxLostFocus(DateBox box);

  // The controls that follow the focus order, first to last.
  QList<QWidget*> TabOrder() const;

 Q_SIGNALS:
  // The status message a focus change or a range rule gives.
  void Message(StatusMessageId id);
  // The range or its validity changed: the caption follows.
  void RangeChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  QLineEdit* BoxOf(DateBox box) const;
  DateBox BoxFor(const QObject* widget) const;
  void OnTextEdited(DateBox box);
  // Writes `date` into the box and runs the rules, also when the text stays the same.
  void WriteBoxDate(DateBox box, Date date);
  void ShowInBox(DateBox box, Date date);
  void Apply(const RangeEntry& entry);
  void Calendar1_Click();
  void CalendarStep(int days, int months);
  void StepBox(DateBox box, int days);
  void SetCalendarDate(Date date);
  Date CalendarDate() const;

  AppState& state_;
  DateBox active_ = DateBox::None;
  bool writing_ = false;
  std::function<QDate()> today_;
};

}  // namespace mirolat
