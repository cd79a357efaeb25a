// mirolat-cli's configuration and scan commands against the documented store
// layout, JSON fields and log checks, with expectations written out by hand.
#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli_test_support.h"
#include "config/configuration_io.h"

namespace mirolat {
namespace {

class CliFoundationReview : public testing::CliTest {
 protected:
  SettingsValue Stored(const QString& key, const char* name) {
    SettingsStore store(SettingsStore::FilePathIn(configDir_));
    return store.SettingsReadValue(Root::Machine, key, QLatin1String(name));
  }
  QJsonObject Export() {
    EXPECT_EQ(Run({QStringLiteral("config"), QStringLiteral("export")}), 0) << err_.toStdString();
    return QJsonDocument::fromJson(out_.toUtf8()).object();
  }
  int Import(const QByteArray& json) {
    const QString path = Write(QStringLiteral("import.json"), json);
    return Run({QStringLiteral("config"), QStringLiteral("import"), path});
  }
  int Scan(const QString& path) {
    return Run({QStringLiteral("scan"), QStringLiteral("--log"), path, QStringLiteral("--locale"),
                QStringLiteral("en_US")});
  }
};

QStringList Keys(const QJsonObject& o) {
  QStringList keys = o.keys();
  keys.sort();
  return keys;
}

TEST_F(CliFoundationReview, AFirstExportShowsEveryDefault) {
  const QJsonObject json = Export();
  EXPECT_EQ(Keys(json), (QStringList{QStringLiteral("Costs"), QStringLiteral("General"), QStringLiteral("Holidays"),
                                     QStringLiteral("Modem"), QStringLiteral("Services")}));
  const QJsonObject general = json[QStringLiteral("General")].toObject();
  const QJsonObject expectedGeneral{{QStringLiteral("ModemLogFile"), QStringLiteral("ModemLog.txt")},
                                    {QStringLiteral("MaxServices"), 10},
                                    {QStringLiteral("MaxConnections"), 200},
                                    {QStringLiteral("MaxConnectDays"), 2},
                                    {QStringLiteral("NoDisconDuration"), 900},
                                    {QStringLiteral("NoDisconData"), 0},
                                    {QStringLiteral("MaxLogSize"), 150},
                                    {QStringLiteral("EditLog"), true},
                                    {QStringLiteral("ShowErrors"), true},
                                    {QStringLiteral("ShowToolbars"), true},
                                    {QStringLiteral("ShowGraphic"), true},
                                    {QStringLiteral("AutoOptimize"), false}};
  EXPECT_EQ(general, expectedGeneral);
  const QJsonObject expectedModem{{QStringLiteral("ModemDial"), QStringLiteral("RECV: ATD")},
                                  {QStringLiteral("ModemAnswer"), QStringLiteral("ANSWERING")},
                                  {QStringLiteral("ModemConnect"), QStringLiteral("CONNECTION ESTABLISHED")},
                                  {QStringLiteral("ModemUserDisconnect"), QStringLiteral("HANGING UP THE MODEM")},
                                  {QStringLiteral("ModemHostDisconnect"), QStringLiteral("REMOTE MODEM HUNG UP")},
                                  {QStringLiteral("ModemReads"), QStringLiteral("READS")},
                                  {QStringLiteral("ModemWrites"), QStringLiteral("WRITES")}};
  EXPECT_EQ(json[QStringLiteral("Modem")].toObject(), expectedModem);
  const QJsonObject expectedCosts{{QStringLiteral("CalcCosts"), true},
                                  {QStringLiteral("DialCost"), 0.2},
                                  {QStringLiteral("CostPerHour"), 1.5},
                                  {QStringLiteral("CostPerMeg"), 0}};
  EXPECT_EQ(json[QStringLiteral("Costs")].toObject(), expectedCosts);
  EXPECT_EQ(json[QStringLiteral("Services")].toArray(), QJsonArray());
  EXPECT_EQ(json[QStringLiteral("Holidays")].toArray(), QJsonArray());

  // The first run stored the defaults in their kinds.
  EXPECT_EQ(Stored(kGeneralKey, "UsedServices"), SettingsValue(0));
  EXPECT_EQ(Stored(kHolidaysKey, "UsedHolidays"), SettingsValue(0));
  EXPECT_EQ(Stored(kCostsKey, "CostPerHour"), SettingsValue(15000));
  EXPECT_EQ(Stored(kGeneralKey, "EditLog"), SettingsValue(QStringLiteral("True")));
  EXPECT_EQ(Stored(kSummaryReportKey, "Column3"), SettingsValue(700));
  EXPECT_EQ(Stored(kDetailReportKey, "Column6"), SettingsValue(2000));
  EXPECT_EQ(Stored(kSummaryReportKey, "Column6"), SettingsValue());
}

TEST_F(CliFoundationReview, ImportStoresListsAsUsedCountsAndLeavesWindowsAlone) {
  ASSERT_EQ(Run({QStringLiteral("config"), QStringLiteral("export")}), 0);  // first run: defaults stored
  {
    SettingsStore store(SettingsStore::FilePathIn(configDir_));
    store.SettingsWriteValue(Root::Machine, kViewLogKey, QStringLiteral("FontName"), QStringLiteral("Courier"), 1);
    store.SettingsWriteValue(Root::Machine, kSummaryReportKey, QStringLiteral("WinWidth"), 7777, 4);
  }
  const QByteArray json = R"({
    "Modem": {"ModemReads": "rx bytes"},
    "Costs": {"CalcCosts": false},
    "Services": [{"ServiceName": "A", "ServiceNumber": "1",
                  "Tariffs": [{"AppliesTimeStart": "07:30", "AppliesTimeEnd": "19:59", "PerMinuteRate": 0.0125},
                              {"Description": "Second"}]},
                 {"ServiceName": "B", "ServiceNumber": "2", "AfterMeg": 2.5}],
    "Holidays": ["1999-01-01", "1999-12-31", "2000-02-29"]})";
  ASSERT_EQ(Import(json), 0) << err_.toStdString();

