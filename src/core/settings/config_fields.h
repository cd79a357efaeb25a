#pragma once
// Every field of the configuration record, declared once: where the store
// keeps it (key and value name), what it is (its kind, which fixes how the
// store, the record's image and the JSON hold it), the range a stored value
// must lie in where the field has one beyond its kind's, and the member it
// fills. The store's reader and writer (configuration_io.cpp), the record's
// image (record_image.cpp) and the JSON (config_json.cpp) walk these tables;
// a field's default is its member's initializer in configuration.h. Adding a
// field is one line here.
//
// What is not a field of a table is the record's shape: the service, tariff
// and holiday lists (their counts UsedServices, UsedTariffs and UsedHolidays
// are fields, the entries are counted lists) and the report windows' columns.
#include <QString>
#include <limits>
#include <optional>
#include <span>
#include <variant>

#include "core/model/configuration.h"

namespace mirolat {

enum class FieldKind {
  Text,      // text
  FileName,  // text naming a plain file in the log folder (IsPlainLogFileName)
  Int16,     // a whole number of 16 bits
  Int32,     // a whole number of 32 bits
  Money,     // an amount, stored as amount × 10000 rounded to a whole number
  Plain,     // a number, stored rounded to a whole number
  Single,    // a single-precision number, stored rounded to a whole number
  Flag,      // true/false, stored as the text True or False
  Time,      // a time of day, stored as TimeToText writes it, in the JSON "HH:MM"
  Date,      // a day (Date), stored as its day number, in the JSON "YYYY-MM-DD" or null for none
};

// A range a stored value must lie in, beyond its kind's own.
struct FieldRange {
  qint64 Low = 0;
  qint64 High = 0;
};

template <class Record>
using FieldMember = std::variant<QString Record::*, int Record::*, double Record::*, float Record::*, bool Record::*>;

template <class Record>
struct FieldSpec {
  const char* Key;   // key below SOFTWARE\MRL, also the JSON object of a record field
  const char* Name;  // value name (a service's and tariff's take their numbers, see below) and JSON name
  FieldKind Kind;
  FieldMember<Record> Member;
  bool InJson = true;
  // The range, read from the record as far as it has been read (UsedServices
  // lies within MaxServices); none: the kind's own.
  std::optional<FieldRange> (*Range)(const Record&) = nullptr;
  // A service's value whose name followed by the service's number could be
  // another's (FlexRate2 of service 1 and FlexRate of service 21 were both
  // FlexRate21): written as Name-n, read as Namen where that is unambiguous.
  bool DashBeforeNumber = false;
};

// The record's own fields, key by key (General, Modem, Costs, ViewReport).
std::span<const FieldSpec<Configuration>> RecordFields();
// The log viewer's (key ViewLog, not in the JSON).
std::span<const FieldSpec<ViewLogSettings>> ViewLogFields();
// One report window's, below the key the window's (Key empty), then its
// columns Column1..n.
std::span<const FieldSpec<ReportWindowSettings>> ReportWindowFields();
// Service n's values below Services: Name followed by n.
std::span<const FieldSpec<Service>> ServiceFields();
// Tariff t of service n below Services: "Tariff<n>-<t>" followed by Name.
std::span<const FieldSpec<Tariff>> TariffFields();

// A billing cycle and budget: the overall one below key Budget under Name,
// service n's below Services under its ServiceValueName. A value that is not
// stored keeps its default (a store or JSON of an earlier version has none).
std::span<const FieldSpec<BudgetSettings>> BudgetFields();
inline constexpr const char* kBudgetJsonName = "Budget";

// The value name service n (1-based) keeps the field under.
QString ServiceValueName(const FieldSpec<Service>& field, int n);
QString ServiceValueName(const FieldSpec<BudgetSettings>& field, int n);
// The name an earlier version kept a DashBeforeNumber field under, when no
// other value of a record of `usedServices` services has that name; else empty.
QString OldServiceValueName(const FieldSpec<Service>& field, int n, int usedServices);
QString ServiceValueName(const char* name, int n);
QString TariffValueName(const char* name, int n, int t);

// The columns each report window keeps.
inline constexpr int kSummaryColumns = 5;
inline constexpr int kDetailColumns = 6;

// A field's member in `record`, as its type.
template <class T, class Record>
T& FieldOf(Record& record, const FieldSpec<Record>& field) {
  return record.*std::get<T Record::*>(field.Member);
}
template <class T, class Record>
const T& FieldOf(const Record& record, const FieldSpec<Record>& field) {
  return record.*std::get<T Record::*>(field.Member);
}

// The range a whole-number field's value must lie in: its own, else its kind's.
template <class Record>
FieldRange IntegerRangeOf(const FieldSpec<Record>& field, const Record& record) {
  const bool wide = field.Kind == FieldKind::Int32 || field.Kind == FieldKind::Date;
  const FieldRange kind{wide ? std::numeric_limits<qint32>::min() : std::numeric_limits<qint16>::min(),
                        wide ? std::numeric_limits<qint32>::max() : std::numeric_limits<qint16>::max()};
  return field.Range != nullptr ? field.Range(record).value_or(kind) : kind;
}

}  // namespace mirolat
