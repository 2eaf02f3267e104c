// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/FakeHidApi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace TestSupport
{

namespace
{
void deleteEnumeration (hid_device_info* list)
{
    while (list != nullptr)
    {
        hid_device_info* const next = list->next;
        delete[] list->path;
        delete list;
        list = next;
    }
}
} // namespace

FakeHidApi::FakeHidApi (int maxReadWaitMs_)
    : maxReadWaitMs (maxReadWaitMs_)
{
}

FakeHidApi::~FakeHidApi()
{
    std::lock_guard<std::mutex> lock (mutex);

    if (! enumerations.empty())
        ADD_FAILURE() << enumerations.size() << " hid_enumerate result(s) never freed";

    for (auto* list : enumerations)
        deleteEnumeration (list);

    for (auto& [device, handle] : handles)
        ADD_FAILURE() << "handle on " << handle->path << " never closed";
}

//==============================================================================
void FakeHidApi::plug (const std::string& path, uint16_t vendorID, uint16_t productID)
{
    std::lock_guard<std::mutex> lock (mutex);
    entries.push_back ({ path, vendorID, productID });
    port (path);
}

void FakeHidApi::plugWithoutPath (uint16_t vendorID, uint16_t productID)
{
    std::lock_guard<std::mutex> lock (mutex);
    entries.push_back ({ std::nullopt, vendorID, productID });
}

void FakeHidApi::unplug (const std::string& path)
{
    std::lock_guard<std::mutex> lock (mutex);
    entries.erase (std::remove_if (entries.begin(), entries.end(), [&] (const Entry& e) { return e.path == path; }),
                   entries.end());

    for (auto& [device, handle] : handles)
        if (handle->path == path)
            handle->unplugged = true;

    changed.notify_all();
}

void FakeHidApi::setOpenFails (const std::string& path, bool fails)
{
    std::lock_guard<std::mutex> lock (mutex);
    port (path).openFails = fails;
}

void FakeHidApi::setEnumerationFails (bool fails)
{
    std::lock_guard<std::mutex> lock (mutex);
    enumerationFails = fails;
}

void FakeHidApi::queueInput (const std::string& path, std::vector<uint8_t> report)
{
    std::lock_guard<std::mutex> lock (mutex);
    port (path).input.push_back (std::move (report));
    changed.notify_all();
}

void FakeHidApi::setWriteHook (const std::string& path, WriteHook hook)
{
    std::lock_guard<std::mutex> lock (mutex);
    port (path).writeHook = std::move (hook);
}

std::vector<std::vector<uint8_t>> FakeHidApi::writes (const std::string& path) const
{
    std::lock_guard<std::mutex> lock (mutex);
    const Port* p = findPort (path);
    return p != nullptr ? p->written : std::vector<std::vector<uint8_t>> {};
}

//==============================================================================
int FakeHidApi::openCalls (const std::string& path) const
{
    std::lock_guard<std::mutex> lock (mutex);
    const Port* p = findPort (path);
    return p != nullptr ? p->opens : 0;
}

int FakeHidApi::closeCalls (const std::string& path) const
{
    std::lock_guard<std::mutex> lock (mutex);
    const Port* p = findPort (path);
    return p != nullptr ? p->closes : 0;
}

int FakeHidApi::openHandles (const std::string& path) const
{
    std::lock_guard<std::mutex> lock (mutex);
    return (int) std::count_if (handles.begin(), handles.end(), [&] (auto& h) { return h.second->path == path; });
}

int FakeHidApi::enumerateCalls() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return enumerates;
}

int FakeHidApi::unfreedEnumerations() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return (int) enumerations.size();
}

bool FakeHidApi::waitForReadInProgress (const std::string& path, int timeoutMs) const
{
    std::unique_lock<std::mutex> lock (mutex);
    return changed.wait_for (lock, std::chrono::milliseconds (timeoutMs), [&] {
        return std::any_of (handles.begin(), handles.end(), [&] (auto& h) {
            return h.second->path == path && h.second->readsInProgress > 0;
        });
    });
}

