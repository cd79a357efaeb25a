#pragma once
// The service editor: one dialled service's description and number, how a
// call to it is charged (per call, or time-segmented tariffs kept in a
// working list and edited in the tariff editor), and how the provider
// charges for connected time and downloaded data, and its billing cycle and
// budget. OK, enabled only while
// every entry is valid, writes the service record into the configuration
// being edited; Cancel writes nothing.
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <array>
#include <functional>

#include "ui/dialogs/leave_watcher.h"
#include "ui/setup/budget_editor.h"
#include "core/common/locale_values.h"
#include "core/model/configuration.h"
#include "core/model/service_rules.h"

namespace mirolat {

inline constexpr int kServiceEditorHelpTopic = 37;

class frmService : public QDialog {
  Q_OBJECT
 public:
  // Edits service `serviceIndex` (0-based) of `config`; a new service is
  // written at that index (UsedServices, which the caller raises after OK).
  frmService(Configuration& config, int serviceIndex, bool isNew, const LocaleValues& locale,
             QWidget* parent = nullptr);

  // Opens the tariff editor over the working list; tests replace it to drive
  // the editor themselves. position: 1-based tariff to edit, 0 for a new one.
  // Returns true when the editor's OK wrote the list.
  using TariffEditorRunner =
      std::function<bool(QWidget* parent, std::array<Tariff, kMaxTariffs>& tariffs, int& count, int position)>;
  void SetTariffEditorRunner(TariffEditorRunner runner);

  const std::array<Tariff, kMaxTariffs>& WorkingTariffs() const { return working_; }
  int WorkingTariffCount() const { return count_; }
  int SelectedTariff() const { return selectedTariff_; }
  ServiceEntries Entries() const;

 private:
  // Controls, under the window's own names.
  QTabWidget* TabStrip1 = nullptr;
  std::array<QFrame*, 4> fraService{};
  QLineEdit* txtDescription = nullptr;
  QLineEdit* txtNumber = nullptr;
  QLabel* imgService = nullptr;
  std::array<QLabel*, 2> lblNotice{};
  std::array<QRadioButton*, 2> optDialCost{};
  QGroupBox* fraFixedTariff = nullptr;
  QGroupBox* fraTimeTariff = nullptr;
  QLineEdit* txtDialFixedTariff = nullptr;
  QTreeWidget* lstDialTimeTariff = nullptr;
  QPushButton* btnDialTimeTariffNew = nullptr;
  QPushButton* btnDialTimeTariffEdit = nullptr;
  QPushButton* btnDialTimeTariffDelete = nullptr;
  QLabel* lblDialTimeTariff9 = nullptr;
  std::array<QRadioButton*, 2> optServiceCost{};
  QGroupBox* fraFlatRate = nullptr;
  QGroupBox* fraFlexiRate = nullptr;
  QGroupBox* fraPerMeg = nullptr;
  QLineEdit* txtServiceFixedRate = nullptr;
  QLineEdit* txtServiceFlexRate = nullptr;
  QLineEdit* txtServiceFlexHours = nullptr;
  QComboBox* lstServiceFlexPeriod = nullptr;
  QLineEdit* txtServiceFlexRate2 = nullptr;
  QLineEdit* txtPerMeg = nullptr;
  QLineEdit* txtAfterMeg = nullptr;
  QComboBox* lstMegPeriod = nullptr;
  BudgetEditor* Budget = nullptr;  // the Budget tab
  QLabel* lblProblem = nullptr;  // why OK is disabled
  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
  QPushButton* btnHelp = nullptr;

 private Q_SLOTS:
  // Handlers.
  void TabStrip1_Click();
  void optDialCost_Click(int index);
  void optServiceCost_Click(int index);
  void DisableOptionControls();
  void EnableControlGroup(const QString& word);
  void UpdateOkButton();
  void FillTariffList();
  void btnDialTimeTariffNew_Click();
  void btnDialTimeTariffEdit_Click();
  void btnDialTimeTariffDelete_Click();
  void lstDialTimeTariff_Click();
  void btnOK_Click();
  void btnCancel_Click();
  // Leave handlers; false when the entry was refused (beep, focus kept).
  bool AmountBox_LostFocus(QLineEdit* box);
  bool FlexRate_LostFocus(QLineEdit* box);
  bool txtServiceFlexHours_LostFocus();
  bool txtAfterMeg_LostFocus();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  QWidget* BuildDetailsTab();
  QWidget* BuildDialCostTab();
  QWidget* BuildServiceCostTab();
  QWidget* BuildBudgetTab();
  void Load();
  void ShowTariffCount();
  void ShowTariffSummary();
  void RefreshTariffButtons();
  void FlexRate_Changed(QLineEdit* box);
  void FlexHours_Changed();
  void AfterMeg_Changed();
  void KeepFocus(QWidget* box);
  void WatchLeave(QWidget* box, std::function<bool()> handler);

  Configuration& config_;
  int index_;
  bool isNew_;
  const LocaleValues& locale_;
  int dialOption_ = 1;
  int serviceOption_ = 1;
  std::array<Tariff, kMaxTariffs> working_{};
  int count_ = 0;
  int selectedTariff_ = 0;
  TariffEditorRunner tariffEditor_;
  // The stored periods, kept while their lists show no choice (a stored
  // period that is empty or not one of the choices).
  QString storedFlexPeriod_;
  QString storedMegPeriod_;
  QHash<QObject*, QString> flexShown_;  // the flexi rates as last accepted
  LeaveWatcher* leave_ = nullptr;
};

}  // namespace mirolat
