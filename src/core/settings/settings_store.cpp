#include "core/settings/settings_store.h"

#include <sqlite3.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <limits>
#include <vector>

namespace mirolat {

namespace {

constexpr int kSchemaVersion = 2;
// How long a statement waits for another connection's lock before giving up.
constexpr int kBusyTimeoutMs = 5000;
constexpr int kBusyRetryMs = 20;
// The largest file checked page by page when it is opened.
constexpr qint64 kQuickCheckLimit = 2 * 1024 * 1024;

// Version 1 held the keys and values only.
const char* const kKeysAndValues =
    "CREATE TABLE keys(id INTEGER PRIMARY KEY, root INTEGER NOT NULL, parent INTEGER NOT NULL,"
    " name TEXT NOT NULL, fold TEXT NOT NULL, UNIQUE(root, parent, fold));"
    "CREATE TABLE vals(seq INTEGER PRIMARY KEY, key INTEGER NOT NULL, name TEXT NOT NULL,"
    " fold TEXT NOT NULL, kind INTEGER NOT NULL, value, UNIQUE(key, fold));";

// Version 2 adds a count of changes to keys and values, kept by triggers so
// that every writer moves it, and data derived from them, each piece marked
// with the count it was made at: a piece is current only while the count is.
const char* const kDerivedData =
    "CREATE TABLE changes(id INTEGER PRIMARY KEY CHECK(id = 1), count INTEGER NOT NULL);"
    "INSERT INTO changes VALUES(1, 0);"
    "CREATE TABLE derived(name TEXT PRIMARY KEY, changes INTEGER NOT NULL, data BLOB NOT NULL);"
    "CREATE TRIGGER keys_inserted AFTER INSERT ON keys BEGIN UPDATE changes SET count = count + 1; END;"
    "CREATE TRIGGER keys_updated AFTER UPDATE ON keys BEGIN UPDATE changes SET count = count + 1; END;"
    "CREATE TRIGGER keys_deleted AFTER DELETE ON keys BEGIN UPDATE changes SET count = count + 1; END;"
    "CREATE TRIGGER vals_inserted AFTER INSERT ON vals BEGIN UPDATE changes SET count = count + 1; END;"
    "CREATE TRIGGER vals_updated AFTER UPDATE ON vals BEGIN UPDATE changes SET count = count + 1; END;"
    "CREATE TRIGGER vals_deleted AFTER DELETE ON vals BEGIN UPDATE changes SET count = count + 1; END;"
    "PRAGMA user_version = 2;";

// Key and value names compare like the store they replace: ASCII letters
// without regard to case, everything else exactly.
QString FoldName(const QString& name) {
  QString folded = name;
  for (QChar& c : folded) {
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) c = QChar(c.unicode() + 32);
  }
  return folded;
}

QStringList SplitPath(const QString& keyPath) { return keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts); }

ErrorCondition ConditionFromSqlite(int rc) {
  switch (rc & 0xFF) {
    case SQLITE_FULL:
      return ErrorCondition::DiskFull;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
    case SQLITE_AUTH:
      return ErrorCondition::PathFileAccess;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return ErrorCondition::FileLocked;
    case SQLITE_IOERR:
      return ErrorCondition::DeviceIO;
    default:
      return ErrorCondition::Other;
  }
}

bool IsDamage(int rc) {
  const int primary = rc & 0xFF;
  return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

// Thrown inside the open sequence when the file is damaged rather than unreachable.
struct DamagedDatabase {
  QString reason;
};

}  // namespace

