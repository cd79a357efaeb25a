#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "core/settings/settings_store.h"

namespace mirolat {
namespace {

constexpr int kText = 1;
constexpr int kByte = 3;
constexpr int kNumber = 4;

SettingsValue Text(const QString& s) { return s; }
SettingsValue Number(qint32 n) { return n; }

// Runs `sql` on the database at `path` through a connection of its own.
void Exec(const QString& path, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
  char* message = nullptr;
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
  sqlite3_free(message);
  sqlite3_close(db);
}

class SettingsStoreTest : public ::testing::Test {
 protected:
  QString StorePath() const { return SettingsStore::FilePathIn(dir_.path()); }
  QStringList FilesInDir() const { return QDir(dir_.path()).entryList(QDir::Files, QDir::Name); }
  QTemporaryDir dir_;
};

TEST_F(SettingsStoreTest, ValuesReadBackByKind) {
  SettingsStore store(StorePath());
  const QString key = QStringLiteral("SOFTWARE\\MRL\\Test");
  store.SettingsCreateKey(Root::Machine, key);
  struct Case {
    const char* name;
    QVariant written;
    int kind;
    SettingsValue expected;
  } cases[] = {
      {"Plain", QStringLiteral("ModemLog.txt"), kText, Text(QStringLiteral("ModemLog.txt"))},
      {"Empty", QString(), kText, Text(QString())},
      {"NonAscii", QStringLiteral("Ümlaut €uro ß"), kText, Text(QStringLiteral("Ümlaut €uro ß"))},
      {"EmbeddedNul", QString::fromUtf8("a\0b", 3), kText, Text(QString::fromUtf8("a\0b", 3))},
      {"NumberAsText", 42, kText, Text(QStringLiteral("42"))},
      {"Max", 2147483647, kNumber, Number(2147483647)},
      {"Min", qint64(-2147483648LL), kNumber, Number(-2147483647 - 1)},
      {"NumericText", QStringLiteral("123"), kNumber, Number(123)},
      {"ByteWrap", 300, kByte, Number(44)},
      {"ByteNegative", -1, kByte, Number(255)},
  };
  for (const auto& c : cases) {
    store.SettingsWriteValue(Root::Machine, key, QString::fromLatin1(c.name), c.written, c.kind);
  }
  for (const auto& c : cases) {
    EXPECT_EQ(store.SettingsReadValue(Root::Machine, key, QString::fromLatin1(c.name)), c.expected) << c.name;
  }
  // Replacing a value replaces its kind too; a number that does not fit, or
  // a kind the store does not know, is refused and changes nothing.
  store.SettingsWriteValue(Root::Machine, key, QStringLiteral("Plain"), 0, kNumber);
  EXPECT_EQ(store.SettingsReadValue(Root::Machine, key, QStringLiteral("Plain")), Number(0));
  EXPECT_THROW(store.SettingsWriteValue(Root::Machine, key, QStringLiteral("Plain"), qint64(1) << 31, kNumber), RunError);
  EXPECT_THROW(store.SettingsWriteValue(Root::Machine, key, QStringLiteral("Plain"), QStringLiteral("abc"), kNumber),
               RunError);
  EXPECT_THROW(store.SettingsWriteValue(Root::Machine, key, QStringLiteral("Plain"), 1, 2), RunError);
  EXPECT_EQ(store.SettingsReadValue(Root::Machine, key, QStringLiteral("Plain")), Number(0));
}

// A write to a missing key does nothing and creates no key; creating a key
// makes its parents and keeps what an existing one holds.
TEST_F(SettingsStoreTest, KeysAreMadeOnlyByCreateKey) {
  SettingsStore store(StorePath());
  const QString key = QStringLiteral("SOFTWARE\\MRL");
  store.SettingsWriteValue(Root::Machine, key, QStringLiteral("X"), 1, kNumber);
  EXPECT_FALSE(store.KeyExists(Root::Machine, QStringLiteral("SOFTWARE")));
  EXPECT_TRUE(IsEmptyValue(store.SettingsReadValue(Root::Machine, key, QStringLiteral("X"))));
  store.SettingsCreateKey(Root::Machine, QStringLiteral("SOFTWARE\\MRL\\ViewReport\\SummaryReport"));
  EXPECT_TRUE(store.KeyExists(Root::Machine, QStringLiteral("SOFTWARE\\MRL\\ViewReport")));
  EXPECT_TRUE(IsEmptyValue(store.SettingsReadValue(Root::Machine, key, QStringLiteral("X"))));
  store.SettingsWriteValue(Root::Machine, key, QStringLiteral("A"), 1, kNumber);
  store.SettingsCreateKey(Root::Machine, key);
  EXPECT_EQ(store.SettingsReadValue(Root::Machine, key, QStringLiteral("A")), Number(1));
  EXPECT_EQ(store.SubKeyNames(Root::Machine, key), QStringList{QStringLiteral("ViewReport")});
}

TEST_F(SettingsStoreTest, NamesCompareWithoutCaseAndKeepFirstSpelling) {
  SettingsStore store(StorePath());
  const QString general = QStringLiteral("SOFTWARE\\MRL\\General");
  store.SettingsCreateKey(Root::Machine, general);
  store.SettingsCreateKey(Root::Machine, QStringLiteral("software\\mrl\\GENERAL\\Sub"));
  store.SettingsWriteValue(Root::Machine, general, QStringLiteral("ModemLogFile"), QStringLiteral("a.txt"), kText);
  store.SettingsWriteValue(Root::Machine, QStringLiteral("Software\\Mrl\\general"), QStringLiteral("MODEMLOGFILE"),
                           QStringLiteral("b.txt"), kText);
  EXPECT_EQ(store.SettingsReadValue(Root::Machine, QStringLiteral("sOfTwArE\\mRl\\GeNeRaL"), QStringLiteral("modemlogfile")),
            Text(QStringLiteral("b.txt")));
  EXPECT_EQ(store.ValueNames(Root::Machine, general), QStringList{QStringLiteral("ModemLogFile")});
  EXPECT_EQ(store.SubKeyNames(Root::Machine, general), QStringList{QStringLiteral("Sub")});
  // Only ASCII letters fold: Ä and ä are two names.
  store.SettingsWriteValue(Root::Machine, general, QStringLiteral("Ä"), 1, kNumber);
  EXPECT_TRUE(IsEmptyValue(store.SettingsReadValue(Root::Machine, general, QStringLiteral("ä"))));
}

TEST_F(SettingsStoreTest, RootsAreSeparate) {
  SettingsStore store(StorePath());
  const QString options = QStringLiteral("MRL\\Options");
  const QString tips = QStringLiteral("Show Tips at Startup");
  store.SettingsCreateKey(Root::Machine, options);
  store.SettingsWriteValue(Root::Machine, options, tips, QStringLiteral("machine"), kText);
  EXPECT_EQ(store.GetSetting(QStringLiteral("MRL"), QStringLiteral("Options"), tips, QStringLiteral("1")), QStringLiteral("1"));
  store.SaveSetting(QStringLiteral("MRL"), QStringLiteral("Options"), tips, QStringLiteral("0"));
  EXPECT_EQ(store.GetSetting(QStringLiteral("mrl"), QStringLiteral("options"), tips.toLower(), QStringLiteral("1")),
            QStringLiteral("0"));
  EXPECT_EQ(store.SettingsReadValue(Root::User, options, tips), Text(QStringLiteral("0")));
  EXPECT_EQ(store.SettingsReadValue(Root::Machine, options, tips), Text(QStringLiteral("machine")));
}

// Derived data is current only while no key or value has changed since the
// change count it was made at; a shortcut never waits for another writer.
TEST_F(SettingsStoreTest, DerivedDataLastsUntilTheNextChange) {
  SettingsStore store(StorePath());
  const QString key = QStringLiteral("K");
  const QString piece = QStringLiteral("piece");
  store.SettingsCreateKey(Root::Machine, key);
  const QByteArray data("parsed\0form", 11);

  const qint64 madeAt = store.ChangeCount();
  EXPECT_TRUE(store.StoreDerived(piece, data, madeAt));
  EXPECT_EQ(store.ReadDerived(piece), data);
  EXPECT_TRUE(store.ReadDerived(QStringLiteral("other")).isEmpty());

  // Made before a change: refused, and the old piece is no longer current.
  store.SettingsWriteValue(Root::Machine, key, QStringLiteral("V"), 1, kNumber);
  EXPECT_GT(store.ChangeCount(), madeAt);
  EXPECT_TRUE(store.ReadDerived(piece).isEmpty());
  EXPECT_FALSE(store.StoreDerived(piece, data, madeAt));
  EXPECT_TRUE(store.ReadDerived(piece).isEmpty());

  // Another connection holding the write lock: refused at once.
  SettingsStore other(StorePath());
  {
    SettingsStore::Transaction writing(other);
    other.SettingsWriteValue(Root::Machine, key, QStringLiteral("V"), 2, kNumber);
    EXPECT_FALSE(store.StoreDerived(piece, data, store.ChangeCount()));
    writing.Commit();
  }
  // Inside a transaction it is one more write of it, rolled back with it.
  {
    SettingsStore::Transaction tx(store);
    EXPECT_TRUE(store.StoreDerived(piece, data, store.ChangeCount()));
  }
  EXPECT_TRUE(store.ReadDerived(piece).isEmpty());
  EXPECT_TRUE(store.StoreDerived(piece, data, store.ChangeCount()));
  // A change by another connection retires it too, and so does a value or a
  // key deleted by another program.
  other.SettingsWriteValue(Root::Machine, key, QStringLiteral("V"), 3, kNumber);
  EXPECT_TRUE(store.ReadDerived(piece).isEmpty());
  for (const char* sql : {"DELETE FROM vals;", "DELETE FROM keys;"}) {
    ASSERT_TRUE(store.StoreDerived(piece, data, store.ChangeCount()));
    Exec(StorePath(), sql);
    EXPECT_TRUE(store.ReadDerived(piece).isEmpty()) << sql;
  }
}

// A store of the first layout (keys and values only) is brought up to date
// when opened and keeps everything; a layout from a later version is not
// ours to guess at and counts as damaged.
TEST_F(SettingsStoreTest, AStoreOfTheFirstLayoutIsBroughtUpToDate) {
  Exec(StorePath(),
       "CREATE TABLE keys(id INTEGER PRIMARY KEY, root INTEGER NOT NULL, parent INTEGER NOT NULL,"
       " name TEXT NOT NULL, fold TEXT NOT NULL, UNIQUE(root, parent, fold));"
       "CREATE TABLE vals(seq INTEGER PRIMARY KEY, key INTEGER NOT NULL, name TEXT NOT NULL,"
       " fold TEXT NOT NULL, kind INTEGER NOT NULL, value, UNIQUE(key, fold));"
       "INSERT INTO keys VALUES(1, 0, 0, 'Software', 'software');"
       "INSERT INTO vals VALUES(1, 1, 'Name', 'name', 1, 'kept');"
       "PRAGMA user_version = 1;");
  {
    SettingsStore store(StorePath());
    EXPECT_TRUE(store.DamageMessage().isEmpty()) << store.DamageMessage().toStdString();
    EXPECT_EQ(store.SettingsReadValue(Root::Machine, QStringLiteral("SOFTWARE"), QStringLiteral("NAME")),
              Text(QStringLiteral("kept")));
    const qint64 before = store.ChangeCount();
    ASSERT_TRUE(store.StoreDerived(QStringLiteral("piece"), "x", before));
    store.SettingsWriteValue(Root::Machine, QStringLiteral("Software"), QStringLiteral("Name"), QStringLiteral("new"), kText);
    EXPECT_EQ(store.ChangeCount(), before + 1);
    EXPECT_TRUE(store.ReadDerived(QStringLiteral("piece")).isEmpty());
  }
  SettingsStore reopened(StorePath());
  EXPECT_TRUE(reopened.DamageMessage().isEmpty());
  EXPECT_EQ(reopened.SettingsReadValue(Root::Machine, QStringLiteral("Software"), QStringLiteral("Name")),
            Text(QStringLiteral("new")));

  Exec(StorePath(), "PRAGMA user_version = 3;");
  SettingsStore later(StorePath());
  EXPECT_FALSE(later.DamageMessage().isEmpty());
}

TEST_F(SettingsStoreTest, TransactionsCommitOrRollBackTogether) {
  SettingsStore store(StorePath());
  const QString key = QStringLiteral("K");
  store.SettingsCreateKey(Root::Machine, key);
  store.SettingsWriteValue(Root::Machine, key, QStringLiteral("V"), 1, kNumber);
  {
    SettingsStore::Transaction tx(store);
    store.SettingsWriteValue(Root::Machine, key, QStringLiteral("V"), 2, kNumber);
    store.SettingsCreateKey(Root::Machine, QStringLiteral("K\\New"));
  }  // not committed
  EXPECT_EQ(store.SettingsReadValue(Root::Machine, key, QStringLiteral("V")), Number(1));
  EXPECT_FALSE(store.KeyExists(Root::Machine, QStringLiteral("K\\New")));
  {
    SettingsStore::Transaction outer(store);
    store.SettingsWriteValue(Root::Machine, key, QStringLiteral("V"), 3, kNumber);
    {
      SettingsStore::Transaction inner(store);
      store.SettingsWriteValue(Root::Machine, key, QStringLiteral("W"), 4, kNumber);
    }  // inner rolled back alone
    outer.Commit();
  }
  EXPECT_EQ(store.SettingsReadValue(Root::Machine, key, QStringLiteral("V")), Number(3));
  EXPECT_TRUE(IsEmptyValue(store.SettingsReadValue(Root::Machine, key, QStringLiteral("W"))));

  // A key made in a part rolled back is gone for the rest of the transaction:
  // a write to it does nothing, and cannot land on a key made after it.
  const QString gone = QStringLiteral("K\\Gone");
  const QString later = QStringLiteral("K\\Later");
  {
    SettingsStore::Transaction outer(store);
    {
      SettingsStore::Transaction inner(store);
      store.SettingsCreateKey(Root::Machine, gone);
      store.SettingsWriteValue(Root::Machine, gone, QStringLiteral("V"), 5, kNumber);
    }
    store.SettingsWriteValue(Root::Machine, gone, QStringLiteral("V"), 6, kNumber);
    store.SettingsCreateKey(Root::Machine, later);
    outer.Commit();
  }
  EXPECT_FALSE(store.KeyExists(Root::Machine, gone));
  EXPECT_TRUE(store.ValueNames(Root::Machine, later).isEmpty());
}

// A bulk write leaves what single writes leave (a name keeps its first
// spelling) and moves the change count by what it added or changed: nothing
// for values written as they were. A failed one leaves nothing behind, and
// single writes go on moving the count.
TEST_F(SettingsStoreTest, ABulkWriteCountsWhatItChangedAndNothingElse) {
  SettingsStore store(StorePath());
  const QString a = QStringLiteral("A");
  const QString b = QStringLiteral("a\\B");
  store.SettingsCreateKey(Root::Machine, a);
  store.SettingsWriteValue(Root::Machine, a, QStringLiteral("Name"), QStringLiteral("old"), kText);
  store.SettingsWriteValue(Root::Machine, a, QStringLiteral("Same"), 7, kNumber);
  const auto bulkWrite = [&](qint64 same) {
    SettingsStore::Transaction tx(store);
    SettingsStore::BulkWrite bulk(store, Root::Machine);
    bulk.Key(a);
    bulk.Text(QStringLiteral("NAME"), QStringLiteral("new"));
    bulk.Number(QStringLiteral("same"), same);
    bulk.Key(b);
    bulk.Text(QStringLiteral("V"), QStringLiteral("x"));
    bulk.Finish();
    tx.Commit();
  };
  const qint64 before = store.ChangeCount();
  bulkWrite(7);
  EXPECT_EQ(store.ChangeCount(), before + 3);  // key B, value V, Name changed
  EXPECT_EQ(store.SettingsReadValue(Root::Machine, a, QStringLiteral("name")), Text(QStringLiteral("new")));
  EXPECT_EQ(store.SettingsReadValue(Root::Machine, b, QStringLiteral("v")), Text(QStringLiteral("x")));
  EXPECT_EQ(store.ValueNames(Root::Machine, a), QStringList({QStringLiteral("Name"), QStringLiteral("Same")}));
  EXPECT_EQ(store.SubKeyNames(Root::Machine, a), QStringList({QStringLiteral("B")}));
  bulkWrite(7);
  EXPECT_EQ(store.ChangeCount(), before + 3);

  EXPECT_THROW(bulkWrite(qint64(1) << 40), RunError);
  EXPECT_EQ(store.SettingsReadValue(Root::Machine, a, QStringLiteral("Same")), Number(7));
  store.SettingsWriteValue(Root::Machine, a, QStringLiteral("Same"), 8, kNumber);
  EXPECT_EQ(store.ChangeCount(), before + 4);
}

// A damaged file is moved aside as it was, never over an earlier one, and a
// fresh store that works takes its place.
TEST_F(SettingsStoreTest, DamagedFilesAreMovedAsideAndReplaced) {
  const std::function<void()> damages[] = {
      [&] {
        QFile f(StorePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("This is plain text, not a settings store at all.\n");
      },
      [&] { Exec(StorePath(), "CREATE TABLE other(x); INSERT INTO other VALUES(1);"); },
      [&] {
        {
          SettingsStore store(StorePath());
          store.SettingsCreateKey(Root::Machine, QStringLiteral("K"));
          for (int i = 0; i < 400; ++i) {
            store.SettingsWriteValue(Root::Machine, QStringLiteral("K"), QStringLiteral("Value%1").arg(i),
                                     QStringLiteral("text %1").arg(i), kText);
          }
        }
        QFile f(StorePath());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_GT(f.size(), 3 * 4096);
        f.seek(4096);
        f.write(QByteArray(2 * 4096, '\xA5'));
      },
  };
  QStringList aside;
  for (const auto& damage : damages) {
    SCOPED_TRACE(aside.size());
    QFile::remove(StorePath());
    damage();
    QFile original(StorePath());
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray damagedBytes = original.readAll();
    original.close();

    SettingsStore store(StorePath());
    EXPECT_TRUE(store.DamageMessage().contains(store.DamagedFilePath()));
    EXPECT_TRUE(store.DamagedFilePath().startsWith(StorePath() + QStringLiteral(".damaged-")));
    EXPECT_FALSE(aside.contains(store.DamagedFilePath()));
    aside.append(store.DamagedFilePath());
    QFile moved(store.DamagedFilePath());
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_EQ(moved.readAll(), damagedBytes);
    // The fresh store works and starts empty.
    EXPECT_FALSE(store.KeyExists(Root::Machine, QStringLiteral("K")));
    store.SettingsCreateKey(Root::Machine, QStringLiteral("K"));
    store.SettingsWriteValue(Root::Machine, QStringLiteral("K"), QStringLiteral("V"), 9, kNumber);
    EXPECT_EQ(store.SettingsReadValue(Root::Machine, QStringLiteral("K"), QStringLiteral("V")), Number(9));
  }
}

TEST_F(SettingsStoreTest, UnwritableFolderIsAnAccessErrorAndLosesNothing) {
  if (geteuid() == 0) GTEST_SKIP() << "file permissions do not bind the super-user";
  {
    SettingsStore store(StorePath());
    store.SettingsCreateKey(Root::Machine, QStringLiteral("K"));
  }
  const QStringList before = FilesInDir();
  QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::ExeOwner);
  try {
    SettingsStore store(StorePath());
    ADD_FAILURE() << "no error for an unwritable folder";
  } catch (const RunError& e) {
    EXPECT_EQ(e.condition(), ErrorCondition::PathFileAccess);
    EXPECT_TRUE(e.description().contains(dir_.path()));
  }
  QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(FilesInDir(), before);
  SettingsStore store(StorePath());
  EXPECT_TRUE(store.KeyExists(Root::Machine, QStringLiteral("K")));
}

TEST_F(SettingsStoreTest, MissingFolderIsAPathError) {
  try {
    SettingsStore store(dir_.filePath(QStringLiteral("no/such/folder/settings.sqlite")));
    ADD_FAILURE() << "no error for a missing folder";
  } catch (const RunError& e) {
    EXPECT_EQ(e.condition(), ErrorCondition::PathNotFound);
  }
}

// Programs started together (two commands of a script, a hook and the
// desktop program) open a store that does not exist yet: each one gets it.
TEST_F(SettingsStoreTest, ProgramsOpeningANewStoreAtOnceAllGetIt) {
  int failed = 0;
  for (int round = 0; round < 20 && failed == 0; ++round) {
    const QString path = dir_.filePath(QStringLiteral("store%1.sqlite").arg(round));
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> programs;
    for (int k = 0; k < 3; ++k) {
      const pid_t pid = fork();
      ASSERT_GE(pid, 0);
      if (pid == 0) {
        close(gate[1]);
        char c;
        while (read(gate[0], &c, 1) > 0) {
        }
        try {
          SettingsStore store(path);
        } catch (const RunError& e) {
          std::fprintf(stderr, "%s\n", qPrintable(e.description()));
          _exit(1);
        }
        _exit(0);
      }
      programs.push_back(pid);
    }
    close(gate[0]);
    close(gate[1]);  // all start now
    for (const pid_t pid : programs) {
      int status = 0;
      waitpid(pid, &status, 0);
      if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failed;
    }
  }
  EXPECT_EQ(failed, 0);
}

}  // namespace
}  // namespace mirolat
