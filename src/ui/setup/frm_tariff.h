#pragma once
// The tariff editor: one time segment of a service's dial-up tariff (days,
// start and end, minimum call charge, charge per minute, free threshold),
// written into the service editor's working tariff list on OK.
#include <QComboBox>
#include <QDialog>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <functional>

#include "ui/dialogs/leave_watcher.h"
#include "core/common/locale_values.h"
#include "core/model/configuration.h"
#include "core/model/tariff_rules.h"

namespace mirolat {

inline constexpr int kTariffEditorHelpTopic = 38;

class frmTariff : public QDialog {
  Q_OBJECT
 public:
  // Edits tariff `position` (1..count) of `tariffs`, or adds one after the
  // last when position is 0 (OK then raises `count`).
  frmTariff(std::array<Tariff, kMaxTariffs>& tariffs, int& count, int position, const LocaleValues& locale,
            QWidget* parent = nullptr);
  ~frmTariff() override;

  TariffEntries Entries() const;

 private:
  // Controls, under the window's own names.
  QComboBox* lstDialTimeTariffDescrip = nullptr;
  QComboBox* lstDialTimeTariffDialDays = nullptr;
  QComboBox* lstDialTimeTariffDialStart = nullptr;
  QComboBox* lstDialTimeTariffDialEnd = nullptr;
  QLineEdit* txtDialTimeTariffDialRate = nullptr;
  QLineEdit* txtDialTimeTariffMinuteRate = nullptr;
  QLineEdit* txtDialTimeTariffAfterMins = nullptr;
  QLineEdit* txtDialTimeTariffAfterSecs = nullptr;
  QLabel* lblAssist = nullptr;
  QLabel* lblProblem = nullptr;  // why OK is disabled, or what was refused or moved
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
  QPushButton* btnHelp = nullptr;

 private Q_SLOTS:
  // Handlers.
  void ValidateEntries();  // enables OK
  void Start_Changed();
  void End_Changed();
  bool Time_LostFocus(QComboBox* list);
  void Amount_Changed(QLineEdit* box);
  bool Amount_LostFocus(QLineEdit* box);
  void Threshold_Changed(QLineEdit* box, int max);
  bool Threshold_LostFocus(QLineEdit* box);
  void btnOK_Click();
  void btnCancel_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  void Load();
  void ApplyPerMinuteRule(bool moveFocus);
  void ShowAssist(QComboBox* list);
  void KeepFocus(QWidget* box);
  // Beeps, puts the box's last accepted text back and keeps the focus there;
  // the line below says why.
  void Refuse(QWidget* box, TariffField field, const QString& typed);
  void ClearNotice();

  std::array<Tariff, kMaxTariffs>& tariffs_;
  int& count_;
  int position_;
  const LocaleValues& locale_;
  QHash<QObject*, QString> shown_;  // each box's last accepted text
  QString notice_;                  // what was refused or moved, until the next edit
  LeaveWatcher* leave_ = nullptr;
};

}  // namespace mirolat
