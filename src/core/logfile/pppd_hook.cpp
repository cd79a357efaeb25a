#include "core/logfile/pppd_hook.h"

#include <QDir>

#include "core/common/errors.h"
#include "core/common/small_file.h"

namespace mirolat {

namespace {

// Peers files and chat scripts are a few lines; anything larger is no script.
constexpr qint64 kMaxScriptBytes = 1024 * 1024;

bool IsChatProgram(const QString& word) { return word == QLatin1String("chat") || word.endsWith(QLatin1String("/chat")); }

// A chat option that takes the next word as its value.
bool TakesValue(const QString& option) {
  return option == QLatin1String("-t") || option == QLatin1String("-r") || option == QLatin1String("-T") ||
         option == QLatin1String("-U") || option == QLatin1String("-f");
}

// The digits an ATD command dials, from just after "ATD".
QString DialDigits(QStringView rest) {
  qsizetype i = 0;
  if (i < rest.size() && (rest[i].toUpper() == u'T' || rest[i].toUpper() == u'P')) ++i;
  QString digits;
  for (; i < rest.size(); ++i) {
    const QChar c = rest[i];
    if (c.isDigit() && c.unicode() < 0x80) {
      digits += c;
    } else if (c == u'\\' || c == u'^') {
      ++i;  // a chat escape (\d, \p, \r ...) or a control character (^M)
    } else if (QStringView(u", -()Ww@!*#").contains(c)) {
      continue;
    } else {
      break;
    }
  }
  return digits;
}

}  // namespace

QStringList SplitWords(QStringView text) {
  QStringList words;
  QString word;
  bool inWord = false;
  QChar quote;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (!quote.isNull()) {
      if (c == quote) {
        quote = QChar();
      } else {
        word += c;
      }
    } else if (c == u'\'' || c == u'"') {
      quote = c;
      inWord = true;
    } else if (c == u'#' && !inWord) {
      while (i < text.size() && text[i] != u'\n') ++i;
    } else if (c.isSpace()) {
      if (inWord) words << word;
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words << word;
  return words;
}

QString PeersConnectCommand(QByteArrayView peersFile) {
  const QStringList words = SplitWords(QString::fromUtf8(peersFile));
  QString command;
  for (qsizetype i = 0; i + 1 < words.size(); ++i) {
    if (words[i] == QLatin1String("connect")) command = words[++i];
  }
  return command;
}

ChatCommand ParseChatCommand(const QString& command) {
  ChatCommand chat;
  QStringList words = SplitWords(command);
  if (!words.isEmpty() && words.front() == QLatin1String("exec")) words.removeFirst();
  if (words.isEmpty() || !IsChatProgram(words.front())) return chat;
  chat.IsChat = true;
  qsizetype i = 1;
  for (; i < words.size() && words[i].startsWith(u'-') && words[i].size() > 1; ++i) {
    const QString& option = words[i];
    if (!TakesValue(option)) continue;
    if (i + 1 >= words.size()) break;
    const QString& value = words[++i];
    if (option == QLatin1String("-f")) chat.ScriptFile = value;
    if (option == QLatin1String("-T")) chat.Phone = value;
  }
  if (chat.ScriptFile.isEmpty()) chat.Script = words.mid(i);
  return chat;
}

QString DialledNumberOfChat(const QStringList& scriptWords, const QString& phone) {
  for (const QString& word : scriptWords) {
    QString text = word;
    text.replace(QLatin1String("\\T"), phone);
    qsizetype at = text.indexOf(QLatin1String("ATD"), 0, Qt::CaseInsensitive);
    while (at >= 0) {
      const QString digits = DialDigits(QStringView(text).mid(at + 3));
      if (!digits.isEmpty()) return digits;
      at = text.indexOf(QLatin1String("ATD"), at + 3, Qt::CaseInsensitive);
    }
  }
  return QString();
}

QString DialledNumberOfPeer(const QString& peersDir, const QString& callFile, QString& error) {
  if (callFile.isEmpty() || callFile.contains(u'/')) {
    error = QStringLiteral("no peer name (CALL_FILE) to read the dialled number from");
    return QString();
  }
  const QString peersPath = QDir(peersDir).filePath(callFile);
  try {
    const QString command = PeersConnectCommand(ReadSmallRegularFile(peersPath, kMaxScriptBytes));
    if (command.isEmpty()) {
      error = QStringLiteral("%1 has no connect option").arg(peersPath);
      return QString();
    }
    const ChatCommand chat = ParseChatCommand(command);
    if (!chat.IsChat) {
      error = QStringLiteral("the connect option of %1 runs no chat: %2").arg(peersPath, command);
      return QString();
    }
    QStringList script = chat.Script;
    QString source = peersPath;
    if (!chat.ScriptFile.isEmpty()) {
      source = QDir(peersDir).filePath(chat.ScriptFile);
      script = SplitWords(QString::fromUtf8(ReadSmallRegularFile(source, kMaxScriptBytes)));
    }
    const QString number = DialledNumberOfChat(script, chat.Phone);
    if (number.isEmpty()) error = QStringLiteral("the chat script of %1 dials no number (ATD...)").arg(source);
    return number;
  } catch (const RunError& e) {
    error = e.description();
    return QString();
  }
}

QList<ImportedEntry> SessionEntries(const FinishedSession& session, const Configuration& config) {
  const qint64 end = qint64(session.EndDay) * kSecondsPerDay + session.EndSeconds;
  const qint64 start = end - std::max<qint64>(session.Seconds, 0);
  auto entry = [](qint64 moment, int hundredths, QString text) {
    return ImportedEntry{Date(moment / kSecondsPerDay), int(moment % kSecondsPerDay), hundredths, std::move(text)};
  };
  return {
      entry(start, 0, config.ModemDial + QLatin1Char('T') + session.Number + QStringLiteral("<cr>")),
      entry(start, 1, config.ModemConnect),
      entry(end, 2, config.ModemUserDisconnect),
      entry(end, 3, config.ModemReads + QStringLiteral(" : ") + QString::number(session.BytesReceived) +
                        QStringLiteral(" bytes")),
      entry(end, 4, config.ModemWrites + QStringLiteral(" : ") + QString::number(session.BytesSent) +
                        QStringLiteral(" bytes")),
  };
}

}  // namespace mirolat
