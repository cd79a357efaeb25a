#pragma once
// The viewer's find dialog: the text to find, the direction and the case rule.
// Find stores the text and runs the viewer's search, which closes the dialog
// on a hit; Cancel stores the text and the case rule and closes it.
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <functional>

#include "ui/logviewer/search_state.h"

namespace mirolat {

class frmFind : public QDialog {
  Q_OBJECT
 public:
  // `search` is the program-wide search state; `findText` runs the viewer's
  // search and tells whether it found the text. `selection` is the viewer's
  // selected text (empty when nothing is selected).
  frmFind(SearchState& search, std::function<bool()> findText, const QString& selection, QWidget* parent = nullptr);

 private:
  QLabel* lblFindWhat = nullptr;
  QLineEdit* Text1 = nullptr;
  QGroupBox* fraDirection = nullptr;
  std::array<QRadioButton*, 2> optDirection{};  // index 0 up, 1 down
  QCheckBox* chkCase = nullptr;
  QPushButton* cmdFind = nullptr;
  QPushButton* cmdcancel = nullptr;

 private Q_SLOTS:
  void Text1_Change();
  void chkCase_Click();
  void optDirection_Click(int index);
  void cmdFind_Click();
  void cmdcancel_Click();

 private:
  SearchState& search_;
  std::function<bool()> findText_;
};

}  // namespace mirolat
