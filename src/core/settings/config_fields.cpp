#include "core/settings/config_fields.h"

#include <limits>

namespace mirolat {

namespace {

using K = FieldKind;
using C = Configuration;

std::optional<FieldRange> MaxServicesRange(const C&) {
  return FieldRange{0, std::numeric_limits<qint16>::max() - 1};
}
std::optional<FieldRange> UsedServicesRange(const C& c) { return FieldRange{0, c.MaxServices}; }
std::optional<FieldRange> UsedTariffsRange(const Service&) { return FieldRange{0, kMaxTariffs}; }
std::optional<FieldRange> UsedHolidaysRange(const C&) { return FieldRange{0, kMaxHolidays}; }

const FieldSpec<C> kRecordFields[] = {
    {"General", "ModemLogFile", K::FileName, &C::ModemLogFile},
    {"General", "MaxServices", K::Int16, &C::MaxServices, true, MaxServicesRange},
    {"General", "UsedServices", K::Int16, &C::UsedServices, false, UsedServicesRange},
    {"General", "MaxConnections", K::Int16, &C::MaxConnections},
    {"General", "MaxConnectDays", K::Int16, &C::MaxConnectDays},
    {"General", "NoDisconDuration", K::Plain, &C::NoDisconDuration},
    {"General", "NoDisconData", K::Plain, &C::NoDisconData},
    {"General", "MaxLogSize", K::Int32, &C::MaxLogSize},
    {"General", "EditLog", K::Flag, &C::EditLog},
    {"General", "ShowErrors", K::Flag, &C::ShowErrors},
    {"General", "ShowToolbars", K::Flag, &C::ShowToolbars},
    {"General", "ShowGraphic", K::Flag, &C::ShowGraphic},
    {"General", "AutoOptimize", K::Flag, &C::AutoOptimize},
    {"Modem", "ModemDial", K::Text, &C::ModemDial},
    {"Modem", "ModemAnswer", K::Text, &C::ModemAnswer},
    {"Modem", "ModemConnect", K::Text, &C::ModemConnect},
    {"Modem", "ModemUserDisconnect", K::Text, &C::ModemUserDisconnect},
    {"Modem", "ModemHostDisconnect", K::Text, &C::ModemHostDisconnect},
    {"Modem", "ModemReads", K::Text, &C::ModemReads},
    {"Modem", "ModemWrites", K::Text, &C::ModemWrites},
    {"Costs", "CalcCosts", K::Flag, &C::CalcCosts},
    {"Costs", "DialCost", K::Money, &C::DialCost},
    {"Costs", "CostPerHour", K::Money, &C::CostPerHour},
    {"Costs", "CostPerMeg", K::Money, &C::CostPerMeg},
    {"ViewReport", "SaveSettings", K::Flag, &C::ReportSaveSettings, false},
    {"ViewReport", "ListView", K::Flag, &C::ReportListView, false},
    {"ViewReport", "AutoArrange", K::Flag, &C::ReportAutoArrange, false},
    {"Holidays", "UsedHolidays", K::Int16, &C::UsedHolidays, false, UsedHolidaysRange},
};

using V = ViewLogSettings;
const FieldSpec<V> kViewLogFields[] = {
    {"ViewLog", "SaveSettings", K::Flag, &V::SaveSettings, false}, {"ViewLog", "FontName", K::Text, &V::FontName, false},
    {"ViewLog", "FontSize", K::Int16, &V::FontSize, false},        {"ViewLog", "FontBold", K::Flag, &V::FontBold, false},
    {"ViewLog", "FontItalic", K::Flag, &V::FontItalic, false},     {"ViewLog", "WinHeight", K::Int16, &V::WinHeight, false},
    {"ViewLog", "WinWidth", K::Int16, &V::WinWidth, false},        {"ViewLog", "WinState", K::Int16, &V::WinState, false},
};

using W = ReportWindowSettings;
const FieldSpec<W> kReportWindowFields[] = {
    {"", "WinHeight", K::Int32, &W::WinHeight, false}, {"", "WinWidth", K::Int32, &W::WinWidth, false},
    {"", "WinLeft", K::Int32, &W::WinLeft, false},     {"", "WinTop", K::Int32, &W::WinTop, false},
    {"", "FontSize", K::Single, &W::FontSize, false},
};

using S = Service;
const FieldSpec<S> kServiceFields[] = {
    {"Services", "ServiceName", K::Text, &S::ServiceName},
    {"Services", "ServiceNumber", K::Text, &S::ServiceNumber},
    {"Services", "DialOption", K::Int16, &S::DialOption},
    {"Services", "DialFixedTariff", K::Money, &S::DialFixedTariff},
    {"Services", "UsedTariffs", K::Int16, &S::UsedTariffs, false, UsedTariffsRange},
    {"Services", "ServiceRate", K::Money, &S::ServiceRate},
    {"Services", "ServiceOption", K::Int16, &S::ServiceOption},
    {"Services", "AfterMeg", K::Plain, &S::AfterMeg},
    {"Services", "PerMeg", K::Money, &S::PerMeg},
    {"Services", "MegPeriod", K::Text, &S::MegPeriod},
    {"Services", "FlexRate", K::Money, &S::FlexRate},
    {"Services", "FlexRate2", K::Money, &S::FlexRate2, true, nullptr, true},
    {"Services", "PenaltyPeriod", K::Text, &S::PenaltyPeriod},
    {"Services", "UpToHours", K::Int16, &S::UpToHours},
};

using B = BudgetSettings;
// Hours and megabytes are kept like money, to 4 decimals.
const FieldSpec<B> kBudgetFields[] = {
    {"Budget", "CycleOption", K::Int16, &B::CycleOption},
    {"Budget", "CycleStartDay", K::Int16, &B::CycleStartDay},
    {"Budget", "CycleDays", K::Int16, &B::CycleDays},
    {"Budget", "CycleFromDate", K::Date, &B::CycleFromDate},
    {"Budget", "BudgetMoney", K::Money, &B::Money},
    {"Budget", "BudgetHours", K::Money, &B::Hours},
    {"Budget", "BudgetMegabytes", K::Money, &B::Megabytes},
    {"Budget", "WarnPercent1", K::Int16, &B::WarnPercent1, true, nullptr, true},
    {"Budget", "WarnPercent2", K::Int16, &B::WarnPercent2, true, nullptr, true},
};

using T = Tariff;
const FieldSpec<T> kTariffFields[] = {
    {"Services", "After", K::Int32, &T::After},
    {"Services", "AppliesDays", K::Text, &T::AppliesDays},
    {"Services", "AppliesTimeEnd", K::Time, &T::AppliesTimeEnd},
    {"Services", "AppliesTimeStart", K::Time, &T::AppliesTimeStart},
    {"Services", "Description", K::Text, &T::Description},
    {"Services", "DialRate", K::Money, &T::DialRate},
    {"Services", "PerMinuteRate", K::Money, &T::PerMinuteRate},
};

}  // namespace

std::span<const FieldSpec<Configuration>> RecordFields() { return kRecordFields; }
std::span<const FieldSpec<ViewLogSettings>> ViewLogFields() { return kViewLogFields; }
std::span<const FieldSpec<ReportWindowSettings>> ReportWindowFields() { return kReportWindowFields; }
std::span<const FieldSpec<Service>> ServiceFields() { return kServiceFields; }
std::span<const FieldSpec<Tariff>> TariffFields() { return kTariffFields; }
std::span<const FieldSpec<BudgetSettings>> BudgetFields() { return kBudgetFields; }

QString ServiceValueName(const char* name, int n) { return QLatin1String(name) + QString::number(n); }

QString ServiceValueName(const FieldSpec<Service>& field, int n) {
  return field.DashBeforeNumber ? QLatin1String(field.Name) + QLatin1Char('-') + QString::number(n)
                                : ServiceValueName(field.Name, n);
}

QString ServiceValueName(const FieldSpec<BudgetSettings>& field, int n) {
  return field.DashBeforeNumber ? QLatin1String(field.Name) + QLatin1Char('-') + QString::number(n)
                                : ServiceValueName(field.Name, n);
}

QString OldServiceValueName(const FieldSpec<Service>& field, int n, int usedServices) {
  if (!field.DashBeforeNumber) return {};
  const QString old = ServiceValueName(field.Name, n);
  // Another field's name followed by the number of a service in use?
  for (const FieldSpec<Service>& other : kServiceFields) {
    const QLatin1String prefix(other.Name);
    if (&other == &field || !old.startsWith(prefix) || old.size() == prefix.size()) continue;
    bool isNumber = false;
    const int number = old.mid(prefix.size()).toInt(&isNumber);
    if (isNumber && old.at(prefix.size()) != QLatin1Char('0') && number >= 1 && number <= usedServices) return {};
  }
  return old;
}

QString TariffValueName(const char* name, int n, int t) {
  return QStringLiteral("Tariff%1-%2").arg(n).arg(t) + QLatin1String(name);
}

}  // namespace mirolat
