// Two connections to one store at once, as two commands running together: a
// `config import` committing while `config export`, `scan` or `report` loads
// the record. A reader sees the old record or the new one, never a mix, and
// the defaults it fills in are saved onto the record it read.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "core/settings/configuration_io.h"
#include "support/sample_configuration.h"

namespace mirolat {
namespace {

class FailOnError : public ErrorReporter {
 public:
  std::atomic<int> failures{0};
  ErrorAnswer ReportError(const RunError& error) override {
    ADD_FAILURE() << error.description().toStdString();
    ++failures;
    return ErrorAnswer::Continue;
  }
};

// A record whose log file, limits, service names and holidays differ from
// the other's, with the viewer's font missing so that every load fills in the
// viewer defaults and saves.
Configuration Record(const char* tag, int services, int holidays) {
  Configuration c = test::ScaledConfiguration(services, 1);
  c.ModemLogFile = QStringLiteral("%1.log").arg(QLatin1String(tag));
  c.MaxConnections = 100 + services;
  for (int n = 0; n < services; ++n) {
    c.Services[static_cast<size_t>(n)].ServiceName = QStringLiteral("%1 service %2").arg(QLatin1String(tag)).arg(n + 1);
  }
  c.UsedHolidays = holidays;
  c.Holidays.fill(0);
  for (int n = 0; n < holidays; ++n) c.Holidays[static_cast<size_t>(n)] = 36000 + services + n;
  c.ViewLog.FontName.clear();
  return c;
}

// What loading `saved` from a store of its own gives: the record with its defaults.
Configuration AsLoaded(Configuration saved) {
  QTemporaryDir dir;
  SettingsStore store(SettingsStore::FilePathIn(dir.path()));
  FailOnError reporter;
  EXPECT_TRUE(SaveConfiguration(store, saved, reporter));
  Configuration loaded;
  LoadConfigurationWithDefaults(store, loaded, reporter);
  return loaded;
}

TEST(ConfigurationRaces, AReaderSeesTheOldOrTheNewRecordNeverAMix) {
  QTemporaryDir dir;
  const QString path = SettingsStore::FilePathIn(dir.path());
  const Configuration a = Record("A", 20, 3);
  const Configuration b = Record("B", 35, 9);
  const Configuration loadedA = AsLoaded(a);
  const Configuration loadedB = AsLoaded(b);
  ASSERT_NE(loadedA, loadedB);
  {
    SettingsStore store(path);
    FailOnError reporter;
    Configuration first = a;
    ASSERT_TRUE(SaveConfiguration(store, first, reporter));
  }

  std::atomic<bool> stop{false};
  std::atomic<int> saves{0};
  std::thread importer([&] {
    SettingsStore store(path);
    FailOnError reporter;
    for (int i = 0; i < 60 && !stop; ++i) {
      Configuration next = i % 2 == 0 ? b : a;
      SaveConfiguration(store, next, reporter);
      ++saves;
      // Commands come and go; one that saved without a pause would keep
      // every other writer waiting for its turn.
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    stop = true;
  });
  SettingsStore store(path);
  FailOnError reporter;
  int loads = 0;
  int mixes = 0;
  while (!stop) {
    Configuration loaded;
    LoadConfigurationWithDefaults(store, loaded, reporter);
    ++loads;
    if (loaded != loadedA && loaded != loadedB && ++mixes >= 5) stop = true;
  }
  importer.join();
  EXPECT_EQ(mixes, 0) << "in " << loads << " loads during " << saves << " saves";
  EXPECT_GT(loads, 0);
  EXPECT_TRUE(store.DamageMessage().isEmpty()) << store.DamageMessage().toStdString();

  // Whatever the last writer was, the store holds one whole record.
  Configuration last;
  LoadConfigurationWithDefaults(store, last, reporter);
  EXPECT_TRUE(last == loadedA || last == loadedB);
}

// While another command holds the write lock, a load that has nothing to fill
// in reads its snapshot and goes on: it writes nothing, so it waits for nothing.
TEST(ConfigurationRaces, ALoadWithNothingToFillInWritesNothing) {
  QTemporaryDir dir;
  const QString path = SettingsStore::FilePathIn(dir.path());
  Configuration complete = Record("C", 5, 1);
  complete.ViewLog.FontName = QStringLiteral("Fixed");
  {
    SettingsStore store(path);
    FailOnError reporter;
    Configuration first;
    LoadConfigurationWithDefaults(store, first, reporter);  // every key created
    ASSERT_TRUE(SaveConfiguration(store, complete, reporter));
  }
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE;", nullptr, nullptr, nullptr), SQLITE_OK);

  SettingsStore store(path);
  FailOnError reporter;
  Configuration loaded;
  // Asking for the lock would fail (busy) and go to the reporter.
  EXPECT_FALSE(LoadConfigurationWithDefaults(store, loaded, reporter));
  EXPECT_EQ(loaded, complete);
  EXPECT_EQ(reporter.failures, 0);
  sqlite3_exec(other, "ROLLBACK;", nullptr, nullptr, nullptr);
  sqlite3_close(other);
}

// The settings the viewer and the report windows own, from `windows`.
Configuration WithWindowsOf(Configuration record, const Configuration& windows) {
  record.ViewLog = windows.ViewLog;
  record.ReportSaveSettings = windows.ReportSaveSettings;
  record.ReportListView = windows.ReportListView;
  record.ReportAutoArrange = windows.ReportAutoArrange;
  record.SummaryReport = windows.SummaryReport;
  record.DetailReport = windows.DetailReport;
  return record;
}

// The desktop program holds the record it read while `config import` replaces
// it through another connection; then one of its windows saves. A window
// writes its own settings and nothing else, so the import survives (the
// options dialog writes the rest of the record, not the windows'). The kept
// image stays current and gives what parsing the values gives, and the
// program reads the changed record again, keeping its windows' settings.
TEST(ConfigurationRaces, AWindowSavesOnlyWhatItOwnsOverAnImportMadeMeanwhile) {
  using Save = std::function<bool(SettingsStore&, Configuration&, ErrorReporter&)>;
  const Save viewer = [](SettingsStore& s, Configuration& c, ErrorReporter& r) { return SaveViewLogSettings(s, c.ViewLog, r); };
  const Save report = [](SettingsStore& s, Configuration& c, ErrorReporter& r) { return SaveReportWindowSettings(s, c, r); };
  const struct {
    const char* window;
    std::function<void(Configuration&)> change;  // in the program's memory, windows and all
    Save save;
    // What the store holds afterwards, from the record imported and the program's.
    std::function<Configuration(Configuration imported, const Configuration& held)> stored;
  } rows[] = {
      {"viewer, saved on exit", [](Configuration& c) { c.ViewLog = {true, QStringLiteral("Fixed"), 11, true, false, 3000, 7000, 2}; },
       viewer, [](Configuration imported, const Configuration& held) { imported.ViewLog = held.ViewLog; return imported; }},
      {"viewer, not saved", [](Configuration& c) { c.ViewLog.FontSize = 14; c.ViewLog.SaveSettings = false; }, viewer,
       [](Configuration imported, const Configuration&) { imported.ViewLog.SaveSettings = false; return imported; }},
      {"report, saved on exit",
       [](Configuration& c) {
         c.ReportListView = false;
         c.SummaryReport.WinWidth = 9000;
         c.DetailReport.Columns[5] = 1234;
       },
       report, [](Configuration imported, const Configuration& held) { return WithWindowsOf(imported, held); }},
      {"report, not saved", [](Configuration& c) { c.ReportSaveSettings = false; c.SummaryReport.WinWidth = 9000; }, report,
       [](Configuration imported, const Configuration&) { imported.ReportSaveSettings = false; return imported; }},
      {"options' OK", [](Configuration& c) { c.MaxConnections = 777; c.SummaryReport.WinWidth = 9000; },
       SaveConfigurationKeepingWindows,
       [](Configuration imported, const Configuration& held) { return WithWindowsOf(held, imported); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.window);
    QTemporaryDir dir;
    const QString path = SettingsStore::FilePathIn(dir.path());
    SettingsStore program(path);
    FailOnError reporter;
    Configuration held = Record("A", 3, 1);
    ASSERT_TRUE(SaveConfiguration(program, held, reporter));
    qint64 seen = -1;
    LoadConfigurationWithDefaults(program, held, reporter, QString(), &seen);
    {
      SettingsStore cli(path);
      Configuration b = Record("B", 5, 2);
      ASSERT_TRUE(ImportConfiguration(cli, b, reporter));
    }
    const Configuration imported = WithWindowsOf(AsLoaded(Record("B", 5, 2)), held);
    row.change(held);
    const Configuration heldWindows = held;
    ASSERT_TRUE(row.save(program, held, reporter));

    SettingsStore other(path);
    Configuration fromImage;
    LoadConfigurationWithDefaults(other, fromImage, reporter);
    EXPECT_EQ(fromImage, row.stored(imported, held));
    ASSERT_FALSE(other.ReadDerived(QStringLiteral("configuration record")).isEmpty());
    other.SettingsCreateKey(Root::Machine, QStringLiteral("SOFTWARE\\MRL\\Unrelated"));  // the image no longer current
    Configuration parsed;
    LoadConfigurationWithDefaults(other, parsed, reporter);
    EXPECT_EQ(parsed, fromImage);

    EXPECT_TRUE(ReloadConfigurationIfChanged(program, held, seen, reporter));
    EXPECT_EQ(held, WithWindowsOf(fromImage, heldWindows));
    EXPECT_FALSE(ReloadConfigurationIfChanged(program, held, seen, reporter));
  }
}

}  // namespace
}  // namespace mirolat
