#include "core/settings/configuration_io.h"

#include "core/model/log_file_name.h"
#include "core/model/option_entries.h"
#include "core/model/record_rules.h"
#include "core/settings/config_fields.h"
#include "core/settings/record_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace mirolat {

namespace {


RunError Overflow(const QString& where) {
  return RunError(ErrorCondition::Other, QStringLiteral("Overflow (%1)").arg(where), QStringLiteral("Mirolat"), 6);
}

RunError OutOfRange(const QString& where, qint64 value, int low, int high) {
  return RunError(ErrorCondition::Other,
                  QStringLiteral("Subscript out of range: %1 is %2, allowed %3..%4").arg(where).arg(value).arg(low).arg(high),
                  QStringLiteral("Mirolat"), 9);
}

qint32 RoundToStored(double value, const QString& where) {
  // The default floating-point rounding mode rounds halves to even.
  const double rounded = std::nearbyint(value);
  if (!(rounded >= std::numeric_limits<qint32>::min() && rounded <= std::numeric_limits<qint32>::max())) {
    throw Overflow(where);
  }
  return static_cast<qint32>(rounded);
}

// A stored record the program cannot use: the store counts as damaged.
struct DamagedRecord {
  QString reason;
};

// ASCII lower case, as the store folds its names.
QByteArray Folded(const QString& name) {
  QByteArray bytes = name.toUtf8();
  for (char& c : bytes) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return bytes;
}

QString Shown(const QString& text) {
  return text.size() > 40 ? QLatin1Char('\'') + text.left(40) + QStringLiteral("...'") : QLatin1Char('\'') + text + QLatin1Char('\'');
}

// A boolean counts as missing when absent, empty text or the number 0.
bool FlagMissing(const SettingsValue& v) {
  if (IsEmptyValue(v)) return true;
  if (const auto* n = std::get_if<qint32>(&v)) return *n == 0;
  return std::get<QString>(v).isEmpty();
}

QString BoolText(bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); }

// Reads the values of one key from a tree read at once, checking each: a
// value of a kind the store never writes, a number where the field needs one
// and none is found, or a number outside the field's range makes the whole
// record unusable (DamagedRecord naming the value). Absent values read as
// empty: 0, the empty text or false.
class KeyReader {
 public:
  KeyReader(const StoredTree& tree, const QString& key) : key_(key) {
    const auto it = tree.Keys.constFind(Folded(key.mid(kSettingsBaseKey.size() + 1)));
    if (it != tree.Keys.constEnd()) values_ = &*it;
  }
  bool KeyPresent() const { return values_ != nullptr; }

  // The value as the store's read gives it, after checking its stored form.
  SettingsValue Raw(const QString& name) const {
    if (values_ == nullptr) return {};
    // Folded on the stack: looking a name up allocates nothing.
    char folded[96];
    if (name.size() > qsizetype(sizeof folded)) return {};
    qsizetype length = 0;
    for (const QChar c : name) {
      const char16_t u = c.unicode();
      if (u > 0x7F) return {};  // every name of the record is ASCII
      folded[length++] = static_cast<char>(u >= 'A' && u <= 'Z' ? u + 32 : u);
    }
    const auto it = values_->constFind(QByteArray::fromRawData(folded, length));
    if (it == values_->constEnd()) return {};
    const StoredValue& v = *it;
    using S = StoredValue::Storage;
    switch (v.Kind) {
      case static_cast<int>(ValueKind::Text):
        if (v.Holds == S::Text) return QString::fromUtf8(v.Bytes);
        break;
      case static_cast<int>(ValueKind::Byte):
        if (v.Holds == S::Integer && v.Integer >= 0 && v.Integer <= 255) return static_cast<qint32>(v.Integer);
        break;
      case static_cast<int>(ValueKind::Number):
        if (v.Holds == S::Integer && v.Integer >= std::numeric_limits<qint32>::min() &&
            v.Integer <= std::numeric_limits<qint32>::max()) {
          return static_cast<qint32>(v.Integer);
        }
        break;
      default:
        throw Damaged(name, QStringLiteral("is stored with kind %1, which the settings store never writes").arg(v.Kind));
    }
    throw Damaged(name, QStringLiteral("does not hold what its kind %1 says").arg(v.Kind));
  }

