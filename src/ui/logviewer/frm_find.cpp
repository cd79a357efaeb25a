#include "ui/logviewer/frm_find.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace mirolat {

frmFind::frmFind(SearchState& search, std::function<bool()> findText, const QString& selection, QWidget* parent)
    : QDialog(parent), search_(search), findText_(std::move(findText)) {
  setObjectName(QStringLiteral("frmFind"));
  setWindowTitle(QStringLiteral("Find"));
  setModal(true);

  lblFindWhat = new QLabel(QStringLiteral("Fi&nd What:"), this);
  lblFindWhat->setObjectName(QStringLiteral("lblFindWhat"));
  Text1 = new QLineEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setToolTip(QStringLiteral("Text to Find"));
  Text1->setMinimumWidth(220);
  lblFindWhat->setBuddy(Text1);

  fraDirection = new QGroupBox(QStringLiteral("Direction"), this);
  fraDirection->setObjectName(QStringLiteral("fraDirection"));
  optDirection[1] = new QRadioButton(QStringLiteral("&Down"), fraDirection);
  optDirection[1]->setObjectName(QStringLiteral("optDirection1"));
  optDirection[1]->setToolTip(QStringLiteral("Search to End of Document"));
  optDirection[0] = new QRadioButton(QStringLiteral("&Up"), fraDirection);
  optDirection[0]->setObjectName(QStringLiteral("optDirection0"));
  optDirection[0]->setToolTip(QStringLiteral("Search to Beginning of Document"));
  auto* directions = new QHBoxLayout(fraDirection);
  directions->addWidget(optDirection[1]);
  directions->addWidget(optDirection[0]);

  chkCase = new QCheckBox(QStringLiteral("Match &Case"), this);
  chkCase->setObjectName(QStringLiteral("chkCase"));
  chkCase->setToolTip(QStringLiteral("Case Sensitivity"));

  cmdFind = new QPushButton(QStringLiteral("&Find"), this);
  cmdFind->setObjectName(QStringLiteral("cmdFind"));
  cmdFind->setToolTip(QStringLiteral("Start Search"));
  cmdFind->setDefault(true);
  cmdcancel = new QPushButton(QStringLiteral("Cancel"), this);
  cmdcancel->setObjectName(QStringLiteral("cmdcancel"));
  cmdcancel->setToolTip(QStringLiteral("Return to Notepad"));

  auto* grid = new QGridLayout(this);
  grid->addWidget(lblFindWhat, 0, 0);
  grid->addWidget(Text1, 1, 0);
  grid->addWidget(cmdFind, 1, 1);
  grid->addWidget(fraDirection, 2, 0);
  grid->addWidget(cmdcancel, 2, 1, Qt::AlignTop);
  grid->addWidget(chkCase, 3, 0);

  // Opening: the selection or the last search text, a new search, downwards.
  Text1->setText(selection.isEmpty() ? search_.SearchText : selection);
  Text1->selectAll();
  search_.NewSearch = true;
  chkCase->setChecked(search_.MatchCase);
  search_.SearchDirection = 1;
  optDirection[1]->setChecked(true);
  cmdFind->setEnabled(!Text1->text().isEmpty());

  connect(Text1, &QLineEdit::textChanged, this, &frmFind::Text1_Change);
  connect(chkCase, &QCheckBox::clicked, this, &frmFind::chkCase_Click);
  connect(optDirection[0], &QRadioButton::clicked, this, [this] { optDirection_Click(0); });
  connect(optDirection[1], &QRadioButton::clicked, this, [this] { optDirection_Click(1); });
  connect(cmdFind, &QPushButton::clicked, this, &frmFind::cmdFind_Click);
  connect(cmdcancel, &QPushButton::clicked, this, &frmFind::cmdcancel_Click);
}

void frmFind::Text1_Change() {
  search_.NewSearch = true;
  cmdFind->setEnabled(!Text1->text().isEmpty());
}

void frmFind::chkCase_Click() { search_.MatchCase = chkCase->isChecked(); }

void frmFind::optDirection_Click(int index) { search_.SearchDirection = index; }

void frmFind::cmdFind_Click() {
  search_.SearchText = Text1->text();
  if (findText_ && findText_()) accept();
}

void frmFind::cmdcancel_Click() {
  search_.SearchText = Text1->text();
  search_.MatchCase = chkCase->isChecked();
  reject();
}

}  // namespace mirolat
