// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IUSBHIDDevice.h"
#include "TessarineProtocol.h"
#include "TessarineUSBPacketIO.h"

#include <memory>

/** The one connected pedal: the packet transport over its device and the
    protocol engine over that transport (device variant 1).

    The device belongs to the device manager; the connection never closes or
    deletes it. Destruction deletes the protocol first (it detaches from the
    transport), then the transport (which joins its reader thread), so the
    device may be closed as soon as the connection is gone.
*/
class DeviceConnection
{
public:
    static constexpr uint32_t kDeviceVariant = 1;

    explicit DeviceConnection (Tessarine::IUSBHIDDevice* device);
    ~DeviceConnection();

    Tessarine::IUSBHIDDevice* getDevice() const { return device; }
    Tessarine::TessarineProtocol* getProtocol() const { return protocol.get(); }

private:
    Tessarine::IUSBHIDDevice* device;
    std::unique_ptr<Tessarine::TessarineUSBPacketIO> io;
    std::unique_ptr<Tessarine::TessarineProtocol> protocol;

    DeviceConnection (const DeviceConnection&) = delete;
    DeviceConnection& operator= (const DeviceConnection&) = delete;
};