  void Text(const QString& name, QString& field) const {
    const SettingsValue v = Raw(name);
    if (const auto* t = std::get_if<QString>(&v)) {
      field = *t;
    } else if (const auto* n = std::get_if<qint32>(&v)) {
      field = QString::number(*n);
    } else {
      field.clear();
    }
  }
  void LogFileName(const QString& name, QString& field) const {
    Text(name, field);
    if (!field.isEmpty() && !IsPlainLogFileName(field)) {
      throw Damaged(name, QStringLiteral("holds %1, which %2").arg(Shown(field), PlainLogFileNameRule()));
    }
  }
  // A number as the store keeps it: a 32-bit whole number, or text holding a
  // number, rounded like a stored one.
  qint64 Number(const QString& name) const {
    const SettingsValue v = Raw(name);
    if (const auto* n = std::get_if<qint32>(&v)) return *n;
    if (const auto* text = std::get_if<QString>(&v)) {
      bool ok = false;
      const double d = text->trimmed().toDouble(&ok);
      if (!ok || !std::isfinite(d)) throw Damaged(name, QStringLiteral("holds %1, which is not a number").arg(Shown(*text)));
      const double rounded = std::nearbyint(d);
      if (!(rounded >= std::numeric_limits<qint32>::min() && rounded <= std::numeric_limits<qint32>::max())) {
        throw Damaged(name, QStringLiteral("holds %1, which does not fit a 32-bit number").arg(Shown(*text)));
      }
      return static_cast<qint64>(rounded);
    }
    return 0;
  }
  void Int(const QString& name, int& field, qint64 low = std::numeric_limits<qint16>::min(),
           qint64 high = std::numeric_limits<qint16>::max()) const {
    const qint64 n = Number(name);
    if (n < low || n > high) throw Damaged(name, QStringLiteral("is %1, allowed %2..%3").arg(n).arg(low).arg(high));
    field = static_cast<int>(n);
  }
  void Int32(const QString& name, qint32& field) const { field = static_cast<qint32>(Number(name)); }
  void Money(const QString& name, double& field) const { field = static_cast<double>(Number(name)) / 10000.0; }
  void Plain(const QString& name, double& field) const { field = static_cast<double>(Number(name)); }
  void Single(const QString& name, float& field) const { field = static_cast<float>(Number(name)); }
  SettingsValue Flag(const QString& name, bool& field) const {
    const SettingsValue v = Raw(name);
    if (const auto* n = std::get_if<qint32>(&v)) {
      field = *n != 0;
    } else if (const auto* text = std::get_if<QString>(&v)) {
      const QString t = text->trimmed();
      if (t.isEmpty() || t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        field = false;
      } else if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        field = true;
      } else {
        field = Number(name) != 0;
      }
    } else {
      field = false;
    }
    return v;
  }
  void Time(const QString& name, TimeOfDay& field) const {
    const SettingsValue v = Raw(name);
    if (IsEmptyValue(v)) {
      field = 0;
      return;
    }
    const auto* text = std::get_if<QString>(&v);
    const TimeOfDay t = text != nullptr ? TimeFromText(text->trimmed()) : -1;
    if (t < 0) {
      throw Damaged(name, QStringLiteral("holds %1, which is not a time of day")
                              .arg(Shown(text != nullptr ? *text : QString::number(std::get<qint32>(v)))));
    }
    field = t;
  }
  void DateValue(const QString& name, Date& field) const { field = static_cast<Date>(Number(name)); }

 private:
  DamagedRecord Damaged(const QString& name, const QString& what) const {
    return DamagedRecord{key_ + QLatin1Char('\\') + name + QLatin1Char(' ') + what};
  }
  QString key_;
  const StoredTree::KeyValues* values_ = nullptr;
};

// Writes the values of one key in the record's bulk write; any failure
// throws and ends the transaction.
class KeyWriter {
 public:
  KeyWriter(SettingsStore::BulkWrite& bulk, const QString& key) : bulk_(bulk), key_(key) { bulk_.Key(key_); }
  void Text(const QString& name, const QString& value) { bulk_.Text(name, value); }
  void Int(const QString& name, qint64 value) { bulk_.Number(name, value); }
  void Money(const QString& name, double amount) {
    Int(name, RoundToStored(amount * 10000.0, key_ + QLatin1Char('\\') + name));
  }
  void Plain(const QString& name, double value) { Int(name, RoundToStored(value, key_ + QLatin1Char('\\') + name)); }
  void Flag(const QString& name, bool value) { Text(name, BoolText(value)); }
  void Time(const QString& name, TimeOfDay t) { Text(name, TimeToText(t)); }

 private:
  SettingsStore::BulkWrite& bulk_;
  QString key_;
};

QString KeyPath(const char* key) { return kSettingsBaseKey + QLatin1Char('\\') + QLatin1String(key); }

// Reads one field of `record`, stored under `name`, as its kind says; the
// value as stored for a flag (LoadedFlags), else nothing.
template <class Record>
SettingsValue ReadValue(const KeyReader& r, const QString& name, const FieldSpec<Record>& f, Record& record) {
  switch (f.Kind) {
    case FieldKind::Text:
      r.Text(name, FieldOf<QString>(record, f));
      break;
    case FieldKind::FileName:
      r.LogFileName(name, FieldOf<QString>(record, f));
      break;
    case FieldKind::Int16:
    case FieldKind::Int32: {
      const FieldRange range = IntegerRangeOf(f, record);
      r.Int(name, FieldOf<int>(record, f), range.Low, range.High);
      break;
    }
    case FieldKind::Money:
      r.Money(name, FieldOf<double>(record, f));
      break;
    case FieldKind::Plain:
      r.Plain(name, FieldOf<double>(record, f));
      break;
    case FieldKind::Single:
      r.Single(name, FieldOf<float>(record, f));
      break;
    case FieldKind::Flag:
      return r.Flag(name, FieldOf<bool>(record, f));
    case FieldKind::Time:
      r.Time(name, FieldOf<int>(record, f));
      break;
    case FieldKind::Date:
      r.DateValue(name, FieldOf<int>(record, f));
      break;
  }
  return {};
}

