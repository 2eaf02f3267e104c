// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviceConnection.h"

DeviceConnection::DeviceConnection (Tessarine::IUSBHIDDevice* deviceToUse)
    : device (deviceToUse),
      io (std::make_unique<Tessarine::TessarineUSBPacketIO> (deviceToUse)),
      protocol (std::make_unique<Tessarine::TessarineProtocol> (io.get(), kDeviceVariant))
{
}

DeviceConnection::~DeviceConnection()
{
    protocol.reset();
    io.reset();
}
