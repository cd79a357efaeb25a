#pragma once
// One finished pppd session as modem-log entries, for the hook pppd runs when
// a link goes down (ip-down): the dialled number, found in the chat script
// the peers file's `connect` option runs, and the connect time and byte
// counts pppd hands its scripts.
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include "core/common/dates.h"
#include "core/logfile/pppd_import.h"
#include "core/model/configuration.h"

namespace mirolat {

// The value of the last `connect` option of a pppd options file (a peers
// file), its quotes and escapes undone; empty when there is none. Comments
// (# to the end of the line) are passed over.
QString PeersConnectCommand(QByteArrayView peersFile);

// The words of a command line or chat script: blanks separate them, '...'
// and "..." keep blanks inside one, # outside quotes starts a comment that
// runs to the end of its line.
QStringList SplitWords(QStringView text);

// What a chat command line says: the script file of `-f FILE`, the phone
// number of `-T NUMBER` (what \T stands for in the script) and, without a
// file, the inline script's words. A `connect` value that is no chat command
// (a shell script, say) leaves IsChat false.
struct ChatCommand {
  bool IsChat = false;
  QString ScriptFile;
  QString Phone;
  QStringList Script;
};
ChatCommand ParseChatCommand(const QString& command);

// The number the first send string holding an ATD command dials, \T taken as
// `phone`: the digits after ATD and its mode letter (T, P); pauses (,), waits
// (W, @), flash (!), blanks, dashes, chat escapes and the ^M ending are
// dropped. Empty when no word dials anything.
QString DialledNumberOfChat(const QStringList& scriptWords, const QString& phone = QString());

// The number the peer dials: reads `peersDir`/`callFile`, its connect
// command, and the chat script file it names (a relative name is taken from
// the peers folder). Empty with the reason in `error` when no number is found.
QString DialledNumberOfPeer(const QString& peersDir, const QString& callFile, QString& error);

// One session that has just ended.
struct FinishedSession {
  QString Number;  // digits
  qint64 Seconds = 0;
  qint64 BytesSent = 0;
  qint64 BytesReceived = 0;
  Date EndDay = 0;
  int EndSeconds = 0;  // time of day, 0..86399
};

// The entries a modem log would hold for it, with the configuration's
// response texts: the dial and the connection at its start, the disconnect,
// the bytes read and written at its end (a session over several days starts
// on its own day).
QList<ImportedEntry> SessionEntries(const FinishedSession& session, const Configuration& config);

}  // namespace mirolat