template <class Record>
void WriteValue(KeyWriter& w, const QString& name, const FieldSpec<Record>& f, const Record& record) {
  switch (f.Kind) {
    case FieldKind::Text:
    case FieldKind::FileName:
      w.Text(name, FieldOf<QString>(record, f));
      break;
    case FieldKind::Int16:
    case FieldKind::Int32:
    case FieldKind::Date:
      w.Int(name, FieldOf<int>(record, f));
      break;
    case FieldKind::Money:
      w.Money(name, FieldOf<double>(record, f));
      break;
    case FieldKind::Plain:
      w.Plain(name, FieldOf<double>(record, f));
      break;
    case FieldKind::Single:
      w.Plain(name, FieldOf<float>(record, f));
      break;
    case FieldKind::Flag:
      w.Flag(name, FieldOf<bool>(record, f));
      break;
    case FieldKind::Time:
      w.Time(name, FieldOf<int>(record, f));
      break;
  }
}

// Reads `fields` of `record` from the tree, each from its key or from `key`
// when one is given; with `onlyKey`, only the fields of that key.
template <class Record>
void ReadFields(const StoredTree& tree, std::span<const FieldSpec<Record>> fields, Record& record,
                const QString& key = QString(), LoadedFlags* flags = nullptr, const char* onlyKey = nullptr) {
  std::optional<KeyReader> r;
  const char* current = nullptr;
  for (const FieldSpec<Record>& f : fields) {
    if (onlyKey != nullptr && std::strcmp(f.Key, onlyKey) != 0) continue;
    if (!r || std::strcmp(f.Key, current) != 0) {
      r.emplace(tree, key.isEmpty() ? KeyPath(f.Key) : key);
      current = f.Key;
    }
    const SettingsValue raw = ReadValue(*r, QLatin1String(f.Name), f, record);
    if (SettingsValue* slot = flags != nullptr ? flags->Of(f.Name) : nullptr) *slot = raw;
  }
}

template <class Record>
void WriteFields(SettingsStore::BulkWrite& bulk, std::span<const FieldSpec<Record>> fields, const Record& record,
                 const QString& key = QString(), const char* onlyKey = nullptr) {
  std::optional<KeyWriter> w;
  const char* current = nullptr;
  for (const FieldSpec<Record>& f : fields) {
    if (onlyKey != nullptr && std::strcmp(f.Key, onlyKey) != 0) continue;
    if (!w || std::strcmp(f.Key, current) != 0) {
      w.emplace(bulk, key.isEmpty() ? KeyPath(f.Key) : key);
      current = f.Key;
    }
    WriteValue(*w, QLatin1String(f.Name), f, record);
  }
}

void ReadReportWindow(const StoredTree& tree, const QString& key, ReportWindowSettings& w, int columns) {
  ReadFields(tree, ReportWindowFields(), w, key);
  KeyReader r(tree, key);
  for (int c = 1; c <= columns; ++c) r.Int32(ServiceValueName("Column", c), w.Columns[static_cast<size_t>(c - 1)]);
}

void WriteReportWindow(SettingsStore::BulkWrite& bulk, const QString& key, const ReportWindowSettings& s, int columns) {
  WriteFields(bulk, ReportWindowFields(), s, key);
  KeyWriter w(bulk, key);
  for (int c = 1; c <= columns; ++c) w.Int(ServiceValueName("Column", c), s.Columns[static_cast<size_t>(c - 1)]);
}

}  // namespace

SettingsValue* LoadedFlags::Of(const char* name) {
  const QLatin1String n(name);
  if (n == QLatin1String("EditLog")) return &EditLog;
  if (n == QLatin1String("ShowErrors")) return &ShowErrors;
  if (n == QLatin1String("ShowToolbars")) return &ShowToolbars;
  if (n == QLatin1String("ShowGraphic")) return &ShowGraphic;
  if (n == QLatin1String("AutoOptimize")) return &AutoOptimize;
  if (n == QLatin1String("CalcCosts")) return &CalcCosts;
  return nullptr;
}

qint32 MoneyToStored(double amount) { return RoundToStored(amount * 10000.0, QStringLiteral("money amount")); }
qint32 DoubleToStored(double value) { return RoundToStored(value, QStringLiteral("number")); }

QString HolidayValueName(int n) { return QLatin1Char(' ') + QString::number(n); }

