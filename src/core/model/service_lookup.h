#pragma once
// Which of the user's services a dialled number belongs to.
#include <QString>
#include <QStringView>

#include "core/model/configuration.h"

namespace mirolat {

// Position of the first of the UsedServices services whose ServiceNumber
// equals the number with blanks trimmed from both ends, or -1.
int FindServiceByNumber(const Configuration& config, QStringView number);

// The matching service's ServiceName, blanks trimmed; the number itself when
// no service matches. A name without blanks around it is the configuration's
// own text, shared rather than copied: a report refers to it on every line.
QString ServiceDisplayName(const Configuration& config, const QString& number);

}  // namespace mirolat
