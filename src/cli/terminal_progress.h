#pragma once
// The progress line of a long command: drawn on stderr when it is a terminal,
// nothing otherwise (scripts and cron jobs see only the result).
#include <unistd.h>

#include <QTextStream>
#include <algorithm>
#include <cstdio>

#include "core/common/progress.h"

namespace mirolat::cli {

class TerminalProgress : public Progress {
 public:
  explicit TerminalProgress(QTextStream& err) : err_(err), active_(isatty(fileno(stderr)) != 0) {}
  ~TerminalProgress() override { Finish(); }
  void SetStatus(const QString& text) override {
    if (!active_) return;
    err_ << '\r' << text.leftJustified(width_, QLatin1Char(' '));
    width_ = std::max<int>(width_, int(text.size()));
    err_.flush();
    shown_ = true;
  }
  void SetPercent(int) override {}
  // A line of its own on stderr, terminal or not.
  void Notice(const QString& text) override {
    Finish();
    err_ << "mirolat-cli: " << text << '\n';
    err_.flush();
  }
  // True when the line is drawn (stderr is a terminal).
  bool Active() const { return active_; }
  // Clears the line.
  void Finish() {
    if (!shown_) return;
    err_ << '\r' << QString(width_, QLatin1Char(' ')) << '\r';
    err_.flush();
    shown_ = false;
  }

 private:
  QTextStream& err_;
  bool active_;
  bool shown_ = false;
  int width_ = 0;
};

}  // namespace mirolat::cli