  EXPECT_EQ(Stored(kGeneralKey, "UsedServices"), SettingsValue(2));
  EXPECT_EQ(Stored(kServicesKey, "UsedTariffs1"), SettingsValue(2));
  EXPECT_EQ(Stored(kServicesKey, "UsedTariffs2"), SettingsValue(0));
  EXPECT_EQ(Stored(kServicesKey, "Tariff1-1AppliesTimeStart"), SettingsValue(QStringLiteral("07:30:00")));
  EXPECT_EQ(Stored(kServicesKey, "Tariff1-1PerMinuteRate"), SettingsValue(125));
  EXPECT_EQ(Stored(kServicesKey, "Tariff1-2Description"), SettingsValue(QStringLiteral("Second")));
  EXPECT_EQ(Stored(kServicesKey, "AfterMeg2"), SettingsValue(2));  // 2.5 rounds to the even 2
  EXPECT_EQ(Stored(kModemKey, "ModemReads"), SettingsValue(QStringLiteral("RX BYTES")));
  EXPECT_EQ(Stored(kCostsKey, "CalcCosts"), SettingsValue(QStringLiteral("False")));
  EXPECT_EQ(Stored(kCostsKey, "DialCost"), SettingsValue(2000));  // absent: its default
  EXPECT_EQ(Stored(kHolidaysKey, "UsedHolidays"), SettingsValue(3));
  EXPECT_EQ(Stored(kHolidaysKey, " 1"), SettingsValue(36161));
  EXPECT_EQ(Stored(kHolidaysKey, " 3"), SettingsValue(MakeDate(2000, 2, 29)));
  EXPECT_EQ(Stored(kViewLogKey, "FontName"), SettingsValue(QStringLiteral("Courier")));
  EXPECT_EQ(Stored(kSummaryReportKey, "WinWidth"), SettingsValue(7777));

