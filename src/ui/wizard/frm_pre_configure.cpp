#include "ui/wizard/frm_pre_configure.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/common/help_window.h"
#include "ui/dialogs/wait_cursor.h"

namespace mirolat {

namespace {

constexpr int kWizardHelpTopic = 9;

const QString kIntroText = QStringLiteral(
    "This is MRL's Modem Logging Wizard.\n\nMRL reads the log your modem writes. The wizard looks at the modem "
    "entries of Mirolat's modem settings and, where needed, configures one of them for use with MRL: its logging, "
    "its log file and its command echo.\n\nClick the 'Next' button and the wizard will take you through a step by "
    "step process.");

const QString kNoModemText = QStringLiteral(
    "No modem entry was found in Mirolat's modem settings, so there is no modem for the wizard to configure.\n\n"
    "On Linux, pppd and chat write each dial-up session to the system log rather than to a modem log. To get a log "
    "that MRL can report on, import those sessions into the modem log with the command\n\n"
    "mirolat-cli import-pppd\n\n"
    "(see \"Dial-up on Linux: importing pppd's sessions\" in the README, or Help \u203a Topics).");

const QString kDetectText = QStringLiteral(
    "\n\nA USB or serial modem of this computer gets a modem entry when you click 'Detect Serial Modems'.");

QPixmap StatePicture(bool right) {
  QPixmap pixmap(20, 20);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(right ? QColor(0x2f, 0xa3, 0x44) : QColor(0xd2, 0x3b, 0x2f));
  p.drawEllipse(QRectF(1, 1, 18, 18));
  QPen pen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  if (right) {
    p.drawPolyline(QPolygonF({QPointF(5.5, 10.5), QPointF(8.8, 13.8), QPointF(14.5, 6.5)}));
  } else {
    p.drawLine(QPointF(6.5, 6.5), QPointF(13.5, 13.5));
    p.drawLine(QPointF(13.5, 6.5), QPointF(6.5, 13.5));
  }
  return pixmap;
}

QLabel* WrappedLabel(const QString& name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

QLabel* Named(QLabel* label, const QString& name) {
  label->setObjectName(name);
  return label;
}

}  // namespace

frmPreConfigure::frmPreConfigure(ModemClassStore& store, ModemCheck& check, bool runConfigWizard,
                                 ErrorReporter& reporter, QWidget* parent, QTimer* timer)
    : QDialog(parent), store_(store), check_(check), reporter_(reporter), runConfigWizard_(runConfigWizard) {
  setObjectName(QStringLiteral("frmPreConfigure"));
  setWindowTitle(QStringLiteral(" MRL Configuration Wizard"));
  setModal(true);
  pictures_[0] = StatePicture(true);
  pictures_[1] = StatePicture(false);

  auto* pages = new QGridLayout;
  for (int i = 0; i < 4; ++i) {
    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("fraCheck%1").arg(i));
    fraCheck.append(frame);
    pages->addWidget(frame, 0, 0);
  }

