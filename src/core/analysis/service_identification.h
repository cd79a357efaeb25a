#pragma once
// Ties a dial or answer entry to a dialled number, opens its session and its
// per-number entry; maps a number to one of the user's services.
#include <QString>
#include <QStringView>

#include "core/model/configuration.h"
#include "core/model/service_lookup.h"

namespace mirolat {

struct RunState;

enum class IdentifyOutcome {
  Opened,            // a session was opened; CurrentService and LastService set
  NoNumber,          // the dial entry carried no usable number: nothing opened
  TooManyConnections // no session number left: the run stops, the line is abandoned
};

// On a dial or answer entry (`upperLine`, upper-cased; run.Answering tells
// which): takes the number ("Answered Calls" for an answered call), opens the
// next session and finds or adds its ServiceTotals entry. Reaching MaxServices
// distinct numbers sets run.TooManyServices and queues the warning.
IdentifyOutcome IdentifyService(RunState& run, QStringView upperLine, const Configuration& config);

// The number a dial entry carries: the text after the dial command's mode
// letter up to the line's next-to-last character, cut at the first "<".
// `usable` is false when it holds anything but digits (empty text is usable).
QString DialledNumber(QStringView upperLine, const Configuration& config, bool* usable);

}  // namespace mirolat
