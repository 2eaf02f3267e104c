// SPDX-License-Identifier: GPL-3.0-or-later
#include "USBDeviceManager.h"
#include "Support/FakeHidApi.h"
#include "Support/Hex.h"
#include "Support/LogCapture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace Tessarine;
using TestSupport::FakeHidApi;
using TestSupport::hex;

namespace
{
constexpr uint16_t kVendor = 0x04D8;
constexpr uint16_t kProductA = 0x003F;
constexpr uint16_t kProductB = 0x003C;

/** Records arrivals and removals as "arrived 003F" / "removed 003C" and keeps
    the arrived devices, optionally closing each one it is told has gone. */
class DeviceEvents : public USBDeviceManager::Handler
{
public:
    bool closeOnRemoval = false;
    std::vector<std::string> events;
    std::vector<IUSBHIDDevice*> arrived;

    void deviceArrived (IUSBHIDDevice* device) override
    {
        events.push_back ("arrived " + name (device));
        arrived.push_back (device);
    }

    void deviceRemoved (IUSBHIDDevice* device) override
    {
        events.push_back ("removed " + name (device));

        if (closeOnRemoval)
            device->close();
    }

    std::vector<std::string> take() { return std::exchange (events, {}); }

private:
    static std::string name (IUSBHIDDevice* device)
    {
        char text[8];
        std::snprintf (text, sizeof (text), "%04X", device->getProductID());
        return text;
    }
};

using Events = std::vector<std::string>;

class USBDeviceManagerTest : public ::testing::Test
{
protected:
    // Declared first so it outlives the manager and can check it closed everything.
    FakeHidApi bus;
    DeviceEvents handler;
    USBDeviceManager manager { &handler, { { kVendor, kProductA }, { kVendor, kProductB } }, bus };
};
} // namespace

//==============================================================================
TEST_F (USBDeviceManagerTest, OpensOnlyEntriesWhoseVendorAndProductBothMatch)
{
    bus.plug ("/dev/hidraw0", kVendor, 0x0001);   // our vendor, another product
    bus.plug ("/dev/hidraw1", 0x1234, kProductA); // our product number, another vendor
    bus.plug ("/dev/hidraw2", kVendor, kProductB);

    manager.poll();

    EXPECT_EQ (handler.take(), (Events { "arrived 003C" }));
    EXPECT_EQ (bus.openCalls ("/dev/hidraw0"), 0);
    EXPECT_EQ (bus.openCalls ("/dev/hidraw1"), 0);
    ASSERT_EQ (handler.arrived.size(), 1u);
    EXPECT_EQ (handler.arrived[0]->getVendorID(), kVendor);
    EXPECT_EQ (handler.arrived[0]->getProductID(), kProductB);
}

TEST_F (USBDeviceManagerTest, FailedOpenIsSilentAndRetriedAtEveryPoll)
{
    TestSupport::LogCapture log;
    bus.plug ("/dev/hidraw0", kVendor, kProductA);
    bus.setOpenFails ("/dev/hidraw0", true);

    manager.poll();
    manager.poll();

    EXPECT_TRUE (handler.take().empty());
    EXPECT_EQ (bus.openCalls ("/dev/hidraw0"), 2);
    EXPECT_TRUE (log.lines().empty());

    bus.setOpenFails ("/dev/hidraw0", false);
    manager.poll();
    manager.poll();

    EXPECT_EQ (handler.take(), (Events { "arrived 003F" }));
    EXPECT_EQ (bus.openCalls ("/dev/hidraw0"), 3); // open devices are not opened again
}

TEST_F (USBDeviceManagerTest, DevicesArriveInEnumerationOrderAndArrivalsPrecedeRemovals)
{
    bus.plug ("/dev/hidraw5", kVendor, kProductB);
    bus.plug ("/dev/hidraw1", kVendor, kProductA);
    manager.poll();
    EXPECT_EQ (handler.take(), (Events { "arrived 003C", "arrived 003F" }));

    // One pedal swapped for another between two polls.
    bus.unplug ("/dev/hidraw5");
    bus.plug ("/dev/hidraw7", kVendor, kProductB);
    manager.poll();
    EXPECT_EQ (handler.take(), (Events { "arrived 003C", "removed 003C" }));
}

TEST_F (USBDeviceManagerTest, DeviceClosedDuringItsRemovalIsDeletedInTheSamePollAndReportedOnce)
{
    handler.closeOnRemoval = true;
    bus.plug ("/dev/hidraw0", kVendor, kProductA);
    manager.poll();
    handler.take();

    bus.unplug ("/dev/hidraw0");
    manager.poll();
    EXPECT_EQ (handler.take(), (Events { "removed 003F" }));
    EXPECT_EQ (manager.getNumDevices(), 0u);

    manager.poll();
    manager.poll();
    EXPECT_TRUE (handler.take().empty());
    EXPECT_EQ (bus.closeCalls ("/dev/hidraw0"), 1);
}

