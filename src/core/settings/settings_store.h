#pragma once
// The settings store: a tree of keys under two roots, each key holding named
// values of three kinds (text, byte, 32-bit number). Backed by one SQLite
// database, settings.sqlite, in the configuration folder.
//
// Key paths are names separated by '\'; key names and value names compare
// case-insensitively (ASCII) and keep the spelling they were first written with.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <variant>

#include "core/common/errors.h"

struct sqlite3;
struct sqlite3_stmt;

namespace mirolat {

enum class Root : int { Machine = 0, User = 1 };

// The kinds a value is written as.
enum class ValueKind : int { Text = 1, Byte = 3, Number = 4 };

// What a read gives: empty (absent, or of another kind), text, or a 32-bit
// number (a number or a byte).
using SettingsValue = std::variant<std::monostate, QString, qint32>;

inline bool IsEmptyValue(const SettingsValue& v) { return std::holds_alternative<std::monostate>(v); }

// A value exactly as the database holds it, for checking before use.
struct StoredValue {
  enum class Storage { Null, Integer, Real, Text, Blob };
  int Kind = 0;  // the kind it was written with; 1, 3 and 4 are the store's own
  Storage Holds = Storage::Null;
  qint64 Integer = 0;  // when Holds is Integer
  double Real = 0;     // when Holds is Real
  QByteArray Bytes;    // UTF-8 text or blob bytes
};

// Every key and value below one key, read at once: for each key (its folded
// path relative to that key, "viewreport\summaryreport"; the key itself is
// "") its values by folded name ("winheight"). Folded: ASCII lower case.
struct StoredTree {
  using KeyValues = QHash<QByteArray, StoredValue>;
  QHash<QByteArray, KeyValues> Keys;
};

// A failure that shows the file itself is damaged: a page read does not hold
// what a database page must. Whoever reads the store can move it aside
// (SettingsStore::MoveAsideAsDamaged) as if the damage had been found when it
// was opened.
class StoreDamaged : public RunError {
 public:
  explicit StoreDamaged(RunError error) : RunError(std::move(error)) {}
};

class SettingsStore {
 public:
  static constexpr const char* kFileName = "settings.sqlite";

  // Opens (creating when missing) the database at `filePath`. A file that is
  // not a settings database, or is damaged (checked page by page when it is
  // of a usual size; a large one throws StoreDamaged from the read or write
  // that meets a damaged page), is moved aside to
  // "<file>.damaged-<timestamp>" and a fresh store is created; DamageMessage()
  // then tells what happened. A file or folder that cannot be opened or written
  // throws RunError and leaves the file as it was.
  explicit SettingsStore(const QString& filePath);
  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  // Opens settings.sqlite in `folder` (which must exist).
  static QString FilePathIn(const QString& folder);

  const QString& FilePath() const { return path_; }
  // Empty unless the database was found damaged and replaced at open.
  const QString& DamageMessage() const { return damageMessage_; }
  // Where the damaged file was moved (empty when nothing was moved).
  const QString& DamagedFilePath() const { return damagedPath_; }

  // The key exists afterwards, created with its missing parents.
  void SettingsCreateKey(Root root, const QString& keyPath);
  // Creates or replaces a value. kind 1 = text, 3 = byte (the low byte of the
  // number), 4 = 32-bit number. A missing key makes the write do nothing.
  void SettingsWriteValue(Root root, const QString& keyPath, const QString& name, const QVariant& value, int kind);
  // Text as written, a number for a number or a byte, empty when the key or
  // value is missing or of another kind. Never fails for a missing value.
  SettingsValue SettingsReadValue(Root root, const QString& keyPath, const QString& name);

  bool KeyExists(Root root, const QString& keyPath);
  // Names of the direct sub-keys and of the values of a key, in the spelling
  // first written, in creation order. Empty for a missing key.
  QStringList SubKeyNames(Root root, const QString& keyPath);
  QStringList ValueNames(Root root, const QString& keyPath);

  // Every sub-key and value below `keyPath` in one query: empty when the key is
  // missing. Inside a transaction it sees that transaction's snapshot.
  StoredTree ReadTree(Root root, const QString& keyPath);

