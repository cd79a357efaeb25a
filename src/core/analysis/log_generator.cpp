#include "core/analysis/log_generator.h"

#include <algorithm>
#include <random>
#include <vector>

namespace mirolat {

namespace {

constexpr qint64 kCentisPerSecond = 100;
constexpr qint64 kCentisPerDay = 86400 * kCentisPerSecond;

// Draws from std::mt19937 (whose output the standard fixes) with integer
// arithmetic only, so every platform produces the same log for a seed.
class Draw {
 public:
  explicit Draw(quint32 seed) : gen_(seed) {}
  // 0 <= result < n (n > 0).
  int Below(int n) { return int((quint64(gen_()) * quint64(n)) >> 32); }
  // lo <= result <= hi.
  int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
  bool Percent(int p) { return Below(100) < p; }

 private:
  std::mt19937 gen_;
};

// Writes dated lines at a clock that only moves forward.
class LogWriter {
 public:
  explicit LogWriter(QDate start) : start_(start) {}

  qint64 Now() const { return now_; }
  void MoveTo(qint64 centis) { now_ = std::max(now_, centis); }
  void Wait(qint64 centis) { now_ += centis; }

  void Line(const char* text) {
    Stamp();
    out_.append(text);
    out_.append("\r\n");
    ++lines_;
  }
  void Line(const QByteArray& text) {
    Stamp();
    out_.append(text);
    out_.append("\r\n");
    ++lines_;
  }

  int Lines() const { return lines_; }
  // The date of the last line written; none before the first.
  QDate LastDate() const { return stampDay_ < 0 ? QDate() : start_.addDays(stampDay_); }
  QByteArray Take() { return std::move(out_); }
  void Reserve(qsizetype bytes) { out_.reserve(bytes); }

 private:
  static void Two(char* p, int v) {
    p[0] = char('0' + v / 10);
    p[1] = char('0' + v % 10);
  }

  void Stamp() {
    const qint64 day = now_ / kCentisPerDay;
    if (day != stampDay_) {
      const QDate d = start_.addDays(day);
      Two(datePrefix_, d.month());
      datePrefix_[2] = '-';
      Two(datePrefix_ + 3, d.day());
      datePrefix_[5] = '-';
      Two(datePrefix_ + 6, d.year() / 100);
      Two(datePrefix_ + 8, d.year() % 100);
      datePrefix_[10] = ' ';
      stampDay_ = day;
    }
    qint64 rest = now_ % kCentisPerDay;
    const int centis = int(rest % 100);
    rest /= 100;
    char time[15];
    Two(time, int(rest / 3600));
    time[2] = ':';
    Two(time + 3, int(rest / 60 % 60));
    time[5] = ':';
    Two(time + 6, int(rest % 60));
    time[8] = '.';
    Two(time + 9, centis);
    time[11] = ' ';
    time[12] = '-';
    time[13] = ' ';
    out_.append(datePrefix_, 11);
    out_.append(time, 14);
  }

  QDate start_;
  qint64 now_ = 0;
  qint64 stampDay_ = -1;
  char datePrefix_[11] = {};
  QByteArray out_;
  int lines_ = 0;
};

const char* const kNumbers[] = {"5551234", "5559876", "0845123456", "5550000"};

const char* const kConnectSpeeds[] = {"28800/ARQ/V34/LAPM/V42BIS", "33600/ARQ/V34/LAPM/V42BIS", "31200/ARQ/V34/LAPM/V42BIS",
                                      "26400/ARQ/V34/LAPM/V42BIS", "24000/ARQ/V32/LAPM"};

class Generator {
 public:
  Generator(const LogGeneratorOptions& options, GeneratedLogStats& stats)
      : options_(options), draw_(options.seed), log_(options.start), stats_(stats) {}

