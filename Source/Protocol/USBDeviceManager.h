// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HidApi.h"
#include "IUSBHIDDevice.h"

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Tessarine
{

/** Finds accepted pedals on the USB bus and keeps one open device for each.

    poll() is called periodically on one thread (the application's message
    thread); every callback of the Handler runs inside it. The manager owns its
    devices: a device reported removed stays alive, and its pointer valid, until
    its user has closed it, and is deleted by the first poll that finds it closed.
*/
class USBDeviceManager
{
public:
    /** One accepted device type. */
    struct DeviceSpec
    {
        uint16_t vendorID;
        uint16_t productID;
    };

    /** Told of arrivals and removals, from inside poll(). */
    class Handler
    {
    public:
        virtual ~Handler() = default;
        virtual void deviceArrived (IUSBHIDDevice* device) = 0;
        virtual void deviceRemoved (IUSBHIDDevice* device) = 0;
    };

    //==============================================================================
    /** One open hidapi device.

        Writes and close are serialised by the device's mutex. A read takes no
        lock, so a read blocked in its time-out never delays a write; close
        instead waits for a read already inside hidapi to return before it frees
        the handle, so a read racing a close ends with -1, never on a freed handle.
    */
    class HIDDevice : public IUSBHIDDevice
    {
    public:
        /** Takes over an open handle; copies path and identifiers from the entry. */
        HIDDevice (hid_device* handle, const hid_device_info& info, HidApi& hid = HidApi::system());
        ~HIDDevice() override;

        HIDDevice (const HIDDevice&) = delete;
        HIDDevice& operator= (const HIDDevice&) = delete;

        /** hidapi's result unchanged; -1 once closed. */
        int read (uint8_t* buffer, size_t length, int timeoutMs) override;

        /** The count hidapi really wrote, or -1 on failure or once closed. */
        int write (const uint8_t* data, size_t length) override;

        /** Closes the handle; harmless when already closed. */
        void close() override;

        uint16_t getVendorID() override { return vendorID; }
        uint16_t getProductID() override { return productID; }

        /** True when still open and opened by exactly this entry's path. */
        bool hasPath (const hid_device_info& info);

        bool isOpen() const { return handle.load() != nullptr; }

        /** Sets the removed flag; true only for the call that set it. */
        bool markRemoved();

    private:
        std::atomic<hid_device*> handle;
        std::atomic<int> readsInProgress { 0 };
        std::string path;
        bool removed = false;
        std::mutex mutex;
        uint16_t vendorID;
        uint16_t productID;
        HidApi& hid;
    };

    //==============================================================================
    /** The handler may be null (reports are then skipped); the list is copied. */
    USBDeviceManager (Handler* handler, const std::vector<DeviceSpec>& deviceTypes, HidApi& hid = HidApi::system());

    /** Deletes (and so closes) every device without reporting removals. */
    ~USBDeviceManager();

    USBDeviceManager (const USBDeviceManager&) = delete;
    USBDeviceManager& operator= (const USBDeviceManager&) = delete;

    /** One scan of the bus: opens and reports new devices, then reports devices
        that have gone and deletes those that are closed. */
    void poll();

    /** Devices still owned: open ones, and removed ones not yet closed. */
    size_t getNumDevices() const { return devices.size(); }

private:
    bool accepts (const hid_device_info& info) const;

    Handler* handler;
    std::vector<DeviceSpec> deviceTypes;
    std::list<std::unique_ptr<HIDDevice>> devices;
    HidApi& hid;
};

} // namespace Tessarine