//==============================================================================
hid_device_info* FakeHidApi::enumerate (unsigned short vendorID, unsigned short productID)
{
    std::lock_guard<std::mutex> lock (mutex);
    ++enumerates;

    if (enumerationFails)
        return nullptr;

    hid_device_info* head = nullptr;
    hid_device_info** tail = &head;

    for (const auto& entry : entries)
    {
        // hidapi's filter: 0 matches any identifier.
        if ((vendorID != 0 && vendorID != entry.vendorID) || (productID != 0 && productID != entry.productID))
            continue;

        auto* info = new hid_device_info {};
        info->vendor_id = entry.vendorID;
        info->product_id = entry.productID;

        if (entry.path)
        {
            info->path = new char[entry.path->size() + 1];
            std::memcpy (info->path, entry.path->c_str(), entry.path->size() + 1);
        }

        *tail = info;
        tail = &info->next;
    }

    if (head != nullptr)
        enumerations.insert (head);

    return head;
}

void FakeHidApi::freeEnumeration (hid_device_info* devices)
{
    std::lock_guard<std::mutex> lock (mutex);

    if (enumerations.erase (devices) == 0)
    {
        ADD_FAILURE() << "hid_free_enumeration on a list that is not a live enumeration";
        return;
    }

    deleteEnumeration (devices);
}

hid_device* FakeHidApi::openPath (const char* path)
{
    std::lock_guard<std::mutex> lock (mutex);

    if (path == nullptr)
    {
        ADD_FAILURE() << "hid_open_path with a null path";
        return nullptr;
    }

    const bool present = std::any_of (entries.begin(), entries.end(), [&] (const Entry& e) { return e.path == path; });
    Port& p = port (path);
    ++p.opens;

    if (! present || p.openFails)
        return nullptr;

    auto handle = std::make_shared<Handle>();
    handle->path = path;
    // Handles are opaque tokens that nobody dereferences; never reusing one lets
    // a stale handle be caught even after a new one is opened.
    auto* device = reinterpret_cast<hid_device*> (lastToken += 16);
    handles.emplace (device, std::move (handle));
    return device;
}

void FakeHidApi::close (hid_device* device)
{
    std::lock_guard<std::mutex> lock (mutex);
    const auto handle = findHandle (device, "hid_close");

    if (handle == nullptr)
        return;

    if (handle->readsInProgress > 0)
        ADD_FAILURE() << "hid_close on " << handle->path << " while a read is inside the handle";

    ++port (handle->path).closes;
    handle->closed = true;
    handles.erase (device);
    changed.notify_all();
}

int FakeHidApi::readTimeout (hid_device* device, unsigned char* data, size_t length, int milliseconds)
{
    std::unique_lock<std::mutex> lock (mutex);
    // Held by this read, so a close racing it (a failure) cannot free it here.
    const auto handle = findHandle (device, "hid_read_timeout");

    if (handle == nullptr)
        return -1;

    ++handle->readsInProgress;
    changed.notify_all();

    Port& p = port (handle->path);
    const int wait = milliseconds < 0 ? maxReadWaitMs : std::min (milliseconds, maxReadWaitMs);
    changed.wait_for (lock, std::chrono::milliseconds (wait), [&] { return handle->unplugged || handle->closed || ! p.input.empty(); });

    int result = 0;

    if (handle->unplugged || handle->closed)
    {
        result = -1;
    }
    else if (! p.input.empty())
    {
        const auto report = std::move (p.input.front());
        p.input.pop_front();
        const size_t count = std::min (length, report.size());
        std::memcpy (data, report.data(), count);
        result = (int) count;
    }

    --handle->readsInProgress;
    changed.notify_all();
    return result;
}

int FakeHidApi::write (hid_device* device, const unsigned char* data, size_t length)
{
    std::vector<uint8_t> report (data, data + length);
    WriteHook hook;
    {
        std::lock_guard<std::mutex> lock (mutex);
        const auto handle = findHandle (device, "hid_write");

        if (handle == nullptr || handle->unplugged)
            return -1;

        Port& p = port (handle->path);
        p.written.push_back (report);
        hook = p.writeHook;
    }

    return hook ? hook (report) : (int) length;
}

//==============================================================================
std::shared_ptr<FakeHidApi::Handle> FakeHidApi::findHandle (hid_device* device, const char* call)
{
    const auto found = handles.find (device);

    if (found == handles.end())
    {
        ADD_FAILURE() << call << " on a handle that is not open";
        return nullptr;
    }

    return found->second;
}

FakeHidApi::Port& FakeHidApi::port (const std::string& path)
{
    return ports[path];
}

const FakeHidApi::Port* FakeHidApi::findPort (const std::string& path) const
{
    const auto found = ports.find (path);
    return found != ports.end() ? &found->second : nullptr;
}

} // namespace TestSupport
