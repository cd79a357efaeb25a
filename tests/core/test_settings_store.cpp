#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QDir>
#include <functional>
#include <QFile>
#include <QTemporaryDir>

#include "core/settings/settings_store.h"

namespace mirolat {
namespace {

constexpr int kText = 1;
constexpr int kByte = 3;
constexpr int kNumber = 4;

SettingsValue Text(const QString& s) { return s; }
SettingsValue Number(qint32 n) { return n; }

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
      {"TrailingBlank", QStringLiteral("RECV: ATD "), kText, Text(QStringLiteral("RECV: ATD "))},
      {"NumberAsText", 42, kText, Text(QStringLiteral("42"))},
      {"Negative", -5, kNumber, Number(-5)},
      {"Max", 2147483647, kNumber, Number(2147483647)},
      {"Min", qint64(-2147483648LL), kNumber, Number(-2147483647 - 1)},
      {"NumericText", QStringLiteral("123"), kNumber, Number(123)},
      {"ByteLow", 0x1FF, kByte, Number(255)},
      {"ByteWrap", 300, kByte, Number(44)},
      {"ByteNegative", -1, kByte, Number(255)},
      {"ByteZero", 256, kByte, Number(0)},
  };
  for (const auto& c : cases) {
    store.SettingsWriteValue(Root::Machine, key, QString::fromLatin1(c.name), c.written, c.kind);
  }
  for (const auto& c : cases) {
    EXPECT_EQ(store.SettingsReadValue(Root::Machine, key, QString::fromLatin1(c.name)), c.expected) << c.name;
  }
  // Replacing a value replaces its kind too.
  store.SettingsWriteValue(Root::Machine, key, QStringLiteral("Plain"), 0, kNumber);
  EXPECT_EQ(store.SettingsReadValue(Root::Machine, key, QStringLiteral("Plain")), Number(0));
}

TEST_F(SettingsStoreTest, BadWritesThrowAndChangeNothing) {
  SettingsStore store(StorePath());
  const QString key = QStringLiteral("K");
  store.SettingsCreateKey(Root::Machine, key);
  store.SettingsWriteValue(Root::Machine, key, QStringLiteral("V"), 7, kNumber);
  EXPECT_THROW(store.SettingsWriteValue(Root::Machine, key, QStringLiteral("V"), qint64(1) << 31, kNumber), RunError);
  EXPECT_THROW(store.SettingsWriteValue(Root::Machine, key, QStringLiteral("V"), QStringLiteral("abc"), kNumber),
               RunError);
  EXPECT_THROW(store.SettingsWriteValue(Root::Machine, key, QStringLiteral("V"), 1, 2), RunError);
  EXPECT_EQ(store.SettingsReadValue(Root::Machine, key, QStringLiteral("V")), Number(7));
}

TEST_F(SettingsStoreTest, MissingKeysAndValuesReadEmpty) {
  SettingsStore store(StorePath());
  EXPECT_TRUE(IsEmptyValue(store.SettingsReadValue(Root::Machine, QStringLiteral("SOFTWARE\\MRL"), QStringLiteral("X"))));
  // A write to a missing key does nothing and creates no key.
  store.SettingsWriteValue(Root::Machine, QStringLiteral("SOFTWARE\\MRL"), QStringLiteral("X"), 1, kNumber);
  EXPECT_FALSE(store.KeyExists(Root::Machine, QStringLiteral("SOFTWARE")));
  EXPECT_TRUE(IsEmptyValue(store.SettingsReadValue(Root::Machine, QStringLiteral("SOFTWARE\\MRL"), QStringLiteral("X"))));
  store.SettingsCreateKey(Root::Machine, QStringLiteral("SOFTWARE\\MRL"));
  EXPECT_TRUE(IsEmptyValue(store.SettingsReadValue(Root::Machine, QStringLiteral("SOFTWARE\\MRL"), QStringLiteral("X"))));
}

TEST_F(SettingsStoreTest, CreateKeyMakesParentsAndKeepsExistingValues) {
  SettingsStore store(StorePath());
  store.SettingsCreateKey(Root::Machine, QStringLiteral("SOFTWARE\\MRL\\ViewReport\\SummaryReport"));
  EXPECT_TRUE(store.KeyExists(Root::Machine, QStringLiteral("SOFTWARE")));
  EXPECT_TRUE(store.KeyExists(Root::Machine, QStringLiteral("SOFTWARE\\MRL\\ViewReport")));
  store.SettingsWriteValue(Root::Machine, QStringLiteral("SOFTWARE\\MRL"), QStringLiteral("A"), 1, kNumber);
  store.SettingsCreateKey(Root::Machine, QStringLiteral("SOFTWARE\\MRL"));
  EXPECT_EQ(store.SettingsReadValue(Root::Machine, QStringLiteral("SOFTWARE\\MRL"), QStringLiteral("A")), Number(1));
  EXPECT_EQ(store.SubKeyNames(Root::Machine, QStringLiteral("SOFTWARE\\MRL")), QStringList{QStringLiteral("ViewReport")});
}

