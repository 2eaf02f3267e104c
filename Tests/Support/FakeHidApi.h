// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "HidApi.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace TestSupport
{

/** A simulated USB bus behind the hidapi seam, so the device manager (and the
    application above it) can be tested without device files.

    The bus is a list of enumeration entries in plug order; hid_enumerate hands
    out a fresh copy of it. A path can be plugged twice to list it twice, as
    hidapi does for a device with several collections. Each path has a port
    that remembers its queued input, its written reports and its counters across
    opens. Unplugging a path drops its entries and breaks every handle open on
    it: their reads and writes fail as on a real unplug, until they are closed.

    Misuse that would crash or corrupt memory with the real hidapi fails the
    running test: a call on a handle that is not open (closed twice, used after
    close), closing a handle while a read is inside it, an enumeration freed
    twice, and, when the fake is destroyed, enumerations never freed or handles
    never closed. Thread-safe.
*/
class FakeHidApi : public Tessarine::HidApi
{
public:
    /** Returns what hid_write reports; called without the fake's lock held, so
        it may queue a reply. */
    using WriteHook = std::function<int (const std::vector<uint8_t>& report)>;

    explicit FakeHidApi (int maxReadWaitMs = 10);
    ~FakeHidApi() override;

    //==============================================================================
    /** Lists a device at the end of the enumeration. */
    void plug (const std::string& path, uint16_t vendorID, uint16_t productID);

    /** Lists an entry that has no path. */
    void plugWithoutPath (uint16_t vendorID, uint16_t productID);

    void unplug (const std::string& path);

    /** hid_open_path on this path returns null while set. */
    void setOpenFails (const std::string& path, bool fails);

    /** hid_enumerate returns null while set, as with no devices or an error. */
    void setEnumerationFails (bool fails);

    //==============================================================================
    /** The next read of an open handle on this path returns the report. */
    void queueInput (const std::string& path, std::vector<uint8_t> report);

    /** Replaces the default, which reports the whole report written. */
    void setWriteHook (const std::string& path, WriteHook hook);

    std::vector<std::vector<uint8_t>> writes (const std::string& path) const;

    //==============================================================================
    int openCalls (const std::string& path) const;
    int closeCalls (const std::string& path) const;
    int openHandles (const std::string& path) const;
    int enumerateCalls() const;
    int unfreedEnumerations() const;

    /** Waits until a read is inside an open handle on this path. */
    bool waitForReadInProgress (const std::string& path, int timeoutMs = 5000) const;

    //==============================================================================
    hid_device_info* enumerate (unsigned short vendorID, unsigned short productID) override;
    void freeEnumeration (hid_device_info* devices) override;
    hid_device* openPath (const char* path) override;
    void close (hid_device* device) override;
    int readTimeout (hid_device* device, unsigned char* data, size_t length, int milliseconds) override;
    int write (hid_device* device, const unsigned char* data, size_t length) override;

private:
    struct Entry
    {
        std::optional<std::string> path;
        uint16_t vendorID, productID;
    };

    struct Port
    {
        bool openFails = false;
        std::deque<std::vector<uint8_t>> input;
        std::vector<std::vector<uint8_t>> written;
        WriteHook writeHook;
        int opens = 0, closes = 0;
    };

    struct Handle
    {
        std::string path;
        bool unplugged = false;
        bool closed = false;
        int readsInProgress = 0;
    };

    std::shared_ptr<Handle> findHandle (hid_device* device, const char* call);
    Port& port (const std::string& path);
    const Port* findPort (const std::string& path) const;

    const int maxReadWaitMs;
    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    std::vector<Entry> entries;
    std::map<std::string, Port> ports;
    std::map<hid_device*, std::shared_ptr<Handle>> handles;
    std::set<hid_device_info*> enumerations;
    bool enumerationFails = false;
    int enumerates = 0;
    uintptr_t lastToken = 0;
};

} // namespace TestSupport
