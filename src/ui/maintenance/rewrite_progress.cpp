#include "ui/maintenance/rewrite_progress.h"

#include <QCoreApplication>

namespace mirolat {

namespace {
// Events run at most this often: a rewrite reports about once per percent, and
// repainting more often than a screen refresh only slows it down.
constexpr int kEventIntervalMs = 30;
}  // namespace

RewriteProgress::RewriteProgress(QObject* parent) : QObject(parent) { sinceEvents_.start(); }

void RewriteProgress::SetStatus(const QString& text) {
  lastStatus_ = text;
  ++statusCount_;
  Q_EMIT StatusTextChanged(text);
}

void RewriteProgress::SetPercent(int percent) {
  lastPercent_ = percent;
  Q_EMIT ProgressValueChanged(percent);
}

void RewriteProgress::Yield() {
  if (sinceEvents_.elapsed() < kEventIntervalMs) return;
  sinceEvents_.restart();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void RewriteProgress::Begin() {
  lastPercent_ = 0;
  Q_EMIT ProgressValueChanged(0);
  Q_EMIT ProgressBarShown(true);
}

void RewriteProgress::End() { Q_EMIT ProgressBarShown(false); }

}  // namespace mirolat
