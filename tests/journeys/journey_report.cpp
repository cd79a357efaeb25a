// The report window as a user meets it: a range typed into the date boxes,
// Process, the window's first size and place, the two reports and the two
// presentations, a resize, a sort by a column, Save As through the real file
// dialog, printing to a PDF file, and the size kept for the next opening.
#include <QAbstractItemView>
#include <QApplication>
#include <QFileInfo>
#include <QHeaderView>
#include <QScreen>
#include <QStyle>

#include "support/journey.h"
#include "ui/dialogs/printer_dialog.h"

namespace mirolat::journey {

namespace {

const QString kMain = QStringLiteral("frmMain");
const QString kReport = QStringLiteral("MRL Report");

// The report list as it stands on the screen: the shown columns' titles and
// the rows in the order shown, and which shown cells are too narrow for their
// text or belong to a column with nothing in it.
struct ListLook {
  QStringList titles;
  QList<QStringList> rows;
  QStringList cutCells;
  QStringList emptyColumns;
};

ListLook LookAtList(QWidget* list) {
  ListLook look;
  auto* view = qobject_cast<QAbstractItemView*>(list);
  auto* header = view != nullptr ? view->findChild<QHeaderView*>() : nullptr;
  if (header == nullptr) return look;
  const QAbstractItemModel* model = view->model();
  // An item view draws a cell's text inside a margin on either side.
  const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
  const QFontMetrics metrics = view->fontMetrics();
  QList<int> shown;
  for (int c = 0; c < model->columnCount(); ++c) {
    if (!header->isSectionHidden(c) && header->sectionSize(c) > 0) shown << c;
  }
  for (int c : shown) look.titles << model->headerData(c, Qt::Horizontal).toString().trimmed();
  for (int r = 0; r < model->rowCount(); ++r) {
    QStringList row;
    for (int c : shown) {
      const QString text = model->index(r, c).data().toString();
      row << text;
      const bool rule = !text.isEmpty() && text.count(QLatin1Char('-')) == text.size();
      if (!rule && metrics.horizontalAdvance(text) + 2 * margin > header->sectionSize(c)) {
        look.cutCells << QStringLiteral("%1 in %2 (%3 px)").arg(text, look.titles[shown.indexOf(c)]).arg(header->sectionSize(c));
      }
    }
    look.rows << row;
  }
  for (int i = 0; i < shown.size(); ++i) {
    bool empty = look.titles[i].isEmpty();
    for (const QStringList& row : look.rows) empty = empty && row[i].isEmpty();
    if (empty) look.emptyColumns << QString::number(shown[i]);
  }
  return look;
}

double Seconds(const QString& duration) {
  const QStringList parts = duration.split(QLatin1Char(':'));
  return parts.size() == 3 ? parts[0].toDouble() * 3600 + parts[1].toDouble() * 60 + parts[2].toDouble() : -1;
}

double Amount(QString money) {
  money.remove(QLatin1Char('$')).remove(QLatin1Char(','));
  return money.toDouble();
}

}  // namespace

TEST_F(Journey, ReportWindowOpensToFitSortsSavesAndPrints) {
  WriteFile(LogPath(), ReadFile(QStringLiteral(MIROLAT_SAMPLES_DIR "/ModemLog.txt")));
  Cli({QStringLiteral("config"), QStringLiteral("import"), QStringLiteral(MIROLAT_SAMPLES_DIR "/config.json")});
  const QString saved = ScratchDir() + QStringLiteral("January.txt");
  const QString pdf = ScratchDir() + QStringLiteral("January.pdf");
  QSize resized;

  const auto lookAtList = [this] {
    ListLook look;
    OnProgramThread([&] { look = LookAtList(Control(kReport, QStringLiteral("ListView1"))); });
    return look;
  };

  Run([&] {
    ASSERT_TRUE(WaitForWindow(kMain));
    ASSERT_TRUE(WaitUntil([&] { return Text(kMain, QStringLiteral("LabelLogEntries2")) == "3760"; }));
    ASSERT_TRUE(WaitForWindow(QStringLiteral("frmTip")));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(QStringLiteral("frmTip")));
    // January 1998, typed into the two date boxes.
    Click(kMain, QStringLiteral("inputStarting"));
    Key(QKeySequence(Qt::Key_Home));
    Type(QStringLiteral("010198"));
    Key(QKeySequence(Qt::Key_Tab));
    Key(QKeySequence(Qt::Key_Home));
    Type(QStringLiteral("013198"));
    EXPECT_EQ(Text(kMain, QStringLiteral("inputEnding")), QStringLiteral("01/31/98"));
    Click(kMain, QStringLiteral("btnProcess"));
    ASSERT_TRUE(WaitForWindow(kReport));
    ASSERT_TRUE(WaitUntil([&] { return Text(kReport, QStringLiteral("RepTitle")) == "MIROLAT - Summary Report"; }));
    Screenshot(kReport, QStringLiteral("summary-list.png"));

    // The first opening: whole on the screen, the main window's corner left
    // in sight, every column's text whole and no column without text.
    QRect available;
    OnProgramThread([&] { available = QApplication::primaryScreen()->availableGeometry(); });
    const QRect main = Geometry(kMain);
    const QRect first = Geometry(kReport);
    EXPECT_TRUE(available.contains(first)) << first.x() << "," << first.y() << " " << first.width() << "x" << first.height();
    EXPECT_FALSE(first.contains(main.topLeft() + QPoint(8, 8))) << first.x() << "," << first.y();
    EXPECT_EQ(first.top(), main.top());  // level with the main window, beside it
    ListLook summary = lookAtList();
    EXPECT_EQ(summary.titles, (QStringList{"Service", "Mirolat", "Sessions", "Av/Session", "Av/Day", "Kilobytes", "Cost"}));
    EXPECT_TRUE(summary.cutCells.isEmpty()) << summary.cutCells.join(QStringLiteral("; ")).toStdString();
    EXPECT_TRUE(summary.emptyColumns.isEmpty()) << summary.emptyColumns.join(QLatin1Char(' ')).toStdString();

    // Details with F3: the window, not sized by the user yet, grows to show
    // more of it, still whole on the screen; its columns fit their text too.
    Key(QKeySequence(Qt::Key_F3));
    ASSERT_TRUE(WaitUntil([&] { return Text(kReport, QStringLiteral("RepTitle")) == "MIROLAT - Details Report"; }));
    Screenshot(kReport, QStringLiteral("details-list.png"));
    const QRect detailsShown = Geometry(kReport);
    EXPECT_TRUE(available.contains(detailsShown));
    EXPECT_GT(detailsShown.height(), first.height());
    const ListLook details = lookAtList();
    EXPECT_EQ(details.titles, (QStringList{"Service", "Status", "Date", "Time", "Duration", "Cost", "Notes"}));
    EXPECT_TRUE(details.cutCells.isEmpty()) << details.cutCells.mid(0, 5).join(QStringLiteral("; ")).toStdString();
    EXPECT_TRUE(details.emptyColumns.isEmpty()) << details.emptyColumns.join(QLatin1Char(' ')).toStdString();

    // A smaller window by the size grip in the status bar's bottom right-hand
    // corner: the user's size stays through the switches.
    QPoint grip;
    OnProgramThread([&] {
      const QWidget* bar = Control(kReport, QStringLiteral("StatusBar1"));
      grip = QPoint(bar->width() - 4, bar->height() - 4);
    });
    Drag(kReport, QStringLiteral("StatusBar1"), grip, grip - QPoint(60, 40));
    resized = Geometry(kReport).size();
    EXPECT_EQ(resized, detailsShown.size() - QSize(60, 40));
    Key(QKeySequence(Qt::Key_F2));
    ASSERT_TRUE(WaitUntil([&] { return Text(kReport, QStringLiteral("RepTitle")) == "MIROLAT - Summary Report"; }));
    EXPECT_EQ(Geometry(kReport).size(), resized);

    // The text presentation: selecting it and pressing Ctrl+X leaves the window open.
    Key(QKeySequence(Qt::Key_F4));
    ASSERT_TRUE(Visible(kReport, QStringLiteral("ReportTextBox")));
    EXPECT_EQ(Geometry(kReport).size(), resized);
    Screenshot(kReport, QStringLiteral("summary-standard.png"));
    EXPECT_FALSE(Enabled(kReport, QStringLiteral("A+")));  // the list's font size only
    Click(kReport, QStringLiteral("ReportTextBox"));
    Key(QKeySequence::SelectAll);
    Key(QKeySequence::Cut);
    EXPECT_TRUE(Visible(kReport, QStringLiteral("ReportTextBox")));
    Key(QKeySequence(Qt::Key_F5));
    ASSERT_TRUE(Visible(kReport, QStringLiteral("ListView1")));
    EXPECT_TRUE(Enabled(kReport, QStringLiteral("A+")));
    EXPECT_EQ(Geometry(kReport).size(), resized);

    // A click on Cost's header sorts by the amount, a second one the other way;
    // the rule and the totals stay at the end.
    const auto clickTitle = [&](const QString& title) {
      QPoint at(-1, -1);
      OnProgramThread([&] {
        const auto* header = Control(kReport, QStringLiteral("ListView1"))->findChild<QHeaderView*>();
        for (int c = 0; c < header->count(); ++c) {
          if (header->model()->headerData(c, Qt::Horizontal).toString().trimmed() == title) {
            at = QPoint(header->sectionViewportPosition(c) + header->sectionSize(c) / 2, header->height() / 2);
          }
        }
      });
      ASSERT_GE(at.x(), 0) << title.toStdString();
      // A click where the pointer lands: on the header's sections.
      Drag(kReport, QStringLiteral("ListView1Header"), at, at);
    };
    const auto column = [](const ListLook& look, const QString& title) {
      QStringList cells;
      const qsizetype c = look.titles.indexOf(title);
      for (const QStringList& row : look.rows) cells << (c >= 0 ? row[c] : QString());
      return cells;
    };
    clickTitle(QStringLiteral("Cost"));
    summary = lookAtList();
    QStringList costs = column(summary, QStringLiteral("Cost"));
    // Six numbers, the rule and the totals.
    ASSERT_EQ(costs.size(), 8) << costs.join(' ').toStdString();
    EXPECT_EQ(column(summary, QStringLiteral("Service")).last(), QStringLiteral("Totals:"));
    EXPECT_EQ(costs.last(), QStringLiteral("$97.81"));
    for (int i = 1; i < 6; ++i) EXPECT_LT(Amount(costs[i - 1]), Amount(costs[i])) << costs.join(' ').toStdString();
    clickTitle(QStringLiteral("Cost"));
    costs = column(lookAtList(), QStringLiteral("Cost"));
    for (int i = 1; i < 6; ++i) EXPECT_GT(Amount(costs[i - 1]), Amount(costs[i])) << costs.join(' ').toStdString();
    EXPECT_EQ(costs.last(), QStringLiteral("$97.81"));

    // In Details a session's two rows stay together when sorted by duration.
    Key(QKeySequence(Qt::Key_F3));
    ASSERT_TRUE(WaitUntil([&] { return Text(kReport, QStringLiteral("RepTitle")) == "MIROLAT - Details Report"; }));
    clickTitle(QStringLiteral("Duration"));
    const ListLook byDuration = lookAtList();
    const QStringList durations = column(byDuration, QStringLiteral("Duration"));
    const QStringList dates = column(byDuration, QStringLiteral("Date"));
    ASSERT_GT(durations.size(), 20);
    double previous = -1;
    for (int r = 1; r + 2 < durations.size(); r += 2) {
      EXPECT_FALSE(dates[r - 1].isEmpty()) << r;      // the connect row
      EXPECT_TRUE(durations[r - 1].isEmpty()) << r;   // above its disconnect row
      EXPECT_GE(Seconds(durations[r]), previous) << durations[r].toStdString();
      previous = Seconds(durations[r]);
    }
    EXPECT_EQ(column(byDuration, QStringLiteral("Service")).last(), QStringLiteral("Totals:"));
    Key(QKeySequence(Qt::Key_F2));

    // Save As through the real file dialog, the path typed into it.
    Menu(kReport, {QStringLiteral("&File"), QStringLiteral("Save &As")});
    ASSERT_TRUE(WaitForWindow(QStringLiteral("Save As")));
    Key(QKeySequence::SelectAll);
    Type(saved);
    Key(QKeySequence(Qt::Key_Return));
    ASSERT_TRUE(WaitForClose(QStringLiteral("Save As")));

    // Print into a PDF file.
    OnProgramThread([&] { PrinterDialog::setNextPdfFile(pdf); });
    Key(QKeySequence::Print);
    ASSERT_TRUE(WaitUntil([&] { return QFileInfo(pdf).size() > 1000; }));

    // Ctrl+W closes the window; it opens again at the size it was left at,
    // and Escape closes it.
    Key(QKeySequence::Close);
    ASSERT_TRUE(WaitForClose(kReport));
    Click(kMain, QStringLiteral("btnProcess"));
    ASSERT_TRUE(WaitForWindow(kReport));
    EXPECT_EQ(Geometry(kReport).size(), resized);
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(kReport));
    Quit();
  });

  // The saved file is the report the command line prints for the same range.
  const QByteArray printed =
      Cli({QStringLiteral("report"), QStringLiteral("--log"), LogPath(), QStringLiteral("--from"), QStringLiteral("1998-01-01"),
           QStringLiteral("--to"), QStringLiteral("1998-01-31"), QStringLiteral("--locale"), QStringLiteral("en_US")});
  EXPECT_GT(printed.size(), 500);
  EXPECT_EQ(ReadFile(saved), printed);
  EXPECT_TRUE(ReadFile(pdf).startsWith("%PDF"));
}

}  // namespace mirolat::journey
