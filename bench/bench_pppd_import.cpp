// The system-log importer over a large syslog: mostly other programs' lines,
// with a dial-up session every 200 lines. Target: a 100 MB syslog in a few
// seconds (run by hand: build/bench/bench_pppd_import).
#include <benchmark/benchmark.h>

#include <QByteArray>

#include "core/logfile/pppd_import.h"

namespace {

QByteArray MakeSyslog(int sessions) {
  QByteArray log;
  const QByteArray noise = "Dec  6 21:03:11 host kernel: [12345.678] usb 1-1: reset full-speed USB device number 2\n";
  for (int i = 0; i < sessions; ++i) {
    for (int n = 0; n < 190; ++n) log += noise;
    log += "Dec  6 21:03:12 host chat[1235]: send (ATDT5551234^M)\n"
           "Dec  6 21:03:35 host chat[1235]: CONNECT 46667/ARQ/V90\n"
           "Dec  6 21:03:35 host pppd[1234]: Serial connection established.\n"
           "Dec  6 21:45:10 host pppd[1234]: Terminating on signal 15\n"
           "Dec  6 21:45:10 host pppd[1234]: Sent 1000 bytes, received 20000 bytes.\n";
  }
  return log;
}

void BM_ParsePppdLog(benchmark::State& state) {
  const QByteArray log = MakeSyslog(static_cast<int>(state.range(0)));
  const mirolat::Configuration config;
  for (auto _ : state) {
    const mirolat::PppdImportResult r = mirolat::ParsePppdLog(log, mirolat::PppdImportOptions{2026, 0}, config);
    benchmark::DoNotOptimize(r.Entries.size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * log.size());
}
BENCHMARK(BM_ParsePppdLog)->Arg(100)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