// One prepared statement, finalized when it goes out of scope.
class SettingsStore::Statement {
 public:
  // Takes the prepared statement of `sql` from the store's cache (a statement
  // already in use elsewhere is prepared afresh) and gives it back, reset,
  // when it goes out of scope.
  Statement(SettingsStore& store, const char* sql) : store_(store), sql_(sql) {
    stmt_ = store.statements_.take(sql);
    if (stmt_ != nullptr) return;
    const int rc = sqlite3_prepare_v3(store.db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
    if (rc != SQLITE_OK) {
      sqlite3_finalize(stmt_);
      store.ThrowDbError(rc, QStringLiteral("preparing a query"));
    }
  }
  ~Statement() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
    if (store_.db_ == nullptr || store_.statements_.contains(sql_)) {
      sqlite3_finalize(stmt_);
    } else {
      store_.statements_.insert(sql_, stmt_);
    }
  }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, qint64 value) {
    Check(sqlite3_bind_int64(stmt_, index, value));
    return *this;
  }
  Statement& Bind(int index, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    Check(sqlite3_bind_text(stmt_, index, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT));
    return *this;
  }
  Statement& BindBlob(int index, const QByteArray& bytes) {
    Check(sqlite3_bind_blob64(stmt_, index, bytes.constData(), static_cast<sqlite3_uint64>(bytes.size()),
                              SQLITE_STATIC));
    return *this;
  }
  // Ready to be bound and stepped again.
  void Reset() { sqlite3_reset(stmt_); }
  // True while a row is available.
  bool Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    store_.ThrowDbError(rc, QStringLiteral("reading or writing"));
  }
  qint64 Int(int col) const { return sqlite3_column_int64(stmt_, col); }
  double Real(int col) const { return sqlite3_column_double(stmt_, col); }
  int Type(int col) const { return sqlite3_column_type(stmt_, col); }
  bool IsNull(int col) const { return Type(col) == SQLITE_NULL; }
  // Text bytes valid until the next step (empty for NULL).
  QByteArrayView View(int col) const {
    if (IsNull(col)) return {};
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
    return QByteArrayView(data, sqlite3_column_bytes(stmt_, col));
  }
  QByteArray Bytes(int col) const {
    // The type is asked first: reading the bytes may convert the value in place.
    if (IsNull(col)) return {};
    const void* data = Type(col) == SQLITE_BLOB ? sqlite3_column_blob(stmt_, col) : sqlite3_column_text(stmt_, col);
    return QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(stmt_, col));
  }
  QString Text(int col) const {
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
    return QString::fromUtf8(data, sqlite3_column_bytes(stmt_, col));
  }

 private:
  void Check(int rc) {
    if (rc != SQLITE_OK) store_.ThrowDbError(rc, QStringLiteral("binding a value"));
  }
  SettingsStore& store_;
  const char* sql_;
  sqlite3_stmt* stmt_ = nullptr;
};

QString SettingsStore::FilePathIn(const QString& folder) {
  return QDir(folder).filePath(QString::fromLatin1(kFileName));
}

SettingsStore::SettingsStore(const QString& filePath) : path_(QFileInfo(filePath).absoluteFilePath()) {
  const QFileInfo info(path_);
  const QFileInfo folder(info.absolutePath());
  if (!folder.isDir()) {
    throw RunError(ErrorCondition::PathNotFound,
                   QStringLiteral("The settings folder '%1' does not exist.").arg(folder.absoluteFilePath()));
  }
  if (!folder.isWritable()) {
    throw RunError(ErrorCondition::PathFileAccess,
                   QStringLiteral("The settings folder '%1' cannot be written.").arg(folder.absoluteFilePath()));
  }
  if (info.exists() && (!info.isReadable() || !info.isWritable())) {
    throw RunError(ErrorCondition::PathFileAccess,
                   QStringLiteral("The settings file '%1' cannot be read or written.").arg(path_));
  }
  try {
    OpenDatabase();
  } catch (const DamagedDatabase& damaged) {
    MoveAsideAndRecreate(damaged.reason);
  }
}

SettingsStore::~SettingsStore() { CloseDatabase(); }

void SettingsStore::CloseDatabase() {
  for (sqlite3_stmt* stmt : std::as_const(statements_)) sqlite3_finalize(stmt);
  statements_.clear();
  keyIds_.clear();
  if (db_ != nullptr) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
  }
}

RunError SettingsStore::ErrorFromDb(int rc, const QString& action) const {
  const QString detail = db_ != nullptr ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString::fromUtf8(sqlite3_errstr(rc));
  return RunError(ConditionFromSqlite(rc),
                  QStringLiteral("Settings store '%1': %2 failed: %3").arg(path_, action, detail));
}

void SettingsStore::ThrowDbError(int rc, const QString& action) const {
  RunError error = ErrorFromDb(rc, action);
  if (IsDamage(rc)) throw StoreDamaged(std::move(error));
  throw error;
}

void SettingsStore::Exec(const char* sql) {
  char* message = nullptr;
  const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, &message);
  sqlite3_free(message);
  if (rc != SQLITE_OK) ThrowDbError(rc, QStringLiteral("running '%1'").arg(QString::fromLatin1(sql)));
}

