#pragma once
// Shared building blocks of the analysis and cost tests: an English locale,
// services and tariffs built in one line, and a pricing context over them.
#include <QString>

#include "core/common/dates.h"
#include "core/common/locale_values.h"
#include "core/costs/pricing_context.h"
#include "core/costs/service_charges.h"
#include "core/model/configuration.h"
#include "core/model/session_table.h"

namespace mirolat::testing {

inline const LocaleValues& EnglishLocale() {
  static const LocaleValues values = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
  return values;
}

// A service priced only by its dial-up tariffs (no time or data charge).
inline Service TariffService(const QString& number, std::initializer_list<Tariff> tariffs) {
  Service s;
  s.ServiceName = QStringLiteral("Tariffed ") + number;
  s.ServiceNumber = number;
  s.DialOption = 2;
  int i = 0;
  for (const Tariff& t : tariffs) s.Tariffs[static_cast<size_t>(i++)] = t;
  s.UsedTariffs = i;
  s.ServiceOption = 0;
  return s;
}

inline Service FixedService(const QString& number, double perCall) {
  Service s;
  s.ServiceName = QStringLiteral("Fixed ") + number;
  s.ServiceNumber = number;
  s.DialOption = 1;
  s.DialFixedTariff = perCall;
  return s;
}

inline void AddService(Configuration& config, const Service& service) {
  if (static_cast<size_t>(config.UsedServices) >= config.Services.size()) config.Services.resize(config.UsedServices + 1);
  config.Services[static_cast<size_t>(config.UsedServices++)] = service;
}

struct PricingFixture {
  Configuration config;
  PeriodUsage usage;
  SessionTable table;
  Date start = MakeDate(1998, 1, 15);
  Date end = MakeDate(1998, 1, 20);
  PricingContext Context() {
    PricingContext ctx;
    ctx.config = &config;
    ctx.locale = &EnglishLocale();
    ctx.ReportStartDate = start;
    ctx.ReportEndDate = end;
    ctx.usage = &usage;
    ctx.sessions = &table;
    return ctx;
  }
};

}  // namespace mirolat::testing
