// SPDX-License-Identifier: GPL-3.0-or-later
#include "PedalConnector.h"

#include <algorithm>

PedalConnector::PedalConnector (AttachFunction attachFunction)
    : attach (std::move (attachFunction))
{
}

PedalConnector::~PedalConnector()
{
    dropConnection();
}

void PedalConnector::deviceArrived (Tessarine::IUSBHIDDevice* device)
{
    if (connection != nullptr)
    {
        waiting.push_back (device);
        return;
    }

    connect (device);
}

void PedalConnector::deviceRemoved (Tessarine::IUSBHIDDevice* device)
{
    if (connection != nullptr && connection->getDevice() == device)
    {
        // The service lets go of the protocol (and waits for any task inside
        // it) before the protocol and its transport are deleted.
        if (attach)
            attach (nullptr);

        connection.reset();
    }

    waiting.erase (std::remove (waiting.begin(), waiting.end(), device), waiting.end());
    device->close();
}

void PedalConnector::connectWaitingDevice()
{
    if (connection != nullptr || waiting.empty())
        return;

    auto* next = waiting.front();
    waiting.erase (waiting.begin());
    connect (next);
}

void PedalConnector::dropConnection()
{
    connection.reset();
}

void PedalConnector::connect (Tessarine::IUSBHIDDevice* device)
{
    connection = std::make_unique<DeviceConnection> (device);

    if (attach)
        attach (connection->getProtocol());
}
