#include "core/settings/config_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <cmath>
#include <cstring>
#include <span>
#include <limits>

#include "core/model/log_file_name.h"
#include "core/model/option_entries.h"
#include "core/model/record_rules.h"
#include "core/settings/config_fields.h"

namespace mirolat {

namespace {

QJsonValue ValueToJson(FieldKind kind, const auto& value) {
  using T = std::decay_t<decltype(value)>;
  if constexpr (std::is_same_v<T, int>) {
    if (kind == FieldKind::Time) return TimeToHhMm(value);
    if (kind == FieldKind::Date) return value == 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(DateToIso(value));
  }
  if constexpr (std::is_same_v<T, float>) {
    return static_cast<double>(value);
  } else {
    return value;
  }
}

// The fields of `record` that the JSON carries, with `onlyKey` those of one key.
template <class Record>
QJsonObject FieldsToJson(std::span<const FieldSpec<Record>> fields, const Record& record,
                         const char* onlyKey = nullptr) {
  QJsonObject object;
  for (const FieldSpec<Record>& f : fields) {
    if (!f.InJson || (onlyKey != nullptr && std::strcmp(f.Key, onlyKey) != 0)) continue;
    object.insert(QLatin1String(f.Name),
                  std::visit([&](auto member) { return ValueToJson(f.Kind, record.*member); }, f.Member));
  }
  return object;
}

struct JsonProblem {
  QString message;
};

// Reads the fields of one JSON object, each under its path for messages.
class ObjectReader {
 public:
  ObjectReader(const QJsonValue& value, const QString& path, QStringList known) : path_(path) {
    if (!value.isObject()) throw JsonProblem{QStringLiteral("%1: expected an object").arg(Name())};
    object_ = value.toObject();
    const QSet<QString> allowed(known.begin(), known.end());
    for (auto it = object_.begin(); it != object_.end(); ++it) {
      if (!allowed.contains(it.key())) throw JsonProblem{QStringLiteral("%1: unknown field").arg(Path(it.key()))};
    }
  }

  void Text(const char* name, QString& field) {
    const QJsonValue v = Get(name);
    if (v.isUndefined()) return;
    if (!v.isString()) throw Problem(name, QStringLiteral("expected a text"));
    field = v.toString();
  }
  void Flag(const char* name, bool& field) {
    const QJsonValue v = Get(name);
    if (v.isUndefined()) return;
    if (!v.isBool()) throw Problem(name, QStringLiteral("expected true or false"));
    field = v.toBool();
  }
  template <class Int>
  void Integer(const char* name, Int& field, qint64 low, qint64 high) {
    const QJsonValue v = Get(name);
    if (v.isUndefined()) return;
    const double d = v.toDouble();
    if (!v.isDouble() || d != std::floor(d)) throw Problem(name, QStringLiteral("expected a whole number"));
    if (d < static_cast<double>(low) || d > static_cast<double>(high)) {
      throw Problem(name, QStringLiteral("must be between %1 and %2").arg(low).arg(high));
    }
    field = static_cast<Int>(d);
  }
  void Int16(const char* name, int& field) {
    Integer(name, field, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max());
  }
  // A number the store keeps as a 32-bit whole number after scaling by `scale`.
  void Number(const char* name, double& field, double scale) {
    const QJsonValue v = Get(name);
    if (v.isUndefined()) return;
    if (!v.isDouble()) throw Problem(name, QStringLiteral("expected a number"));
    const double d = v.toDouble();
    const double stored = std::nearbyint(d * scale);
    if (!(stored >= std::numeric_limits<qint32>::min() && stored <= std::numeric_limits<qint32>::max())) {
      throw Problem(name, QStringLiteral("is too large to be stored"));
    }
    field = d;
  }
  void Money(const char* name, double& field) { Number(name, field, 10000.0); }
  void Plain(const char* name, double& field) { Number(name, field, 1.0); }
  void Time(const char* name, TimeOfDay& field) {
    const QJsonValue v = Get(name);
    if (v.isUndefined()) return;
    const TimeOfDay t = v.isString() ? TimeFromText(v.toString()) : -1;
    if (t < 0) throw Problem(name, QStringLiteral("expected a time of day \"HH:MM\""));
    field = t;
  }
  // A day "YYYY-MM-DD", or null for none.
  void DateValue(const char* name, Date& field) {
    const QJsonValue v = Get(name);
    if (v.isUndefined()) return;
    if (v.isNull()) {
      field = 0;
      return;
    }
    const QDate d = v.isString() ? QDate::fromString(v.toString(), Qt::ISODate) : QDate();
    if (!d.isValid()) throw Problem(name, QStringLiteral("expected a date \"YYYY-MM-DD\" or null"));
    field = FromQDate(d);
  }
  // The list under `name` (empty when absent), at most `limit` entries.
  QJsonArray List(const char* name, int limit, const QString& limitText) {
    const QJsonValue v = Get(name);
    if (v.isUndefined()) return {};
    if (!v.isArray()) throw Problem(name, QStringLiteral("expected a list"));
    const QJsonArray list = v.toArray();
    if (list.size() > limit) {
      throw Problem(name, QStringLiteral("%1 entries, more than %2").arg(list.size()).arg(limitText));
    }
    return list;
  }
  QJsonValue Get(const char* name) const { return object_.value(QLatin1String(name)); }
  QString Path(const QString& name) const { return path_.isEmpty() ? name : path_ + QLatin1Char('.') + name; }

