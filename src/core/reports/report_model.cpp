#include "core/reports/report_model.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/common/formatting.h"

namespace mirolat {

std::vector<int> SortedRowOrder(const ReportModel& model, int column, bool descending) {
  const int rowCount = static_cast<int>(model.Rows.size());
  std::vector<int> order(static_cast<std::size_t>(rowCount));
  std::iota(order.begin(), order.end(), 0);
  if (column < 0 || column >= static_cast<int>(model.Columns.size())) return order;

  // Each entry's rows [first, end) and the row that gives its key (-1: none has
  // anything in the column).
  struct Entry {
    int first;
    int end;
    int key;
  };
  std::vector<Entry> entries;
  std::vector<int> last;
  for (int r = 0; r < rowCount; ++r) {
    const RowRole role = model.Rows[static_cast<std::size_t>(r)].Role;
    if (role == RowRole::Rule || role == RowRole::Totals) {
      last.push_back(r);
    } else if (role == RowRole::EntryContinued && !entries.empty() && entries.back().end == r) {
      entries.back().end = r + 1;
    } else {
      entries.push_back({r, r + 1, -1});
    }
  }
  const auto cell = [&](int row) -> QStringView {
    const QStringList& cells = model.Rows[static_cast<std::size_t>(row)].Cells;
    return column < cells.size() ? QStringView(cells[column]) : QStringView();
  };
  for (Entry& e : entries) {
    for (int r = e.first; r < e.end && e.key < 0; ++r) {
      if (!cell(r).isEmpty()) e.key = r;
    }
  }
  const bool byValue = model.Columns[static_cast<std::size_t>(column)].SortByValue;
  const auto value = [&](int row) {
    const std::vector<double>& values = model.Rows[static_cast<std::size_t>(row)].Values;
    return static_cast<std::size_t>(column) < values.size() ? values[static_cast<std::size_t>(column)] : 0.0;
  };
  // An entry with nothing in the column comes before those with something.
  const auto before = [&](const Entry& a, const Entry& b) {
    if (a.key < 0 || b.key < 0) return a.key < 0 && b.key >= 0;
    if (byValue) return value(a.key) < value(b.key);
    return cell(a.key).compare(cell(b.key), Qt::CaseInsensitive) < 0;
  };
  std::stable_sort(entries.begin(), entries.end(),
                   [&](const Entry& a, const Entry& b) { return descending ? before(b, a) : before(a, b); });

  std::size_t i = 0;
  for (const Entry& e : entries) {
    for (int r = e.first; r < e.end; ++r) order[i++] = r;
  }
  for (int r : last) order[i++] = r;
  return order;
}

std::vector<int> ColumnWidthsForData(const ReportModel& model, const std::function<int(const QString&)>& textWidth) {
  std::vector<int> widths(model.Columns.size(), 0);
  for (const ReportRow& row : model.Rows) {
    if (row.Role == RowRole::Rule) continue;
    const std::size_t n = std::min(widths.size(), static_cast<std::size_t>(row.Cells.size()));
    for (std::size_t c = 0; c < n; ++c) {
      const QString& text = row.Cells[static_cast<qsizetype>(c)];
      if (!text.isEmpty()) widths[c] = std::max(widths[c], textWidth(text));
    }
  }
  return widths;
}

void ApplyColumnWidths(ReportModel& model, const ReportWindowSettings& layout) {
  const std::size_t n = std::min(model.Columns.size(), layout.Columns.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (layout.Columns[i] != 0) model.Columns[i].WidthTwips = layout.Columns[i];
  }
}

QString PadRightTo(const QString& text, int width) {
  if (text.size() >= width) return text;
  QString out = text;
  out.append(QString(width - text.size(), QLatin1Char(' ')));
  return out;
}

QString PadLeftTo(const QString& text, int width) {
  if (text.size() >= width) return text;
  QString out(width - text.size(), QLatin1Char(' '));
  out.append(text);
  return out;
}

QString LongDateText(Date date, const LocaleValues& locale) {
  return locale.Locale.toString(ToQDate(date), QLocale::LongFormat);
}

QString ShortDateText(Date date, const LocaleValues& locale) {
  return locale.Locale.toString(ToQDate(date), QLocale::ShortFormat);
}

DateTextCache::DateTextCache(const LocaleValues& locale, QLocale::FormatType format)
    : locale_(locale.Locale), format_(format) {}

const QString& DateTextCache::Text(Date date) {
  if (last_ && date == lastDate_) return *last_;
  auto it = texts_.find(date);
  if (it == texts_.end()) it = texts_.emplace(date, locale_.toString(ToQDate(date), format_)).first;
  lastDate_ = date;
  last_ = &it->second;  // map nodes never move
  return *last_;
}

AmPmTimeWriter::AmPmTimeWriter(const LocaleValues& locale)
    : am_(locale.Locale.amText()), pm_(locale.Locale.pmText()) {
  if (am_.isEmpty()) am_ = QStringLiteral("AM");
  if (pm_.isEmpty()) pm_ = QStringLiteral("PM");
}

void AmPmTimeWriter::Append(QString& text, TimeOfDay time) const {
  const int h = time / 3600;
  const int m = time / 60 % 60;
  const int s = time % 60;
  const int h12 = h % 12 == 0 ? 12 : h % 12;
  const QString& marker = h < 12 ? am_ : pm_;
  if (time >= 0) {
    // Every part is 0..59: two digits each.
    const char16_t digits[] = {char16_t(u'0' + h12 / 10), char16_t(u'0' + h12 % 10), u':',
                               char16_t(u'0' + m / 10),   char16_t(u'0' + m % 10),   u':',
                               char16_t(u'0' + s / 10),   char16_t(u'0' + s % 10),   u' '};
    text.append(QStringView(digits, 9));
    text.append(marker);
    return;
  }
  // A negative time keeps its signs, as the general number format writes them.
  text.append(QStringLiteral("%1:%2:%3 %4")
                  .arg(h12, 2, 10, QLatin1Char('0'))
                  .arg(m, 2, 10, QLatin1Char('0'))
                  .arg(s, 2, 10, QLatin1Char('0'))
                  .arg(marker));
}

QString AmPmTimeWriter::Text(TimeOfDay time) const {
  QString text;
  text.reserve(9 + std::max(am_.size(), pm_.size()));
  Append(text, time);
  return text;
}

QString AmPmTimeText(TimeOfDay time, const LocaleValues& locale) { return AmPmTimeWriter(locale).Text(time); }

void AppendPadLeft(QString& text, const QString& piece, int width) {
  if (piece.size() < width) text.resize(text.size() + width - piece.size(), QLatin1Char(' '));
  text.append(piece);
}

QString PeriodText(int periodDays) {
  return QString::number(periodDays) + (periodDays > 1 ? QStringLiteral(" days") : QStringLiteral(" day"));
}

int MoneyColumnWidth(const LocaleValues& locale, int figures) {
  return int(locale.CurrencySymbol.size()) + figures + locale.CurrencySpace + locale.CurrencyDigits;
}

namespace {

// A number text read back: grouping removed, the decimal separator made ".".
bool ReadBack(QString text, const QString& group, const QString& decimal, double& value) {
  if (!group.isEmpty()) text.remove(group);
  if (!decimal.isEmpty() && decimal != QLatin1String(".")) text.replace(decimal, QStringLiteral("."));
  bool ok = false;
  value = text.trimmed().toDouble(&ok);
  return ok;
}

double RoundHalfAway(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::round(value * scale) / scale;
}

}  // namespace

double ShownMoney(double amount, const LocaleValues& locale) {
  // Symbol position 2 writes the amount alone.
  const QString text = FormatMoney(amount, QString(), 2, 0, locale.CurrencyDigits, 0, locale);
  double value = 0;
  if (ReadBack(text, locale.MoneyThousandSeparator, locale.MoneyDecimalSeparator, value)) return value;
  return RoundHalfAway(amount, std::max(0, locale.CurrencyDigits));
}

double ShownWholeNumber(double value, const LocaleValues& locale) {
  const QString text = FormatWholeNumber(value, locale);
  double shown = 0;
  if (ReadBack(text, locale.Locale.groupSeparator(), locale.Locale.decimalPoint(), shown)) return shown;
  return RoundHalfAway(value, 0);
}

float AddSeconds(float total, qint64 seconds) {
  // A float and a whole number below 2^53 add exactly in double precision.
  return static_cast<float>(static_cast<double>(total) + static_cast<double>(seconds));
}

}  // namespace mirolat
