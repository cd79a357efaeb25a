#pragma once
// The whole configuration record held to the rules of the dialogs that edit
// it: what config import refuses, and what a load calls a damaged record.
#include <QList>
#include <QString>

#include "core/model/configuration.h"

namespace mirolat {

// A value of the record that a dialog would refuse: where it is and why.
struct RecordProblem {
  QString Section;  // "General", "Costs", "Services", "Budget"
  int Service = -1;  // 0-based service of the list, or -1
  int Tariff = -1;   // 0-based tariff of that service, or -1
  QString Field;     // the value's name ("Budget.<name>" for a service's budget); empty for a whole service or tariff
  QString Problem;   // the rule it breaks
};

// Every value of `config` that the Options dialog, the service editor or the
// tariff editor would refuse, each value shown as its dialog shows it and read
// back with that dialog's own reader and rules (ReadWholeNumber,
// ReadDurationText, ReadKilobytes, ReadAmount, ValidateService,
// ValidateTariff): the limits of the General tab, the duration and data of a
// missing disconnect, the three default costs, and each service in use with
// each of its tariffs. A tariff that charges nothing passes, since a new
// service's first tariff is made that way from a default cost of 0. Empty for
// a record the dialogs accept.
QList<RecordProblem> RecordProblems(const Configuration& config);

}  // namespace mirolat
