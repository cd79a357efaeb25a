#include "ui/maintenance/frm_purge.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "core/app/app_state.h"
#include "core/common/date_entry.h"
#include "core/logfile/log_rewrites.h"
#include "ui/dialogs/beep.h"
#include "ui/dialogs/message_box.h"
#include "ui/maintenance/rewrite_progress.h"

namespace mirolat {

frmPurge::frmPurge(AppState& state, ErrorReporter& reporter, RewriteProgress& progress, QWidget* parent)
    : QDialog(parent), state_(state), reporter_(reporter), progress_(progress) {
  setObjectName(QStringLiteral("frmPurge"));
  setWindowTitle(QStringLiteral("Purge Modem Log"));
  setModal(true);

  auto* column = new QVBoxLayout(this);
  // The three options sit in frames of their own: one group keeps one checked.
  auto* options = new QButtonGroup(this);
  options->setExclusive(true);
  const auto frame = [this, column, options](int index) {
    auto* f = new QFrame(this);
    f->setObjectName(QStringLiteral("FraPurge%1").arg(index));
    f->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(f);
    auto* option = new QRadioButton(f);
    option->setObjectName(QStringLiteral("optPurge%1").arg(index));
    options->addButton(option, index);
    row->addWidget(option);
    column->addWidget(f);
    FraPurge[static_cast<std::size_t>(index)] = f;
    optPurge[static_cast<std::size_t>(index)] = option;
    connect(option, &QRadioButton::clicked, this, [this, index] { optPurge_Click(index); });
    return row;
  };
  const auto label = [](QWidget* parent, const QString& text) { return new QLabel(text, parent); };

  QHBoxLayout* row1 = frame(1);
  optPurge[1]->setText(QStringLiteral("Purge from first entry up to and including "));
  MaskEdBox1 = MakeBox(FraPurge[1], QStringLiteral("MaskEdBox1"));
  row1->addWidget(MaskEdBox1);
  row1->addStretch(1);

  QHBoxLayout* row2 = frame(2);
  optPurge[2]->setText(QStringLiteral("Purge from"));
  MaskEdBox2[0] = MakeBox(FraPurge[2], QStringLiteral("MaskEdBox2_0"));
  MaskEdBox2[1] = MakeBox(FraPurge[2], QStringLiteral("MaskEdBox2_1"));
  row2->addWidget(MaskEdBox2[0]);
  row2->addWidget(label(FraPurge[2], QStringLiteral("to")));
  row2->addWidget(MaskEdBox2[1]);
  row2->addWidget(label(FraPurge[2], QStringLiteral("inclusive.")));
  row2->addStretch(1);

  QHBoxLayout* row3 = frame(3);
  optPurge[3]->setText(QStringLiteral("Purge from"));
  MaskEdBox3 = MakeBox(FraPurge[3], QStringLiteral("MaskEdBox3"));
  row3->addWidget(MaskEdBox3);
  row3->addWidget(label(FraPurge[3], QStringLiteral("to last entry.")));
  row3->addStretch(1);

  btnOK = new QPushButton(QStringLiteral("&OK"), this);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setDefault(true);
  btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(btnOK);
  buttons->addWidget(btnCancel);
  column->addLayout(buttons);
  connect(btnOK, &QPushButton::clicked, this, &frmPurge::btnOK_Click);
  connect(btnCancel, &QPushButton::clicked, this, &frmPurge::btnCancel_Click);

  // The dialog opens on the first option.
  optPurge[1]->setChecked(true);
  optPurge_Click(1);
}

QLineEdit* frmPurge::MakeBox(QWidget* parent, const QString& name) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  const QString sep = QStringLiteral("\\") + state_.Locale.DateSeparator;
  box->setInputMask(QStringLiteral("99") + sep + QStringLiteral("99") + sep + QStringLiteral("99"));
  box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00")) + 16);
  connect(box, &QLineEdit::textChanged, this, [this, box] { BoxChanged(box); });
  return box;
}

void frmPurge::optPurge_Click(int index) {
  purgeOption_ = index;
  optPurge[static_cast<std::size_t>(index)]->setChecked(true);
  MaskEdBox1->setEnabled(index == 1);
  MaskEdBox2[0]->setEnabled(index == 2);
  MaskEdBox2[1]->setEnabled(index == 2);
  MaskEdBox3->setEnabled(index == 3);
  EvaluateRange(nullptr);
}

void frmPurge::BoxChanged(QLineEdit* box) {
  if (rewriting_) return;
  if (!box->isEnabled()) return;
  EvaluateRange(box);
}

Date frmPurge::BoxDate(QLineEdit* box, QLineEdit* typed) {
  const Date date = DateFromBoxText(box->text(), state_.Locale);
  if (date == 0 || box != typed) return date;
  bool clamped = false;
  const Date kept = ClampPurgeDate(date, state_.File.LogFirstDate, state_.File.LogLastDate, &clamped);
  if (clamped) {
    Beep();
    rewriting_ = true;
    box->setText(DateToBoxText(kept, state_.Locale));
    rewriting_ = false;
  }
  return kept;
}

void frmPurge::EvaluateRange(QLineEdit* typed) {
  const CurrentFileState& file = state_.File;
  const auto take = [this, typed](QLineEdit* box, Date& date, bool& valid) {
    const Date d = BoxDate(box, typed);
    valid = d != 0;
    if (valid) date = d;
  };
  switch (purgeOption_) {
    case 1:
      purgeFrom_ = file.LogFirstDate;
      purgeFromValid_ = file.LogFirstDate != 0;
      take(MaskEdBox1, purgeTo_, purgeToValid_);
      break;
    case 2:
      take(MaskEdBox2[0], purgeFrom_, purgeFromValid_);
      take(MaskEdBox2[1], purgeTo_, purgeToValid_);
      break;
    default:
      take(MaskEdBox3, purgeFrom_, purgeFromValid_);
      purgeTo_ = file.LogLastDate;
      purgeToValid_ = file.LogLastDate != 0;
      break;
  }
  EvaluateOk();
}

void frmPurge::EvaluateOk() {
  btnOK->setEnabled(PurgeOkEnabled(purgeFromValid_, purgeFrom_, purgeToValid_, purgeTo_));
}

void frmPurge::btnOK_Click() {
  if (!btnOK->isEnabled()) return;
  if (MessageBox::Show(PurgeQuestion(purgeFrom_, purgeTo_, state_.Locale.Locale), this) == MessageButton::Yes) {
    setEnabled(false);
    progress_.Begin();
    bool done = false;
    {
      const struct EndProgress {
        RewriteProgress& p;
        ~EndProgress() { p.End(); }
      } end{progress_};
      done = PurgeEntries(state_.File, purgeFrom_, purgeTo_, progress_, reporter_).Done;
    }
    setEnabled(true);
    if (done) {
      purgeDone_ = true;
      Q_EMIT Purged();
    }
  }
  accept();
}

void frmPurge::btnCancel_Click() { reject(); }

}  // namespace mirolat
