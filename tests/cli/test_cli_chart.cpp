#include <QProcess>
#include <QtEndian>

#include "cli_test_support.h"

namespace mirolat::testing {
namespace {

class CliChartTest : public CliTest {
 protected:
  // `chart` over the bundled sample, run as the program runs (its own main
  // picks the application a drawing command needs).
  int Chart(const QStringList& more, QString* err = nullptr,
            const QString& log = QStringLiteral(MIROLAT_SAMPLES_DIR "/ModemLog.txt")) {
    QProcess cli;
    cli.start(QStringLiteral(MIROLAT_CLI_PATH),
              QStringList{QStringLiteral("chart"), QStringLiteral("--log"), log, QStringLiteral("--from"),
                          QStringLiteral("1998-01-01"), QStringLiteral("--to"), QStringLiteral("1998-02-14"),
                          QStringLiteral("--locale"), QStringLiteral("en_US")} +
                  more);
    EXPECT_TRUE(cli.waitForFinished(30000));
    if (err != nullptr) *err = QString::fromLocal8Bit(cli.readAllStandardError());
    return cli.exitCode();
  }
};

TEST_F(CliChartTest, DrawsPngAndSvgFilesWithoutADisplay) {
  ASSERT_EQ(Import(QStringLiteral(MIROLAT_SAMPLES_DIR "/config.json")), 0) << err_.toStdString();
  const QString png = dir_.filePath(QStringLiteral("daily.png"));
  QString err;
  ASSERT_EQ(Chart({QStringLiteral("--kind"), QStringLiteral("daily"), QStringLiteral("--out"), png,
                   QStringLiteral("--width"), QStringLiteral("640"), QStringLiteral("--period"), QStringLiteral("week")},
                  &err),
            0)
      << err.toStdString();
  const QByteArray bytes = Read(png);
  ASSERT_TRUE(bytes.startsWith("\x89PNG\r\n\x1a\n"));
  // The header's width and height, big-endian after "IHDR".
  EXPECT_EQ(qFromBigEndian<quint32>(bytes.constData() + 16), 640u);
  EXPECT_EQ(qFromBigEndian<quint32>(bytes.constData() + 20), 600u);

  const QString svg = dir_.filePath(QStringLiteral("heat.svg"));
  ASSERT_EQ(Chart({QStringLiteral("--kind"), QStringLiteral("heatmap"), QStringLiteral("--out"), svg,
                   QStringLiteral("--dark")}),
            0);
  const QByteArray drawing = Read(svg);
  EXPECT_TRUE(drawing.startsWith("<?xml"));
  EXPECT_TRUE(drawing.contains("<svg") && drawing.contains("Sat") && drawing.contains("</svg>"));

  // No log: a failure, and no picture.
  const QString none = dir_.filePath(QStringLiteral("none.png"));
  EXPECT_EQ(Chart({QStringLiteral("--kind"), QStringLiteral("share"), QStringLiteral("--out"), none}, &err,
                  dir_.filePath(QStringLiteral("missing.txt"))),
            1);
  EXPECT_TRUE(err.contains(QStringLiteral("no modem log"))) << err.toStdString();
  EXPECT_FALSE(QFile::exists(none));
}

TEST_F(CliChartTest, WrongCommandLinesAreUsageErrors) {
  const QString out = dir_.filePath(QStringLiteral("c.png"));
  const struct {
    const char* words;
    const char* mentioned;
  } cases[] = {
      {"--kind pie --out OUT", "--kind must be"},
      {"--kind daily --out c.jpg", "--out must name"},
      {"--kind daily", "required"},
      {"--kind daily --out OUT --width 10", "--width and --height"},
      {"--kind daily --out OUT --height tall", "--width and --height"},
      {"--kind daily --out OUT --period year", "--period must be"},
      {"--kind daily --out OUT --from 1998-02-30", "need dates"},
      {"--kind daily --out OUT --width", "missing its value"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words);
    QStringList words = Words("chart --to 1998-01-31 --log") << QStringLiteral(MIROLAT_SAMPLES_DIR "/ModemLog.txt");
    if (!QLatin1String(c.words).contains(QLatin1String("--from"))) words << Words("--from 1998-01-01");
    words += QString::fromLatin1(c.words).replace(QStringLiteral("OUT"), out).split(QLatin1Char(' '));
    EXPECT_EQ(Run(words), 2);
    EXPECT_TRUE(err_.contains(QLatin1String(c.mentioned))) << err_.toStdString();
    EXPECT_FALSE(QFile::exists(out));
  }
  // Only the commands that draw start a GUI application.
  const struct {
    const char* words;
    bool gui;
  } commands[] = {{"mirolat-cli chart --kind daily", true},     {"mirolat-cli report --format pdf", true},
                  {"mirolat-cli report --format csv", false},   {"mirolat-cli report --out pdf", false},
                  {"mirolat-cli scan", false},                  {"mirolat-cli", false}};
  for (const auto& c : commands) EXPECT_EQ(cli::CommandNeedsGui(Words(c.words)), c.gui) << c.words;
}

}  // namespace
}  // namespace mirolat::testing
