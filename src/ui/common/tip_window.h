#pragma once
// The tip of the day: one line of the tips file at a time, Next and Previous
// wrapping round, the position and the show-at-start-up choice kept in the
// per-user options between runs.
#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;
class QPushButton;

namespace mirolat {

class SettingsStore;

inline constexpr const char* kTipsFileName = "MrlTips.txt";

// The tips file: beside the program, else in ../share/mirolat/.
QString DefaultTipsFilePath();

class frmTip : public QDialog {
  Q_OBJECT
 public:
  // `store` holds the per-user options; `tipsFile` is the tips file to read.
  frmTip(SettingsStore& store, const QString& tipsFile = DefaultTipsFilePath(), QWidget* parent = nullptr);

  int CurrentTip() const { return currentTip_; }
  const QStringList& Tips() const { return tips_; }

  // Closing by any way stores the tip shown as "Last Tip".
  void done(int result) override;

 private Q_SLOTS:
  void cmdNextTip_Click();
  void btnPrevious_Click();

 private:
  bool LoadTips(const QString& path);
  void DoNextTip();
  void DisplayCurrentTip();
  void chkLoadTipsAtStartup_Click();

  SettingsStore& store_;
  QStringList tips_;
  int currentTip_ = 0;
  QLabel* imgTip_;
  QLabel* lblDidYouKnow_;
  QLabel* lblTipText_;
  QCheckBox* chkLoadTipsAtStartup_;
  QPushButton* cmdNextTip_;
  QPushButton* btnPrevious_;
  QPushButton* cmdOK_;
};

}  // namespace mirolat
