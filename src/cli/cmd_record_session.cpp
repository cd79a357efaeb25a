// mirolat-cli record-session (--number N --seconds S [--bytes-sent B]
//                            [--bytes-received B] [--end "YYYY-MM-DD HH:MM:SS"] | --pppd-env) [--log FILE]
// One finished dial-up session appended to the modem log as the entries a
// modem log holds for it; with --pppd-env its figures come from the
// environment pppd gives its ip-down scripts.
#include <QDateTime>
#include <QFileInfo>
#include <QProcessEnvironment>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/terminal_progress.h"
#include "core/common/small_file.h"
#include "core/logfile/pppd_hook.h"
#include "core/settings/config_paths.h"

namespace mirolat::cli {

namespace {

const char* kRecordUsage =
    "usage: mirolat-cli record-session --number N --seconds S [--bytes-sent B] [--bytes-received B]\n"
    "                                  [--end \"YYYY-MM-DD HH:MM:SS\"] [--log FILE]\n"
    "       mirolat-cli record-session --pppd-env [--number N] [--end ...] [--log FILE]\n";
const char* kDefaultPeersDir = "/etc/ppp/peers";

// A whole number of at least 0, from an option or the environment.
bool Count(const QString& text, qint64* value) {
  bool ok = false;
  *value = text.trimmed().toLongLong(&ok);
  return ok && *value >= 0;
}

bool AllDigits(const QString& text) {
  if (text.isEmpty()) return false;
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

}  // namespace

const char* RecordSessionHelp() {
  return "usage: mirolat-cli record-session --number N --seconds S [--bytes-sent B] [--bytes-received B]\n"
         "                                  [--end \"YYYY-MM-DD HH:MM:SS\"] [--log FILE]\n"
         "       mirolat-cli record-session --pppd-env [--number N] [--end ...] [--log FILE]\n"
         "\n"
         "Appends one finished session to the modem log as modem-log entries (the\n"
         "dial with its number and the connection at its start, the disconnect and\n"
         "the bytes read and written at its end), in the configuration's response\n"
         "texts, so that the reports find it. The log is replaced atomically; a log\n"
         "with entries after the session's start is left as it is.\n"
         "\n"
         "  --number N           the number dialled (digits)\n"
         "  --seconds S          the connected time in seconds\n"
         "  --bytes-sent B       bytes sent (written); default 0\n"
         "  --bytes-received B   bytes received (read); default 0\n"
         "  --end \"YYYY-MM-DD HH:MM:SS\"  when the session ended; default now\n"
         "  --log FILE           the modem log; default: the configured one\n"
         "  --pppd-env           take the figures from pppd's ip-down environment:\n"
         "                       CONNECT_TIME, BYTES_SENT, BYTES_RCVD; the number from\n"
         "                       --number, else $MIROLAT_NUMBER, else the ATD command of\n"
         "                       the chat script the peers file $CALL_FILE connects with\n"
         "                       (in $MIROLAT_PPP_PEERS_DIR, default /etc/ppp/peers)\n";
}

int CmdRecordSession(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  QStringList args = arguments;
  bool missing[6] = {};
  QString number = TakeOption(args, QStringLiteral("--number"), &missing[0]);
  QString secondsText = TakeOption(args, QStringLiteral("--seconds"), &missing[1]);
  QString sentText = TakeOption(args, QStringLiteral("--bytes-sent"), &missing[2]);
  QString receivedText = TakeOption(args, QStringLiteral("--bytes-received"), &missing[3]);
  const QString endText = TakeOption(args, QStringLiteral("--end"), &missing[4]);
  QString logPath = TakeOption(args, QStringLiteral("--log"), &missing[5]);
  const bool fromPppd = args.removeAll(QStringLiteral("--pppd-env")) > 0;
  if (std::find(std::begin(missing), std::end(missing), true) != std::end(missing) || !args.isEmpty()) {
    if (!args.isEmpty()) err << "mirolat-cli record-session: unexpected argument '" << args.first() << "'\n";
    else err << "mirolat-cli record-session: an option is missing its value\n";
    err << kRecordUsage;
    return 2;
  }

  if (fromPppd) {
    if (!secondsText.isEmpty() || !sentText.isEmpty() || !receivedText.isEmpty()) {
      err << "mirolat-cli record-session: --pppd-env takes the time and bytes from the environment\n"
          << kRecordUsage;
      return 2;
    }
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    secondsText = env.value(QStringLiteral("CONNECT_TIME"));
    sentText = env.value(QStringLiteral("BYTES_SENT"), QStringLiteral("0"));
    receivedText = env.value(QStringLiteral("BYTES_RCVD"), QStringLiteral("0"));
    if (secondsText.isEmpty()) {
      err << "mirolat-cli record-session: CONNECT_TIME is not set: run from pppd's ip-down\n";
      return 2;
    }
    if (number.isEmpty()) number = env.value(QStringLiteral("MIROLAT_NUMBER")).trimmed();
    if (number.isEmpty()) {
      QString error;
      number = DialledNumberOfPeer(env.value(QStringLiteral("MIROLAT_PPP_PEERS_DIR"), QLatin1String(kDefaultPeersDir)),
                                   env.value(QStringLiteral("CALL_FILE")), error);
      if (number.isEmpty()) {
        err << "mirolat-cli record-session: " << error << "; set MIROLAT_NUMBER\n";
        return 1;
      }
    }
  } else if (number.isEmpty() || secondsText.isEmpty()) {
    err << "mirolat-cli record-session: --number and --seconds are required (or --pppd-env)\n" << kRecordUsage;
    return 2;
  }

  FinishedSession session;
  session.Number = number;
  if (!AllDigits(number)) {
    err << "mirolat-cli record-session: the number must be digits, not '" << number << "'\n";
    return 2;
  }
  if (!Count(secondsText, &session.Seconds) || !Count(sentText.isEmpty() ? QStringLiteral("0") : sentText,
                                                       &session.BytesSent) ||
      !Count(receivedText.isEmpty() ? QStringLiteral("0") : receivedText, &session.BytesReceived)) {
    err << "mirolat-cli record-session: the seconds and byte counts must be whole numbers of 0 or more\n";
    return 2;
  }
  QDateTime end = QDateTime::currentDateTime();
  if (!endText.isEmpty()) {
    end = QDateTime::fromString(endText, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!end.isValid()) {
      err << "mirolat-cli record-session: --end needs \"YYYY-MM-DD HH:MM:SS\", not '" << endText << "'\n";
      return 2;
    }
  }
  session.EndDay = FromQDate(end.date());
  session.EndSeconds = end.time().msecsSinceStartOfDay() / 1000;

  CliContext context;
  if (!OpenCliContext(context, err)) return 1;
  try {
    if (logPath.isEmpty()) logPath = LogDirectory() + context.Config.ModemLogFile;
    const QList<ImportedEntry> entries = SessionEntries(session, context.Config);
    // All or nothing: a session whose start the log has passed would lose its dial.
    if (QFileInfo(logPath).exists()) {
      const LogMoment last = LastEntryMoment(ReadSmallRegularFile(logPath, kMaxImportModemLogBytes));
      const ImportedEntry& first = entries.front();
      if (LogMoment{first.Day, first.Seconds, first.Hundredths} < last) {
        err << "mirolat-cli record-session: " << logPath << " already has entries after the session's start ("
            << first.LogLine().left(19) << "); nothing was recorded\n";
        return 1;
      }
    }
    TerminalProgress progress(err);
    const int appended = ImportIntoModemLog(logPath, entries, CliFiles(), &progress);
    out << "Recorded a session of " << session.Seconds << " seconds to " << session.Number << ": appended "
        << appended << " entries to " << logPath << ".\n";
  } catch (const RunError& e) {
    err << "mirolat-cli: " << e.description() << '\n';
    return 1;
  }
  return 0;
}

}  // namespace mirolat::cli
