// The report window's exports as a user meets them: Save As in every format
// (the file dialog answered through its seam), each file as the command line
// writes it for the same range; the Details list filtered by number and by
// errors, a session's cost in its tooltip, sorted by date both ways; and
// Copy, whose text and HTML hold the rows shown, in their order.
#include <QAbstractItemView>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMimeData>
#include <QProcess>

#include "render/report_formats.h"
#include "support/journey.h"
#include "ui/dialogs/file_dialog.h"

namespace mirolat::journey {

namespace {

const QString kReport = QStringLiteral("MRL Report");

// The list's rows as shown, the cells of its shown columns, the titles first.
QList<QStringList> ShownRows(QWidget* list) {
  QList<QStringList> rows;
  auto* view = qobject_cast<QAbstractItemView*>(list);
  const auto* header = view->findChild<QHeaderView*>();
  const QAbstractItemModel* model = view->model();
  for (int r = -1; r < model->rowCount(); ++r) {
    QStringList row;
    for (int c = 1; c < model->columnCount(); ++c) {
      if (header->isSectionHidden(c)) continue;
      row << (r < 0 ? model->headerData(c, Qt::Horizontal).toString().trimmed() : model->index(r, c).data().toString());
    }
    if (!row.value(1).startsWith(QLatin1String("---"))) rows << row;  // the rule is no data
  }
  return rows;
}

// "1/5/98" as a number that sorts as the day does.
int Day(const QString& date) {
  const QStringList p = date.split(QLatin1Char('/'));
  return p.size() == 3 ? p[2].toInt() * 10000 + p[0].toInt() * 100 + p[1].toInt() : -1;
}

}  // namespace

TEST_F(Journey, ReportWindowSavesEveryFormatFiltersAndCopies) {
  WriteFile(LogPath(), ReadFile(QStringLiteral(MIROLAT_SAMPLES_DIR "/ModemLog.txt")));
  Cli({QStringLiteral("config"), QStringLiteral("import"), QStringLiteral(MIROLAT_SAMPLES_DIR "/config.json")});
  const auto formats = AllReportFormats();
  // The PDF's name has no extension: it gets the chosen kind's.
  const auto savedAs = [&](const auto& format) {
    return ScratchDir() + QStringLiteral("January-") + format->Id() +
           (format->Id() == QLatin1String("pdf") ? QString() : QLatin1Char('.') + format->Extension());
  };
  const auto rows = [this] {
    QList<QStringList> shown;
    OnProgramThread([&] { shown = ShownRows(Control(kReport, QStringLiteral("ListView1"))); });
    return shown;
  };
  const auto column = [](const QList<QStringList>& shown, int c) {
    QStringList cells;
    for (qsizetype r = 1; r < shown.size(); ++r) cells << shown[r][c];
    return cells;
  };
  QString copiedText, copiedHtml;

  Run([&] {
    ASSERT_TRUE(WaitForWindow(QStringLiteral("frmMain")));
    ASSERT_TRUE(WaitUntil([&] { return Text(QStringLiteral("frmMain"), QStringLiteral("LabelLogEntries2")) == "3760"; }));
    ASSERT_TRUE(WaitForWindow(QStringLiteral("frmTip")));
    Key(QKeySequence(Qt::Key_Escape));
    Click(QStringLiteral("frmMain"), QStringLiteral("inputStarting"));
    Key(QKeySequence(Qt::Key_Home));
    Type(QStringLiteral("010198"));
    Key(QKeySequence(Qt::Key_Tab));
    Key(QKeySequence(Qt::Key_Home));
    Type(QStringLiteral("013198"));
    Click(QStringLiteral("frmMain"), QStringLiteral("btnProcess"));
    ASSERT_TRUE(WaitUntil([&] { return Text(kReport, QStringLiteral("RepTitle")) == "MIROLAT - Summary Report"; }));

    for (const auto& format : formats) {
      OnProgramThread([&] { FileDialog::setNextFileName(savedAs(format), format->FileFilter()); });
      Menu(kReport, {QStringLiteral("&File"), QStringLiteral("Save &As")});
      ASSERT_TRUE(WaitUntil([&] { return FileDialog::pendingFileNames() == 0; }));
    }

    // Details, one number: the sessions of one service only, their totals.
    Key(QKeySequence(Qt::Key_F3));
    ASSERT_TRUE(WaitUntil([&] { return Text(kReport, QStringLiteral("RepTitle")) == "MIROLAT - Details Report"; }));
    const qsizetype all = rows().size();
    Key(QKeySequence(Qt::ALT | Qt::Key_N));
    Key(QKeySequence(Qt::Key_Down));
    EXPECT_NE(Text(kReport, QStringLiteral("cboNumber")), QStringLiteral("All numbers"));
    QList<QStringList> shown = rows();
    EXPECT_LT(shown.size(), all);
    QStringList services = column(shown, 0);
    EXPECT_EQ(services.last(), QStringLiteral("Totals:"));
    services.removeAll(QString());
    services.removeDuplicates();
    EXPECT_EQ(services.size(), 2) << services.join(QLatin1Char(',')).toStdString();  // and "Totals:"

    // Every number, sessions with errors only; the tooltip tells the cost.
    Key(QKeySequence(Qt::Key_Home));
    Click(kReport, QStringLiteral("chkErrors"));
    shown = rows();
    ASSERT_GE(shown.size(), 4);  // the titles, a session's two rows, the totals
    for (qsizetype r = 1; r + 1 < shown.size(); r += 2) EXPECT_EQ(shown[r][1], QStringLiteral("E R R O R")) << r;
    QString tip;
    OnProgramThread([&] {
      const auto* view = qobject_cast<QAbstractItemView*>(Control(kReport, QStringLiteral("ListView1")));
      tip = view->model()->index(1, 1).data(Qt::ToolTipRole).toString();
    });
    EXPECT_TRUE(tip.contains(QStringLiteral("Dial-up charge: $")) && tip.contains(QStringLiteral("\nCost: $"))) << tip.toStdString();

    // All sessions by date, both ways; Copy takes them in that order.
    Click(kReport, QStringLiteral("chkErrors"));
    for (const bool down : {false, true}) {
      QPoint at;
      OnProgramThread([&] {
        const auto* header = Control(kReport, QStringLiteral("ListView1"))->findChild<QHeaderView*>();
        at = QPoint(header->sectionViewportPosition(3) + header->sectionSize(3) / 2, header->height() / 2);
      });
      Drag(kReport, QStringLiteral("ListView1Header"), at, at);
      QStringList dates = column(rows(), 2);
      dates.removeAll(QString());
      ASSERT_GT(dates.size(), 20);
      EXPECT_EQ(down ? Day(dates.first()) > Day(dates.last()) : Day(dates.first()) < Day(dates.last()), true) << down;
    }
    shown = rows();
    EXPECT_EQ(shown.size(), all);
    Click(kReport, QStringLiteral("ListView1"));
    Key(QKeySequence::Copy);
    OnProgramThread([&] {
      const QMimeData* data = QGuiApplication::clipboard()->mimeData();
      copiedText = data->text();
      copiedHtml = data->html();
    });
    QStringList lines;
    for (const QStringList& row : shown) lines << row.join(QLatin1Char('\t'));
    EXPECT_EQ(copiedText, lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    EXPECT_EQ(copiedHtml.count(QStringLiteral("<tr>")), shown.size());
    EXPECT_TRUE(copiedHtml.contains(QStringLiteral("<td>") + shown[1][2] + QStringLiteral("</td>")));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(kReport));
    Quit();
  });

  // Each file as the command line writes it for the range; the PDF as a viewer reads it.
  const QStringList range = {QStringLiteral("report"), QStringLiteral("--log"), LogPath(),
                             QStringLiteral("--from"), QStringLiteral("1998-01-01"), QStringLiteral("--to"),
                             QStringLiteral("1998-01-31"), QStringLiteral("--locale"), QStringLiteral("en_US")};
  for (const auto& format : formats) {
    const QString saved = savedAs(format) + (format->Id() == QLatin1String("pdf") ? QStringLiteral(".pdf") : QString());
    const QString expected = ScratchDir() + QStringLiteral("cli.") + format->Extension();
    Cli(range + QStringList{QStringLiteral("--format"), format->Id(), QStringLiteral("--out"), expected});
    if (format->Id() != QLatin1String("pdf")) {
      EXPECT_EQ(ReadFile(saved), ReadFile(expected)) << saved.toStdString();
      continue;
    }
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), saved, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QByteArray read = text.readAllStandardOutput();
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), expected, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    EXPECT_EQ(read, text.readAllStandardOutput());
    EXPECT_TRUE(read.contains("MIROLAT - Summary Report") && read.contains("Page 1 of 1") && read.contains("$97.81"));
  }
}

}  // namespace mirolat::journey