void SettingsStore::OpenDatabase() {
  const QByteArray nativePath = QFile::encodeName(path_);
  const int rc = sqlite3_open_v2(nativePath.constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    const RunError error = ErrorFromDb(rc, QStringLiteral("opening"));
    CloseDatabase();
    throw error;
  }
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  // Any statement that touches the file finds out whether it is a database;
  // nothing is written before the file is known to be a store of ours.
  auto guarded = [this](auto&& step) {
    try {
      step();
    } catch (const RunError& e) {
      const int code = sqlite3_errcode(db_);
      if (IsDamage(code)) {
        CloseDatabase();
        throw DamagedDatabase{e.description()};
      }
      CloseDatabase();
      throw;
    }
  };
  // A store of a usual size is checked page by page here, in a few
  // milliseconds at most; a larger one (thousands of services) would take
  // most of a second, so it is found damaged when a page read turns out bad
  // (StoreDamaged), which the configuration's loads handle like this check.
  if (QFileInfo(path_).size() <= kQuickCheckLimit) {
    guarded([this] {
      Statement check(*this, "PRAGMA quick_check;");
      while (check.Step()) {
        const QString result = check.Text(0);
        if (result != QLatin1String("ok")) {
          CloseDatabase();
          throw DamagedDatabase{QStringLiteral("integrity check: %1").arg(result)};
        }
      }
    });
  }
  guarded([this] {
    const int version = UserVersion();
    Statement tables(*this, "SELECT count(*) FROM sqlite_master;");
    const qint64 objects = tables.Step() ? tables.Int(0) : 0;
    const bool fresh = version == 0 && objects == 0;
    if (!fresh && !SchemaLooksRight(version)) {
      CloseDatabase();
      throw DamagedDatabase{QStringLiteral("it is not a settings store of this program")};
    }
  });
  // Only a file known to be ours is switched to write-ahead logging.
  guarded([this] {
    // Programs opening a new store at once all ask to switch it to
    // write-ahead logging; SQLite refuses all but one at once, without the
    // busy wait (waiting would deadlock), so the others ask again.
    for (int waited = 0;; waited += kBusyRetryMs) {
      try {
        Exec("PRAGMA journal_mode = WAL;");
        break;
      } catch (const RunError&) {
        if ((sqlite3_errcode(db_) & 0xff) != SQLITE_BUSY || waited >= kBusyTimeoutMs) throw;
        QThread::msleep(kBusyRetryMs);
      }
    }
    Exec("PRAGMA synchronous = FULL;");
    // Room for a whole record of thousands of services in one transaction:
    // with the default 2 MB a large save writes the same pages out many times.
    // Pages are only held as they are used.
    Exec("PRAGMA cache_size = -65536;");
  });
  if (UserVersion() != kSchemaVersion) {
    // A new store is created, an older one brought up to date, under the
    // write lock and checked again there: another process may have done it.
    guarded([this] {
      Transaction tx(*this);
      const int version = UserVersion();
      if (version == 0) Exec(kKeysAndValues);
      if (version < 2) Exec(kDerivedData);
      tx.Commit();
    });
  }
}

int SettingsStore::UserVersion() {
  Statement version(*this, "PRAGMA user_version;");
  return version.Step() ? static_cast<int>(version.Int(0)) : 0;
}

bool SettingsStore::SchemaLooksRight(int version) {
  if (version < 1 || version > kSchemaVersion) return false;
  std::vector<const char*> queries = {"SELECT id, root, parent, name, fold FROM keys LIMIT 0;",
                                      "SELECT seq, key, name, fold, kind, value FROM vals LIMIT 0;"};
  if (version >= 2) {
    queries.push_back("SELECT id, count FROM changes LIMIT 0;");
    queries.push_back("SELECT name, changes, data FROM derived LIMIT 0;");
  }
  for (const char* sql : queries) {
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_OK) return false;
  }
  return true;
}

