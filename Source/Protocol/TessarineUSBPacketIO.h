// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IDevicePacketIO.h"
#include "IUSBHIDDevice.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace Tessarine
{

/** The packet transport over one open HID device.

    A reader thread polls the device for 64-byte input reports and hands each to
    the handler; packets go out as single output reports with report id 0, not
    padded. One mutex serialises handler changes, state changes, callbacks and
    writes, so a handler must never call back into its transport, and it is
    never called once setHandler (nullptr) has returned.

    The device is not owned and must stay open until the transport is deleted.
    stop() (and so the destructor) must not run on the reader thread: it joins it.
*/
class TessarineUSBPacketIO : public IDevicePacketIO
{
public:
    static constexpr size_t kMaxPacketSize = 64;
    static constexpr int kReadTimeoutMs = 1000;

    /** Starts the reader thread; it is running when the constructor returns. */
    explicit TessarineUSBPacketIO (IUSBHIDDevice* device);
    ~TessarineUSBPacketIO() override;

    TessarineUSBPacketIO (const TessarineUSBPacketIO&) = delete;
    TessarineUSBPacketIO& operator= (const TessarineUSBPacketIO&) = delete;

    /** Starts the reader unless it runs already or has ended in the error state. */
    void start();

    /** Asks the reader to end and waits for it: at most one read time-out plus
        one callback. */
    void stop();

    Result setHandler (Handler* handler) override;
    Result sendPacket (const uint8_t* data, size_t length) override;
    Result flush() override;

private:
    void readerLoop();
    void reportState (int newState);

    IUSBHIDDevice* device;
    std::mutex mutex;
    std::thread reader;
    std::atomic<bool> running { false };
    Handler* handler = nullptr;
    int state = stateStopped;
};

} // namespace Tessarine
