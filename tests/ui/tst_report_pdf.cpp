// The PDF report of the bundled sample and of two generated logs, read back
// as a user's viewer reads it: its text (pdftotext -layout) and its page
// count (pdfinfo) against the files under tests/data/reports/formats.
// MIROLAT_REGENERATE_GOLDEN=1 writes the expected files instead of comparing.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "core/analysis/analysis_run.h"
#include "core/analysis/log_generator.h"
#include "core/reports/details_report.h"
#include "core/reports/summary_report.h"
#include "core/settings/config_json.h"
#include "render/pdf_report_format.h"

using namespace mirolat;

namespace {

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray Output(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  p.waitForFinished(60000);
  return p.readAllStandardOutput();
}

// The sample files are sound: a failing step fails the test.
class FailingReporter : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError& error) override {
    qWarning("unexpected error: %s", qPrintable(error.description()));
    failed = true;
    return ErrorAnswer::Continue;
  }
  bool failed = false;
};

}  // namespace

class TestReportPdf : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void textAndPagesMatchExpectedFiles_data() {
    QTest::addColumn<uint>("seed");  // 0: the bundled sample, else a generated log of `days` days
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("sample") << 0u << 0 << "1998-01-01" << "1998-02-14" << QLocale(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("generated_de") << 21u << 12 << "1998-01-03" << "1998-01-10" << QLocale(QLocale::German, QLocale::Germany);
    QTest::newRow("generated_ja") << 12u << 6 << "1998-01-01" << "1998-01-06" << QLocale(QLocale::Japanese, QLocale::Japan);
  }

  // The text's letters, figures and signs in reading order: the gaps of the
  // layout, where lines wrap, and any letter outside ASCII (Japanese dates
  // have glyphs only where a CJK font is installed, and change the widths
  // notes wrap at) are left out, so the comparison holds whatever fonts the
  // machine has.
  static QString Printed(const QString& text) {
    QString printed;
    for (const QChar c : text) {
      if (c.unicode() > 0x20 && c.unicode() < 0x7f) printed += c;
    }
    return printed;
  }

  void textAndPagesMatchExpectedFiles() {
    QFETCH(uint, seed);
    QFETCH(int, days);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QLocale, locale);
    QTemporaryDir dir;
    QString log = QStringLiteral(MIROLAT_SAMPLES_DIR "/ModemLog.txt");
    if (seed != 0) {
      log = dir.filePath(QStringLiteral("ModemLog.txt"));
      QVERIFY(WriteAll(log, GenerateModemLog(LogGeneratorOptions{seed, days})));
    }
    Configuration config;
    QString error;
    QVERIFY(ConfigurationFromJson(ReadAll(QStringLiteral(MIROLAT_SAMPLES_DIR "/config.json")), Configuration(), config, error));
    const LocaleValues values = LoadLocaleInfo(locale);
    RunInputs inputs;
    inputs.config = &config;
    inputs.locale = &values;
    inputs.ReportStartDate = DateFromIso(from);
    inputs.ReportEndDate = DateFromIso(to);
    NullProgress progress;
    FailingReporter reporter;
    RunState run = ProcessLog(inputs, log, progress, reporter);
    QVERIFY(!reporter.failed);
    const ReportInputs in{&config, &values, inputs.ReportStartDate, inputs.ReportEndDate, run.ErrorsFound};
    const ReportFigures figures = BuildReportFigures(run.Tables, in, progress);
    const ReportModel summary = BuildSummaryReport(figures, in);
    const ReportModel details = BuildDetailsReport(figures, in).Model;

    const QString expectedDir =
        QStringLiteral(MIROLAT_SOURCE_DIR "/tests/data/reports/formats/") + QLatin1String(QTest::currentDataTag());
    for (const ReportKind kind : {ReportKind::Summary, ReportKind::Details}) {
      ReportDocument document{kind, &figures, &summary, &details, &config, &values, &run};
      QByteArray pdf;
      PdfReportFormat().Write(document, [&pdf](QByteArrayView piece) { pdf += piece; });
      const QString pdfFile = dir.filePath(QStringLiteral("report.pdf"));
      QVERIFY(WriteAll(pdfFile, pdf));
      const QByteArray info = Output(QStringLiteral("pdfinfo"), {pdfFile});
      const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(info));
      QVERIFY2(pages.hasMatch(), info.constData());
      QVERIFY2(pdf.contains("/MediaBox [0 0 595"), "an A4 page");
      // Read as a viewer lays it out; the page count first.
      const QByteArray text = "Pages: " + pages.captured(1).toLatin1() + '\n' +
                              Output(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdfFile, QStringLiteral("-")});
      const QString expected = expectedDir + (kind == ReportKind::Summary ? "/summary-pdf.txt" : "/details-pdf.txt");
      if (qEnvironmentVariableIsSet("MIROLAT_REGENERATE_GOLDEN")) QVERIFY(WriteAll(expected, text));
      QCOMPARE(Printed(QString::fromUtf8(text)), Printed(QString::fromUtf8(ReadAll(expected))));
    }
  }
};

QTEST_MAIN(TestReportPdf)
#include "tst_report_pdf.moc"