 private:
  QString Name() const { return path_.isEmpty() ? QStringLiteral("configuration") : path_; }
  JsonProblem Problem(const char* name, const QString& what) const {
    return JsonProblem{QStringLiteral("%1: %2").arg(Path(QLatin1String(name)), what)};
  }
  QString path_;
  QJsonObject object_;
};

template <class Record>
QStringList JsonNames(std::span<const FieldSpec<Record>> fields, const char* onlyKey = nullptr) {
  QStringList names;
  for (const FieldSpec<Record>& f : fields) {
    if (f.InJson && (onlyKey == nullptr || std::strcmp(f.Key, onlyKey) == 0)) names.append(QLatin1String(f.Name));
  }
  return names;
}

template <class Record>
void ReadJsonFields(ObjectReader& r, std::span<const FieldSpec<Record>> fields, Record& record,
                    const char* onlyKey = nullptr) {
  for (const FieldSpec<Record>& f : fields) {
    if (!f.InJson || (onlyKey != nullptr && std::strcmp(f.Key, onlyKey) != 0)) continue;
    switch (f.Kind) {
      case FieldKind::Text:
        r.Text(f.Name, FieldOf<QString>(record, f));
        break;
      case FieldKind::FileName:
        r.Text(f.Name, FieldOf<QString>(record, f));
        // Clear Modem Log deletes what this names: a file in the log folder, nothing else.
        if (!IsPlainLogFileName(FieldOf<QString>(record, f))) {
          throw JsonProblem{r.Path(QLatin1String(f.Name)) + QStringLiteral(": ") + PlainLogFileNameRule()};
        }
        break;
      case FieldKind::Int16:
      case FieldKind::Int32: {
        const FieldRange range = IntegerRangeOf(f, record);
        r.Integer(f.Name, FieldOf<int>(record, f), range.Low, range.High);
        break;
      }
      case FieldKind::Money:
        r.Money(f.Name, FieldOf<double>(record, f));
        break;
      case FieldKind::Plain:
        r.Plain(f.Name, FieldOf<double>(record, f));
        break;
      case FieldKind::Single:
        break;  // no field of the JSON
      case FieldKind::Flag:
        r.Flag(f.Name, FieldOf<bool>(record, f));
        break;
      case FieldKind::Time:
        r.Time(f.Name, FieldOf<int>(record, f));
        break;
      case FieldKind::Date:
        r.DateValue(f.Name, FieldOf<int>(record, f));
        break;
    }
  }
}

Tariff ReadTariff(const QJsonValue& value, const QString& path) {
  ObjectReader r(value, path, JsonNames(TariffFields()));
  Tariff t;
  ReadJsonFields(r, TariffFields(), t);
  return t;
}

// The "Budget" object below `r`, when there is one; absent values keep their defaults.
BudgetSettings ReadBudget(const ObjectReader& r) {
  BudgetSettings budget;
  const QJsonValue value = r.Get(kBudgetJsonName);
  if (value.isUndefined()) return budget;
  ObjectReader b(value, r.Path(QLatin1String(kBudgetJsonName)), JsonNames(BudgetFields()));
  ReadJsonFields(b, BudgetFields(), budget);
  return budget;
}

Service ReadService(const QJsonValue& value, const QString& path) {
  ObjectReader r(value, path, JsonNames(ServiceFields()) << QStringLiteral("Tariffs") << QLatin1String(kBudgetJsonName));
  Service s;
  ReadJsonFields(r, ServiceFields(), s);
  s.Budget = ReadBudget(r);
  const QJsonArray tariffs = r.List("Tariffs", kMaxTariffs, QString::number(kMaxTariffs));
  s.UsedTariffs = static_cast<int>(tariffs.size());
  for (int t = 0; t < s.UsedTariffs; ++t) {
    s.Tariffs[static_cast<size_t>(t)] = ReadTariff(tariffs[t], r.Path(QStringLiteral("Tariffs[%1]").arg(t)));
  }
  return s;
}

// The record's objects of the JSON, each a key of the store.
const char* const kJsonKeys[] = {"General", "Modem", "Costs"};

Configuration Parse(const QJsonDocument& doc, const Configuration& base) {
  const Configuration defaults;
  Configuration c = defaults;
  c.ViewLog = base.ViewLog;
  c.ReportSaveSettings = base.ReportSaveSettings;
  c.ReportListView = base.ReportListView;
  c.ReportAutoArrange = base.ReportAutoArrange;
  c.SummaryReport = base.SummaryReport;
  c.DetailReport = base.DetailReport;

  ObjectReader top(doc.object(), QString(), {QStringLiteral("General"), QStringLiteral("Modem"), QStringLiteral("Costs"),
                                             QStringLiteral("Services"), QStringLiteral("Holidays"),
                                             QLatin1String(kBudgetJsonName)});
  for (const char* key : kJsonKeys) {
    if (top.Get(key).isUndefined()) continue;
    ObjectReader r(top.Get(key), QLatin1String(key), JsonNames(RecordFields(), key));
    ReadJsonFields(r, RecordFields(), c, key);
  }
  c.OverallBudget = ReadBudget(top);
  const QJsonArray services =
      top.List("Services", c.MaxServices, QStringLiteral("MaxServices (%1)").arg(c.MaxServices));
  c.Services.assign(static_cast<size_t>(c.MaxServices) + 1, Service{});
  c.UsedServices = static_cast<int>(services.size());
  for (int n = 0; n < c.UsedServices; ++n) {
    c.Services[static_cast<size_t>(n)] = ReadService(services[n], QStringLiteral("Services[%1]").arg(n));
  }
  const QJsonArray holidays = top.List("Holidays", kMaxHolidays, QString::number(kMaxHolidays));
  c.UsedHolidays = static_cast<int>(holidays.size());
  for (int n = 0; n < c.UsedHolidays; ++n) {
    const QDate d = holidays[n].isString() ? QDate::fromString(holidays[n].toString(), Qt::ISODate) : QDate();
    if (!d.isValid()) {
      throw JsonProblem{QStringLiteral("Holidays[%1]: expected a date \"YYYY-MM-DD\"").arg(n)};
    }
    c.Holidays[static_cast<size_t>(n)] = FromQDate(d);
  }
  if (const std::optional<LongText> text = FindTooLongText(c)) {
    // A text over its limit is named first; the other rules would only repeat it.
    throw JsonProblem{text->FileName() + QStringLiteral(": ") + text->Problem};
  }
  // What the dialogs would refuse is refused here too, every such value named.
  const QList<RecordProblem> problems = RecordProblems(c);
  if (!problems.isEmpty()) {
    QStringList lines;
    for (const RecordProblem& p : problems) {
      QString path = p.Section;
      if (p.Service >= 0) {
        path += QStringLiteral("[%1]").arg(p.Service);
        if (p.Tariff >= 0) path += QStringLiteral(".Tariffs[%1]").arg(p.Tariff);
      }
      if (!p.Field.isEmpty()) path += QLatin1Char('.') + p.Field;
      lines.append(path + QStringLiteral(": ") + p.Problem);
    }
    throw JsonProblem{lines.join(QLatin1Char('\n'))};
  }
  return c;
}

}  // namespace

QByteArray ConfigurationToJson(const Configuration& c) {
  QJsonObject root;
  for (const char* key : kJsonKeys) root.insert(QLatin1String(key), FieldsToJson(RecordFields(), c, key));
  QJsonArray services;
  for (int n = 0; n < c.UsedServices && static_cast<size_t>(n) < c.Services.size(); ++n) {
    const Service& s = c.Services[static_cast<size_t>(n)];
    QJsonObject service = FieldsToJson(ServiceFields(), s);
    QJsonArray tariffs;
    for (int t = 0; t < s.UsedTariffs && t < kMaxTariffs; ++t) {
      tariffs.append(FieldsToJson(TariffFields(), s.Tariffs[static_cast<size_t>(t)]));
    }
    service.insert(QStringLiteral("Tariffs"), tariffs);
    service.insert(QLatin1String(kBudgetJsonName), FieldsToJson(BudgetFields(), s.Budget));
    services.append(service);
  }
  QJsonArray holidays;
  for (int n = 0; n < c.UsedHolidays && n < kMaxHolidays; ++n) {
    holidays.append(DateToIso(c.Holidays[static_cast<size_t>(n)]));
  }
  root.insert(QStringLiteral("Services"), services);
  root.insert(QStringLiteral("Holidays"), holidays);
  root.insert(QLatin1String(kBudgetJsonName), FieldsToJson(BudgetFields(), c.OverallBudget));
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool ConfigurationFromJson(const QByteArray& json, const Configuration& base, Configuration& out, QString& error) {
  QJsonParseError parseError;
  const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
  if (parseError.error != QJsonParseError::NoError) {
    error = QStringLiteral("not valid JSON at offset %1: %2").arg(parseError.offset).arg(parseError.errorString());
    return false;
  }
  if (!doc.isObject()) {
    error = QStringLiteral("configuration: expected an object");
    return false;
  }
  try {
    out = Parse(doc, base);
    error.clear();
    return true;
  } catch (const JsonProblem& problem) {
    error = problem.message;
    return false;
  }
}

}  // namespace mirolat
