// SPDX-License-Identifier: GPL-3.0-or-later
#include "USBDeviceManager.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace Tessarine
{

USBDeviceManager::HIDDevice::HIDDevice (hid_device* handle_, const hid_device_info& info, HidApi& hid_)
    : handle (handle_),
      path (info.path != nullptr ? info.path : ""),
      vendorID (info.vendor_id),
      productID (info.product_id),
      hid (hid_)
{
}

USBDeviceManager::HIDDevice::~HIDDevice()
{
    close();
}

int USBDeviceManager::HIDDevice::read (uint8_t* buffer, size_t length, int timeoutMs)
{
    // Announce the read before looking at the handle; close clears the handle
    // before it looks at the count. Both are sequentially consistent, so either
    // this read sees the cleared handle or close sees this read and waits.
    readsInProgress.fetch_add (1);
    hid_device* const current = handle.load();
    const int result = current != nullptr ? hid.readTimeout (current, buffer, length, timeoutMs) : -1;
    readsInProgress.fetch_sub (1);
    return result;
}

int USBDeviceManager::HIDDevice::write (const uint8_t* data, size_t length)
{
    std::lock_guard<std::mutex> lock (mutex);
    hid_device* const current = handle.load();

    if (current == nullptr)
        return -1;

    // The real count, so a short write is seen as one by the caller.
    const int written = hid.write (current, data, length);
    return written < 0 ? -1 : written;
}

void USBDeviceManager::HIDDevice::close()
{
    std::lock_guard<std::mutex> lock (mutex);
    hid_device* const current = handle.exchange (nullptr);

    if (current == nullptr)
        return;

    // A read that took the handle before it was cleared is still inside hidapi;
    // it returns within its time-out. Normally none is, because the transport's
    // reader is joined before its device is closed.
    while (readsInProgress.load() != 0)
        std::this_thread::sleep_for (std::chrono::milliseconds (1));

    hid.close (current);
}

bool USBDeviceManager::HIDDevice::hasPath (const hid_device_info& info)
{
    std::lock_guard<std::mutex> lock (mutex);
    return handle.load() != nullptr && info.path != nullptr && path == info.path;
}

bool USBDeviceManager::HIDDevice::markRemoved()
{
    std::lock_guard<std::mutex> lock (mutex);

    if (removed)
        return false;

    removed = true;
    return true;
}

//==============================================================================
USBDeviceManager::USBDeviceManager (Handler* handler_, const std::vector<DeviceSpec>& deviceTypes_, HidApi& hid_)
    : handler (handler_), deviceTypes (deviceTypes_), hid (hid_)
{
}

USBDeviceManager::~USBDeviceManager() = default;

bool USBDeviceManager::accepts (const hid_device_info& info) const
{
    return std::any_of (deviceTypes.begin(), deviceTypes.end(), [&] (const DeviceSpec& spec) {
        return spec.vendorID == info.vendor_id && spec.productID == info.product_id;
    });
}

void USBDeviceManager::poll()
{
    hid_device_info* const enumeration = hid.enumerate (0, 0);

    std::vector<std::unique_ptr<HIDDevice>> arrived;
    std::list<HIDDevice*> unseen;

    for (auto& device : devices)
        unseen.push_back (device.get());

    for (const hid_device_info* info = enumeration; info != nullptr; info = info->next)
    {
        // Without a path there is nothing to open it by, and nothing to match it by later.
        if (info->path == nullptr || ! accepts (*info))
            continue;

        auto known = std::find_if (devices.begin(), devices.end(), [&] (auto& d) { return d->hasPath (*info); });

        if (known != devices.end())
        {
            unseen.remove (known->get());
            continue;
        }

        // hidapi can list one path twice (one entry per HID collection); it is
        // still one device, opened once.
        if (std::any_of (arrived.begin(), arrived.end(), [&] (auto& d) { return d->hasPath (*info); }))
            continue;

        // A failure stays silent: the entry is simply tried again at the next poll.
        if (hid_device* const opened = hid.openPath (info->path))
            arrived.push_back (std::make_unique<HIDDevice> (opened, *info, hid));
    }

    if (enumeration != nullptr)
        hid.freeEnumeration (enumeration);

    for (auto& device : arrived)
    {
        HIDDevice* const added = device.get();
        devices.push_back (std::move (device));

        if (handler != nullptr)
            handler->deviceArrived (added);
    }

    for (HIDDevice* device : unseen)
    {
        if (device->markRemoved() && handler != nullptr)
            handler->deviceRemoved (device);

        // Closed by its user (possibly inside the report just made): nobody
        // holds it any more.
        if (! device->isOpen())
            devices.remove_if ([device] (auto& d) { return d.get() == device; });
    }
}

} // namespace Tessarine