namespace {

// The nine keys of the record, in the order a load creates them.
const QString* const kRecordKeys[] = {&kGeneralKey,     &kModemKey,         &kCostsKey,
                                      &kServicesKey,    &kViewLogKey,       &kViewReportKey,
                                      &kSummaryReportKey, &kDetailReportKey, &kHolidaysKey};

// A value the dialogs would refuse (RecordProblems), which config import
// refuses too, is damage like any other: throws DamagedRecord naming the
// first. Checked on the record as start-up completes it, where a zero stands
// for a missing value that takes its default.
void CheckAgainstDialogRules(const Configuration& config, const LoadedFlags& flags) {
  // A text over its limit is named by the value it is in, once the record is read.
  if (FindTooLongText(config)) return;
  Configuration completed = config;
  ApplyStartupDefaults(completed, flags);
  const QList<RecordProblem> problems = RecordProblems(completed);
  if (problems.isEmpty()) return;
  const RecordProblem& p = problems.first();
  QString where = kSettingsBaseKey + QLatin1Char('\\') + p.Section;
  if (p.Tariff >= 0) {
    where += QStringLiteral(", tariff %1 of service %2").arg(p.Tariff + 1).arg(p.Service + 1);
  } else if (p.Service >= 0) {
    // A service's budget values are named as the store keeps them.
    const QString field = p.Field.startsWith(QLatin1String("Budget.")) ? p.Field.mid(7) : p.Field;
    const bool dash = field.startsWith(QLatin1String("WarnPercent"));
    where += p.Field.isEmpty() ? QStringLiteral(", service %1").arg(p.Service + 1)
                               : QLatin1Char('\\') + field + (dash ? QStringLiteral("-") : QString()) +
                                     QString::number(p.Service + 1);
  } else {
    where += QLatin1Char('\\') + p.Field;
  }
  throw DamagedRecord{where + QStringLiteral(" holds what the dialogs refuse: ") + p.Problem};
}

// The report windows' settings (key ViewReport and its two layouts).
void ParseReportWindows(const StoredTree& tree, Configuration& config) {
  ReadFields(tree, RecordFields(), config, QString(), nullptr, "ViewReport");
  ReadReportWindow(tree, kSummaryReportKey, config.SummaryReport, kSummaryColumns);
  ReadReportWindow(tree, kDetailReportKey, config.DetailReport, kDetailColumns);
}

// A budget's values, each under the name `nameOf` gives it; a value not
// stored keeps the default, so that a record of an earlier version loads
// with the default cycles and no limit.
template <class NameOf>
void ReadBudget(const KeyReader& r, BudgetSettings& budget, NameOf&& nameOf) {
  budget = BudgetSettings{};
  for (const FieldSpec<BudgetSettings>& f : BudgetFields()) {
    const QString name = nameOf(f);
    if (!IsEmptyValue(r.Raw(name))) ReadValue(r, name, f, budget);
  }
}

void ParseServices(const StoredTree& tree, Configuration& config) {
  KeyReader r(tree, kServicesKey);
  for (int n = 1; n <= config.UsedServices; ++n) {
    Service& s = config.Services[static_cast<size_t>(n - 1)];
    for (const FieldSpec<Service>& f : ServiceFields()) {
      QString name = ServiceValueName(f, n);
      if (f.DashBeforeNumber && IsEmptyValue(r.Raw(name))) {
        const QString old = OldServiceValueName(f, n, config.UsedServices);
        if (!old.isEmpty()) name = old;
      }
      ReadValue(r, name, f, s);
    }
    ReadBudget(r, s.Budget, [n](const FieldSpec<BudgetSettings>& f) { return ServiceValueName(f, n); });
    for (int t = 1; t <= s.UsedTariffs; ++t) {
      for (const FieldSpec<Tariff>& f : TariffFields()) {
        ReadValue(r, TariffValueName(f.Name, n, t), f, s.Tariffs[static_cast<size_t>(t - 1)]);
      }
    }
  }
}

// Fills `config` from a tree read at once, converting and checking each value
// as the field needs; throws DamagedRecord for a value the record cannot hold,
// and, with `dialogRules`, for one the dialogs refuse.
enum class DialogRules { Check, Skip };
LoadedFlags ParseRecord(const StoredTree& tree, Configuration& config, DialogRules dialogRules = DialogRules::Check) {
  LoadedFlags flags;
  ReadFields(tree, RecordFields(), config, QString(), &flags);
  config.Services.assign(static_cast<size_t>(config.MaxServices) + 1, Service{});
  ParseServices(tree, config);
  ReadBudget(KeyReader(tree, kBudgetKey), config.OverallBudget,
             [](const FieldSpec<BudgetSettings>& f) { return QLatin1String(f.Name); });
  ReadFields(tree, ViewLogFields(), config.ViewLog);
  ParseReportWindows(tree, config);
  {
    KeyReader r(tree, kHolidaysKey);
    for (int n = 1; n <= config.UsedHolidays; ++n) {
      r.DateValue(HolidayValueName(n), config.Holidays[static_cast<size_t>(n - 1)]);
    }
  }
  if (dialogRules == DialogRules::Check) CheckAgainstDialogRules(config, flags);
  return flags;
}

// The report windows' settings (key ViewReport and its two layouts).
void WriteReportWindows(SettingsStore::BulkWrite& bulk, const Configuration& c) {
  WriteFields(bulk, RecordFields(), c, QString(), "ViewReport");
  WriteReportWindow(bulk, kSummaryReportKey, c.SummaryReport, kSummaryColumns);
  WriteReportWindow(bulk, kDetailReportKey, c.DetailReport, kDetailColumns);
}

// Writes the whole record in one pass (SettingsStore::BulkWrite), inside the
// caller's transaction or one of its own.
void WriteRecord(SettingsStore& store, const Configuration& c) {
  if (c.UsedServices < 0 || static_cast<size_t>(c.UsedServices) > c.Services.size()) {
    throw OutOfRange(QStringLiteral("UsedServices"), c.UsedServices, 0, static_cast<int>(c.Services.size()));
  }
  if (c.UsedHolidays < 0 || c.UsedHolidays > kMaxHolidays) {
    throw OutOfRange(QStringLiteral("UsedHolidays"), c.UsedHolidays, 0, kMaxHolidays);
  }
  std::optional<SettingsStore::Transaction> ownTransaction;
  if (!store.InTransaction()) ownTransaction.emplace(store);
  SettingsStore::BulkWrite bulk(store, Root::Machine);
  WriteFields(bulk, RecordFields(), c);
  {
    KeyWriter w(bulk, kServicesKey);
    for (int n = 1; n <= c.UsedServices; ++n) {
      const Service& s = c.Services[static_cast<size_t>(n - 1)];
      if (s.UsedTariffs < 0 || s.UsedTariffs > kMaxTariffs) {
        throw OutOfRange(ServiceValueName("UsedTariffs", n), s.UsedTariffs, 0, kMaxTariffs);
      }
      for (const FieldSpec<Service>& f : ServiceFields()) WriteValue(w, ServiceValueName(f, n), f, s);
      for (const FieldSpec<BudgetSettings>& f : BudgetFields()) WriteValue(w, ServiceValueName(f, n), f, s.Budget);
      for (int t = 1; t <= s.UsedTariffs; ++t) {
        for (const FieldSpec<Tariff>& f : TariffFields()) {
          WriteValue(w, TariffValueName(f.Name, n, t), f, s.Tariffs[static_cast<size_t>(t - 1)]);
        }
      }
    }
  }
  WriteFields(bulk, BudgetFields(), c.OverallBudget, kBudgetKey);
  WriteFields(bulk, ViewLogFields(), c.ViewLog);
  WriteReportWindow(bulk, kSummaryReportKey, c.SummaryReport, kSummaryColumns);
  WriteReportWindow(bulk, kDetailReportKey, c.DetailReport, kDetailColumns);
  {
    KeyWriter w(bulk, kHolidaysKey);
    for (int n = 1; n <= c.UsedHolidays; ++n) w.Int(HolidayValueName(n), c.Holidays[static_cast<size_t>(n - 1)]);
  }
  bulk.Finish();
  if (ownTransaction) ownTransaction->Commit();
}

// The viewer's and the report windows' "save my settings" flag, off, and
// nothing else of their key: the text False, as the whole record writes it
// (earlier versions wrote the report windows' as the number 0; both load).
void WriteSaveSettingsOff(SettingsStore& store, const QString& key) {
  SettingsStore::BulkWrite bulk(store, Root::Machine);
  KeyWriter(bulk, key).Flag(QStringLiteral("SaveSettings"), false);
  bulk.Finish();
}

void UpperCaseModemTexts(Configuration& config) {
  for (QString* text : {&config.ModemDial, &config.ModemAnswer, &config.ModemConnect, &config.ModemUserDisconnect,
                        &config.ModemHostDisconnect, &config.ModemReads, &config.ModemWrites}) {
    *text = text->toUpper();
  }
}

bool AllRecordKeysPresent(const StoredTree& tree) {
  for (const QString* key : kRecordKeys) {
    if (!KeyReader(tree, *key).KeyPresent()) return false;
  }
  return true;
}

// The name the parsed record is kept under beside the values.
const QString kRecordImageName = QStringLiteral("configuration record");

// What one reading of the record found.
struct RecordRead {
  RecordImageFacts Facts;
  bool FromImage = false;  // false: parsed value by value
  qint64 Changes = 0;      // the store's change count it was read at
};

// Fills `config` with the record as the caller's transaction sees it: from
// the kept image while it is current, else by parsing every value (throws
// DamagedRecord for a value the record cannot hold).
RecordRead ReadRecord(SettingsStore& store, Configuration& config) {
  RecordRead read;
  read.Changes = store.ChangeCount();
  const QByteArray image = store.ReadDerived(kRecordImageName);
  if (!image.isEmpty() && DecodeRecordImage(image, config, read.Facts)) {
    read.FromImage = true;
  } else {
    const StoredTree tree = store.ReadTree(Root::Machine, kSettingsBaseKey);
    Configuration parsed = config;
    read.Facts.Flags = ParseRecord(tree, parsed);
    read.Facts.AllKeysPresent = AllRecordKeysPresent(tree);
    config = std::move(parsed);
  }
  // Kept by an earlier version, which took texts of any length. (Every
  // caller reads into a record of its own, which it drops on damage.)
  if (const std::optional<LongText> text = FindTooLongText(config)) {
    const QString name = text->Service < 0 ? kModemKey + QLatin1Char('\\') + QLatin1String(text->Field)
                         : kServicesKey + QLatin1Char('\\') +
                               (text->Tariff < 0 ? ServiceValueName(text->Field, text->Service + 1)
                                                 : TariffValueName(text->Field, text->Service + 1, text->Tariff + 1));
    throw DamagedRecord{name + QLatin1Char(' ') + text->Problem};
  }
  return read;
}

// ReadRecord in a read transaction of its own: one snapshot, nothing held.
// A record that had to be parsed value by value is kept as an image for the
// loads after this one, unless the store changed meanwhile or is busy.
RecordRead ReadRecordAndKeepImage(SettingsStore& store, Configuration& config) {
  RecordRead read;
  {
    SettingsStore::Transaction snapshot(store, SettingsStore::Transaction::Mode::Read);
    read = ReadRecord(store, config);
    snapshot.Commit();
  }
  if (!read.FromImage) store.StoreDerived(kRecordImageName, EncodeRecordImage(config, read.Facts), read.Changes);
  return read;
}

// Inside a write transaction that has just written the record: keeps the
// record as stored now as its image. A record that does not parse gets none;
// the next load finds out what is wrong with it. The dialogs' rules are not
// run again here: what a save writes was made by the dialogs or checked by
// the import (a whole check of the largest record takes seconds). An image
// still current (the write changed no value) already is that image.
void KeepImageOfStoredRecord(SettingsStore& store) {
  if (store.DerivedIsCurrent(kRecordImageName)) return;
  try {
    const StoredTree tree = store.ReadTree(Root::Machine, kSettingsBaseKey);
    Configuration parsed;
    RecordImageFacts facts;
    facts.Flags = ParseRecord(tree, parsed, DialogRules::Skip);
    facts.AllKeysPresent = AllRecordKeysPresent(tree);
    store.StoreDerived(kRecordImageName, EncodeRecordImage(parsed, facts), store.ChangeCount());
  } catch (const DamagedRecord&) {
  }
}

// The start-up defaults, with the log file name a modem check found standing in
// for a missing one. True when anything was filled in.
bool FillDefaults(Configuration& config, const LoadedFlags& flags, const QString& modemLogFileName) {
  bool modemNameUsed = false;
  if (config.ModemLogFile.isEmpty() && !modemLogFileName.isEmpty()) {
    config.ModemLogFile = modemLogFileName;
    modemNameUsed = true;
  }
  return ApplyStartupDefaults(config, flags) || modemNameUsed;
}

// One load: `config` is left alone unless it succeeds. A damaged record moves
// the store aside (its message in DamageMessage()) and the load starts again
// on the fresh store, which holds nothing and so cannot be damaged. `changes`
// is set to the store's change count the record loaded matches.
bool LoadWithDefaultsOnce(SettingsStore& store, Configuration& config, const QString& modemLogFileName,
                          qint64& changes) {
  for (int attempt = 0;; ++attempt) {
    QString damage;
    // Most loads find the whole record and nothing to fill in: one read
    // snapshot, nothing written, other readers and writers not held up.
    try {
      Configuration loaded = config;
      const RecordRead read = ReadRecordAndKeepImage(store, loaded);
      // Nothing filled in leaves `loaded` as read; anything filled in is thrown
      // away and done again below on the record read under the write lock.
      if (read.Facts.AllKeysPresent && !FillDefaults(loaded, read.Facts.Flags, modemLogFileName)) {
        config = std::move(loaded);
        changes = read.Changes;
        return false;
      }
    } catch (const DamagedRecord& damaged) {
      damage = damaged.reason;
    } catch (const StoreDamaged& damaged) {
      damage = damaged.description();
    }
    if (damage.isEmpty()) {
      // Something to fill in or a key to create: load again under the write
      // lock, so the record completed and saved is the one that is stored now
      // and no other writer can commit in between.
      SettingsStore::Transaction write(store);
      try {
        Configuration loaded = config;
        const RecordRead read = ReadRecord(store, loaded);
        const bool applied = FillDefaults(loaded, read.Facts.Flags, modemLogFileName);
        for (const QString* key : kRecordKeys) store.SettingsCreateKey(Root::Machine, *key);
        if (applied) {
          UpperCaseModemTexts(loaded);
          WriteRecord(store, loaded);
        }
        KeepImageOfStoredRecord(store);
        const qint64 written = store.ChangeCount();
        write.Commit();
        config = std::move(loaded);
        changes = written;
        return applied;
      } catch (const DamagedRecord& damaged) {
        damage = damaged.reason;  // changed since the snapshot; the transaction rolls back
      } catch (const StoreDamaged& damaged) {
        damage = damaged.description();
      }
    }
    if (attempt > 0) {
      throw RunError(ErrorCondition::Other,
                     QStringLiteral("Settings store '%1': a fresh store still holds an unusable record (%2)")
                         .arg(store.FilePath(), damage));
    }
    store.MoveAsideAsDamaged(damage);
  }
}

// The settings the viewer and the report windows own, from `from`.
void KeepWindowSettings(Configuration& to, const Configuration& from) {
  to.ViewLog = from.ViewLog;
  to.ReportSaveSettings = from.ReportSaveSettings;
  to.ReportListView = from.ReportListView;
  to.ReportAutoArrange = from.ReportAutoArrange;
  to.SummaryReport = from.SummaryReport;
  to.DetailReport = from.DetailReport;
}

// Writes one window's values below `key` with `write`, in one transaction,
// and nothing else of the record. An image of the record that was current
// before is kept current: its window settings become what a parse of the
// values now below `key` gives, so the next load is still one read.
template <typename Write, typename Parse>
void WriteWindowKeys(SettingsStore& store, const QString& key, Write&& write, Parse&& parse) {
  SettingsStore::Transaction tx(store);
  Configuration imaged;
  RecordImageFacts facts;
  const QByteArray image = store.ReadDerived(kRecordImageName);
  const bool keepImage = !image.isEmpty() && DecodeRecordImage(image, imaged, facts) && facts.AllKeysPresent;
  write();
  if (keepImage) {
    // The values below `key`, under the paths a read of the whole record gives them.
    const QByteArray prefix = Folded(key.mid(kSettingsBaseKey.size() + 1));
    StoredTree tree;
    const StoredTree below = store.ReadTree(Root::Machine, key);
    for (auto it = below.Keys.cbegin(); it != below.Keys.cend(); ++it) {
      tree.Keys.insert(it.key().isEmpty() ? prefix : prefix + '\\' + it.key(), it.value());
    }
    try {
      parse(tree, imaged);  // only the window's own: the rest of the image stays as it was
      store.StoreDerived(kRecordImageName, EncodeRecordImage(imaged, facts), store.ChangeCount());
    } catch (const DamagedRecord&) {
      // Values the next load refuses: it finds out what is wrong with them.
    }
  }
  tx.Commit();
}

}  // namespace

