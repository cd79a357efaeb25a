// The settings store loading arbitrary stored values. Each input line is
// "Key|Name|kind|value": a value under SOFTWARE\MRL\Key (Key may name a
// sub-key, "ViewReport\SummaryReport"), stored with any kind number and
// bound as text, or as a 64-bit integer ("i:"), a real ("r:"), a blob ("b:")
// or NULL ("n:"). The values are written straight into a fresh store, which is
// then opened and loaded with its start-up defaults, as every command does.
//
// Whatever was stored, the load must end with a record the program can use
// and save: a damaged record is moved aside with its message, never a crash,
// never a failed step, and loading again (from the image of the parsed record
// that the first load kept) gives the same record without filling in anything.
#include <sqlite3.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

#include "core/settings/configuration_io.h"
#include "record_limits.h"

using namespace mirolat;

namespace {

// Any failed step is a finding: the load of a damaged record must not need one.
class TrapReporter : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError&) override { __builtin_trap(); }
};

void Bind(sqlite3_stmt* stmt, int index, const QByteArray& value) {
  const QByteArray rest = value.mid(2);
  if (value.startsWith("i:")) {
    sqlite3_bind_int64(stmt, index, rest.trimmed().toLongLong());
  } else if (value.startsWith("r:")) {
    sqlite3_bind_double(stmt, index, rest.trimmed().toDouble());
  } else if (value.startsWith("b:")) {
    sqlite3_bind_blob(stmt, index, rest.constData(), static_cast<int>(rest.size()), SQLITE_TRANSIENT);
  } else if (value.startsWith("n:")) {
    sqlite3_bind_null(stmt, index);
  } else {
    sqlite3_bind_text(stmt, index, value.constData(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
  }
}

void WriteRawValues(const QString& path, const QByteArray& input) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    __builtin_trap();
  }
  sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db,
                     "INSERT OR REPLACE INTO vals(key, name, fold, kind, value)"
                     " VALUES((SELECT id FROM keys WHERE root = 0 AND fold = lower(?1)), ?2, lower(?2), ?3, ?4);",
                     -1, &insert, nullptr);
  int lines = 0;
  for (const QByteArray& line : input.split('\n')) {
    if (++lines > 400) break;
    const QList<QByteArray> parts = line.split('|');
    if (parts.size() < 4) continue;
    const QByteArray key = parts[0].split('\\').last();
    const QByteArray value = line.mid(parts[0].size() + parts[1].size() + parts[2].size() + 3);
    sqlite3_bind_text(insert, 1, key.constData(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 2, parts[1].constData(), static_cast<int>(parts[1].size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(insert, 3, parts[2].trimmed().toLongLong());
    Bind(insert, 4, value);
    sqlite3_step(insert);  // a name under a key that does not exist is refused by NOT NULL: skipped
    sqlite3_reset(insert);
    sqlite3_clear_bindings(insert);
  }
  sqlite3_finalize(insert);
  sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  // Thousands of services make a run slow, not wrong; keep each run short.
  for (const QByteArray& line : input.split('\n')) {
    const QByteArray lower = line.toLower();
    if ((lower.contains("services|") || lower.contains("services\\")) && lower.mid(lower.lastIndexOf('|') + 1)
                                                                                   .replace("i:", "")
                                                                                   .trimmed()
                                                                                   .toDouble() > 300) {
      return 0;
    }
  }
  QTemporaryDir dir;
  if (!dir.isValid()) __builtin_trap();
  const QString path = SettingsStore::FilePathIn(dir.path());
  {
    // Every key of the configuration and nothing in it.
    SettingsStore store(path);
    SettingsStore::Transaction tx(store);
    for (const QString& key : {kGeneralKey, kModemKey, kCostsKey, kServicesKey, kViewLogKey, kViewReportKey,
                               kSummaryReportKey, kDetailReportKey, kHolidaysKey}) {
      store.SettingsCreateKey(Root::Machine, key);
    }
    tx.Commit();
  }
  WriteRawValues(path, input);

  TrapReporter reporter;
  Configuration first;
  {
    SettingsStore store(path);
    LoadConfigurationWithDefaults(store, first, reporter);
    if (!WithinRecordLimits(first)) __builtin_trap();
  }
  Configuration second;
  {
    SettingsStore store(path);
    if (!store.DamageMessage().isEmpty()) __builtin_trap();
    if (LoadConfigurationWithDefaults(store, second, reporter)) __builtin_trap();
    if (!store.DamageMessage().isEmpty()) __builtin_trap();
  }
  if (!(first == second)) __builtin_trap();
  return 0;
}