void SettingsStore::MoveAsideAndRecreate(const QString& reason) {
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
  QString aside = path_ + QStringLiteral(".damaged-") + stamp;
  for (int n = 2; QFileInfo::exists(aside) || QFileInfo::exists(aside + QStringLiteral("-wal")); ++n) {
    aside = path_ + QStringLiteral(".damaged-") + stamp + QLatin1Char('-') + QString::number(n);
  }
  if (!QFile::rename(path_, aside)) {
    throw RunError(ErrorCondition::PathFileAccess,
                   QStringLiteral("The settings file '%1' is damaged (%2) and could not be moved aside to '%3'.")
                       .arg(path_, reason, aside));
  }
  // The journal files belong to the damaged database; a fresh one must not replay them.
  for (const char* suffix : {"-wal", "-shm"}) {
    const QString companion = path_ + QLatin1String(suffix);
    if (QFileInfo::exists(companion)) QFile::rename(companion, aside + QLatin1String(suffix));
  }
  damagedPath_ = aside;
  damageMessage_ = QStringLiteral(
                       "The settings file '%1' was damaged or unreadable (%2).\n"
                       "It has been moved to '%3' and the program goes on with default settings.")
                       .arg(path_, reason, aside);
  try {
    OpenDatabase();
  } catch (const DamagedDatabase& again) {
    throw RunError(ErrorCondition::Other,
                   QStringLiteral("A fresh settings store could not be created at '%1': %2").arg(path_, again.reason));
  }
}

qint64 SettingsStore::FindKey(Root root, const QString& keyPath) {
  // Inside a transaction nobody else can change the keys it sees, and this
  // store never deletes one, so a key found stays where it was until the
  // transaction ends or part of it is rolled back (which clears the list).
  const bool remember = txLevel_ != 0;
  QString remembered;
  if (remember) {
    remembered = QString::number(static_cast<int>(root)) + QLatin1Char('\\') + FoldName(keyPath);
    const auto it = keyIds_.constFind(remembered);
    if (it != keyIds_.constEnd()) return *it;
  }
  const QStringList parts = SplitPath(keyPath);
  if (parts.isEmpty()) return -1;
  qint64 parent = 0;
  for (const QString& part : parts) {
    Statement find(*this, "SELECT id FROM keys WHERE root = ?1 AND parent = ?2 AND fold = ?3;");
    find.Bind(1, static_cast<int>(root)).Bind(2, parent).Bind(3, FoldName(part));
    if (!find.Step()) return -1;
    parent = find.Int(0);
  }
  if (remember) keyIds_.insert(remembered, parent);
  return parent;
}

void SettingsStore::SettingsCreateKey(Root root, const QString& keyPath) {
  const QStringList parts = SplitPath(keyPath);
  if (parts.isEmpty()) return;
  Transaction tx(*this);
  qint64 parent = 0;
  for (const QString& part : parts) {
    {
      Statement insert(*this, "INSERT OR IGNORE INTO keys(root, parent, name, fold) VALUES(?1, ?2, ?3, ?4);");
      insert.Bind(1, static_cast<int>(root)).Bind(2, parent).Bind(3, part).Bind(4, FoldName(part));
      insert.Step();
    }
    Statement find(*this, "SELECT id FROM keys WHERE root = ?1 AND parent = ?2 AND fold = ?3;");
    find.Bind(1, static_cast<int>(root)).Bind(2, parent).Bind(3, FoldName(part));
    find.Step();
    parent = find.Int(0);
  }
  tx.Commit();
}

void SettingsStore::SettingsWriteValue(Root root, const QString& keyPath, const QString& name, const QVariant& value,
                                       int kind) {
  if (kind != static_cast<int>(ValueKind::Text) && kind != static_cast<int>(ValueKind::Byte) &&
      kind != static_cast<int>(ValueKind::Number)) {
    throw RunError(ErrorCondition::Other, QStringLiteral("Settings store: value kind %1 is not supported").arg(kind));
  }
  const qint64 key = FindKey(root, keyPath);
  if (key < 0) return;
  Statement upsert(*this,
                   "INSERT INTO vals(key, name, fold, kind, value) VALUES(?1, ?2, ?3, ?4, ?5)"
                   " ON CONFLICT(key, fold) DO UPDATE SET kind = excluded.kind, value = excluded.value;");
  upsert.Bind(1, key).Bind(2, name).Bind(3, FoldName(name)).Bind(4, kind);
  if (kind == static_cast<int>(ValueKind::Text)) {
    upsert.Bind(5, value.toString());
  } else {
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    if (!ok) {
      throw RunError(ErrorCondition::Other,
                     QStringLiteral("Type mismatch: '%1' is not a number (%2\\%3)").arg(value.toString(), keyPath, name),
                     QStringLiteral("Mirolat"), 13);
    }
    if (kind == static_cast<int>(ValueKind::Byte)) {
      upsert.Bind(5, number & 0xFF);
    } else {
      if (number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max()) {
        throw RunError(ErrorCondition::Other,
                       QStringLiteral("Overflow: %1 does not fit a 32-bit value (%2\\%3)").arg(number).arg(keyPath, name),
                       QStringLiteral("Mirolat"), 6);
      }
      upsert.Bind(5, number);
    }
  }
  upsert.Step();
}