TEST_F (USBDeviceManagerTest, RemovedDeviceLeftOpenIsKeptUntilThePollAfterItIsClosed)
{
    bus.plug ("/dev/hidraw0", kVendor, kProductA);
    manager.poll();
    IUSBHIDDevice* device = handler.arrived.at (0);
    handler.take();

    bus.unplug ("/dev/hidraw0");
    manager.poll();
    manager.poll();
    EXPECT_EQ (handler.take(), (Events { "removed 003F" }));
    EXPECT_EQ (manager.getNumDevices(), 1u);

    // Still a valid object its user can close.
    EXPECT_EQ (device->getProductID(), kProductA);
    device->close();
    EXPECT_EQ (manager.getNumDevices(), 1u);

    manager.poll();
    EXPECT_EQ (manager.getNumDevices(), 0u);
    EXPECT_TRUE (handler.take().empty());
    EXPECT_EQ (bus.closeCalls ("/dev/hidraw0"), 1);
}

TEST_F (USBDeviceManagerTest, RemovedButOpenDeviceWhosePathReturnsIsNeitherReportedNorReopened)
{
    bus.plug ("/dev/hidraw0", kVendor, kProductA);
    manager.poll();
    IUSBHIDDevice* device = handler.arrived.at (0);
    bus.unplug ("/dev/hidraw0");
    manager.poll();
    handler.take();

    bus.plug ("/dev/hidraw0", kVendor, kProductA);
    manager.poll();
    EXPECT_TRUE (handler.take().empty());
    EXPECT_EQ (bus.openCalls ("/dev/hidraw0"), 1);

    // Once its user closes it, the path is a new device and the old object goes.
    device->close();
    manager.poll();
    EXPECT_EQ (handler.take(), (Events { "arrived 003F" }));
    EXPECT_EQ (bus.openCalls ("/dev/hidraw0"), 2);
    EXPECT_EQ (manager.getNumDevices(), 1u);
}

TEST_F (USBDeviceManagerTest, NullEnumerationReportsEveryDeviceRemovedInListOrder)
{
    bus.plug ("/dev/hidraw0", kVendor, kProductA);
    bus.plug ("/dev/hidraw1", kVendor, kProductB);
    manager.poll();
    handler.take();

    bus.setEnumerationFails (true);
    manager.poll();
    EXPECT_EQ (handler.take(), (Events { "removed 003F", "removed 003C" }));
    EXPECT_EQ (bus.unfreedEnumerations(), 0);
}

TEST_F (USBDeviceManagerTest, EntryWithoutPathIsSkipped)
{
    bus.plugWithoutPath (kVendor, kProductA); // the fake fails the test if it is opened
    bus.plug ("/dev/hidraw3", kVendor, kProductB);

    manager.poll();
    manager.poll();

    EXPECT_EQ (handler.take(), (Events { "arrived 003C" }));
    EXPECT_EQ (manager.getNumDevices(), 1u);
}

TEST_F (USBDeviceManagerTest, PathListedTwiceInOneEnumerationIsOneDevice)
{
    handler.closeOnRemoval = true;
    bus.plug ("/dev/hidraw0", kVendor, kProductA);
    bus.plug ("/dev/hidraw0", kVendor, kProductA);

    manager.poll();
    manager.poll();
    EXPECT_EQ (handler.take(), (Events { "arrived 003F" }));
    EXPECT_EQ (bus.openCalls ("/dev/hidraw0"), 1);

    bus.unplug ("/dev/hidraw0");
    manager.poll();
    EXPECT_EQ (handler.take(), (Events { "removed 003F" }));
    EXPECT_EQ (bus.openHandles ("/dev/hidraw0"), 0);
}

TEST_F (USBDeviceManagerTest, DestructorClosesEveryDeviceWithoutReporting)
{
    FakeHidApi ownBus;
    DeviceEvents ownHandler;
    ownBus.plug ("/dev/hidraw0", kVendor, kProductA);
    ownBus.plug ("/dev/hidraw1", kVendor, kProductB);
    {
        USBDeviceManager ownManager (&ownHandler, { { kVendor, kProductA }, { kVendor, kProductB } }, ownBus);
        ownManager.poll();
        ownHandler.take();
        ownBus.unplug ("/dev/hidraw1"); // gone but not yet polled: still not reported
    }

    EXPECT_TRUE (ownHandler.take().empty());
    EXPECT_EQ (ownBus.openHandles ("/dev/hidraw0"), 0);
    EXPECT_EQ (ownBus.openHandles ("/dev/hidraw1"), 0);
}

TEST_F (USBDeviceManagerTest, WorksWithoutHandler)
{
    FakeHidApi ownBus;
    ownBus.plug ("/dev/hidraw0", kVendor, kProductA);
    USBDeviceManager ownManager (nullptr, { { kVendor, kProductA } }, ownBus);

    ownManager.poll();
    EXPECT_EQ (ownManager.getNumDevices(), 1u);

    // Nobody is told, so nobody closes it: it stays owned until the destructor.
    ownBus.unplug ("/dev/hidraw0");
    ownManager.poll();
    EXPECT_EQ (ownManager.getNumDevices(), 1u);
}

