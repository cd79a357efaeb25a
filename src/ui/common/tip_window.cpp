#include "ui/common/tip_window.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTextStream>
#include <QVBoxLayout>

#include "core/settings/config_paths.h"
#include "core/settings/settings_store.h"
#include "core/settings/user_options.h"
#include "ui/dialogs/desktop_error_reporter.h"

namespace mirolat {

namespace {

const QString kApp = QString::fromLatin1(kUserOptionsApp);
const QString kSection = QString::fromLatin1(kUserOptionsSection);
const QString kLastTip = QStringLiteral("Last Tip");
const QString kShowTips = QStringLiteral("Show Tips at Startup");

// The leading whole number of a text, 0 when it has none.
int LeadingNumber(const QString& text) {
  const QString t = text.trimmed();
  int end = 0;
  if (end < t.size() && (t[end] == QLatin1Char('-') || t[end] == QLatin1Char('+'))) ++end;
  while (end < t.size() && t[end].isDigit()) ++end;
  return t.left(end).toInt();
}

}  // namespace

QString DefaultTipsFilePath() { return FindDataPath(QString::fromLatin1(kTipsFileName)); }

frmTip::frmTip(SettingsStore& store, const QString& tipsFile, QWidget* parent) : QDialog(parent), store_(store) {
  setObjectName(QStringLiteral("frmTip"));
  setWindowTitle(QStringLiteral("  Tip of the Day"));
  setModal(true);

  imgTip_ = new QLabel(this);
  imgTip_->setObjectName(QStringLiteral("imgTip"));
  imgTip_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
  imgTip_->setAlignment(Qt::AlignTop);
  lblDidYouKnow_ = new QLabel(QStringLiteral("Did you know..."), this);
  lblDidYouKnow_->setObjectName(QStringLiteral("lblDidYouKnow"));
  QFont heading = lblDidYouKnow_->font();
  heading.setBold(true);
  heading.setPointSizeF(heading.pointSizeF() * 1.3);
  lblDidYouKnow_->setFont(heading);
  lblTipText_ = new QLabel(this);
  lblTipText_->setObjectName(QStringLiteral("lblTipText"));
  lblTipText_->setWordWrap(true);
  lblTipText_->setTextFormat(Qt::PlainText);
  lblTipText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblTipText_->setMinimumSize(360, 110);
  chkLoadTipsAtStartup_ = new QCheckBox(QStringLiteral("&Show Tips at Startup"), this);
  chkLoadTipsAtStartup_->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
  cmdNextTip_ = new QPushButton(QStringLiteral("&Next Tip"), this);
  cmdNextTip_->setObjectName(QStringLiteral("cmdNextTip"));
  btnPrevious_ = new QPushButton(QStringLiteral("&Previous"), this);
  btnPrevious_->setObjectName(QStringLiteral("btnPrevious"));
  cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
  cmdOK_->setObjectName(QStringLiteral("cmdOK"));
  cmdOK_->setDefault(true);

  auto* text = new QVBoxLayout;
  text->addWidget(lblDidYouKnow_);
  text->addWidget(lblTipText_, 1);
  auto* top = new QHBoxLayout;
  top->addWidget(imgTip_);
  top->addLayout(text, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(chkLoadTipsAtStartup_);
  buttons->addStretch(1);
  buttons->addWidget(btnPrevious_);
  buttons->addWidget(cmdNextTip_);
  buttons->addWidget(cmdOK_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addLayout(buttons);

  connect(cmdNextTip_, &QPushButton::clicked, this, &frmTip::cmdNextTip_Click);
  connect(btnPrevious_, &QPushButton::clicked, this, &frmTip::btnPrevious_Click);
  connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);
  connect(chkLoadTipsAtStartup_, &QCheckBox::clicked, this, &frmTip::chkLoadTipsAtStartup_Click);

  // Form load.
  QString showTips;
  QString lastTip;
  RunStep(SharedErrorReporter(), [&] {
    showTips = store_.GetSetting(kApp, kSection, kShowTips, QStringLiteral("1"));
    lastTip = store_.GetSetting(kApp, kSection, kLastTip, QStringLiteral("0"));
  });
  chkLoadTipsAtStartup_->setChecked(LeadingNumber(showTips.isEmpty() ? QStringLiteral("1") : showTips) != 0);
  currentTip_ = LeadingNumber(lastTip);
  if (!LoadTips(tipsFile)) {
    const QString name = QString::fromLatin1(kTipsFileName);
    lblTipText_->setText(QStringLiteral("That the ") + name + QStringLiteral(" file was not found? ") +
                         QStringLiteral("\r\n\r\n") + QStringLiteral("Create a text file named ") + name +
                         QStringLiteral(" using NotePad with 1 tip per line. ") +
                         QStringLiteral("Then place it in the same directory as the application. "));
  }
}

bool frmTip::LoadTips(const QString& path) {
  if (path.isEmpty() || !QFileInfo(path).isFile()) return false;
  bool loaded = false;
  RunStep(SharedErrorReporter(), [&] {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
      throw RunError(ErrorCondition::PathFileAccess, file.errorString());
    }
    QTextStream in(&file);
    QStringList tips;
    while (!in.atEnd()) tips.append(in.readLine());
    tips_ = tips;
    loaded = true;
  });
  if (!loaded) return false;
  DoNextTip();
  return true;
}

void frmTip::DoNextTip() {
  ++currentTip_;
  if (currentTip_ > tips_.size()) currentTip_ = 1;
  DisplayCurrentTip();
}

void frmTip::cmdNextTip_Click() { DoNextTip(); }

void frmTip::btnPrevious_Click() {
  --currentTip_;
  if (currentTip_ < 1) currentTip_ = static_cast<int>(tips_.size());
  DisplayCurrentTip();
}

void frmTip::DisplayCurrentTip() {
  if (tips_.isEmpty() || currentTip_ < 1 || currentTip_ > tips_.size()) return;
  lblTipText_->setText(tips_.at(currentTip_ - 1));
}

void frmTip::chkLoadTipsAtStartup_Click() {
  const QString value = chkLoadTipsAtStartup_->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
  RunStep(SharedErrorReporter(), [&] { store_.SaveSetting(kApp, kSection, kShowTips, value); });
}

void frmTip::done(int result) {
  RunStep(SharedErrorReporter(),
          [&] { store_.SaveSetting(kApp, kSection, kLastTip, QString::number(currentTip_)); });
  QDialog::done(result);
}

}  // namespace mirolat