LoadedFlags LoadConfiguration(SettingsStore& store, Configuration& config, ErrorReporter& reporter) {
  LoadedFlags flags;
  RunStep(reporter, [&] {
    Configuration loaded = config;
    QString damage;
    try {
      flags = ReadRecordAndKeepImage(store, loaded).Facts.Flags;
    } catch (const DamagedRecord& damaged) {
      damage = damaged.reason;
    } catch (const StoreDamaged& damaged) {
      damage = damaged.description();
    }
    if (!damage.isEmpty()) {
      store.MoveAsideAsDamaged(damage);
      loaded = config;
      flags = ParseRecord(StoredTree{}, loaded);
    }
    config = std::move(loaded);
  });
  return flags;
}

bool SaveConfiguration(SettingsStore& store, Configuration& config, ErrorReporter& reporter) {
  UpperCaseModemTexts(config);
  return RunStep(reporter, [&] {
    SettingsStore::Transaction write(store);
    WriteRecord(store, config);
    KeepImageOfStoredRecord(store);
    write.Commit();
  });
}

bool ImportConfiguration(SettingsStore& store, Configuration& imported, ErrorReporter& reporter) {
  return SaveConfigurationKeepingWindows(store, imported, reporter);
}

bool SaveConfigurationKeepingWindows(SettingsStore& store, Configuration& config, ErrorReporter& reporter) {
  UpperCaseModemTexts(config);
  return RunStep(reporter, [&] {
    for (int attempt = 0;; ++attempt) {
      QString damage;
      {
        SettingsStore::Transaction write(store);
        try {
          Configuration current;
          ApplyStartupDefaults(current, ReadRecord(store, current).Facts.Flags);
          Configuration written = config;
          KeepWindowSettings(written, current);
          WriteRecord(store, written);
          KeepImageOfStoredRecord(store);
          write.Commit();
          return;
        } catch (const DamagedRecord& damaged) {
          damage = damaged.reason;
        } catch (const StoreDamaged& damaged) {
          damage = damaged.description();
        }
      }
      if (attempt > 0) {
        throw RunError(ErrorCondition::Other,
                       QStringLiteral("Settings store '%1': a fresh store still holds an unusable record (%2)")
                           .arg(store.FilePath(), damage));
      }
      // The old record is not needed to replace it: a damaged one is moved aside.
      store.MoveAsideAsDamaged(damage);
    }
  });
}

