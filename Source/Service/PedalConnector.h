// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DeviceConnection.h"
#include "USBDeviceManager.h"

#include <functional>
#include <memory>
#include <vector>

/** Turns the device manager's arrival and removal reports into exactly one
    live connection to one pedal, and hands its protocol to the editor service.

    Only one pedal is used at a time, but further pedals are not forgotten: a
    device that arrives while another is connected waits in arrival order. When
    the connected device goes, the first waiting device still present is
    connected once the poll has finished (connectWaitingDevice). This is what
    makes a quick re-plug work: the manager reports the re-plugged pedal (new
    path) as arrived before it reports the old one removed, in the same poll.

    Message thread only (inside the device manager's poll).
*/
class PedalConnector : public Tessarine::USBDeviceManager::Handler
{
public:
    /** Called with the new protocol on connection, and with null before a
        connection is deleted (the service's connect and disconnect). */
    using AttachFunction = std::function<void (Tessarine::TessarineProtocol*)>;

    explicit PedalConnector (AttachFunction attach);

    /** Deletes a remaining connection without telling anyone (see dropConnection). */
    ~PedalConnector() override;

    void deviceArrived (Tessarine::IUSBHIDDevice* device) override;
    void deviceRemoved (Tessarine::IUSBHIDDevice* device) override;

    /** Connects the first waiting device when none is connected. Called after
        each poll, so a device that a poll reports removed is never picked. */
    void connectWaitingDevice();

    /** Deletes the connection, if any, without calling attach: for shut-down,
        once the service is gone. */
    void dropConnection();

    DeviceConnection* getConnection() const { return connection.get(); }
    const std::vector<Tessarine::IUSBHIDDevice*>& getWaitingDevices() const { return waiting; }

private:
    void connect (Tessarine::IUSBHIDDevice* device);

    AttachFunction attach;
    std::unique_ptr<DeviceConnection> connection;
    std::vector<Tessarine::IUSBHIDDevice*> waiting;

    PedalConnector (const PedalConnector&) = delete;
    PedalConnector& operator= (const PedalConnector&) = delete;
};