SettingsValue SettingsStore::SettingsReadValue(Root root, const QString& keyPath, const QString& name) {
  const qint64 key = FindKey(root, keyPath);
  if (key < 0) return {};
  Statement read(*this, "SELECT kind, value FROM vals WHERE key = ?1 AND fold = ?2;");
  read.Bind(1, key).Bind(2, FoldName(name));
  if (!read.Step()) return {};
  switch (read.Int(0)) {
    case static_cast<int>(ValueKind::Text):
      return read.Text(1);
    case static_cast<int>(ValueKind::Byte):
    case static_cast<int>(ValueKind::Number):
      return static_cast<qint32>(read.Int(1));
    default:
      return {};
  }
}

bool SettingsStore::KeyExists(Root root, const QString& keyPath) {
  return SplitPath(keyPath).isEmpty() || FindKey(root, keyPath) >= 0;
}

QStringList SettingsStore::SubKeyNames(Root root, const QString& keyPath) {
  qint64 key = 0;
  if (!SplitPath(keyPath).isEmpty()) {
    key = FindKey(root, keyPath);
    if (key < 0) return {};
  }
  QStringList names;
  Statement list(*this, "SELECT name FROM keys WHERE root = ?1 AND parent = ?2 ORDER BY id;");
  list.Bind(1, static_cast<int>(root)).Bind(2, key);
  while (list.Step()) names.append(list.Text(0));
  return names;
}

QStringList SettingsStore::ValueNames(Root root, const QString& keyPath) {
  const qint64 key = FindKey(root, keyPath);
  if (key < 0) return {};
  QStringList names;
  Statement list(*this, "SELECT name FROM vals WHERE key = ?1 ORDER BY seq;");
  list.Bind(1, key);
  while (list.Step()) names.append(list.Text(0));
  return names;
}

StoredTree SettingsStore::ReadTree(Root root, const QString& keyPath) {
  StoredTree tree;
  const qint64 base = FindKey(root, keyPath);
  if (base < 0) return tree;
  // The base key's own values first (path NULL, read as ""), then every key
  // below it with its values (a key without values gives one row of NULLs).
  Statement query(*this,
                  "WITH RECURSIVE sub(id, path) AS ("
                  " SELECT id, fold FROM keys WHERE root = ?1 AND parent = ?2"
                  " UNION ALL SELECT k.id, sub.path || '\\' || k.fold FROM keys k JOIN sub ON k.parent = sub.id)"
                  " SELECT NULL, fold, kind, value FROM vals WHERE key = ?2"
                  " UNION ALL SELECT sub.path, v.fold, v.kind, v.value FROM sub LEFT JOIN vals v ON v.key = sub.id;");
  query.Bind(1, static_cast<int>(root)).Bind(2, base);
  StoredTree::KeyValues* values = &tree.Keys[QByteArray()];
  QByteArray path;
  while (query.Step()) {
    // Rows of one key come together: its map is looked up once per key.
    const QByteArrayView rowPath = query.View(0);
    if (rowPath != path) {
      path = rowPath.toByteArray();
      values = &tree.Keys[path];
    }
    if (query.IsNull(1)) continue;  // a key without values
    StoredValue value;
    value.Kind = static_cast<int>(query.Int(2));
    switch (query.Type(3)) {
      case SQLITE_INTEGER:
        value.Holds = StoredValue::Storage::Integer;
        value.Integer = query.Int(3);
        break;
      case SQLITE_FLOAT:
        value.Holds = StoredValue::Storage::Real;
        value.Real = query.Real(3);
        break;
      case SQLITE_TEXT:
        value.Holds = StoredValue::Storage::Text;
        value.Bytes = query.Bytes(3);
        break;
      case SQLITE_BLOB:
        value.Holds = StoredValue::Storage::Blob;
        value.Bytes = query.Bytes(3);
        break;
      default:
        value.Holds = StoredValue::Storage::Null;
        break;
    }
    values->insert(query.Bytes(1), std::move(value));
  }
  return tree;
}

