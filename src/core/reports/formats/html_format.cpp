#include "core/reports/formats/html_format.h"

#include "core/reports/report_list_rules.h"

namespace mirolat {

namespace {

// Light and dark colours, the print layout on A4.
constexpr char kStyle[] = R"(:root { color-scheme: light dark; }
body { font-family: "DejaVu Sans", Arial, Helvetica, sans-serif; margin: 2em; color: #1a1a1a; background: #ffffff; }
h1 { font-size: 1.4em; margin: 0 0 0.6em; }
dl.range { display: grid; grid-template-columns: max-content auto; gap: 0.2em 1em; margin: 0 0 1em; }
dl.range dt { font-weight: bold; }
dl.range dd { margin: 0; }
p.note { display: inline-block; border: 1px solid currentColor; padding: 0.4em 0.8em; margin: 0 0 1em; }
p.warning strong { color: #b00000; }
table { border-collapse: collapse; font-size: 0.9em; }
th, td { padding: 0.2em 0.6em; text-align: left; vertical-align: top; }
th { border-bottom: 2px solid #808080; white-space: nowrap; }
.r { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
.c { text-align: center; white-space: nowrap; }
tbody.entries tr:nth-child(even), tbody.session:nth-of-type(even) { background: rgba(128, 128, 128, 0.12); }
tfoot td { border-top: 2px solid #808080; font-weight: bold; }
@media (prefers-color-scheme: dark) {
  body { color: #e8e8e8; background: #1e1e1e; }
  p.warning strong { color: #ff7b7b; }
}
@media print {
  @page { size: A4; margin: 15mm; }
  body { margin: 0; font-size: 9pt; color: #000000; background: #ffffff; }
  thead { display: table-header-group; }
  tfoot { display: table-row-group; }
  tr, tbody.session { break-inside: avoid; page-break-inside: avoid; }
}
)";

// The cell's class: its column's alignment.
const char* AlignClass(const ReportColumn& column) {
  if (IsFigureColumn(column)) return " class=\"r\"";
  return column.Alignment == ColumnAlignment::Centre ? " class=\"c\"" : "";
}

}  // namespace

bool IsFigureColumn(const ReportColumn& column) {
  return column.SortByValue || column.Alignment == ColumnAlignment::Right;
}

void HtmlFormat::Write(const ReportDocument& document, const ByteSink& sink) const {
  const bool details = document.shown == ReportKind::Details;
  const ReportModel* model = details ? document.details : document.summary;
  if (model == nullptr) return;
  const std::vector<int> columns = ShownColumns(*model);
  const ReportFigures* figures = document.figures;
  const bool explained = details && figures != nullptr && document.locale != nullptr && figures->CostsShown;
  const std::vector<int> rowSessions = details ? DetailsRowSessions(*model) : std::vector<int>();

  QString out;
  out.reserve(1 << 16);
  const auto flush = [&](bool always) {
    if (out.size() < (1 << 15) && !always) return;
    if (!out.isEmpty()) sink(out.toUtf8());
    out.clear();
  };
  const QString title = model->RepTitle.toHtmlEscaped();
  out += QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>");
  out += title + QStringLiteral("</title>\n<style>\n") + QLatin1StringView(kStyle) +
         QStringLiteral("</style>\n</head>\n<body>\n<h1>") + title + QStringLiteral("</h1>\n<dl class=\"range\">\n");
  const QString range[][2] = {{QStringLiteral("Beginning:"), model->RepBegin},
                              {QStringLiteral("Ending:"), model->RepEnd},
                              {QStringLiteral("Period:"), model->RepPeriod}};
  for (const auto& [label, value] : range) {
    out += QStringLiteral("<dt>") + label + QStringLiteral("</dt><dd>") + value.toHtmlEscaped() + QStringLiteral("</dd>\n");
  }
  out += QStringLiteral("</dl>\n");
  if (model->WarningShown) {
    out += QStringLiteral("<p class=\"note warning\"><strong>Warning:</strong> Errors found in log! ");
    out += details ? QStringLiteral("Report may be inaccurate.") : QStringLiteral("Check details report.");
    out += QStringLiteral("</p>\n");
  }
  if (model->NoConnShown) out += QStringLiteral("<p class=\"note\">No connections made during this period.</p>\n");

  out += QStringLiteral("<table>\n<thead>\n<tr>");
  for (int c : columns) {
    const ReportColumn& column = model->Columns[std::size_t(c)];
    out += QStringLiteral("<th") + QLatin1StringView(AlignClass(column)) + QLatin1Char('>') +
           column.Title.trimmed().toHtmlEscaped() + QStringLiteral("</th>");
  }
  out += QStringLiteral("</tr>\n</thead>\n");
  const auto writeRow = [&](const ReportRow& row) {
    out += QStringLiteral("<tr>");
    for (int c : columns) {
      out += QStringLiteral("<td") + QLatin1StringView(AlignClass(model->Columns[std::size_t(c)])) + QLatin1Char('>');
      if (c < row.Cells.size()) out += row.Cells[c].toHtmlEscaped();
      out += QStringLiteral("</td>");
    }
    out += QStringLiteral("</tr>\n");
  };
  // The Summary's rows share one body; each Details session has a body of
  // its own, which a printed page keeps whole.
  bool bodyOpen = false;
  const auto closeBody = [&] {
    if (bodyOpen) out += QStringLiteral("</tbody>\n");
    bodyOpen = false;
  };
  for (std::size_t r = 0; r < model->Rows.size(); ++r) {
    const ReportRow& row = model->Rows[r];
    if (row.Role == RowRole::Rule || row.Role == RowRole::Totals) continue;
    if (details && row.Role == RowRole::Entry) {
      closeBody();
      out += QStringLiteral("<tbody class=\"session\"");
      const int s = rowSessions[r];
      if (explained && s >= 0 && std::size_t(s) < figures->Sessions.size()) {
        const QString why = SessionCostExplanation(figures->Sessions[std::size_t(s)], true, *document.locale);
        out += QStringLiteral(" title=\"") + why.toHtmlEscaped() + QLatin1Char('"');
      }
      out += QStringLiteral(">\n");
      bodyOpen = true;
    } else if (!bodyOpen) {
      out += QStringLiteral("<tbody class=\"entries\">\n");
      bodyOpen = true;
    }
    writeRow(row);
    flush(false);
  }
  closeBody();
  for (const ReportRow& row : model->Rows) {
    if (row.Role != RowRole::Totals) continue;
    out += QStringLiteral("<tfoot>\n");
    writeRow(row);
    out += QStringLiteral("</tfoot>\n");
  }
  out += QStringLiteral("</table>\n</body>\n</html>\n");
  flush(true);
}

}  // namespace mirolat
