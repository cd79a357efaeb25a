#pragma once
// The icon in the desktop's system tray: its tooltip and the top of its menu
// tell the session in progress (or "No connection") and today's and the
// cycle's totals; the menu opens the main window, runs today's report or
// quits. The object, its tooltip and its menu exist whether or not the
// desktop has a tray; the icon shows only where there is one.
#include <QObject>
#include <QStringList>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace mirolat {

class TrayIcon : public QObject {
  Q_OBJECT
 public:
  explicit TrayIcon(QObject* parent = nullptr);
  ~TrayIcon() override;

  // The status lines (LiveStatusLines); `connected` picks the icon.
  void SetStatus(const QStringList& lines, bool connected);
  QString ToolTip() const;
  QMenu* Menu() const { return menu_; }
  QSystemTrayIcon* Icon() const { return icon_; }
  // Shown when the desktop has a tray; hidden otherwise.
  void SetShown(bool shown);

 Q_SIGNALS:
  void OpenRequested();
  void TodaysReportRequested();
  void QuitRequested();

 private:
  QSystemTrayIcon* icon_ = nullptr;
  QMenu* menu_ = nullptr;
  QList<QAction*> statusActions_;
  QAction* statusEnd_ = nullptr;  // the separator below the status lines
};

}  // namespace mirolat