qint64 SettingsStore::ChangeCount() {
  Statement count(*this, "SELECT count FROM changes WHERE id = 1;");
  return count.Step() ? count.Int(0) : 0;
}

QByteArray SettingsStore::ReadDerived(const QString& name) {
  Statement read(*this,
                 "SELECT d.data FROM derived d JOIN changes c ON c.id = 1"
                 " WHERE d.name = ?1 AND d.changes = c.count;");
  read.Bind(1, name);
  return read.Step() ? read.Bytes(0) : QByteArray();
}

bool SettingsStore::DerivedIsCurrent(const QString& name) {
  Statement find(*this,
                 "SELECT 1 FROM derived d JOIN changes c ON c.id = 1"
                 " WHERE d.name = ?1 AND d.changes = c.count;");
  find.Bind(1, name);
  return find.Step();
}

bool SettingsStore::StoreDerived(const QString& name, const QByteArray& data, qint64 madeAt) {
  auto store = [&] {
    if (ChangeCount() != madeAt) return false;
    Statement write(*this, "INSERT OR REPLACE INTO derived(name, changes, data) VALUES(?1, ?2, ?3);");
    write.Bind(1, name).Bind(2, madeAt).BindBlob(3, data);
    write.Step();
    return true;
  };
  if (txLevel_ != 0) return store();
  // A shortcut is not worth waiting for: another writer makes this one give up.
  sqlite3_busy_timeout(db_, 0);
  bool stored = false;
  try {
    Transaction tx(*this);
    if (store()) {
      tx.Commit();
      stored = true;
    }
  } catch (const RunError&) {
    stored = false;
  }
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  return stored;
}

void SettingsStore::MoveAsideAsDamaged(const QString& reason) {
  if (txLevel_ != 0) {
    throw RunError(ErrorCondition::Other,
                   QStringLiteral("Settings store '%1': cannot be moved aside inside a transaction").arg(path_));
  }
  CloseDatabase();
  MoveAsideAndRecreate(reason);
}

QString SettingsStore::GetSetting(const QString& app, const QString& section, const QString& key,
                                  const QString& defaultValue) {
  const SettingsValue v = SettingsReadValue(Root::User, app + QLatin1Char('\\') + section, key);
  if (const auto* text = std::get_if<QString>(&v)) return *text;
  if (const auto* number = std::get_if<qint32>(&v)) return QString::number(*number);
  return defaultValue;
}

void SettingsStore::SaveSetting(const QString& app, const QString& section, const QString& key,
                                const QString& value) {
  const QString path = app + QLatin1Char('\\') + section;
  Transaction tx(*this);
  SettingsCreateKey(Root::User, path);
  SettingsWriteValue(Root::User, path, key, value, static_cast<int>(ValueKind::Text));
  tx.Commit();
}

// The statements of one bulk write, prepared once for all its values.
struct SettingsStore::BulkWrite::Statements {
  explicit Statements(SettingsStore& store)
      : findKey(store, "SELECT id FROM keys WHERE root = ?1 AND parent = ?2 AND fold = ?3;"),
        insertKey(store, "INSERT INTO keys(root, parent, name, fold) VALUES(?1, ?2, ?3, ?4);"),
        // An unchanged value is left as it is: no write, no change counted.
        upsert(store,
               "INSERT INTO vals(key, name, fold, kind, value) VALUES(?1, ?2, ?3, ?4, ?5)"
               " ON CONFLICT(key, fold) DO UPDATE SET kind = excluded.kind, value = excluded.value"
               " WHERE vals.kind IS NOT excluded.kind OR vals.value IS NOT excluded.value;") {}
  Statement findKey;
  Statement insertKey;
  Statement upsert;
};