TEST_F(SettingsStoreTest, NamesCompareWithoutCaseAndKeepFirstSpelling) {
  SettingsStore store(StorePath());
  store.SettingsCreateKey(Root::Machine, QStringLiteral("SOFTWARE\\MRL\\General"));
  store.SettingsCreateKey(Root::Machine, QStringLiteral("software\\mrl\\GENERAL\\Sub"));
  store.SettingsWriteValue(Root::Machine, QStringLiteral("SOFTWARE\\MRL\\General"), QStringLiteral("ModemLogFile"),
                           QStringLiteral("a.txt"), kText);
  store.SettingsWriteValue(Root::Machine, QStringLiteral("Software\\Mrl\\general"), QStringLiteral("MODEMLOGFILE"),
                           QStringLiteral("b.txt"), kText);
  EXPECT_EQ(store.SettingsReadValue(Root::Machine, QStringLiteral("sOfTwArE\\mRl\\GeNeRaL"),
                                    QStringLiteral("modemlogfile")),
            Text(QStringLiteral("b.txt")));
  EXPECT_EQ(store.ValueNames(Root::Machine, QStringLiteral("SOFTWARE\\MRL\\General")),
            QStringList{QStringLiteral("ModemLogFile")});
  EXPECT_EQ(store.SubKeyNames(Root::Machine, QStringLiteral("SOFTWARE\\MRL")), QStringList{QStringLiteral("General")});
  EXPECT_EQ(store.SubKeyNames(Root::Machine, QStringLiteral("SOFTWARE\\MRL\\General")),
            QStringList{QStringLiteral("Sub")});
  // Only ASCII letters fold: Ä and ä are two names.
  store.SettingsWriteValue(Root::Machine, QStringLiteral("SOFTWARE\\MRL\\General"), QStringLiteral("Ä"), 1, kNumber);
  EXPECT_TRUE(IsEmptyValue(
      store.SettingsReadValue(Root::Machine, QStringLiteral("SOFTWARE\\MRL\\General"), QStringLiteral("ä"))));
}

TEST_F(SettingsStoreTest, RootsAreSeparate) {
  SettingsStore store(StorePath());
  store.SettingsCreateKey(Root::Machine, QStringLiteral("MRL\\Options"));
  store.SettingsWriteValue(Root::Machine, QStringLiteral("MRL\\Options"), QStringLiteral("Show Tips at Startup"),
                           QStringLiteral("machine"), kText);
  EXPECT_EQ(store.GetSetting(QStringLiteral("MRL"), QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"),
                             QStringLiteral("1")),
            QStringLiteral("1"));
  store.SaveSetting(QStringLiteral("MRL"), QStringLiteral("Options"), QStringLiteral("Show Tips at Startup"),
                    QStringLiteral("0"));
  EXPECT_EQ(store.GetSetting(QStringLiteral("mrl"), QStringLiteral("options"), QStringLiteral("show tips at startup"),
                             QStringLiteral("1")),
            QStringLiteral("0"));
  EXPECT_EQ(store.SettingsReadValue(Root::User, QStringLiteral("MRL\\Options"), QStringLiteral("Show Tips at Startup")),
            Text(QStringLiteral("0")));
  EXPECT_EQ(
      store.SettingsReadValue(Root::Machine, QStringLiteral("MRL\\Options"), QStringLiteral("Show Tips at Startup")),
      Text(QStringLiteral("machine")));
}

TEST_F(SettingsStoreTest, ValuesSurviveReopening) {
  {
    SettingsStore store(StorePath());
    store.SettingsCreateKey(Root::Machine, QStringLiteral("A\\B"));
    store.SettingsWriteValue(Root::Machine, QStringLiteral("A\\B"), QStringLiteral("N"), 12345, kNumber);
  }
  SettingsStore store(StorePath());
  EXPECT_TRUE(store.DamageMessage().isEmpty());
  EXPECT_EQ(store.SettingsReadValue(Root::Machine, QStringLiteral("a\\b"), QStringLiteral("n")), Number(12345));
}

