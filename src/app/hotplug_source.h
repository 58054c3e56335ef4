// Where device notices come from: the udev monitor for real devices, the simulated source for
// the simulated logger. The connection manager listens to either the same way.
//
// Threading: a source lives on the GUI thread and emits there.
#pragma once

#include <QObject>

namespace velorin {

class HotplugSource : public QObject {
    Q_OBJECT
public:
    explicit HotplugSource(QObject* parent = nullptr) : QObject(parent) {}
    ~HotplugSource() override;

signals:
    // A storage volume appeared; `removableMedia` tells whether it carries removable media
    // (the logger's volume does).
    void VolumeArrived(bool removableMedia);
    void VolumeRemoved();
    void HidInterfaceArrived();
    void HidInterfaceRemoved();
};

}  // namespace velorin