SettingsStore::BulkWrite::BulkWrite(SettingsStore& store, Root root) : store_(store), root_(root) {
  if (store_.txLevel_ == 0) {
    throw RunError(ErrorCondition::Other,
                   QStringLiteral("Settings store '%1': a bulk write needs a transaction").arg(store_.path_));
  }
  // The triggers that move the change count are left out and the count is
  // moved by as much at the end: a statement whose trigger writes a second
  // table must journal every page it touches so that it can be undone alone,
  // which makes a value written through it cost several times as much.
  int on = 1;
  sqlite3_db_config(store_.db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, -1, &on);
  triggersWereOn_ = on != 0;
  if (triggersWereOn_) sqlite3_db_config(store_.db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
  statements_ = std::make_unique<Statements>(store_);
}

SettingsStore::BulkWrite::~BulkWrite() {
  statements_.reset();
  if (triggersWereOn_ && store_.db_ != nullptr) {
    sqlite3_db_config(store_.db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 1, nullptr);
  }
}

void SettingsStore::BulkWrite::Wrote() { changed_ += sqlite3_changes(store_.db_); }

void SettingsStore::BulkWrite::Key(const QString& keyPath) {
  const QStringList parts = SplitPath(keyPath);
  if (parts.isEmpty()) {
    throw RunError(ErrorCondition::Other, QStringLiteral("Settings store: no key named in '%1'").arg(keyPath));
  }
  Statement& find = statements_->findKey;
  Statement& insert = statements_->insertKey;
  qint64 parent = 0;
  for (const QString& part : parts) {
    const QString fold = FoldName(part);
    find.Reset();
    find.Bind(1, static_cast<int>(root_)).Bind(2, parent).Bind(3, fold);
    if (find.Step()) {
      parent = find.Int(0);
      continue;
    }
    insert.Reset();
    insert.Bind(1, static_cast<int>(root_)).Bind(2, parent).Bind(3, part).Bind(4, fold);
    insert.Step();
    Wrote();
    parent = sqlite3_last_insert_rowid(store_.db_);
  }
  find.Reset();
  insert.Reset();
  key_ = parent;
  keyPath_ = keyPath;
}

void SettingsStore::BulkWrite::NeedKey() const {
  if (key_ < 0) throw RunError(ErrorCondition::Other, QStringLiteral("Settings store: a bulk write names no key"));
}

void SettingsStore::BulkWrite::Text(const QString& name, const QString& value) {
  NeedKey();
  Statement& upsert = statements_->upsert;
  upsert.Reset();
  upsert.Bind(1, key_).Bind(2, name).Bind(3, FoldName(name)).Bind(4, static_cast<int>(ValueKind::Text)).Bind(5, value);
  upsert.Step();
  Wrote();
}

void SettingsStore::BulkWrite::Number(const QString& name, qint64 value) {
  NeedKey();
  if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max()) {
    throw RunError(ErrorCondition::Other,
                   QStringLiteral("Overflow: %1 does not fit a 32-bit value (%2\\%3)").arg(value).arg(keyPath_, name),
                   QStringLiteral("Mirolat"), 6);
  }
  Statement& upsert = statements_->upsert;
  upsert.Reset();
  upsert.Bind(1, key_).Bind(2, name).Bind(3, FoldName(name)).Bind(4, static_cast<int>(ValueKind::Number)).Bind(5, value);
  upsert.Step();
  Wrote();
}

void SettingsStore::BulkWrite::Finish() {
  statements_->upsert.Reset();
  if (changed_ == 0) return;
  Statement count(store_, "UPDATE changes SET count = count + ?1 WHERE id = 1;");
  count.Bind(1, changed_);
  count.Step();
  changed_ = 0;
}

SettingsStore::Transaction::Transaction(SettingsStore& store, Mode mode) : store_(store), level_(store.txLevel_) {
  if (level_ == 0) {
    store_.Exec(mode == Mode::Write ? "BEGIN IMMEDIATE;" : "BEGIN DEFERRED;");
  } else {
    store_.Exec(QStringLiteral("SAVEPOINT sp%1;").arg(level_).toLatin1().constData());
  }
  ++store_.txLevel_;
}

void SettingsStore::Transaction::Commit() {
  if (done_) return;
  if (level_ == 0) {
    store_.Exec("COMMIT;");
    store_.keyIds_.clear();
  } else {
    store_.Exec(QStringLiteral("RELEASE sp%1;").arg(level_).toLatin1().constData());
  }
  done_ = true;
  --store_.txLevel_;
}

SettingsStore::Transaction::~Transaction() {
  if (done_) return;
  const QByteArray sql = level_ == 0 ? QByteArray("ROLLBACK;")
                                     : QStringLiteral("ROLLBACK TO sp%1; RELEASE sp%1;").arg(level_).toLatin1();
  sqlite3_exec(store_.db_, sql.constData(), nullptr, nullptr, nullptr);
  store_.keyIds_.clear();
  --store_.txLevel_;
}

}  // namespace mirolat