// Derived data is current only while no key or value has changed since the
// change count it was made at; a shortcut never waits for another writer.
TEST_F(SettingsStoreTest, DerivedDataLastsUntilTheNextChange) {
  SettingsStore store(StorePath());
  const QString key = QStringLiteral("K");
  store.SettingsCreateKey(Root::Machine, key);
  const QByteArray data("parsed\0form", 11);

  const qint64 madeAt = store.ChangeCount();
  EXPECT_TRUE(store.StoreDerived(QStringLiteral("piece"), data, madeAt));
  EXPECT_EQ(store.ReadDerived(QStringLiteral("piece")), data);
  EXPECT_TRUE(store.ReadDerived(QStringLiteral("other")).isEmpty());

  // Made before a change: refused, and the old piece is no longer current.
  store.SettingsWriteValue(Root::Machine, key, QStringLiteral("V"), 1, kNumber);
  EXPECT_GT(store.ChangeCount(), madeAt);
  EXPECT_TRUE(store.ReadDerived(QStringLiteral("piece")).isEmpty());
  EXPECT_FALSE(store.StoreDerived(QStringLiteral("piece"), data, madeAt));
  EXPECT_TRUE(store.ReadDerived(QStringLiteral("piece")).isEmpty());

  // Another connection holding the write lock: refused at once.
  SettingsStore other(StorePath());
  {
    SettingsStore::Transaction writing(other);
    other.SettingsWriteValue(Root::Machine, key, QStringLiteral("V"), 2, kNumber);
    EXPECT_FALSE(store.StoreDerived(QStringLiteral("piece"), data, store.ChangeCount()));
    writing.Commit();
  }
  // Inside a transaction it is one more write of it, rolled back with it.
  {
    SettingsStore::Transaction tx(store);
    EXPECT_TRUE(store.StoreDerived(QStringLiteral("piece"), data, store.ChangeCount()));
  }
  EXPECT_TRUE(store.ReadDerived(QStringLiteral("piece")).isEmpty());
  EXPECT_TRUE(store.StoreDerived(QStringLiteral("piece"), data, store.ChangeCount()));
  // A change by another connection retires it too.
  other.SettingsWriteValue(Root::Machine, key, QStringLiteral("V"), 3, kNumber);
  EXPECT_TRUE(store.ReadDerived(QStringLiteral("piece")).isEmpty());
}