  // A stored False survives the next start; the export shows what was stored.
  const QJsonObject exported = Export();
  EXPECT_FALSE(exported[QStringLiteral("Costs")][QStringLiteral("CalcCosts")].toBool());
  EXPECT_EQ(exported[QStringLiteral("Costs")][QStringLiteral("DialCost")].toDouble(), 0.2);
  EXPECT_EQ(exported[QStringLiteral("Modem")][QStringLiteral("ModemReads")].toString(), QStringLiteral("RX BYTES"));
  const QJsonArray services = exported[QStringLiteral("Services")].toArray();
  ASSERT_EQ(services.size(), 2);
  const QJsonObject tariff = services[0][QStringLiteral("Tariffs")].toArray()[0].toObject();
  EXPECT_EQ(tariff[QStringLiteral("AppliesTimeStart")].toString(), QStringLiteral("07:30"));
  EXPECT_EQ(tariff[QStringLiteral("AppliesTimeEnd")].toString(), QStringLiteral("19:59"));
  EXPECT_EQ(tariff[QStringLiteral("PerMinuteRate")].toDouble(), 0.0125);
  EXPECT_EQ(services[1][QStringLiteral("AfterMeg")].toDouble(), 2);
  EXPECT_EQ(exported[QStringLiteral("Holidays")].toArray(),
            (QJsonArray{QStringLiteral("1999-01-01"), QStringLiteral("1999-12-31"), QStringLiteral("2000-02-29")}));
}

TEST_F(CliFoundationReview, ScanUsesTheStoredSizeLimitExactly) {
  ASSERT_EQ(Import(R"({"General": {"MaxLogSize": 1}})"), 0) << err_.toStdString();
  const QByteArray line = "01-15-1998 10:23:45.12 - Dialing.\r\n";  // 35 bytes
  for (int size : {1023, 1024}) {
    QByteArray log = line;
    log += QByteArray(size - 2 * line.size() - 2, 'x') + "\r\n" + line;
    ASSERT_EQ(log.size(), size);
    const QString path = Write(QStringLiteral("ModemLog.txt"), log);
    EXPECT_EQ(Scan(path), 0) << size << err_.toStdString();
    EXPECT_EQ(out_.contains(QStringLiteral("  WARNING: Your Modem Log is Too Big!\n")), size == 1024)
        << size << out_.toStdString();
  }
}

TEST_F(CliFoundationReview, ScanDatesAndEndOfFileMark) {
  struct Case {
    QByteArray log;
    int exitCode;
    const char* entries;
    const char* first;
    const char* last;
    bool notModemLog;
  } cases[] = {
      // Undated lines first: the first date comes from the first dated line.
      {"Modem log\r\nopened\r\n02-03-1998 10:00:00.00 - x\r\n03-04-1998 11:00:00.00 - y\r\n", 0, "4",
       "Tuesday, February 3, 1998", "Wednesday, March 4, 1998", false},
      // An end-of-file mark as the last byte is no corruption and ends the text.
      {"02-03-1998 10:00:00.00 - x\r\n03-04-1998 11:00:00.00 - y\r\n\x1a", 0, "2", "Tuesday, February 3, 1998",
       "Wednesday, March 4, 1998", false},
      // A dated first line and an undated last line: not a modem log.
      {"02-03-1998 10:00:00.00 - x\r\nthe end\r\n\r\n", 1, "2", "Tuesday, February 3, 1998", "none", true},
  };
  for (const auto& c : cases) {
    const QString path = Write(QStringLiteral("ModemLog.txt"), c.log);
    EXPECT_EQ(Scan(path), c.exitCode) << c.log.constData() << err_.toStdString();
    EXPECT_TRUE(out_.contains(QStringLiteral("Entries: %1\n").arg(QLatin1String(c.entries)))) << out_.toStdString();
    EXPECT_TRUE(out_.contains(QStringLiteral("First entry: %1\n").arg(QLatin1String(c.first)))) << out_.toStdString();
    EXPECT_TRUE(out_.contains(QStringLiteral("Last entry: %1\n").arg(QLatin1String(c.last)))) << out_.toStdString();
    EXPECT_EQ(out_.contains(QStringLiteral("  WARNING: INVALID MODEM LOG FILE!\n")), c.notModemLog)
        << out_.toStdString();
  }
  // The mark inside the text is a forbidden byte.
  const QString corrupt = Write(QStringLiteral("ModemLog.txt"), "02-03-1998 10:00:00.00 - x\r\n\x1a\r\nmore");
  EXPECT_EQ(Scan(corrupt), 1);
  EXPECT_TRUE(out_.contains(QStringLiteral("  WARNING: Corruption Detected in Modem Log File!\n")))
      << out_.toStdString();
}

}  // namespace
}  // namespace mirolat