  // Page 0: the introduction.
  {
    auto* layout = new QVBoxLayout(fraCheck[0]);
    lblIntro = WrappedLabel(QStringLiteral("lblIntro"), fraCheck[0]);
    lblNote = WrappedLabel(QStringLiteral("lblNote"), fraCheck[0]);
    lblNote->setText(QStringLiteral("NOTE: You will be asked to confirm the details of any recommended changes."));
    btnDetect = new QPushButton(QStringLiteral("&Detect Serial Modems"), fraCheck[0]);
    btnDetect->setObjectName(QStringLiteral("btnDetect"));
    btnDetect->setAutoDefault(false);
    btnDetect->hide();
    lblDetected = WrappedLabel(QStringLiteral("lblDetected"), fraCheck[0]);
    auto* detect = new QHBoxLayout;
    detect->addWidget(btnDetect);
    detect->addStretch(1);
    layout->addWidget(lblIntro);
    layout->addLayout(detect);
    layout->addWidget(lblDetected);
    layout->addStretch(1);
    layout->addWidget(lblNote);
  }
  // Page 1: the installed modems.
  {
    fraCheck[1]->setTitle(QStringLiteral("Installed Modems"));
    auto* layout = new QVBoxLayout(fraCheck[1]);
    lblInstalled = WrappedLabel(QStringLiteral("lblInstalled"), fraCheck[1]);
    lblInstalled->setText(QStringLiteral(
        "The following installed modem(s) were detected on your system. Please select the modem you wish to configure "
        "for use with MRL and then click on the 'NEXT' button."));
    lstModems = new QListWidget(fraCheck[1]);
    lstModems->setObjectName(QStringLiteral("lstModems"));
    layout->addWidget(lblInstalled);
    layout->addWidget(lstModems, 1);
  }
  // Page 2: the selected modem, its current and the recommended settings.
  {
    auto* layout = new QVBoxLayout(fraCheck[2]);
    lblSelModem = Named(new QLabel(fraCheck[2]), QStringLiteral("lblSelModem"));
    QFont bold = lblSelModem->font();
    bold.setBold(true);
    lblSelModem->setFont(bold);
    lblSelModem->setAlignment(Qt::AlignCenter);
    layout->addWidget(lblSelModem);

    auto makeFrame = [&](const QString& title, const QString& name, QLabel*& logging, QLabel*& echo,
                         QLabel*& imgLogging, QLabel*& imgEcho, const QString& prefix) {
      auto* frame = new QGroupBox(title, fraCheck[2]);
      frame->setObjectName(name);
      auto* grid = new QGridLayout(frame);
      grid->addWidget(new QLabel(QStringLiteral("Modem Logging:"), frame), 0, 0);
      grid->addWidget(new QLabel(QStringLiteral("Command Echo:"), frame), 1, 0);
      logging = Named(new QLabel(frame), QStringLiteral("lbl%1Logging").arg(prefix));
      echo = Named(new QLabel(frame), QStringLiteral("lbl%1Echo").arg(prefix));
      imgLogging = Named(new QLabel(frame), QStringLiteral("img%1Logging").arg(prefix));
      imgEcho = Named(new QLabel(frame), QStringLiteral("img%1Echo").arg(prefix));
      // Room for the bold text, so the blink does not move anything.
      const int width = QFontMetrics(bold).horizontalAdvance(QStringLiteral("OFF")) + 6;
      logging->setMinimumWidth(width);
      echo->setMinimumWidth(width);
      grid->addWidget(logging, 0, 1);
      grid->addWidget(imgLogging, 0, 2);
      grid->addWidget(echo, 1, 1);
      grid->addWidget(imgEcho, 1, 2);
      grid->setColumnStretch(3, 1);
      return frame;
    };
    fraCurrent = makeFrame(QStringLiteral("Current "), QStringLiteral("fraCurrent"), lblCurrentLogging,
                           lblCurrentEcho, imgCurrentLogging, imgCurrentEcho, QStringLiteral("Current"));
    fraRecommended = makeFrame(QStringLiteral("Recommended"), QStringLiteral("fraRecommended"), lblRecLogging,
                               lblRecEcho, imgRecLogging, imgRecEcho, QStringLiteral("Rec"));
    auto* frames = new QHBoxLayout;
    frames->addWidget(fraCurrent);
    frames->addWidget(fraRecommended);
    layout->addLayout(frames);
    lblAdvice = WrappedLabel(QStringLiteral("lblAdvice"), fraCheck[2]);
    layout->addWidget(lblAdvice, 1);
  }
  // Page 3: finished.
  {
    fraCheck[3]->setTitle(QStringLiteral("Finished"));
    auto* layout = new QVBoxLayout(fraCheck[3]);
    lblFinished = WrappedLabel(QStringLiteral("lblFinished"), fraCheck[3]);
    layout->addWidget(lblFinished, 1);
  }