// A store of the first layout (keys and values only) is brought up to date
// when opened and keeps everything; a layout from a later version is not
// ours to guess at and counts as damaged.
TEST_F(SettingsStoreTest, AStoreOfTheFirstLayoutIsBroughtUpToDate) {
  auto create = [&](const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(StorePath()).constData(), &db), SQLITE_OK);
    char* message = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
    sqlite3_close(db);
  };
  const char* firstLayout =
      "CREATE TABLE keys(id INTEGER PRIMARY KEY, root INTEGER NOT NULL, parent INTEGER NOT NULL,"
      " name TEXT NOT NULL, fold TEXT NOT NULL, UNIQUE(root, parent, fold));"
      "CREATE TABLE vals(seq INTEGER PRIMARY KEY, key INTEGER NOT NULL, name TEXT NOT NULL,"
      " fold TEXT NOT NULL, kind INTEGER NOT NULL, value, UNIQUE(key, fold));"
      "INSERT INTO keys VALUES(1, 0, 0, 'Software', 'software');"
      "INSERT INTO vals VALUES(1, 1, 'Name', 'name', 1, 'kept');"
      "PRAGMA user_version = 1;";
  create(firstLayout);
  {
    SettingsStore store(StorePath());
    EXPECT_TRUE(store.DamageMessage().isEmpty()) << store.DamageMessage().toStdString();
    EXPECT_EQ(store.SettingsReadValue(Root::Machine, QStringLiteral("SOFTWARE"), QStringLiteral("NAME")),
              Text(QStringLiteral("kept")));
    const qint64 before = store.ChangeCount();
    ASSERT_TRUE(store.StoreDerived(QStringLiteral("piece"), "x", before));
    store.SettingsWriteValue(Root::Machine, QStringLiteral("Software"), QStringLiteral("Name"),
                             QStringLiteral("new"), kText);
    EXPECT_EQ(store.ChangeCount(), before + 1);
    EXPECT_TRUE(store.ReadDerived(QStringLiteral("piece")).isEmpty());
  }
  SettingsStore reopened(StorePath());
  EXPECT_TRUE(reopened.DamageMessage().isEmpty());
  EXPECT_EQ(reopened.SettingsReadValue(Root::Machine, QStringLiteral("Software"), QStringLiteral("Name")),
            Text(QStringLiteral("new")));

  QTemporaryDir later;
  const QString laterPath = SettingsStore::FilePathIn(later.path());
  {
    SettingsStore store(laterPath);
  }
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(QFile::encodeName(laterPath).constData(), &db), SQLITE_OK);
  sqlite3_exec(db, "PRAGMA user_version = 3;", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  SettingsStore store(laterPath);
  EXPECT_FALSE(store.DamageMessage().isEmpty());
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
      EXPECT_EQ(store.SettingsReadValue(Root::Machine, gone, QStringLiteral("V")), Number(5));
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

TEST_F(SettingsStoreTest, DamagedFilesAreMovedAsideAndReplaced) {
  struct Case {
    const char* name;
    std::function<void(const QString&)> damage;
  } cases[] = {
      {"not a database",
       [](const QString& path) {
         QFile f(path);
         ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         f.write("This is plain text, not a settings store at all.\n");
       }},
      {"foreign schema",
       [](const QString& path) {
         sqlite3* db = nullptr;
         ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
         sqlite3_exec(db, "CREATE TABLE other(x); INSERT INTO other VALUES(1);", nullptr, nullptr, nullptr);
         sqlite3_close(db);
       }},
      {"corrupt pages",
       [](const QString& path) {
         {
           SettingsStore store(path);
           store.SettingsCreateKey(Root::Machine, QStringLiteral("K"));
           for (int i = 0; i < 400; ++i) {
             store.SettingsWriteValue(Root::Machine, QStringLiteral("K"), QStringLiteral("Value%1").arg(i),
                                      QStringLiteral("text %1").arg(i), kText);
           }
         }
         QFile f(path);
         ASSERT_TRUE(f.open(QIODevice::ReadWrite));
         ASSERT_GT(f.size(), 3 * 4096);
         f.seek(4096);
         f.write(QByteArray(2 * 4096, '\xA5'));
       }},
  };
  for (const auto& c : cases) {
    QTemporaryDir dir;
    const QString path = SettingsStore::FilePathIn(dir.path());
    c.damage(path);
    QFile original(path);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray damagedBytes = original.readAll();
    original.close();

    SettingsStore store(path);
    EXPECT_FALSE(store.DamageMessage().isEmpty()) << c.name;
    EXPECT_TRUE(store.DamageMessage().contains(store.DamagedFilePath())) << c.name;
    EXPECT_TRUE(store.DamagedFilePath().startsWith(path + QStringLiteral(".damaged-"))) << c.name;
    QFile aside(store.DamagedFilePath());
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly)) << c.name;
    EXPECT_EQ(aside.readAll(), damagedBytes) << c.name;
    // The fresh store works and starts empty.
    EXPECT_FALSE(store.KeyExists(Root::Machine, QStringLiteral("K"))) << c.name;
    store.SettingsCreateKey(Root::Machine, QStringLiteral("K"));
    store.SettingsWriteValue(Root::Machine, QStringLiteral("K"), QStringLiteral("V"), 9, kNumber);
    EXPECT_EQ(store.SettingsReadValue(Root::Machine, QStringLiteral("K"), QStringLiteral("V")), Number(9)) << c.name;
  }
}

TEST_F(SettingsStoreTest, ASecondDamagedFileNeverOverwritesTheFirst) {
  QString firstAside;
  for (int round = 0; round < 2; ++round) {
    QFile f(StorePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("garbage ") + QByteArray::number(round));
    f.close();
    SettingsStore store(StorePath());
    ASSERT_FALSE(store.DamagedFilePath().isEmpty());
    if (round == 0) {
      firstAside = store.DamagedFilePath();
    } else {
      EXPECT_NE(store.DamagedFilePath(), firstAside);
    }
  }
  QFile first(firstAside);
  ASSERT_TRUE(first.open(QIODevice::ReadOnly));
  EXPECT_EQ(first.readAll(), QByteArray("garbage 0"));
}

TEST_F(SettingsStoreTest, UnwritableFolderIsAnAccessErrorAndLosesNothing) {
  if (geteuid() == 0) {
    GTEST_SKIP() << "file permissions do not bind the super-user";
  }
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

}  // namespace
}  // namespace mirolat
