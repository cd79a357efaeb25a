#pragma once
// A clean world for a window test: the locale pinned to US English, dialogs
// answered by script, and the settings store and the log directory in fresh
// temporary folders ($MIROLAT_CONFIG_DIR, $WinDir).
#include <QString>
#include <QTemporaryDir>
#include <QWidget>

namespace mirolat::test {

class CommonTestEnvironment {
 public:
  CommonTestEnvironment();
  ~CommonTestEnvironment();

  QString ConfigDir() const { return config_.path(); }
  // The log directory as the program sees it, ending in '/'.
  QString LogDir() const { return log_.path() + QLatin1Char('/'); }
  // Forgets scripted answers, shown boxes, dialog requests and beeps.
  static void ResetSeams();

 private:
  QTemporaryDir config_;
  QTemporaryDir log_;
};

// The control of `window` with this object name (the windows keep theirs
// private), or null.
template <class T>
T* Child(const QObject* window, const char* name) {
  return window->findChild<T*>(QLatin1String(name));
}

}  // namespace mirolat::test