  Check1 = new QCheckBox(QStringLiteral("Always perform this check."), this);
  Check1->setObjectName(QStringLiteral("Check1"));
  btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->setAutoDefault(false);
  btnNext = new QPushButton(QStringLiteral("&Next >"), this);
  btnNext->setObjectName(QStringLiteral("btnNext"));
  btnNext->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Check1);
  buttons->addStretch(1);
  buttons->addWidget(btnCancel);
  buttons->addWidget(btnNext);
  auto* main = new QVBoxLayout(this);
  main->addLayout(pages, 1);
  main->addLayout(buttons);
  resize(520, 380);

  Timer1 = timer != nullptr ? timer : new QTimer(this);
  Timer1->setParent(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(500);
  Timer1->stop();

  connect(btnNext, &QPushButton::clicked, this, &frmPreConfigure::btnNext_Click);
  connect(btnCancel, &QPushButton::clicked, this, &frmPreConfigure::btnCancel_Click);
  connect(btnDetect, &QPushButton::clicked, this, &frmPreConfigure::btnDetect_Click);
  connect(Check1, &QCheckBox::clicked, this, &frmPreConfigure::Check1_Click);
  connect(Timer1, &QTimer::timeout, this, &frmPreConfigure::Timer1_Timer);
  InstallHelpKey(this, kWizardHelpTopic);

  Form_Load();
}

void frmPreConfigure::Form_Load() {
  if (page_ > 3) return;
  page_ = 0;
  outcome_ = FinishOutcome{};
  {
    const QSignalBlocker block(Check1);
    Check1->setChecked(runConfigWizard_);
  }
  lblDetected->clear();
  ShowModems();
  ShowPage(0);
}

void frmPreConfigure::SetSerialPortLister(SerialPortLister* lister) {
  lister_ = lister;
  btnDetect->setVisible(lister != nullptr);
  ShowModems();
}

void frmPreConfigure::ShowModems() {
  const bool any = check_.ModemCount() > 0;
  lblIntro->setText(any ? kIntroText : kNoModemText + (lister_ != nullptr ? kDetectText : QString()));
  lblNote->setVisible(any);
  lstModems->clear();
  for (const ModemEntry& modem : check_.ModemTable) lstModems->addItem(modem.ListText());
  if (any) lstModems->setCurrentRow(0);
  // Without a modem there is nothing to configure: no page follows.
  btnNext->setEnabled(any);
}

// Registers the serial modems the lister finds that have no entry yet, then
// reads the entries again.
void frmPreConfigure::btnDetect_Click() {
  if (lister_ == nullptr) return;
  QStringList added;
  bool done = false;
  {
    const WaitCursor wait;
    done = RunStep(reporter_, [&] { added = RegisterSerialModems(store_, lister_->Ports()); });
    check_.ModemTable = DetectModems(store_);
  }
  if (!done) {
    lblDetected->setText(QStringLiteral("The serial modems could not be registered."));
  } else if (added.isEmpty()) {
    lblDetected->setText(QStringLiteral("No USB or serial modem without a modem entry was found."));
  } else {
    lblDetected->setText(QStringLiteral("Added: ") + added.join(QStringLiteral(", ")) + QLatin1Char('.'));
  }
  ShowModems();
}

void frmPreConfigure::ShowPage(int page) {
  page_ = page;
  for (int i = 0; i < fraCheck.size(); ++i) {
    const bool shown = i == page;
    fraCheck[i]->setEnabled(shown);
    fraCheck[i]->setVisible(shown);
  }
  fraCheck[page]->raise();
  btnCancel->setText(page == 0 ? QStringLiteral("&Cancel") : QStringLiteral("< &Back"));
  if (page < 2) {
    // Back from the modem's page: the blink stops and Next reads Next again.
    Timer1->stop();
    SetBold(lblRecLogging, false);
    SetBold(lblRecEcho, false);
    btnNext->setText(QStringLiteral("&Next >"));
  }
  if (page == 2) ShowModemPage();
  if (page == 3) ShowFinishedPage();
}

void frmPreConfigure::ShowModemPage() {
  const int row = lstModems->currentRow();
  selectedModem_ = (row < 0 ? 0 : row) + 1;
  if (selectedModem_ > check_.ModemCount()) return;
  // The modem's values as they are now (the start-up check may have read only
  // the preferred one).
  CheckModem(store_, check_, selectedModem_);
  const ModemEntry& modem = check_.ModemTable[selectedModem_ - 1];
  lblSelModem->setText(modem.Name);
  lblCurrentLogging->setText(modem.LoggingOn ? QStringLiteral("ON") : QStringLiteral("OFF"));
  lblCurrentEcho->setText(modem.EchoOn ? QStringLiteral("ON") : QStringLiteral("OFF"));
  SetPicture(imgCurrentLogging, modem.LoggingOn);
  SetPicture(imgCurrentEcho, modem.EchoOn);
  lblRecLogging->setText(QStringLiteral("ON"));
  lblRecEcho->setText(QStringLiteral("ON"));
  SetPicture(imgRecLogging, true);
  SetPicture(imgRecEcho, true);
  SetBold(lblRecLogging, false);
  SetBold(lblRecEcho, false);
  Timer1->start();
  if (modem.ReadyForLogging()) {
    lblAdvice->setText(QStringLiteral(
        "The wizard has determined that this modem is already configured correctly for MRL. \n\nClick the 'OK' "
        "button to continue."));
    btnNext->setText(QStringLiteral("&OK"));
    check_.ModemConfigured = true;
    if (check_.ModemCount() > 1) check_.PreferredModem = selectedModem_;
  } else {
    // A modem that logs and echoes but has no log file: Finish gives it one.
    const QString logFile = modem.LoggingPath.isEmpty()
                                ? QStringLiteral("This modem has no log file; it will log to %1.\n\n")
                                      .arg(check_.WindowsDir + check_.DefaultLogFileName)
                                : QString();
    lblAdvice->setText(QStringLiteral("The wizard needs to make some changes to Mirolat's modem settings for this "
                                      "modem in order for MRL to work as intended.\n\n") +
                       logFile +
                       QStringLiteral("Click the 'Finish' button to have the wizard make these changes for you."));
    btnNext->setText(QStringLiteral("&Finish"));
    check_.ModemConfigured = false;
  }
}

void frmPreConfigure::ShowFinishedPage() {
  if (!check_.ModemConfigured) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
      outcome_ = ApplyModemChanges(store_, check_, selectedModem_, reporter_);
    } catch (...) {
      QApplication::restoreOverrideCursor();
      throw;
    }
    QApplication::restoreOverrideCursor();
  }
  Timer1->stop();
  SetBold(lblRecLogging, false);
  SetBold(lblRecEcho, false);
  btnNext->setText(QStringLiteral("&OK"));
  btnCancel->hide();
  lblFinished->setText(FinishedPageText(outcome_));
}

