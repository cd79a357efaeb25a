#pragma once
// Standard output as a device whose every write is checked: a full disk, a
// closed pipe's error or any other failed write is remembered, so that the
// command can say so and end with a non-zero status instead of reporting
// success over output that never arrived.
#include <QIODevice>
#include <QString>
#include <QTextStream>

namespace mirolat::cli {

class DescriptorOutput : public QIODevice {
 public:
  // Writes to the open descriptor `fd` (not owned), naming it `what` in messages.
  DescriptorOutput(int fd, QString what);

  // The first failure's message; empty while every write succeeded.
  const QString& failure() const { return failure_; }
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char* data, qint64 size) override;

 private:
  int fd_;
  QString what_;
  QString failure_;
};

// Flushes `out` onto `device` and returns the failure message, if any: the
// device's own, or the stream's when it could not hand its text over.
QString FinishOutput(QTextStream& out, const DescriptorOutput& device);

}  // namespace mirolat::cli
