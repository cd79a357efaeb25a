#pragma once
// The configuration record as JSON, for `mirolat-cli config export/import`.
// Field names are the store's value names; list lengths give UsedServices,
// UsedTariffs and UsedHolidays; times are "HH:MM", holidays "YYYY-MM-DD".
// The window layouts (ViewLog, ViewReport) are not part of it.
#include <QByteArray>
#include <QString>

#include "core/model/configuration.h"

namespace mirolat {

QByteArray ConfigurationToJson(const Configuration& config);

// Reads `json` into `out`: every field the JSON holds, absent fields take their
// defaults, the window layouts come from `base`. On any problem returns false
// with a message naming the field in `error` and leaves `out` unchanged. A
// record the dialogs would refuse (RecordProblems) is a problem too: `error`
// then names each such value, one line each ("General.MaxConnections: ...").
bool ConfigurationFromJson(const QByteArray& json, const Configuration& base, Configuration& out, QString& error);

}  // namespace mirolat