bool SaveViewLogSettings(SettingsStore& store, const ViewLogSettings& settings, ErrorReporter& reporter) {
  // The record holds the viewer's size in 16 bits of twips (about 2200 pixels
  // at 96 dots an inch): a larger window is stored at the largest size, never
  // as a value the next load refuses.
  ViewLogSettings stored = settings;
  for (int* twips : {&stored.WinHeight, &stored.WinWidth}) *twips = std::clamp(*twips, 0, int{std::numeric_limits<qint16>::max()});
  return RunStep(reporter, [&] {
    WriteWindowKeys(
        store, kViewLogKey,
        [&] {
          if (!stored.SaveSettings) return WriteSaveSettingsOff(store, kViewLogKey);
          SettingsStore::BulkWrite bulk(store, Root::Machine);
          WriteFields(bulk, ViewLogFields(), stored);
          bulk.Finish();
        },
        [](const StoredTree& tree, Configuration& c) { ReadFields(tree, ViewLogFields(), c.ViewLog); });
  });
}

bool SaveReportWindowSettings(SettingsStore& store, const Configuration& config, ErrorReporter& reporter) {
  return RunStep(reporter, [&] {
    WriteWindowKeys(
        store, kViewReportKey,
        [&] {
          if (!config.ReportSaveSettings) return WriteSaveSettingsOff(store, kViewReportKey);
          SettingsStore::BulkWrite bulk(store, Root::Machine);
          WriteReportWindows(bulk, config);
          bulk.Finish();
        },
        ParseReportWindows);
  });
}

