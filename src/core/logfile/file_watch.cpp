#include "core/logfile/file_watch.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>

namespace mirolat {

namespace {
// Writers append in bursts; one look after they pause is enough.
constexpr int kSettleMs = 250;
}  // namespace

FileWatch::FileWatch(QObject* parent) : QObject(parent) {
  settle_.setSingleShot(true);
  settle_.setInterval(kSettleMs);
  connect(&settle_, &QTimer::timeout, this, &FileWatch::Settled);
  const auto touched = [this] {
    Rearm();
    settle_.start();
  };
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, touched);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, touched);
}

void FileWatch::Watch(const QString& path) {
  if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
  if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
  settle_.stop();
  path_ = path;
  seen_ = SignatureOf(path);
  if (path.isEmpty()) return;
  // The folder too: a file replaced by a rename or deleted and made again is
  // a new file, which the watch on the old one does not follow.
  const QString folder = QFileInfo(path).absolutePath();
  if (QFileInfo::exists(folder)) watcher_.addPath(folder);
  Rearm();
}

void FileWatch::Rearm() {
  if (!path_.isEmpty() && !watcher_.files().contains(path_) && QFileInfo::exists(path_)) watcher_.addPath(path_);
}

void FileWatch::Settled() {
  const Signature now = SignatureOf(path_);
  if (now == seen_) return;
  seen_ = now;
  Q_EMIT Changed();
}

FileWatch::Signature FileWatch::SignatureOf(const QString& path) {
  Signature s;
  if (path.isEmpty()) return s;
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return s;
  s.exists = true;
  s.size = st.st_size;
  s.inode = static_cast<quint64>(st.st_ino);
  s.modifiedNs = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return s;
}

}  // namespace mirolat
