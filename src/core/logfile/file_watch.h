#pragma once
// Watches the current file for changes made by other programs (a pppd import,
// cron, a text editor): appended to, truncated, replaced by a rename, deleted
// and made again. Changed is emitted once the file has settled, and only when
// its size, time or identity differ from what was seen last.
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace mirolat {

class FileWatch : public QObject {
  Q_OBJECT
 public:
  explicit FileWatch(QObject* parent = nullptr);

  // Watches `path` from now on (empty: nothing); the file as it is now is
  // the one later changes are measured against.
  void Watch(const QString& path);
  QString Path() const { return path_; }

 Q_SIGNALS:
  void Changed();

 private:
  struct Signature {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 inode = 0;
    bool operator==(const Signature&) const = default;
  };
  static Signature SignatureOf(const QString& path);
  void Rearm();
  void Settled();

  QFileSystemWatcher watcher_;
  QTimer settle_;
  QString path_;
  Signature seen_;
};

}  // namespace mirolat
