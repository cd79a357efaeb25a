#include "core/common/block_reader.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirolat {

BlockReader::BlockReader(bool stopAtEndMark, qsizetype blockSize)
    : stopAtEndMark_(stopAtEndMark), blockSize_(std::max<qsizetype>(blockSize, 16)) {}

BlockReader::~BlockReader() { Close(); }

void BlockReader::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void BlockReader::Open(const QString& path) {
  Close();
  path_ = path;
  size_ = readUpTo_ = handedOut_ = 0;
  finished_ = false;
  bufferStart_ = bufferEnd_ = 0;
  if (QFileInfo(path).isDir()) throw FileErrorFromErrno(EISDIR, QStringLiteral("Cannot open"), path);
  const QByteArray name = QFile::encodeName(path);
  int fd = -1;
  do {
    fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) throw FileErrorFromErrno(errno, QStringLiteral("Cannot open"), path);
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    const int err = errno;
    ::close(fd);
    throw FileErrorFromErrno(err, QStringLiteral("Cannot read"), path);
  }
  fd_ = fd;
  size_ = st.st_size;
  const qint64 wanted = std::min<qint64>(size_, blockSize_);
  if (buffer_.size() < wanted) buffer_.resize(qsizetype(wanted));
}

RunError BlockReader::ChangedError() const {
  return RunError(ErrorCondition::ReadPastEnd,
                  QStringLiteral("Cannot read '%1': the file changed while it was read").arg(path_));
}

void BlockReader::CheckUnchanged() const {
  if (fd_ < 0) return;
  struct stat st {};
  if (::fstat(fd_, &st) != 0) throw FileErrorFromErrno(errno, QStringLiteral("Cannot read"), path_);
  if (st.st_size != size_) throw ChangedError();
}

bool BlockReader::Next(QByteArrayView& block) {
  if (finished_ || fd_ < 0) return false;
  // What is left of the last read moves to the front.
  if (bufferStart_ > 0) {
    const qsizetype left = bufferEnd_ - bufferStart_;
    if (left > 0) std::memmove(buffer_.data(), buffer_.constData() + bufferStart_, size_t(left));
    bufferStart_ = 0;
    bufferEnd_ = left;
  }
  qsizetype searchedForMark = 0;
  for (;;) {
    // Fill the buffer from the file.
    while (readUpTo_ < size_ && bufferEnd_ < buffer_.size()) {
      const qint64 wanted = std::min<qint64>(buffer_.size() - bufferEnd_, size_ - readUpTo_);
      const ssize_t got = ::pread(fd_, buffer_.data() + bufferEnd_, size_t(wanted), off_t(readUpTo_));
      if (got < 0) {
        if (errno == EINTR) continue;
        throw FileErrorFromErrno(errno, QStringLiteral("Cannot read"), path_);
      }
      if (got == 0) throw ChangedError();  // shorter than when it was opened
      bufferEnd_ += got;
      readUpTo_ += got;
    }
    const char* data = buffer_.constData();
    if (stopAtEndMark_ && bufferEnd_ > searchedForMark) {
      const void* mark = std::memchr(data + searchedForMark, 0x1a, size_t(bufferEnd_ - searchedForMark));
      searchedForMark = bufferEnd_;
      if (mark != nullptr) {
        const qsizetype cut = static_cast<const char*>(mark) - data + 1;
        block = QByteArrayView(data, cut);
        bufferStart_ = bufferEnd_;
        handedOut_ += cut;
        finished_ = true;
        return true;
      }
    }
    qsizetype cut = 0;
    if (readUpTo_ >= size_) {
      cut = bufferEnd_;  // the rest of the file
      if (cut == 0) return false;
    } else if (const void* lf = memrchr(data, '\n', size_t(bufferEnd_))) {
      cut = static_cast<const char*>(lf) - data + 1;
    } else if (const void* cr = bufferEnd_ > 1 ? memrchr(data, '\r', size_t(bufferEnd_ - 1)) : nullptr) {
      cut = static_cast<const char*>(cr) - data + 1;  // a lone carriage return: the next byte is no line feed
    }
    if (cut > 0) {
      block = QByteArrayView(data, cut);
      bufferStart_ = cut;
      handedOut_ += cut;
      return true;
    }
    // One line fills the whole buffer: make room for more of it.
    buffer_.resize(buffer_.size() * 2);
  }
}

}  // namespace mirolat