//==============================================================================
namespace
{
class HIDDeviceTest : public ::testing::Test
{
protected:
    // Long read waits, so a read stays inside the fake until the test releases it.
    FakeHidApi bus { 5000 };
    std::string path = "/dev/hidraw0";
    std::unique_ptr<USBDeviceManager::HIDDevice> device;

    void SetUp() override
    {
        bus.plug (path, kVendor, kProductB);
        hid_device_info info {};
        info.path = path.data();
        info.vendor_id = kVendor;
        info.product_id = kProductB;
        device = std::make_unique<USBDeviceManager::HIDDevice> (bus.openPath (path.c_str()), info, bus);
    }
};
} // namespace

TEST_F (HIDDeviceTest, WriteReturnsTheCountHidapiReallyWrote)
{
    const uint8_t report[] = { 0x00, 0x01, 0x02, 0x03 };

    EXPECT_EQ (device->write (report, sizeof (report)), 4);
    EXPECT_EQ (hex (bus.writes (path).at (0)), "00 01 02 03");

    bus.setWriteHook (path, [] (const std::vector<uint8_t>&) { return 2; });
    EXPECT_EQ (device->write (report, sizeof (report)), 2);

    bus.setWriteHook (path, [] (const std::vector<uint8_t>&) { return -7; });
    EXPECT_EQ (device->write (report, sizeof (report)), -1);
}

TEST_F (HIDDeviceTest, ReadPassesHidapisResultThrough)
{
    bus.queueInput (path, { 0xCE, 0x0B, 0x01 });
    uint8_t buffer[64] = {};

    EXPECT_EQ (device->read (buffer, sizeof (buffer), 10), 3);
    EXPECT_EQ (hex (buffer, 3), "CE 0B 01");
    EXPECT_EQ (device->read (buffer, sizeof (buffer), 0), 0); // time-out

    bus.unplug (path);
    EXPECT_EQ (device->read (buffer, sizeof (buffer), 0), -1);
}

TEST_F (HIDDeviceTest, ClosedDeviceFailsReadsAndWritesWithoutCallingHidapi)
{
    device->close();
    device->close();

    uint8_t buffer[64];
    EXPECT_EQ (device->read (buffer, sizeof (buffer), 0), -1);
    EXPECT_EQ (device->write (buffer, 2), -1);
    EXPECT_EQ (bus.closeCalls (path), 1);
    EXPECT_TRUE (bus.writes (path).empty());

    hid_device_info info {};
    info.path = path.data();
    EXPECT_FALSE (device->hasPath (info));
}

TEST_F (HIDDeviceTest, HasPathComparesTheWholePath)
{
    hid_device_info info {};
    std::string same = path, longer = path + "0", shorter = "/dev/hidraw";
    info.path = same.data();
    EXPECT_TRUE (device->hasPath (info));
    info.path = longer.data();
    EXPECT_FALSE (device->hasPath (info));
    info.path = shorter.data();
    EXPECT_FALSE (device->hasPath (info));
    info.path = nullptr;
    EXPECT_FALSE (device->hasPath (info));
}

TEST_F (HIDDeviceTest, BlockedReadDoesNotDelayAWrite)
{
    std::thread reader ([this] {
        uint8_t buffer[64];
        EXPECT_EQ (device->read (buffer, sizeof (buffer), 5000), 1);
    });
    ASSERT_TRUE (bus.waitForReadInProgress (path));

    const uint8_t report[] = { 0x00, 0x42 };
    EXPECT_EQ (device->write (report, sizeof (report)), 2);
    EXPECT_TRUE (bus.waitForReadInProgress (path, 0)); // the read is still waiting

    bus.queueInput (path, { 0x01 });
    reader.join();
}

// Closing while another thread is inside a read must not free the handle under
// that read: close waits for it, and the read then ends normally.
TEST_F (HIDDeviceTest, CloseWaitsForAReadInsideHidapi)
{
    int readResult = 0;
    std::thread reader ([&] {
        uint8_t buffer[64];
        readResult = device->read (buffer, sizeof (buffer), 5000);
    });
    ASSERT_TRUE (bus.waitForReadInProgress (path));

    std::atomic<bool> closed { false };
    std::thread closer ([&] {
        device->close();
        closed = true;
    });

    std::this_thread::sleep_for (std::chrono::milliseconds (50));
    EXPECT_FALSE (closed.load());
    EXPECT_EQ (bus.closeCalls (path), 0);

    bus.queueInput (path, { 0xAA, 0xBB });
    reader.join();
    closer.join();

    EXPECT_EQ (readResult, 2);
    EXPECT_EQ (bus.closeCalls (path), 1);

    uint8_t buffer[64];
    EXPECT_EQ (device->read (buffer, sizeof (buffer), 0), -1);
}
