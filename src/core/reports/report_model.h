#pragma once
// A built report as plain data: the list presentation (columns, rows of
// sub-items, the header panel's values and frames) and the standard-format
// text that is saved and printed. The report window shows it; the command
// line prints it; tests compare it.
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <unordered_map>
#include <vector>

#include "core/common/dates.h"
#include "core/common/locale_values.h"
#include "core/model/configuration.h"

namespace mirolat {

enum class ReportKind { Summary, Details };
enum class ColumnAlignment { Left, Centre, Right };

struct ReportColumn {
  QString Title;
  ColumnAlignment Alignment = ColumnAlignment::Left;
  int WidthTwips = 0;
  // The list sorts this column by the values its rows hold for it (times,
  // counts, amounts, days) rather than by its text.
  bool SortByValue = false;
  bool operator==(const ReportColumn&) const = default;
};

// What a list row is: an entry of the report, the second row of an entry
// (a Details session's disconnect row, which belongs with the row above it),
// the rule above the totals, or the totals.
enum class RowRole { Entry, EntryContinued, Rule, Totals };

// One list row. Cells[0] is the row's own text in the untitled first column
// (always empty); Cells[1..] are its sub-items, one per further column.
// Values holds, for each column sorted by value, the value its cell shows
// (seconds, a count, an amount, a day); empty for the rule and the totals.
struct ReportRow {
  QStringList Cells;
  std::vector<double> Values;
  RowRole Role = RowRole::Entry;
  bool operator==(const ReportRow&) const = default;
};

struct ReportModel {
  ReportKind Kind = ReportKind::Summary;
  std::vector<ReportColumn> Columns;  // Columns[0] is the untitled first column
  std::vector<ReportRow> Rows;
  // The header panel.
  QString RepTitle;
  QString RepBegin;
  QString RepEnd;
  QString RepPeriod;
  bool WarningShown = false;  // fraWarning
  bool NoConnShown = false;   // fraNoConn
  // The standard format: lines ending in a line feed.
  QString Text;
};

// The list's width of a column whose width nobody set.
inline constexpr int kDefaultColumnTwips = 1000;

// The order the list shows the rows of `model` in when sorted by `column`, as
// indexes into model.Rows. Entries move with their continued rows and are
// ordered by the first of their rows that has something in the column: by
// its value in a column sorted by value, else by its text, ignoring case.
// Equal entries keep the report's order, whichever the direction; the rule
// and the totals stay last. A column out of range gives the report's order.
std::vector<int> SortedRowOrder(const ReportModel& model, int column, bool descending);

// The width each list column needs to show every cell of it whole: the
// widest of its cells as `textWidth` measures them, the rule's dashes left
// out (they are no text and are simply cut); 0 for a column with no text.
std::vector<int> ColumnWidthsForData(const ReportModel& model, const std::function<int(const QString&)>& textWidth);

// Gives the first seven columns their stored widths (a stored 0 keeps the
// builder's width), as the report window's layout does.
void ApplyColumnWidths(ReportModel& model, const ReportWindowSettings& layout);

// What a report reads besides the session table.
struct ReportInputs {
  const Configuration* config = nullptr;
  const LocaleValues* locale = nullptr;
  Date ReportStartDate = 0;
  Date ReportEndDate = 0;
  bool ErrorsFound = false;  // the analysis run's flag
  // Days of the range, both ends included.
  int PeriodDays() const { return ReportEndDate - ReportStartDate + 1; }
};

// --- Text layout helpers of the standard format ---

// The text followed by blanks up to `width` characters; a longer text whole.
QString PadRightTo(const QString& text, int width);
// Blanks up to `width` characters, then the text; a longer text whole.
QString PadLeftTo(const QString& text, int width);

// The locale's long and short date of a day.
QString LongDateText(Date date, const LocaleValues& locale);
QString ShortDateText(Date date, const LocaleValues& locale);
// A time of day as "hh:mm:ss AMPM": 12-hour clock, two-digit hours, and the
// locale's AM or PM text ("AM"/"PM" where the locale has none).
QString AmPmTimeText(TimeOfDay time, const LocaleValues& locale);

// The date texts of one locale and format, each distinct day formatted once:
// a report writes the same few days thousands of times. The locale is copied
// when the cache is made; a cache of another locale or format is another cache.
class DateTextCache {
 public:
  explicit DateTextCache(const LocaleValues& locale, QLocale::FormatType format = QLocale::ShortFormat);
  // Same text as ShortDateText / LongDateText of the cache's locale; the
  // reference stays valid as long as the cache.
  const QString& Text(Date date);

 private:
  QLocale locale_;
  QLocale::FormatType format_;
  std::unordered_map<Date, QString> texts_;
  Date lastDate_ = 0;
  const QString* last_ = nullptr;
};

// AmPmTimeText with the locale's AM and PM texts looked up once.
class AmPmTimeWriter {
 public:
  explicit AmPmTimeWriter(const LocaleValues& locale);
  // Appends AmPmTimeText(time, locale) to `text`.
  void Append(QString& text, TimeOfDay time) const;
  QString Text(TimeOfDay time) const;

 private:
  QString am_;
  QString pm_;
};

// Appends `piece` after blanks up to `width` characters (PadLeftTo, in place).
void AppendPadLeft(QString& text, const QString& piece, int width);

// "n days" above 1, else "n day".
QString PeriodText(int periodDays);

// Width in characters of a money column: the symbol, `figures` characters of
// amount, the spaces and the decimals.
int MoneyColumnWidth(const LocaleValues& locale, int figures);

// The value a money text shows, read back: FormatMoney(amount, 0) without its
// symbol, separators removed. A total of shown amounts adds these.
double ShownMoney(double amount, const LocaleValues& locale);
// The whole number "#,##0" shows for the value, read back.
double ShownWholeNumber(double value, const LocaleValues& locale);

// A single-precision running total of whole seconds plus `seconds`: the whole
// number is taken exactly and the sum rounded once to single precision, so a
// total past 2^24 seconds loses no more than that one rounding.
float AddSeconds(float total, qint64 seconds);

}  // namespace mirolat
