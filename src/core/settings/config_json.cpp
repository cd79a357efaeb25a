#include "core/settings/config_json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <cmath>
#include <limits>

#include "core/model/log_file_name.h"
#include "core/model/option_entries.h"
#include "core/model/record_rules.h"

namespace mirolat {

namespace {

QJsonObject TariffToJson(const Tariff& t) {
  return QJsonObject{{QStringLiteral("Description"), t.Description},
                     {QStringLiteral("AppliesDays"), t.AppliesDays},
                     {QStringLiteral("AppliesTimeStart"), TimeToHhMm(t.AppliesTimeStart)},
                     {QStringLiteral("AppliesTimeEnd"), TimeToHhMm(t.AppliesTimeEnd)},
                     {QStringLiteral("DialRate"), t.DialRate},
                     {QStringLiteral("PerMinuteRate"), t.PerMinuteRate},
                     {QStringLiteral("After"), t.After}};
}

QJsonObject ServiceToJson(const Service& s) {
  QJsonArray tariffs;
  for (int t = 0; t < s.UsedTariffs && t < kMaxTariffs; ++t) tariffs.append(TariffToJson(s.Tariffs[static_cast<size_t>(t)]));
  return QJsonObject{{QStringLiteral("ServiceName"), s.ServiceName},
                     {QStringLiteral("ServiceNumber"), s.ServiceNumber},
                     {QStringLiteral("DialOption"), s.DialOption},
                     {QStringLiteral("DialFixedTariff"), s.DialFixedTariff},
                     {QStringLiteral("Tariffs"), tariffs},
                     {QStringLiteral("ServiceOption"), s.ServiceOption},
                     {QStringLiteral("ServiceRate"), s.ServiceRate},
                     {QStringLiteral("FlexRate"), s.FlexRate},
                     {QStringLiteral("UpToHours"), s.UpToHours},
                     {QStringLiteral("PenaltyPeriod"), s.PenaltyPeriod},
                     {QStringLiteral("FlexRate2"), s.FlexRate2},
                     {QStringLiteral("PerMeg"), s.PerMeg},
                     {QStringLiteral("AfterMeg"), s.AfterMeg},
                     {QStringLiteral("MegPeriod"), s.MegPeriod}};
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

QStringList Names(std::initializer_list<const char*> names) {
  QStringList list;
  for (const char* n : names) list.append(QLatin1String(n));
  return list;
}

Tariff ReadTariff(const QJsonValue& value, const QString& path) {
  ObjectReader r(value, path,
                 Names({"Description", "AppliesDays", "AppliesTimeStart", "AppliesTimeEnd", "DialRate",
                        "PerMinuteRate", "After"}));
  Tariff t;
  r.Text("Description", t.Description);
  r.Text("AppliesDays", t.AppliesDays);
  r.Time("AppliesTimeStart", t.AppliesTimeStart);
  r.Time("AppliesTimeEnd", t.AppliesTimeEnd);
  r.Money("DialRate", t.DialRate);
  r.Money("PerMinuteRate", t.PerMinuteRate);
  r.Integer("After", t.After, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
  return t;
}

Service ReadService(const QJsonValue& value, const QString& path) {
  ObjectReader r(value, path,
                 Names({"ServiceName", "ServiceNumber", "DialOption", "DialFixedTariff", "Tariffs", "ServiceOption",
                        "ServiceRate", "FlexRate", "UpToHours", "PenaltyPeriod", "FlexRate2", "PerMeg", "AfterMeg",
                        "MegPeriod"}));
  Service s;
  r.Text("ServiceName", s.ServiceName);
  r.Text("ServiceNumber", s.ServiceNumber);
  r.Int16("DialOption", s.DialOption);
  r.Money("DialFixedTariff", s.DialFixedTariff);
  const QJsonArray tariffs = r.List("Tariffs", kMaxTariffs, QString::number(kMaxTariffs));
  s.UsedTariffs = static_cast<int>(tariffs.size());
  for (int t = 0; t < s.UsedTariffs; ++t) {
    s.Tariffs[static_cast<size_t>(t)] = ReadTariff(tariffs[t], r.Path(QStringLiteral("Tariffs[%1]").arg(t)));
  }
  r.Int16("ServiceOption", s.ServiceOption);
  r.Money("ServiceRate", s.ServiceRate);
  r.Money("FlexRate", s.FlexRate);
  r.Int16("UpToHours", s.UpToHours);
  r.Text("PenaltyPeriod", s.PenaltyPeriod);
  r.Money("FlexRate2", s.FlexRate2);
  r.Money("PerMeg", s.PerMeg);
  r.Plain("AfterMeg", s.AfterMeg);
  r.Text("MegPeriod", s.MegPeriod);
  return s;
}

Configuration Parse(const QJsonDocument& doc, const Configuration& base) {
  const Configuration defaults;
  Configuration c = defaults;
  c.ViewLog = base.ViewLog;
  c.ReportSaveSettings = base.ReportSaveSettings;
  c.ReportListView = base.ReportListView;
  c.ReportAutoArrange = base.ReportAutoArrange;
  c.SummaryReport = base.SummaryReport;
  c.DetailReport = base.DetailReport;

  ObjectReader top(doc.object(), QString(), Names({"General", "Modem", "Costs", "Services", "Holidays"}));
  if (!top.Get("General").isUndefined()) {
    ObjectReader r(top.Get("General"), QStringLiteral("General"),
                   Names({"ModemLogFile", "MaxServices", "MaxConnections", "MaxConnectDays", "NoDisconDuration",
                          "NoDisconData", "MaxLogSize", "EditLog", "ShowErrors", "ShowToolbars", "ShowGraphic",
                          "AutoOptimize"}));
    r.Text("ModemLogFile", c.ModemLogFile);
    // Clear Modem Log deletes what this names: a file in the log folder, nothing else.
    if (!IsPlainLogFileName(c.ModemLogFile)) throw JsonProblem{QStringLiteral("General.ModemLogFile: ") + PlainLogFileNameRule()};
    r.Integer("MaxServices", c.MaxServices, 1, std::numeric_limits<qint16>::max() - 1);
    r.Int16("MaxConnections", c.MaxConnections);
    r.Int16("MaxConnectDays", c.MaxConnectDays);
    r.Plain("NoDisconDuration", c.NoDisconDuration);
    r.Plain("NoDisconData", c.NoDisconData);
    r.Integer("MaxLogSize", c.MaxLogSize, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
    r.Flag("EditLog", c.EditLog);
    r.Flag("ShowErrors", c.ShowErrors);
    r.Flag("ShowToolbars", c.ShowToolbars);
    r.Flag("ShowGraphic", c.ShowGraphic);
    r.Flag("AutoOptimize", c.AutoOptimize);
  }
  if (!top.Get("Modem").isUndefined()) {
    ObjectReader r(top.Get("Modem"), QStringLiteral("Modem"),
                   Names({"ModemDial", "ModemAnswer", "ModemConnect", "ModemUserDisconnect", "ModemHostDisconnect",
                          "ModemReads", "ModemWrites"}));
    r.Text("ModemDial", c.ModemDial);
    r.Text("ModemAnswer", c.ModemAnswer);
    r.Text("ModemConnect", c.ModemConnect);
    r.Text("ModemUserDisconnect", c.ModemUserDisconnect);
    r.Text("ModemHostDisconnect", c.ModemHostDisconnect);
    r.Text("ModemReads", c.ModemReads);
    r.Text("ModemWrites", c.ModemWrites);
  }
  if (!top.Get("Costs").isUndefined()) {
    ObjectReader r(top.Get("Costs"), QStringLiteral("Costs"),
                   Names({"CalcCosts", "DialCost", "CostPerHour", "CostPerMeg"}));
    r.Flag("CalcCosts", c.CalcCosts);
    r.Money("DialCost", c.DialCost);
    r.Money("CostPerHour", c.CostPerHour);
    r.Money("CostPerMeg", c.CostPerMeg);
  }
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
  const QJsonObject general{{QStringLiteral("ModemLogFile"), c.ModemLogFile},
                            {QStringLiteral("MaxServices"), c.MaxServices},
                            {QStringLiteral("MaxConnections"), c.MaxConnections},
                            {QStringLiteral("MaxConnectDays"), c.MaxConnectDays},
                            {QStringLiteral("NoDisconDuration"), c.NoDisconDuration},
                            {QStringLiteral("NoDisconData"), c.NoDisconData},
                            {QStringLiteral("MaxLogSize"), c.MaxLogSize},
                            {QStringLiteral("EditLog"), c.EditLog},
                            {QStringLiteral("ShowErrors"), c.ShowErrors},
                            {QStringLiteral("ShowToolbars"), c.ShowToolbars},
                            {QStringLiteral("ShowGraphic"), c.ShowGraphic},
                            {QStringLiteral("AutoOptimize"), c.AutoOptimize}};
  const QJsonObject modem{{QStringLiteral("ModemDial"), c.ModemDial},
                          {QStringLiteral("ModemAnswer"), c.ModemAnswer},
                          {QStringLiteral("ModemConnect"), c.ModemConnect},
                          {QStringLiteral("ModemUserDisconnect"), c.ModemUserDisconnect},
                          {QStringLiteral("ModemHostDisconnect"), c.ModemHostDisconnect},
                          {QStringLiteral("ModemReads"), c.ModemReads},
                          {QStringLiteral("ModemWrites"), c.ModemWrites}};
  const QJsonObject costs{{QStringLiteral("CalcCosts"), c.CalcCosts},
                          {QStringLiteral("DialCost"), c.DialCost},
                          {QStringLiteral("CostPerHour"), c.CostPerHour},
                          {QStringLiteral("CostPerMeg"), c.CostPerMeg}};
  QJsonArray services;
  for (int n = 0; n < c.UsedServices && static_cast<size_t>(n) < c.Services.size(); ++n) {
    services.append(ServiceToJson(c.Services[static_cast<size_t>(n)]));
  }
  QJsonArray holidays;
  for (int n = 0; n < c.UsedHolidays && n < kMaxHolidays; ++n) {
    holidays.append(DateToIso(c.Holidays[static_cast<size_t>(n)]));
  }
  const QJsonObject root{{QStringLiteral("General"), general},
                         {QStringLiteral("Modem"), modem},
                         {QStringLiteral("Costs"), costs},
                         {QStringLiteral("Services"), services},
                         {QStringLiteral("Holidays"), holidays}};
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
