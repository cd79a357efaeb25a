#include "cli/checked_output.h"

#include "core/common/atomic_file.h"
#include "core/common/errors.h"

namespace mirolat::cli {

DescriptorOutput::DescriptorOutput(int fd, QString what) : fd_(fd), what_(std::move(what)) {
  open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 DescriptorOutput::readData(char*, qint64) { return -1; }

qint64 DescriptorOutput::writeData(const char* data, qint64 size) {
  // After a failure nothing more is written: the output is already incomplete.
  if (!failure_.isEmpty()) return -1;
  try {
    WriteAllToDescriptor(fd_, QByteArrayView(data, size), what_);
  } catch (const RunError& e) {
    failure_ = e.description();
    setErrorString(failure_);
    return -1;
  }
  return size;
}

QString FinishOutput(QTextStream& out, const DescriptorOutput& device) {
  out.flush();
  if (!device.failure().isEmpty()) return device.failure();
  if (out.status() != QTextStream::Ok) return QStringLiteral("the output could not be written");
  return {};
}

}  // namespace mirolat::cli