  // Data derived from the keys and values (a parsed copy of a record, say),
  // kept beside them under a name. Every change to a key or value, by any
  // connection, moves the store's change count; a piece of derived data is
  // current only while the count is still the one it was made at.
  //
  // The change count now (inside a transaction, that transaction's view).
  qint64 ChangeCount();
  // The data stored under `name` while it is current; empty otherwise.
  QByteArray ReadDerived(const QString& name);
  // Whether data is stored under `name` and is current, without reading it.
  bool DerivedIsCurrent(const QString& name);
  // Stores `data` under `name`, made from what the store held at change count
  // `madeAt`. Inside a transaction it is one more write of that transaction
  // and throws like any write. Outside one it takes a write transaction of its
  // own that waits for no other writer, and stores nothing (false) when the
  // store is busy, has changed since `madeAt` or cannot be written: derived
  // data is only ever a shortcut.
  bool StoreDerived(const QString& name, const QByteArray& data, qint64 madeAt);

  // For content found unusable by whoever reads it: the file is moved aside
  // like a damaged file at open, a fresh empty store takes its place and
  // DamageMessage() tells what happened and why. Not inside a transaction.
  void MoveAsideAsDamaged(const QString& reason);

  // The per-user application settings: application\section, value key, text.
  QString GetSetting(const QString& app, const QString& section, const QString& key, const QString& defaultValue);
  void SaveSetting(const QString& app, const QString& section, const QString& key, const QString& value);

  // Many values under the keys of one root written in one pass, inside an
  // open write transaction (a whole configuration record is thousands of
  // them): one prepared statement for the keys and one for the values, no
  // savepoint of its own, and a value rewritten only when its kind or content
  // differs from what is stored. Values read back exactly as
  // SettingsWriteValue leaves them (a name keeps the spelling it was first
  // written with), and the change count moves by one for each key or value
  // added or changed, as it does for single writes, when Finish() is called;
  // without Finish() the caller's transaction must be rolled back. The
  // database's triggers do not run for its writes.
  class BulkWrite {
   public:
    // Throws RunError outside a transaction.
    BulkWrite(SettingsStore& store, Root root);
    ~BulkWrite();
    BulkWrite(const BulkWrite&) = delete;
    BulkWrite& operator=(const BulkWrite&) = delete;

    // Creates the key with its missing parents; the values after it go there.
    void Key(const QString& keyPath);
    void Text(const QString& name, const QString& value);
    // A 32-bit number (kind 4); a value outside 32 bits throws an overflow.
    void Number(const QString& name, qint64 value);
    void Finish();

   private:
    struct Statements;
    void NeedKey() const;
    void Wrote();
    SettingsStore& store_;
    Root root_;
    qint64 key_ = -1;
    QString keyPath_;
    qint64 changed_ = 0;
    bool triggersWereOn_ = true;
    std::unique_ptr<Statements> statements_;
  };

  // True inside a transaction (of any kind).
  bool InTransaction() const { return txLevel_ != 0; }

  // All writes between construction and Commit() land together or not at all.
  // Nested transactions become savepoints of the outer one. A write
  // transaction takes the write lock at once (BEGIN IMMEDIATE), so what it
  // reads cannot change before it commits; a read transaction reads one
  // snapshot of the store, however many queries it runs, and writes nothing.
  class Transaction {
   public:
    enum class Mode { Write, Read };
    explicit Transaction(SettingsStore& store, Mode mode = Mode::Write);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit();

   private:
    SettingsStore& store_;
    int level_;
    bool done_ = false;
  };

 private:
  class Statement;
  void OpenDatabase();
  void CloseDatabase();
  void InitialiseSchema();
  int UserVersion();
  bool SchemaLooksRight(int version);
  void MoveAsideAndRecreate(const QString& reason);
  void Exec(const char* sql);
  RunError ErrorFromDb(int rc, const QString& action) const;
  [[noreturn]] void ThrowDbError(int rc, const QString& action) const;
  qint64 FindKey(Root root, const QString& keyPath);  // -1 when missing

  // Prepared statements by their SQL text (always a literal), kept for reuse
  // while the database is open: a whole record is thousands of writes.
  QHash<const char*, sqlite3_stmt*> statements_;
  // Key ids found inside the current transaction, by root and folded path.
  QHash<QString, qint64> keyIds_;
  QString path_;
  QString damageMessage_;
  QString damagedPath_;
  sqlite3* db_ = nullptr;
  int txLevel_ = 0;
};

}  // namespace mirolat
