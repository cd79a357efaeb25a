// mirolat-cli genlog --seed N --days D [--start YYYY-MM-DD] [--out FILE]
#include "cli/cli_context.h"
#include "cli/commands.h"
#include "core/analysis/log_generator.h"
#include "core/common/atomic_file.h"

namespace mirolat::cli {

namespace {

const QDate kLastGeneratedDay(9999, 12, 31);

const char* kGenlogUsage = "usage: mirolat-cli genlog --seed N --days D [--start YYYY-MM-DD] [--out FILE]\n";

bool ParseNumber(const QString& text, qint64 lo, qint64 hi, qint64& value) {
  bool ok = false;
  value = text.toLongLong(&ok);
  return ok && value >= lo && value <= hi;
}

}  // namespace

int CmdGenlog(const QStringList& args, QTextStream& out, QTextStream& err) {
  LogGeneratorOptions options;
  QString outPath;
  bool haveSeed = false;
  bool haveDays = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (i + 1 >= args.size() ||
        (a != QLatin1String("--seed") && a != QLatin1String("--days") && a != QLatin1String("--out") &&
         a != QLatin1String("--start"))) {
      err << "mirolat-cli genlog: unexpected argument '" << a << "'\n" << kGenlogUsage;
      return 2;
    }
    const QString value = args[++i];
    qint64 n = 0;
    if (a == QLatin1String("--seed")) {
      if (!ParseNumber(value, 0, 0xFFFFFFFFLL, n)) {
        err << "mirolat-cli genlog: --seed needs a whole number from 0 to 4294967295, not '" << value << "'\n";
        return 2;
      }
      options.seed = quint32(n);
      haveSeed = true;
    } else if (a == QLatin1String("--days")) {
      if (!ParseNumber(value, 1, 36500, n)) {
        err << "mirolat-cli genlog: --days needs a whole number from 1 to 36500, not '" << value << "'\n";
        return 2;
      }
      options.days = int(n);
      haveDays = true;
    } else if (a == QLatin1String("--start")) {
      options.start = QDate::fromString(value, Qt::ISODate);
      if (!options.start.isValid() || options.start.year() < 1000 || options.start.year() > 9999) {
        err << "mirolat-cli genlog: --start needs a date YYYY-MM-DD, not '" << value << "'\n";
        return 2;
      }
    } else {
      outPath = value;
    }
  }
  if (!haveSeed || !haveDays) {
    err << "mirolat-cli genlog: --seed and --days are required\n" << kGenlogUsage;
    return 2;
  }

  // The log's dates have four-digit years: the last day, and the day after it
  // that a call of the last evening may reach, must lie before the year 10000.
  const QDate lastDay = options.start.addDays(options.days - 1);
  if (lastDay.addDays(1) > kLastGeneratedDay) {
    const QString latest = kLastGeneratedDay.addDays(-1).toString(Qt::ISODate);
    err << "mirolat-cli genlog: " << options.days << " days from " << options.start.toString(Qt::ISODate)
        << " end after " << latest << ": a log's dates have four-digit years and a call of the last day may"
        << " run into the next, so the last day may be " << latest << " at the latest\n";
    return 1;
  }

  GeneratedLogStats stats;
  const QByteArray log = GenerateModemLog(options, &stats);
  if (stats.lastDate > kLastGeneratedDay) {
    err << "mirolat-cli genlog: the calls of the last days run past " << kLastGeneratedDay.toString(Qt::ISODate)
        << ": a log's dates have four-digit years; end the range earlier\n";
    return 1;
  }
  if (outPath.isEmpty()) {
    out << QString::fromLatin1(log);
    out.flush();
    return 0;
  }
  // Written beside the file and renamed over it: a failure leaves it as it was.
  try {
    WriteFileAtomically(outPath, log, CliFiles());
  } catch (const RunError& e) {
    err << "mirolat-cli genlog: cannot write '" << outPath << "': " << e.description() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace mirolat::cli
