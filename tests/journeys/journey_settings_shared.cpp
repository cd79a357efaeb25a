// The settings store shared with the command line: a `config import` made
// while the program runs survives the closing of the report window and of the
// log viewer, which write only their own settings, and the program follows it
// without a restart, in the options dialog and in the next report.
#include <QAbstractItemView>
#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "support/journey.h"

namespace mirolat::journey {

namespace {

using namespace Qt::Literals::StringLiterals;

const QString kMain = u"frmMain"_s;
const QString kReport = u"MRL Report"_s;
const QString kViewer = u"MRL - View Modem Log"_s;
const QString kOptions = u"MRL - Options"_s;

// A configuration with its first service renamed and its own maximum of connections.
QByteArray Renamed(const QByteArray& json, const QString& firstService, int maxConnections) {
  QJsonObject config = QJsonDocument::fromJson(json).object();
  QJsonObject general = config[u"General"_s].toObject();
  general[u"MaxConnections"_s] = maxConnections;
  config[u"General"_s] = general;
  QJsonArray services = config[u"Services"_s].toArray();
  QJsonObject first = services[0].toObject();
  first[u"ServiceName"_s] = firstService;
  services[0] = first;
  config[u"Services"_s] = services;
  return QJsonDocument(config).toJson();
}

QString StoredFirstService(const QByteArray& exported) {
  return QJsonDocument::fromJson(exported).object()[u"Services"_s].toArray()[0].toObject()[u"ServiceName"_s].toString();
}

}  // namespace

TEST_F(Journey, ConfigImportedWhileTheProgramRunsIsKeptAndFollowed) {
  WriteFile(LogPath(), ReadFile(QStringLiteral(MIROLAT_SAMPLES_DIR "/ModemLog.txt")));
  const QString first = ScratchDir() + u"first.json"_s;
  const QString second = ScratchDir() + u"second.json"_s;
  const QString sample = QStringLiteral(MIROLAT_SAMPLES_DIR "/config.json");
  WriteFile(first, Renamed(ReadFile(sample), u"First Import"_s, 300));
  WriteFile(second, Renamed(ReadFile(sample), u"Second Import"_s, 400));
  Cli({u"config"_s, u"import"_s, sample});

  const auto key = [&](const char* keys) { Key(QKeySequence(QString::fromLatin1(keys))); };
  // The services the report's list names, in its Service column.
  const auto reportServices = [&] {
    QStringList names;
    OnProgramThread([&] {
      auto* view = qobject_cast<QAbstractItemView*>(Control(kReport, u"ListView1"_s));
      const QAbstractItemModel* model = view != nullptr ? view->model() : nullptr;
      for (int c = 0; model != nullptr && c < model->columnCount(); ++c) {
        if (model->headerData(c, Qt::Horizontal).toString().trimmed() != u"Service"_s) continue;
        for (int r = 0; r < model->rowCount(); ++r) names << model->index(r, c).data().toString().trimmed();
      }
    });
    return names;
  };
  const auto reportNames = [&](const QString& service) {
    return WaitForActive(kReport) && WaitUntil([&] { return reportServices().contains(service); });
  };

  Run([&] {
    ASSERT_TRUE(WaitForWindow(kMain));
    ASSERT_TRUE(WaitUntil([&] { return Text(kMain, u"LabelLogEntries2"_s) == "3760"; }));
    ASSERT_TRUE(WaitForActive(u"frmTip"_s));
    key("Escape");
    ASSERT_TRUE(WaitForClose(u"frmTip"_s));
    key("Alt+O");  // the report of the log's last day
    ASSERT_TRUE(reportNames(u"NetOne Internet"_s)) << reportServices().join(u", "_s).toStdString();

    // The record changes under the open report window, whose closing keeps it.
    Cli({u"config"_s, u"import"_s, first});
    key("Ctrl+W");
    ASSERT_TRUE(WaitForClose(kReport));
    EXPECT_EQ(StoredFirstService(Cli({u"config"_s, u"export"_s})), u"First Import"_s);

    // The options dialog shows the imported record; OK keeps it.
    key("Alt+F");
    key("M");  // File > MRL Options
    ASSERT_TRUE(WaitForActive(kOptions));
    EXPECT_EQ(Text(kOptions, u"txtMaxConnections"_s), u"300"_s);
    key("Alt+S");  // the Services tab
    EXPECT_EQ(Text(kOptions, u"lstServices"_s).trimmed(), u"First Import"_s);
    Screenshot(kOptions, u"options-after-import.png"_s);
    key("Return");
    ASSERT_TRUE(WaitForClose(kOptions));
    EXPECT_EQ(StoredFirstService(Cli({u"config"_s, u"export"_s})), u"First Import"_s);

    // Likewise under the log viewer that saves its settings on closing.
    key("F4");
    ASSERT_TRUE(WaitForActive(kViewer));
    Menu(kViewer, {u"S&ettings"_s, u"&Save on Exit"_s});
    OnProgramThread([&] {
      const auto* saveOnExit = Window(kViewer)->findChild<QAction*>(u"mnuSaveSettings"_s);
      ASSERT_NE(saveOnExit, nullptr);
      EXPECT_TRUE(saveOnExit->isChecked());
    });
    Cli({u"config"_s, u"import"_s, second});
    key("Ctrl+W");
    ASSERT_TRUE(WaitForClose(kViewer));
    const QByteArray stored = Cli({u"config"_s, u"export"_s});
    EXPECT_EQ(StoredFirstService(stored), u"Second Import"_s);
    EXPECT_EQ(QJsonDocument::fromJson(stored).object()[u"General"_s][u"MaxConnections"_s].toInt(), 400);

    // The next report names the services of the record as stored now.
    key("Alt+O");
    EXPECT_TRUE(reportNames(u"Second Import"_s)) << reportServices().join(u", "_s).toStdString();
    key("Escape");
    ASSERT_TRUE(WaitForClose(kReport));
    Quit();
  });
}

}  // namespace mirolat::journey