  QByteArray Run() {
    const int perDay = std::max(0, options_.sessionsPerDay);
    log_.Reserve(qsizetype(options_.days) * std::max(1, perDay) * 1500);
    for (int day = 0; day < options_.days; ++day) {
      // The log opens with a call on its first day.
      int calls = perDay == 0 ? 0 : draw_.Between(0, 2 * perDay);
      if (day == 0 && perDay > 0) calls = std::max(calls, 1);
      std::vector<qint64> starts;
      starts.reserve(calls);
      for (int c = 0; c < calls; ++c) starts.push_back(PlannedStart(day));
      std::sort(starts.begin(), starts.end());
      for (qint64 planned : starts) {
        // The modem is free again a little while after the last call.
        log_.MoveTo(std::max(planned, log_.Now() + draw_.Between(30, 600) * kCentisPerSecond));
        Call();
      }
    }
    stats_.lines = log_.Lines();
    stats_.lastDate = log_.LastDate();
    return log_.Take();
  }

 private:
  // When a call of this day is meant to start: mostly evenings, some late at
  // night (and so across midnight), some in the daytime.
  qint64 PlannedStart(int day) {
    int second;
    const int kind = draw_.Below(100);
    if (kind < 6) {
      second = 23 * 3600 + 20 * 60 + draw_.Below(38 * 60);  // 23:20 .. 23:57
    } else if (kind < 70) {
      second = 17 * 3600 + draw_.Below(6 * 3600);  // 17:00 .. 22:59
    } else {
      second = 7 * 3600 + draw_.Below(10 * 3600);  // 07:00 .. 16:59
    }
    return day * kCentisPerDay + qint64(second) * kCentisPerSecond + draw_.Below(100);
  }

  void Step() { log_.Wait(draw_.Between(0, 35)); }
  void Seconds(int lo, int hi) { log_.Wait(qint64(draw_.Between(lo, hi)) * kCentisPerSecond + draw_.Below(100)); }
  void Say(const char* text) {
    Step();
    log_.Line(text);
  }
  void Say(const QByteArray& text) {
    Step();
    log_.Line(text);
  }

  void OpenModem() {
    Say("Opening Modem");
    Say("19200,N,8,1");
    Say("Initializing modem.");
    Say("Send: AT<cr>");
    Say("Recv: AT<cr>");
    Say("Recv: <cr><lf>OK<cr><lf>");
    Say("Interpreted response: Ok");
    Say("Send: AT&FE1V1&C1&D2 W2 S95=47 S0=0<cr>");
    Say("Recv: <cr><lf>OK<cr><lf>");
    Say("Interpreted response: Ok");
  }

  void CloseModem() {
    Say("Recv: <cr><lf>OK<cr><lf>");
    Say("Interpreted response: Ok");
    Say("19200,N,8,1");
    Say("Closing Modem.");
  }

  void Call() {
    const int kind = draw_.Below(100);
    if (kind < 8) {
      Answered();
    } else if (kind < 16) {
      FailedDial();
    } else {
      Dialled();
    }
  }

  QByteArray PickNumber() {
    const int r = draw_.Below(100);
    if (r < 3) {
      ++stats_.unusableNumbers;
      return QByteArray("9,") + kNumbers[0];
    }
    if (r < 50) return kNumbers[0];
    if (r < 75) return kNumbers[1];
    if (r < 95) return kNumbers[2];
    return kNumbers[3];
  }

  void Dial(const QByteArray& number) {
    OpenModem();
    Say("Dialing.");
    Say("Send: ATDT" + number + "<cr>");
    Say("Recv: ATDT" + number + "<cr>");
  }

  void Dialled() {
    Dial(PickNumber());
    Seconds(12, 40);
    Connected();
  }

  void Answered() {
    OpenModem();
    Say("Waiting for a call.");
    Seconds(60, 1800);
    log_.Line("Recv: <cr><lf>RING<cr><lf>");
    Say("Interpreted response: Ring");
    Seconds(2, 6);
    log_.Line("Recv: <cr><lf>RING<cr><lf>");
    Say("Interpreted response: Ring");
    Say("Answering the call.");
    Say("Send: ATA<cr>");
    Say("Recv: ATA<cr>");
    Seconds(10, 25);
    ++stats_.answeredSessions;
    Connected();
  }

