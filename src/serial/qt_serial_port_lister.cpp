#include "serial/qt_serial_port_lister.h"

#include <QSerialPortInfo>

namespace mirolat {

QList<SerialDevice> QtSerialPortLister::Ports() {
  QList<SerialDevice> devices;
  const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
  for (const QSerialPortInfo& p : ports) {
    SerialDevice d;
    d.PortName = p.portName();
    d.SystemLocation = p.systemLocation();
    d.Description = p.description();
    d.Manufacturer = p.manufacturer();
    d.SerialNumber = p.serialNumber();
    if (p.hasVendorIdentifier()) d.VendorId = p.vendorIdentifier();
    if (p.hasProductIdentifier()) d.ProductId = p.productIdentifier();
    devices.append(d);
  }
  return devices;
}

}  // namespace mirolat
