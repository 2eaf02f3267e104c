// SPDX-License-Identifier: GPL-3.0-or-later
#include "TessarineUSBPacketIO.h"

#include <algorithm>
#include <cstring>

namespace Tessarine
{

TessarineUSBPacketIO::TessarineUSBPacketIO (IUSBHIDDevice* device_)
    : device (device_)
{
    start();
}

TessarineUSBPacketIO::~TessarineUSBPacketIO()
{
    stop();
}

void TessarineUSBPacketIO::start()
{
    std::lock_guard<std::mutex> lock (mutex);

    // A reader that ended on a read error has lost its device for good.
    if (running.load() || state == stateError)
        return;

    running.store (true);
    reader = std::thread ([this] { readerLoop(); });
}

void TessarineUSBPacketIO::stop()
{
    {
        std::lock_guard<std::mutex> lock (mutex);
        running.store (false);
    }

    if (reader.joinable())
        reader.join();
}

Result TessarineUSBPacketIO::setHandler (Handler* newHandler)
{
    std::lock_guard<std::mutex> lock (mutex);
    handler = newHandler;

    if (handler != nullptr)
        handler->connectionStateChanged (state);

    return kSuccess;
}

Result TessarineUSBPacketIO::sendPacket (const uint8_t* data, size_t length)
{
    // Compared as the size_t it is: no length may wrap into range.
    if (length > kMaxPacketSize)
        return TESSARINE_ERROR ("Packet too large");

    uint8_t report[kMaxPacketSize + 1];
    report[0] = 0;

    if (length > 0)
        std::memcpy (report + 1, data, length);

    int written;
    {
        std::lock_guard<std::mutex> lock (mutex);
        written = device->write (report, length + 1);
    }

    if (written < 0)
        return TESSARINE_ERROR ("hid_write failed with %d", written);

    // The report id byte counts too: all of the packet went only if more than
    // its length was written.
    if ((size_t) written > length)
        return kSuccess;

    return TESSARINE_ERROR ("hid_write incomplete");
}

Result TessarineUSBPacketIO::flush()
{
    // Nothing is buffered here: every report goes to the handler as it is read.
    return kSuccess;
}

void TessarineUSBPacketIO::reportState (int newState)
{
    std::lock_guard<std::mutex> lock (mutex);
    state = newState;

    if (newState == stateError)
        running.store (false);

    if (handler != nullptr)
        handler->connectionStateChanged (newState);
}

void TessarineUSBPacketIO::readerLoop()
{
    reportState (stateRunning);

    uint8_t buffer[kMaxPacketSize];

    while (running.load())
    {
        // No lock around the read, so a sender is never held up by it.
        const int count = device->read (buffer, sizeof (buffer), kReadTimeoutMs);

        if (count < 0)
        {
            TESSARINE_ERROR ("HID read error: %d", count);
            reportState (stateError);
            return;
        }

        if (count == 0)
            continue;

        // A device may not claim more than the buffer it was given.
        const size_t length = std::min ((size_t) count, sizeof (buffer));

        std::lock_guard<std::mutex> lock (mutex);

        if (handler != nullptr)
            handler->packetReceived (buffer, length);
    }

    reportState (stateStopped);
}

} // namespace Tessarine
