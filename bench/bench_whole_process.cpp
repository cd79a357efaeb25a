// Whole processes against each other, start-up included, CPU time (user +
// system) of each child as wait4 reports it, warm cache:
//   mirolat-cli report --log F --from .. --to ..         (the text Summary)
//   grep -ci 'connection established' F > out
//   wc -l F > out
// on generated logs of about 300,000 and 3,000,000 lines (genlog seeds and
// days below), each tool writing its output to a file. GNU grep writing to
// /dev/null stops at the first match (it knows nobody reads the count), so a
// grep sent to /dev/null is no yardstick; here it writes its count to a file.
// Also the peak resident memory of `report --format json --details` against
// the text Summary.
//
// Run by hand: build/bench/bench_whole_process [--cli PATH] [--runs N] [--small-only]
// (PATH defaults to mirolat-cli beside this program's folder: ../src/mirolat-cli).
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "core/analysis/log_generator.h"

namespace {

// Three priced services, tariffs and holidays; room for every session of the ranges below.
const char* const kConfig = R"({
  "General": {"MaxServices": 10, "MaxConnections": 32767, "MaxConnectDays": 2, "NoDisconDuration": 900,
              "NoDisconData": 100, "MaxLogSize": 1000000, "ShowErrors": true},
  "Costs": {"CalcCosts": true, "DialCost": 0.2, "CostPerHour": 1.5, "CostPerMeg": 0.1},
  "Services": [
    {"ServiceName": "NetOne Internet", "ServiceNumber": "5551234", "DialOption": 2, "DialFixedTariff": 0,
     "Tariffs": [
       {"Description": "Holiday Rate", "AppliesDays": "Holidays", "AppliesTimeStart": "00:00", "AppliesTimeEnd": "23:59",
        "DialRate": 0.05, "PerMinuteRate": 0.01, "After": 0},
       {"Description": "Weekend Rate", "AppliesDays": "Sat - Sun", "AppliesTimeStart": "00:00", "AppliesTimeEnd": "23:59",
        "DialRate": 0.05, "PerMinuteRate": 0.01, "After": 0},
       {"Description": "Night Economy", "AppliesDays": "Mon - Fri", "AppliesTimeStart": "00:00", "AppliesTimeEnd": "07:59",
        "DialRate": 0.05, "PerMinuteRate": 0.01, "After": 0},
       {"Description": "Peak Period Tariff", "AppliesDays": "Mon - Fri", "AppliesTimeStart": "08:00", "AppliesTimeEnd": "17:59",
        "DialRate": 0.10, "PerMinuteRate": 0.04, "After": 60},
       {"Description": "Economy Tariff", "AppliesDays": "Mon - Fri", "AppliesTimeStart": "18:00", "AppliesTimeEnd": "23:59",
        "DialRate": 0.05, "PerMinuteRate": 0.015, "After": 0}],
     "ServiceOption": 2, "ServiceRate": 0, "FlexRate": 0.5, "UpToHours": 20, "PenaltyPeriod": "Month", "FlexRate2": 1.5,
     "PerMeg": 0, "AfterMeg": 0, "MegPeriod": "Month"},
    {"ServiceName": "CallNet", "ServiceNumber": "5559876", "DialOption": 1, "DialFixedTariff": 0.15, "Tariffs": [],
     "ServiceOption": 1, "ServiceRate": 1.2, "FlexRate": 0, "UpToHours": 0, "PenaltyPeriod": "Day", "FlexRate2": 0,
     "PerMeg": 0.05, "AfterMeg": 5, "MegPeriod": "Day"},
    {"ServiceName": "FlatNet Local", "ServiceNumber": "0845123456", "DialOption": 2, "DialFixedTariff": 0,
     "Tariffs": [
       {"Description": "Local Call", "AppliesDays": "Everyday", "AppliesTimeStart": "00:00", "AppliesTimeEnd": "23:59",
        "DialRate": 0.08, "PerMinuteRate": 0.02, "After": 0}],
     "ServiceOption": 1, "ServiceRate": 0, "FlexRate": 0, "UpToHours": 0, "PenaltyPeriod": "Day", "FlexRate2": 0,
     "PerMeg": 0.1, "AfterMeg": 50, "MegPeriod": "Month"}
  ],
  "Holidays": ["1998-01-01", "1998-12-25"]
})";

struct LogCase {
  const char* name;
  quint32 seed;
  int days;
  // The report range: the whole log at 300k (about 10,500 sessions); the last
  // nineteen years at 3M (about 19,000 sessions, under the 32,767 sessions a
  // run may hold), so that the analysis still reads every line.
  const char* from;
  const char* to;
};

const LogCase kCases[] = {{"300k", 7, 3800, "1998-01-01", "2008-05-27"},
                          {"3M", 7, 36500, "2078-12-01", "2097-12-06"}};

struct Usage {
  double cpu = 0;     // user + system seconds
  long maxRssKb = 0;  // peak resident set
  int status = 0;
};

