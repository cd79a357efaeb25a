#include "ui/tray/tray_icon.h"

#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QStyle>
#include <QSystemTrayIcon>

namespace mirolat {
namespace {

QIcon StateIcon(bool connected) {
  const QIcon fallback = QApplication::style()->standardIcon(connected ? QStyle::SP_DriveNetIcon : QStyle::SP_ComputerIcon);
  return QIcon::fromTheme(connected ? QStringLiteral("network-transmit-receive") : QStringLiteral("network-offline"),
                          fallback);
}

}  // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {
  setObjectName(QStringLiteral("trayIcon"));
  menu_ = new QMenu;
  menu_->setObjectName(QStringLiteral("mnuTray"));
  statusEnd_ = menu_->addSeparator();
  QAction* open = menu_->addAction(QIcon::fromTheme(QStringLiteral("window-new")), QStringLiteral("&Open Mirolat"));
  open->setObjectName(QStringLiteral("mnuTrayOpen"));
  QAction* report = menu_->addAction(QIcon::fromTheme(QStringLiteral("x-office-document")), QStringLiteral("Today's &Report"));
  report->setObjectName(QStringLiteral("mnuTrayTodaysReport"));
  menu_->addSeparator();
  QAction* quit = menu_->addAction(QIcon::fromTheme(QStringLiteral("application-exit")), QStringLiteral("&Quit"));
  quit->setObjectName(QStringLiteral("mnuTrayQuit"));
  connect(open, &QAction::triggered, this, &TrayIcon::OpenRequested);
  connect(report, &QAction::triggered, this, &TrayIcon::TodaysReportRequested);
  connect(quit, &QAction::triggered, this, &TrayIcon::QuitRequested);

  icon_ = new QSystemTrayIcon(StateIcon(false), this);
  icon_->setContextMenu(menu_);
  // A click on the icon opens the window, as its menu's first item does.
  connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick) Q_EMIT OpenRequested();
  });
  SetStatus({QStringLiteral("No connection")}, false);
}

TrayIcon::~TrayIcon() {
  icon_->setContextMenu(nullptr);
  delete menu_;
}

void TrayIcon::SetStatus(const QStringList& lines, bool connected) {
  for (QAction* action : statusActions_) {
    menu_->removeAction(action);
    delete action;
  }
  statusActions_.clear();
  for (const QString& line : lines) {
    auto* action = new QAction(QString(line).replace(QLatin1Char('&'), QStringLiteral("&&")), menu_);
    action->setObjectName(QStringLiteral("mnuTrayStatus%1").arg(statusActions_.size()));
    action->setEnabled(false);
    menu_->insertAction(statusEnd_, action);
    statusActions_.append(action);
  }
  icon_->setIcon(StateIcon(connected));
  icon_->setToolTip(QStringLiteral("Mirolat\n") + lines.join(QLatin1Char('\n')));
}

QString TrayIcon::ToolTip() const { return icon_->toolTip(); }

void TrayIcon::SetShown(bool shown) { icon_->setVisible(shown && QSystemTrayIcon::isSystemTrayAvailable()); }

}  // namespace mirolat
