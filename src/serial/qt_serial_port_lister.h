#pragma once
// The serial ports of the machine as QtSerialPort lists them (the udev product
// text, maker, serial number and USB ids), for the modem detection.
#include "core/settings/modem_store.h"

namespace mirolat {

class QtSerialPortLister : public SerialPortLister {
 public:
  QList<SerialDevice> Ports() override;
};

}  // namespace mirolat
