// SPDX-License-Identifier: GPL-3.0-or-later
//
// A stand-in for the hidapi library, loaded into the real editor with
// LD_PRELOAD, that presents our simulated pedal on a simulated USB bus. The
// editor binary runs unchanged; the end-to-end scenarios drive it with X input
// and steer the bus through files in a control folder:
//
//   $TQ_PEDAL_DIR/plugged       the pedal's device path while it is plugged in
//                               (absent or empty: unplugged). Writing a new
//                               path is a re-plug: handles on the old path fail.
//   $TQ_PEDAL_DIR/received.log  written here: one line per packet the pedal
//                               received, upper-case hex bytes with blanks.
//   $TQ_PEDAL_DIR/events.log    written here: open, close and unplug events.
//   $TQ_PEDAL_DIR/silent        once it exists, the pedal stops answering: it
//                               still takes (and logs) every packet, but sends
//                               nothing back ("silent" in events.log marks the
//                               first packet it left unanswered).
//
// TQ_PEDAL_UNPLUG_AT=n pulls the pedal out as the n-th packet after the first
// open arrives (a deterministic unplug in the middle of a refresh); it then
// stays out of the enumeration until `plugged` names a new path.
// TQ_PEDAL_REPLY_DELAY_MS slows every answer down.

#include "Support/SimulatedPedal.h"

#include "TessarineData.h"

#include <hidapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>

#include <unistd.h>

struct hid_device_
{
    std::string path;
};

namespace
{
namespace Data = Tessarine::TessarineData;

/** The one pedal and the bus state around it. */
class StandIn
{
public:
    StandIn()
    {
        if (const char* dir = std::getenv ("TQ_PEDAL_DIR"))
            folder = dir;

        if (const char* delay = std::getenv ("TQ_PEDAL_REPLY_DELAY_MS"))
            pedal.setReplyDelay (std::chrono::milliseconds (std::atoi (delay)));

        if (const char* at = std::getenv ("TQ_PEDAL_UNPLUG_AT"))
            unplugAt = static_cast<size_t> (std::atol (at));

        // hidapi blocks for the whole time-out asked for; so does the pedal.
        pedal.setReadWaitLimit (std::chrono::milliseconds (1000));
        fillPedal();
    }

    hid_device_info* enumerate (unsigned short vendorID, unsigned short productID)
    {
        std::lock_guard<std::mutex> lock (mutex);
        const auto path = pluggedPath();

        noticeReplug (path);

        if (path.empty() || (pedal.isUnplugged() && path == livePath))
            return nullptr;

        if ((vendorID != 0 && vendorID != pedal.getVendorID()) || (productID != 0 && productID != pedal.getProductID()))
            return nullptr;

        auto* info = static_cast<hid_device_info*> (std::calloc (1, sizeof (hid_device_info)));
        info->path = strdup (path.c_str());
        info->vendor_id = pedal.getVendorID();
        info->product_id = pedal.getProductID();
        info->serial_number = wcsdup (L"SIM0001");
        info->manufacturer_string = wcsdup (L"Bravik Amps");
        info->product_string = wcsdup (L"Tessaquorbel (simulated)");
        info->usage_page = 0xFF00;
        info->usage = 1;
        info->bus_type = HID_API_BUS_USB;
        return info;
    }

    hid_device* open (const char* path)
    {
        std::lock_guard<std::mutex> lock (mutex);
        const auto plugged = pluggedPath();
        noticeReplug (plugged);

        if (path == nullptr || plugged != path || (pedal.isUnplugged() && livePath == path))
            return nullptr;

        if (pedal.isUnplugged() || pedal.isClosed())
            pedal.plugIn();

        if (unplugAt > 0 && ! unplugArmed)
        {
            pedal.injectFaultAtExchange (unplugAt, TestSupport::SimulatedPedal::Fault::unplug());
            unplugArmed = true;
        }

        livePath = path;
        event ("open " + livePath);
        return new hid_device { livePath };
    }

    void close (hid_device* device)
    {
        if (device == nullptr)
            return;

        {
            std::lock_guard<std::mutex> lock (mutex);
            event ("close " + device->path);

            if (device->path == livePath)
                pedal.close();
        }

        delete device;
    }

    int read (hid_device* device, unsigned char* data, size_t length, int milliseconds)
    {
        if (! isLive (device))
            return -1;

        return pedal.read (data, length, milliseconds);
    }

    int write (hid_device* device, const unsigned char* data, size_t length)
    {
        if (! isLive (device))
            return -1;

        if (isSilent())
        {
            if (length > 1)
                logPacket (data + 1, length - 1);

            return static_cast<int> (length);
        }

        const int written = pedal.write (data, length);

        if (written > 0 && length > 1)
            logPacket (data + 1, length - 1);

        if (pedal.isUnplugged())
        {
            std::lock_guard<std::mutex> lock (mutex);
            event ("unplugged " + device->path);
        }

        return written;
    }

private:
    std::string pluggedPath() const
    {
        std::ifstream in (folder + "/plugged");
        std::string path;
        std::getline (in, path);
        return folder.empty() ? std::string() : path;
    }