void frmPreConfigure::btnNext_Click() {
  if (btnNext->text() == QLatin1String("&OK")) {
    Timer1->stop();
    accept();
    return;
  }
  if (page_ < 3) ShowPage(page_ + 1);
}

void frmPreConfigure::btnCancel_Click() {
  if (page_ == 0) {
    reject();
    return;
  }
  ShowPage(page_ - 1);
}

void frmPreConfigure::Check1_Click() {
  RunStep(reporter_, [&] { SaveRunConfigWizard(store_.Store(), Check1->isChecked()); });
}

void frmPreConfigure::Timer1_Timer() {
  if (selectedModem_ < 1 || selectedModem_ > check_.ModemCount()) return;
  const ModemEntry& modem = check_.ModemTable[selectedModem_ - 1];
  if (!modem.LoggingOn) SetBold(lblRecLogging, !lblRecLogging->font().bold());
  if (!modem.EchoOn) SetBold(lblRecEcho, !lblRecEcho->font().bold());
}

void frmPreConfigure::SetPicture(QLabel* label, bool right) {
  label->setPixmap(right ? pictures_[0] : pictures_[1]);
  label->setProperty("picture", right ? QStringLiteral("right") : QStringLiteral("wrong"));
}

void frmPreConfigure::SetBold(QLabel* label, bool bold) {
  QFont font = label->font();
  if (font.bold() == bold) return;
  font.setBold(bold);
  label->setFont(font);
}

}  // namespace mirolat