void SetViewLogDefaults(Configuration& config) { config.ViewLog = ViewLogSettings{}; }

void SetReportWindowDefaults(Configuration& config) {
  const Configuration defaults;
  config.ReportSaveSettings = defaults.ReportSaveSettings;
  config.ReportListView = defaults.ReportListView;
  config.ReportAutoArrange = defaults.ReportAutoArrange;
  config.SummaryReport = DefaultSummaryReportSettings();
  config.DetailReport = DefaultDetailReportSettings();
}

bool ApplyStartupDefaults(Configuration& config, const LoadedFlags& flags) {
  const Configuration d;
  bool applied = false;
  auto text = [&](QString& field, const QString& def) {
    if (field.isEmpty()) {
      field = def;
      applied = true;
    }
  };
  // A zero whose default is zero too (UsedServices, NoDisconData, CostPerMeg)
  // changes nothing, so it does not make start-up write the store again.
  auto zero = [&](auto& field, auto def) {
    if (field == 0 && def != 0) {
      field = def;
      applied = true;
    }
  };
  auto flag = [&](bool& field, const SettingsValue& raw, bool def) {
    if (FlagMissing(raw)) {
      field = def;
      applied = true;
    }
  };
  text(config.ModemLogFile, d.ModemLogFile);
  zero(config.MaxServices, d.MaxServices);
  zero(config.UsedServices, d.UsedServices);
  zero(config.MaxConnections, d.MaxConnections);
  zero(config.MaxConnectDays, d.MaxConnectDays);
  zero(config.NoDisconDuration, d.NoDisconDuration);
  zero(config.NoDisconData, d.NoDisconData);
  zero(config.MaxLogSize, d.MaxLogSize);
  flag(config.EditLog, flags.EditLog, d.EditLog);
  flag(config.ShowErrors, flags.ShowErrors, d.ShowErrors);
  flag(config.ShowToolbars, flags.ShowToolbars, d.ShowToolbars);
  flag(config.ShowGraphic, flags.ShowGraphic, d.ShowGraphic);
  flag(config.AutoOptimize, flags.AutoOptimize, d.AutoOptimize);
  // The service list follows a defaulted maximum.
  if (config.Services.size() < static_cast<size_t>(config.MaxServices) + 1) {
    config.Services.resize(static_cast<size_t>(config.MaxServices) + 1);
  }
  text(config.ModemDial, d.ModemDial);
  text(config.ModemAnswer, d.ModemAnswer);
  text(config.ModemConnect, d.ModemConnect);
  text(config.ModemUserDisconnect, d.ModemUserDisconnect);
  text(config.ModemHostDisconnect, d.ModemHostDisconnect);
  text(config.ModemReads, d.ModemReads);
  text(config.ModemWrites, d.ModemWrites);
  if (FlagMissing(flags.CalcCosts)) {
    config.CalcCosts = d.CalcCosts;
    config.DialCost = d.DialCost;
    config.CostPerHour = d.CostPerHour;
    applied = true;
  }
  zero(config.CostPerMeg, d.CostPerMeg);
  if (config.ViewLog.FontName.isEmpty()) {
    SetViewLogDefaults(config);
    applied = true;
  }
  if (config.SummaryReport.WinHeight == 0) {
    SetReportWindowDefaults(config);
    applied = true;
  }
  return applied;
}

bool LoadConfigurationWithDefaults(SettingsStore& store, Configuration& config, ErrorReporter& reporter,
                                   const QString& modemLogFileName, qint64* changesRead) {
  bool applied = false;
  qint64 changes = 0;
  if (RunStep(reporter, [&] { applied = LoadWithDefaultsOnce(store, config, modemLogFileName, changes); }) &&
      changesRead != nullptr) {
    *changesRead = changes;
  }
  return applied;
}

bool ReloadConfigurationIfChanged(SettingsStore& store, Configuration& config, qint64& changesSeen,
                                  ErrorReporter& reporter) {
  bool reloaded = false;
  RunStep(reporter, [&] {
    if (store.ChangeCount() == changesSeen) return;
    // Read as at start-up, from the record's first-run values: nothing of
    // the old record is left behind in the fields a load leaves alone.
    Configuration loaded;
    qint64 changes = 0;
    LoadWithDefaultsOnce(store, loaded, config.ModemLogFile, changes);
    KeepWindowSettings(loaded, config);
    config = std::move(loaded);
    changesSeen = changes;
    reloaded = true;
  });
  return reloaded;
}

}  // namespace mirolat