    // A new path in `plugged` is a new plug-in: whatever the old path had open
    // is gone. Called with the mutex held.
    void noticeReplug (const std::string& plugged)
    {
        if (! livePath.empty() && plugged != livePath && ! pedal.isUnplugged())
        {
            pedal.unplug();
            event ("unplugged " + livePath);
        }
    }

    // Looked for on every write (not on reads), so a scenario can silence the
    // pedal in the middle of a transfer; once silent, it stays so.
    bool isSilent()
    {
        std::lock_guard<std::mutex> lock (mutex);

        if (! silent && ! folder.empty() && access ((folder + "/silent").c_str(), F_OK) == 0)
        {
            silent = true;
            event ("silent");
        }

        return silent;
    }

    // The control file is read only by enumeration and open (once a second),
    // never per read, so an idle editor costs what it would on real hardware.
    bool isLive (hid_device* device)
    {
        std::lock_guard<std::mutex> lock (mutex);
        return device != nullptr && device->path == livePath;
    }

    void logPacket (const unsigned char* packet, size_t length)
    {
        std::string line;
        char hex[4];

        for (size_t i = 0; i < length; ++i)
        {
            std::snprintf (hex, sizeof (hex), i == 0 ? "%02X" : " %02X", packet[i]);
            line += hex;
        }

        append ("received.log", line);
    }

    void event (const std::string& text) { append ("events.log", text); }

    void append (const char* name, const std::string& line) const
    {
        if (folder.empty())
            return;

        std::lock_guard<std::mutex> lock (fileMutex);
        std::ofstream out (folder + "/" + name, std::ios::app);
        out << line << '\n';
    }

    // What the scenarios and the screenshot show: a named amp and cabinet in
    // every preset, preset 4 selected and the front-panel knobs spread out.
    void fillPedal()
    {
        const char* amps[] = { "Brit Plexi", "Tweed Deluxe", "Modern Hi-Gain" };

        for (uint32_t preset = 0; preset < 9; ++preset)
        {
            TestSupport::SimulatedPedal::Packet ampBlock (Data::kNumberedNameBlockSize);
            Data::AmpNameAndID amp;
            amp.id = 100 + preset;
            amp.name = amps[preset % 3];
            Data::encodeNumberedName (ampBlock.data(), amp);
            pedal.setBlock (5, preset, ampBlock);

            TestSupport::SimulatedPedal::Packet cabBlock (Data::kNameBlockSize);
            Data::encodeName (cabBlock.data(), "4x12 Green " + std::to_string (preset + 1));
            pedal.setBlock (9, preset, cabBlock);
        }

        pedal.setCurrentPreset (4);

        TestSupport::SimulatedPedal::Panel panel;
        panel.knobs = { 64, 128, 200, 96, 160, 32, 220, 128 };
        panel.cabMode = 1;
        pedal.setPanel (panel);
    }

    std::string folder;
    size_t unplugAt = 0;
    bool unplugArmed = false;
    bool silent = false;
    std::mutex mutex;
    mutable std::mutex fileMutex;
    std::string livePath;
    TestSupport::SimulatedPedal pedal;
};

StandIn& standIn()
{
    static StandIn instance;
    return instance;
}
} // namespace

extern "C"
{
int HID_API_EXPORT hid_init() { standIn(); return 0; }
int HID_API_EXPORT hid_exit() { return 0; }

hid_device_info* HID_API_EXPORT hid_enumerate (unsigned short vendorID, unsigned short productID)
{
    return standIn().enumerate (vendorID, productID);
}

void HID_API_EXPORT hid_free_enumeration (hid_device_info* devices)
{
    while (devices != nullptr)
    {
        auto* next = devices->next;
        std::free (devices->path);
        std::free (devices->serial_number);
        std::free (devices->manufacturer_string);
        std::free (devices->product_string);
        std::free (devices);
        devices = next;
    }
}

hid_device* HID_API_EXPORT hid_open_path (const char* path) { return standIn().open (path); }
void HID_API_EXPORT hid_close (hid_device* device) { standIn().close (device); }

int HID_API_EXPORT hid_read_timeout (hid_device* device, unsigned char* data, size_t length, int milliseconds)
{
    return standIn().read (device, data, length, milliseconds);
}

int HID_API_EXPORT hid_read (hid_device* device, unsigned char* data, size_t length)
{
    return standIn().read (device, data, length, -1);
}

int HID_API_EXPORT hid_write (hid_device* device, const unsigned char* data, size_t length)
{
    return standIn().write (device, data, length);
}

const wchar_t* HID_API_EXPORT hid_error (hid_device*) { return L"simulated bus"; }
}
