#pragma once
// A file read front to back in blocks of whole lines through one buffer that
// is reused. Nothing of the file is mapped into memory, so a file cut short
// or rewritten while it is read gives a read error, never a signal; and a log
// of any size needs only the buffer.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "core/common/errors.h"

namespace mirolat {

class BlockReader {
 public:
  static constexpr qsizetype kDefaultBlockSize = qsizetype(1) << 18;

  // With stopAtEndMark, the text ends at the first end-of-file mark (byte 26):
  // the block that holds it ends with it and is the last one.
  explicit BlockReader(bool stopAtEndMark, qsizetype blockSize = kDefaultBlockSize);
  ~BlockReader();
  BlockReader(const BlockReader&) = delete;
  BlockReader& operator=(const BlockReader&) = delete;

  // Opens the file and measures it. Throws RunError with the condition of the
  // failure (path not found, access error, a folder ...).
  void Open(const QString& path);
  // The size measured by Open.
  qint64 size() const { return size_; }
  // Bytes handed out so far.
  qint64 offset() const { return handedOut_; }

  // The next stretch of the file: it ends just after a line ending (a line
  // feed, or a carriage return not followed by a line feed), or at the end of
  // the file; a line longer than the buffer makes the buffer grow. False at
  // the end of the text. Throws RunError when the file ends before the size
  // measured by Open (read past end) or a read fails (device I/O); the reader
  // is then as before the call, so the call may be repeated.
  bool Next(QByteArrayView& block);

  // Throws RunError (read past end) when the file is no longer the size it
  // had when it was opened: it changed while it was read.
  void CheckUnchanged() const;

 private:
  void Close();
  RunError ChangedError() const;

  bool stopAtEndMark_;
  qsizetype blockSize_;
  QString path_;
  int fd_ = -1;
  qint64 size_ = 0;
  qint64 readUpTo_ = 0;    // file offset of the end of the bytes in buffer_
  qint64 handedOut_ = 0;   // file offset of the end of the last block handed out
  bool finished_ = false;  // an end-of-file mark ended the text
  QByteArray buffer_;
  qsizetype bufferStart_ = 0;  // bytes of buffer_ before this are handed out
  qsizetype bufferEnd_ = 0;    // bytes of buffer_ read so far
};

}  // namespace mirolat