// Runs argv with stdout to `outPath`, stderr to /dev/null.
Usage RunChild(const std::vector<std::string>& argv, const std::string& outPath) {
  Usage u;
  const pid_t pid = fork();
  if (pid < 0) std::abort();
  if (pid == 0) {
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int null = ::open("/dev/null", O_WRONLY);
    if (out < 0 || null < 0) _exit(127);
    dup2(out, 1);
    dup2(null, 2);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  rusage r{};
  if (wait4(pid, &status, 0, &r) != pid) std::abort();
  u.cpu = double(r.ru_utime.tv_sec + r.ru_stime.tv_sec) + double(r.ru_utime.tv_usec + r.ru_stime.tv_usec) * 1e-6;
  u.maxRssKb = r.ru_maxrss;
  u.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return u;
}

// Median CPU time of `runs` runs (after one warm-up run), and the largest peak memory.
Usage Measure(const std::vector<std::string>& argv, const std::string& outPath, int runs) {
  RunChild(argv, outPath);
  std::vector<double> times;
  Usage result;
  for (int i = 0; i < runs; ++i) {
    const Usage u = RunChild(argv, outPath);
    times.push_back(u.cpu);
    result.maxRssKb = std::max(result.maxRssKb, u.maxRssKb);
    result.status = std::max(result.status, u.status);
  }
  std::sort(times.begin(), times.end());
  result.cpu = times[times.size() / 2];
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QString cli = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../src/mirolat-cli"));
  int runs = 11;
  bool smallOnly = false;
  const QStringList args = app.arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--cli") && i + 1 < args.size()) {
      cli = args[++i];
    } else if (args[i] == QLatin1String("--runs") && i + 1 < args.size()) {
      runs = std::max(1, args[++i].toInt());
    } else if (args[i] == QLatin1String("--small-only")) {
      smallOnly = true;
    } else {
      std::fprintf(stderr, "usage: bench_whole_process [--cli PATH] [--runs N] [--small-only]\n");
      return 2;
    }
  }
  if (!QFileInfo(cli).isExecutable()) {
    std::fprintf(stderr, "bench_whole_process: no mirolat-cli at %s (use --cli)\n", qPrintable(cli));
    return 2;
  }
  QTemporaryDir dir;
  const std::string cliPath = QFile::encodeName(QFileInfo(cli).absoluteFilePath()).toStdString();
  const std::string out = QFile::encodeName(dir.filePath(QStringLiteral("out"))).toStdString();
  const QString configDir = dir.filePath(QStringLiteral("config"));
  QDir().mkpath(configDir);
  qputenv("MIROLAT_CONFIG_DIR", QFile::encodeName(configDir));
  {
    QFile f(dir.filePath(QStringLiteral("config.json")));
    if (!f.open(QIODevice::WriteOnly) || f.write(kConfig) < 0) std::abort();
  }
  if (RunChild({cliPath, "config", "import", QFile::encodeName(dir.filePath(QStringLiteral("config.json"))).toStdString()},
               out)
          .status != 0) {
    std::fprintf(stderr, "bench_whole_process: config import failed\n");
    return 1;
  }

  std::printf("CPU time (user+system) of whole processes, median of %d runs after a warm-up; output to a file\n",
              runs);
  std::printf("%-5s %9s %8s | %10s %10s %10s | %12s %12s | %10s %10s %8s\n", "log", "lines", "MB", "report ms",
              "grep ms", "wc ms", "report/grep", "report/wc", "text MB", "json MB", "json/text");
  for (const LogCase& c : kCases) {
    if (smallOnly && std::string(c.name) != "300k") continue;
    mirolat::LogGeneratorOptions o;
    o.seed = c.seed;
    o.days = c.days;
    mirolat::GeneratedLogStats stats;
    const QString logPath = dir.filePath(QStringLiteral("ModemLog_%1.txt").arg(QLatin1String(c.name)));
    qint64 logBytes = 0;
    {
      // Freed before the children start: a forked child's peak memory
      // counts what it shared with this process.
      const QByteArray bytes = mirolat::GenerateModemLog(o, &stats);
      logBytes = bytes.size();
      QFile f(logPath);
      if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) std::abort();
    }
    const std::string log = QFile::encodeName(logPath).toStdString();
    const std::vector<std::string> report = {cliPath, "report", "--log", log, "--from", c.from, "--to", c.to,
                                             "--locale", "en_US"};
    std::vector<std::string> json = report;
    json.insert(json.end(), {"--format", "json", "--details"});
    const Usage r = Measure(report, out, runs);
    if (r.status != 0) std::fprintf(stderr, "bench_whole_process: report exited %d\n", r.status);
    const Usage j = Measure(json, out, std::max(1, runs / 4));
    if (j.status != 0) std::fprintf(stderr, "bench_whole_process: json report exited %d\n", j.status);
    const Usage g = Measure({"grep", "-ci", "connection established", log}, out, runs);
    const Usage w = Measure({"wc", "-l", log}, out, runs);
    std::printf("%-5s %9d %8.1f | %10.1f %10.1f %10.1f | %11.2fx %11.2fx | %10.1f %10.1f %7.2fx\n", c.name,
                stats.lines, double(logBytes) / (1024.0 * 1024.0), r.cpu * 1e3, g.cpu * 1e3, w.cpu * 1e3,
                r.cpu / g.cpu, r.cpu / w.cpu, double(r.maxRssKb) / 1024.0, double(j.maxRssKb) / 1024.0,
                double(j.maxRssKb) / double(r.maxRssKb));
    std::fflush(stdout);
  }
  std::printf("(text MB / json MB: peak resident memory of the text Summary and of --format json --details)\n");
  return 0;
}
