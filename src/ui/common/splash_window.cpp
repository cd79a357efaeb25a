#include "ui/common/splash_window.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QScopeGuard>
#include <QScreen>
#include <algorithm>

#include "ui/common/end_program.h"

namespace mirolat {

namespace {

QPixmap SplashPicture() {
  QPixmap picture(480, 270);
  QPainter painter(&picture);
  QLinearGradient gradient(0, 0, 0, picture.height());
  gradient.setColorAt(0, QColor(16, 48, 96));
  gradient.setColorAt(1, QColor(40, 110, 170));
  painter.fillRect(picture.rect(), gradient);
  painter.setPen(Qt::white);
  QFont title(QStringLiteral("Sans Serif"));
  title.setPixelSize(44);
  title.setBold(true);
  painter.setFont(title);
  painter.drawText(QRect(24, 20, 432, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Mirolat"));
  QFont subtitle(QStringLiteral("Sans Serif"));
  subtitle.setPixelSize(15);
  painter.setFont(subtitle);
  painter.drawText(QRect(26, 78, 432, 24), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Dial-up connection time and cost from your modem log"));
  return picture;
}

}  // namespace

QString VersionText() {
  return QStringLiteral("Version %1.%2").arg(MIROLAT_VERSION_MAJOR).arg(MIROLAT_VERSION_MINOR);
}

frmSplash::frmSplash(StartUpFunction startUp, MainWindowFactory mainWindowFactory, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      startUp_(std::move(startUp)),
      mainWindowFactory_(std::move(mainWindowFactory)) {
  setObjectName(QStringLiteral("frmSplash"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Mirolat"));
  setFocusPolicy(Qt::StrongFocus);

  Picture1 = new QLabel(this);
  Picture1->setObjectName(QStringLiteral("Picture1"));
  Picture1->setPixmap(SplashPicture());
  LabelVersion = new QLabel(this);
  LabelVersion->setObjectName(QStringLiteral("LabelVersion"));
  SplashLabel1 = new QLabel(this);
  SplashLabel1->setObjectName(QStringLiteral("SplashLabel1"));
  QFont labelFont(QStringLiteral("Arial"));
  labelFont.setPixelSize(14);
  labelFont.setBold(true);
  SplashLabel1->setFont(labelFont);
  for (QLabel* label : {LabelVersion, SplashLabel1}) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
  }
  SplashTimer1 = new QTimer(this);
  SplashTimer1->setObjectName(QStringLiteral("SplashTimer1"));
  SplashTimer1->setInterval(1000);
  SplashTimer2 = new QTimer(this);
  SplashTimer2->setObjectName(QStringLiteral("SplashTimer2"));
  SplashTimer2->setInterval(500);
  connect(SplashTimer1, &QTimer::timeout, this, &frmSplash::SplashTimer1_Timer);

  // The picture fills the window from the top-left corner.
  Picture1->move(0, 0);
  Picture1->resize(Picture1->pixmap().size());
  setFixedSize(Picture1->size());
  // The status label: centred vertically, at three quarters of the free width.
  // Wide enough for the longest text start-up gives it.
  const QFontMetrics metrics(labelFont);
  int labelWidth = 0;
  for (const char* text : {"Reading User Configuration", "Please Wait . . . Checking Modem Log",
                           "Please Wait .....Loading  100%", "Click to continue..."}) {
    labelWidth = std::max(labelWidth, metrics.horizontalAdvance(QString::fromLatin1(text)));
  }
  SplashLabel1->resize(std::min(labelWidth + 8, Picture1->width() - 16), std::max(24, metrics.height() + 4));
  SplashLabel1->move(static_cast<int>((Picture1->width() - SplashLabel1->width()) * 0.75),
                     static_cast<int>((Picture1->height() - SplashLabel1->height()) * 0.5));
  // The version near the bottom-right corner.
  LabelVersion->resize(100, 20);
  LabelVersion->move(static_cast<int>((Picture1->width() - LabelVersion->width()) * 0.89),
                     static_cast<int>((Picture1->height() - LabelVersion->height()) * 0.89));
  LabelVersion->raise();
  SplashLabel1->raise();

  Picture1->installEventFilter(this);
  SplashLabel1->installEventFilter(this);
  RegisterWindow(WindowRole::Splash, this);
}

frmSplash::~frmSplash() { UnregisterWindow(this); }

void frmSplash::Form_Load() {
  // In the middle of the screen, as a splash window stands.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = geometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  show();
  LabelVersion->setText(VersionText());
  QCoreApplication::processEvents();
  SplashProgress progress(*this);
  {
    // Closing a window start-up opens (the modem wizard) can leave no other
    // primary window up, and Qt then quits by closing every window: the
    // splash stays until start-up is done.
    const bool quitOnLastWindow = QGuiApplication::quitOnLastWindowClosed();
    QGuiApplication::setQuitOnLastWindowClosed(false);
    startingUp_ = true;
    const auto restore = qScopeGuard([&] {
      startingUp_ = false;
      QGuiApplication::setQuitOnLastWindowClosed(quitOnLastWindow);
    });
    waitsForClick_ = startUp_ ? startUp_(progress) : false;
  }
  if (waitsForClick_) {
    SplashTimer1->start();
    SetStatusText(QStringLiteral("Click to continue..."));
    // A key press continues too: the window asks for the keyboard, which a
    // splash window is not otherwise given.
    activateWindow();
    setFocus(Qt::OtherFocusReason);
  } else {
    ShowMainWindowAndUnload();
  }
}

void frmSplash::SetStatusText(const QString& text) {
  SplashLabel1->setText(text);
  Q_EMIT StatusTextChanged(text);
}

void frmSplash::SplashTimer1_Timer() { SplashLabel1->setVisible(!SplashLabel1->isVisible()); }

void frmSplash::ContinueFromSplash() {
  if (!waitsForClick_) return;
  SplashTimer1->stop();
  ShowMainWindowAndUnload();
}

void frmSplash::ShowMainWindowAndUnload() {
  waitsForClick_ = false;
  if (mainWindowFactory_) mainWindow_ = mainWindowFactory_();
  if (mainWindow_ != nullptr) {
    RegisterWindow(WindowRole::Main, mainWindow_);
    mainWindow_->show();
  }
  close();
}

void frmSplash::closeEvent(QCloseEvent* event) {
  // Start-up still writes its progress here; the splash closes itself after.
  if (startingUp_) {
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

void frmSplash::keyPressEvent(QKeyEvent* event) {
  ContinueFromSplash();
  event->accept();
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == Picture1 || watched == SplashLabel1) && event->type() == QEvent::MouseButtonPress) {
    ContinueFromSplash();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void SplashProgress::SetStatus(const QString& text) {
  if (!splash_.isNull()) splash_->SetStatusText(text);
}
void SplashProgress::SetPercent(int) {}
void SplashProgress::Yield() { QCoreApplication::processEvents(); }

}  // namespace mirolat
