#pragma once
// The log as one text, as the log viewer shows and saves it: read whole, one
// character per byte, lines ended by '\n' in the text; written back with the
// file's own line end, adding a final line end only when the text has none.
// Also the file's stamp (size and time), to tell whether someone else wrote
// the file since it was read.
#include <QByteArray>
#include <QDateTime>
#include <QString>


namespace mirolat {

// What the file looked like when it was read: a later stamp that differs means
// lines were written (or the file was replaced) in the meantime.
struct FileStamp {
  bool exists = false;
  qint64 size = 0;
  QDateTime modified;
  bool operator==(const FileStamp&) const = default;
};
FileStamp StampOfFile(const QString& path);

struct LogText {
  QString text;           // lines separated by '\n'
  QByteArray lineEnd;     // the line end the file uses: "\r\n" (also for a file without one) or "\n"
  FileStamp stamp;        // the file as it was read
};

// Reads the whole file. CR LF, a lone LF and a lone CR each end a line. Throws
// RunError when the file cannot be read.
LogText ReadLogText(const QString& path);

// The bytes a text is saved as: '\n' becomes `lineEnd`, each character one
// byte (a character beyond Latin-1 becomes '?'), and one line end is added
// only when a non-empty text does not already end with one, so saving the
// same text again writes the same bytes.
QByteArray LogTextBytes(QStringView text, const QByteArray& lineEnd);

// Writes the text atomically over `path`. With a `backupPath` the file's
// previous bytes are kept there first (replacing an earlier backup only once
// the new one is whole). Throws RunError; the file and an earlier backup keep
// their old bytes then.
void WriteLogText(const QString& path, QStringView text, const QByteArray& lineEnd, const QString& backupPath = {});

// The file-dialog filter of archives.
inline constexpr const char* kArchiveFileFilter = "Mirolat Modem Log Archive (*.mrl)";

}  // namespace mirolat
