#pragma once
// The rules of the service editor: the entries of a new service, the entries
// that show a stored service, what makes the entries valid, and the service
// record they describe.
#include <QString>
#include <QStringList>
#include <array>

#include "core/common/locale_values.h"
#include "core/model/configuration.h"

namespace mirolat {

inline constexpr int kMaxFlexHours = 99;
inline constexpr int kMaxAfterMeg = 99;

QStringList FlexPeriodChoices();  // Day, Week, Month
QStringList MegPeriodChoices();   // Day, Week, Month, Session

// The texts and choices of the service editor.
struct ServiceEntries {
  QString Description;
  QString Number;
  int DialOption = 1;  // 1 per call, 2 time segmented tariffs
  QString DialFixedTariff;
  int ServiceOption = 1;  // 1 flat hourly rate, 2 flexi rate
  QString ServiceFixedRate;
  QString FlexRate;
  QString FlexHours;
  QString FlexPeriod;
  QString FlexRate2;
  QString PerMeg;
  QString AfterMeg;
  QString MegPeriod;
};

// Which entries are acceptable; the editor's OK is enabled by ok().
struct ServiceValidation {
  bool description = false;  // 1..kMaxNameLength characters
  bool number = false;       // 1..kMaxNumberLength characters, without blanks around it
  bool dialCost = false;     // option 1: an amount; option 2: at least one tariff
  bool serviceCost = false;  // option 1: the flat rate; option 2: every flexi entry
  bool flexRate = false;
  bool flexHours = false;
  bool flexPeriod = false;
  bool flexRate2 = false;
  bool flexAboveZero = false;  // flexi rate + excess rate > 0
  bool perMeg = false;
  bool afterMeg = false;
  bool megPeriod = false;  // a listed period; any while the rate is 0
  bool ok() const { return description && number && dialCost && serviceCost && perMeg && afterMeg && megPeriod; }
};

ServiceValidation ValidateService(const ServiceEntries& entries, int tariffCount, const LocaleValues& locale);
// Why the editor's OK is disabled: the first entry, tab by tab, that breaks a
// rule, with the tab that holds it; empty when the entries are valid.
QString ServiceProblem(const ServiceEntries& entries, int tariffCount, const LocaleValues& locale);

// The tariff every new service starts with: Default Tariff, Everyday,
// 00:00-23:59, the default dial-up cost (to 4 decimals) per call.
Tariff DefaultTariff(const Configuration& config);
// The entries of a new service (New Service, no number, per call at the
// default dial-up cost, flat rate at the default cost per hour, periods Month).
ServiceEntries NewServiceEntries(const Configuration& config, const LocaleValues& locale);
// The entries showing service `service` (its periods as stored, even when
// empty or not one of the choices).
ServiceEntries EntriesOf(const Service& service, const Configuration& config, const LocaleValues& locale);

// The service record of valid entries with these tariffs. The number is
// stored without leading and trailing blanks; the fields of both options are
// stored whatever option is chosen.
Service BuildService(const ServiceEntries& entries, const std::array<Tariff, kMaxTariffs>& tariffs, int tariffCount,
                     const LocaleValues& locale);

// The first service in use other than `selfIndex` (0-based; -1 for a new
// service) whose number, without blanks around it, equals `number` without
// blanks around it; -1 when there is none.
int FindOtherServiceWithNumber(const Configuration& config, const QString& number, int selfIndex);

}  // namespace mirolat