  void FailedDial() {
    Dial(PickNumber());
    const int why = draw_.Below(3);
    if (why == 0) {
      Seconds(3, 8);
      log_.Line("Recv: <cr><lf>BUSY<cr><lf>");
      Say("Interpreted response: Busy");
    } else if (why == 1) {
      Seconds(30, 50);
      log_.Line("Recv: <cr><lf>NO CARRIER<cr><lf>");
      Say("Interpreted response: No Carrier");
    } else {
      Seconds(1, 3);
      log_.Line("Recv: <cr><lf>NO DIALTONE<cr><lf>");
      Say("Interpreted response: No Dialtone");
    }
    Say("Hanging up the modem.");
    Say("Hardware hangup by lowering DTR.");
    CloseModem();
    ++stats_.failedDials;
  }

  int SessionSeconds() {
    const int r = draw_.Below(100);
    if (r < 35) return draw_.Between(30, 10 * 60);
    if (r < 85) return draw_.Between(10 * 60, 60 * 60);
    return draw_.Between(60 * 60, 3 * 60 * 60);
  }

  void Connected() {
    const QByteArray speed = kConnectSpeeds[draw_.Below(5)];
    log_.Line("Recv: <cr><lf>CONNECT " + speed + "<cr><lf>");
    Say("Interpreted response: Connect");
    Say("Connection established at " + speed.left(5) + "bps.");
    Say("Error-control on.");
    Say("Data compression on.");
    ++stats_.connectedSessions;
    const qint64 connectedAt = log_.Now();
    const int seconds = SessionSeconds();
    log_.Wait(qint64(seconds) * kCentisPerSecond + draw_.Below(100));

    if (draw_.Percent(5)) {
      // The driver died with the connection up: no hang-up, no statistics.
      ++stats_.missingDisconnects;
      return;
    }
    if (log_.Now() / kCentisPerDay != connectedAt / kCentisPerDay) ++stats_.midnightCrossings;
    if (draw_.Percent(20)) {
      log_.Line("Remote modem hung up.");
      Say("Recv: <cr><lf>NO CARRIER<cr><lf>");
      Say("Interpreted response: No Carrier");
      Say("Hanging up the modem.");
    } else {
      log_.Line("Hanging up the modem.");
    }
    Say("Hardware hangup by lowering DTR.");
    Seconds(0, 2);
    Say("Recv: <cr><lf>OK<cr><lf>");
    Say("Interpreted response: Ok");
    const int fastest = std::max(0, options_.maxBytesPerSecond);
    const qint64 reads = qint64(seconds) * draw_.Between(std::min(150, fastest), fastest);
    const qint64 writes = reads * draw_.Between(4, 15) / 100;
    Say("Session Statistics:");
    Say("               Reads : " + QByteArray::number(reads) + " bytes");
    Say("               Writes : " + QByteArray::number(writes) + " bytes");
    Say("19200,N,8,1");
    Say("Closing Modem.");
  }

  const LogGeneratorOptions& options_;
  Draw draw_;
  LogWriter log_;
  GeneratedLogStats& stats_;
};

}  // namespace

QByteArray GenerateModemLog(const LogGeneratorOptions& options, GeneratedLogStats* stats) {
  GeneratedLogStats local;
  GeneratedLogStats& s = stats ? *stats : local;
  s = GeneratedLogStats{};
  if (options.days <= 0 || !options.start.isValid()) return {};
  return Generator(options, s).Run();
}

QStringList GeneratedLogNumbers() {
  QStringList numbers;
  for (const char* n : kNumbers) numbers << QString::fromLatin1(n);
  return numbers;
}

}  // namespace mirolat
