#pragma once
// The formats a report is saved, copied or printed to the terminal in, behind
// one interface: the report window's Save As and the command line's
// `report --format` find a format here and hand it the same document.
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "core/common/locale_values.h"
#include "core/model/configuration.h"
#include "core/reports/report_figures.h"
#include "core/reports/report_model.h"

namespace mirolat {

struct RunState;

// Where a format's bytes go: an AtomicFileWriter's Write, standard output, a
// QByteArray in tests. A failing sink throws RunError; the format lets it pass.
using ByteSink = std::function<void(QByteArrayView)>;

// Which built reports a format reads.
enum class ReportNeeds { Shown, Both };

// Everything a format may read. `shown` is the report the user asked for (the
// one the window shows, or the command line's --details); the other model is
// null unless the format's Needs() is Both.
struct ReportDocument {
  ReportKind shown = ReportKind::Summary;
  const ReportFigures* figures = nullptr;
  const ReportModel* summary = nullptr;
  const ReportModel* details = nullptr;
  const Configuration* config = nullptr;
  const LocaleValues* locale = nullptr;
  // The run's flags and counters (JSON writes them); null: no run yet.
  const RunState* run = nullptr;
  // Sessions 1..n as the run left them, before the figures added remarks to
  // their notes (JSON's Sessions); null: the run's own table.
  const std::vector<Session>* sessionsAsRun = nullptr;
  // The log was found corrupt before or during the run (JSON's LogCorrupt,
  // with the run's own flag).
  bool logCorrupt = false;
};

class ReportFormat {
 public:
  virtual ~ReportFormat() = default;
  // "text", "csv", "csv-locale", "json", "html", "pdf": the command line's --format.
  virtual QString Id() const = 0;
  // The file dialog's filter, e.g. "CSV files (*.csv)".
  virtual QString FileFilter() const = 0;
  // The file name's extension without the dot: "txt", "csv", "json", "html", "pdf".
  virtual QString Extension() const = 0;
  virtual ReportNeeds Needs() const = 0;
  // Whether Write reads the models' list rows, which a caller showing no
  // list may otherwise leave unbuilt (BuildDetailsReport's listRows).
  virtual bool NeedsListRows() const { return false; }
  // Writes the whole document to the sink. Without the report it shows (no
  // figures, or no model of the shown kind) a format writes nothing, but JSON,
  // which then writes the run with its reports null.
  virtual void Write(const ReportDocument& document, const ByteSink& sink) const = 0;
};

// Text handed to a sink as UTF-8 in pieces, so that a long report never
// stands in memory whole a second time as bytes. A piece never ends inside a
// surrogate pair.
class SinkText {
 public:
  explicit SinkText(const ByteSink& sink);
  QString& buffer() { return buffer_; }
  // Hands the buffer over once it holds a piece's worth.
  void MaybeFlush() {
    if (buffer_.size() >= kPiece) Flush();
  }
  // Hands over whatever is left; call it once the text is complete.
  void Flush();
  // Hands over a long text in pieces, without copying it into the buffer.
  void Write(QStringView text);

 private:
  static constexpr qsizetype kPiece = 1 << 15;
  const ByteSink& sink_;
  QString buffer_;
};

// The formats a core-only program has: text, CSV, locale CSV, JSON, HTML.
std::vector<std::shared_ptr<const ReportFormat>> CoreReportFormats();

// The format among `formats` whose Extension matches the file name's suffix
// (case ignored; ".htm" counts as HTML); null when none does.
std::shared_ptr<const ReportFormat> FormatForFileName(const std::vector<std::shared_ptr<const ReportFormat>>& formats,
                                                      const QString& fileName);
// The format with this Id, or null.
std::shared_ptr<const ReportFormat> FormatWithId(const std::vector<std::shared_ptr<const ReportFormat>>& formats,
                                                 const QString& id);

}  // namespace mirolat
