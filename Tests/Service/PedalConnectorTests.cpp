// SPDX-License-Identifier: GPL-3.0-or-later
#include "PedalConnector.h"

#include "Support/FakeHidApi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
constexpr uint16_t kVendor = 0x04D8;

/** The device manager over a simulated bus, with a connector as its handler
    that records what it hands the service. */
struct Bench
{
    Bench()
        : connector ([this] (Tessarine::TessarineProtocol* protocol) { attached (protocol); }),
          manager (&connector, { { kVendor, 0x003F }, { kVendor, 0x003C } }, bus)
    {
    }

    ~Bench()
    {
        connector.dropConnection();
    }

    /** One timer tick of the application. */
    void poll()
    {
        manager.poll();
        connector.connectWaitingDevice();
    }

    void attached (Tessarine::TessarineProtocol* protocol)
    {
        // What the service sees at the moment it is told.
        auto* connection = connector.getConnection();
        Call call;
        call.protocol = protocol;
        call.connectionAlive = connection != nullptr;
        call.protocolMatches = connection != nullptr && connection->getProtocol() == protocol;

        for (const auto& path : { "hid-1", "hid-2", "hid-3" })
            call.closesSoFar += bus.closeCalls (path);

        calls.push_back (call);
    }

    /** Which bus path the current connection's device was opened from. */
    std::string connectedPath()
    {
        auto* connection = connector.getConnection();

        if (connection == nullptr)
            return {};

        // A write reaches the port of the path the device was opened by.
        const char* paths[] = { "hid-1", "hid-2", "hid-3" };
        size_t before[3];

        for (int i = 0; i < 3; ++i)
            before[i] = bus.writes (paths[i]).size();

        const uint8_t report[] = { 0, 0xAB };
        connection->getDevice()->write (report, sizeof (report));

        for (int i = 0; i < 3; ++i)
            if (bus.writes (paths[i]).size() > before[i])
                return paths[i];

        return "?";
    }

    struct Call
    {
        Tessarine::TessarineProtocol* protocol = nullptr;
        bool connectionAlive = false;
        bool protocolMatches = false;
        int closesSoFar = 0;
    };

    TestSupport::FakeHidApi bus;
    std::vector<Call> calls;
    PedalConnector connector;
    Tessarine::USBDeviceManager manager;
};
} // namespace

TEST (PedalConnector, FirstPedalIsConnectedAndHandedToTheService)
{
    Bench bench;
    bench.bus.plug ("hid-1", kVendor, 0x003F);
    bench.poll();

    ASSERT_EQ (bench.calls.size(), 1u);
    EXPECT_NE (bench.calls[0].protocol, nullptr);
    EXPECT_TRUE (bench.calls[0].protocolMatches);
    EXPECT_EQ (bench.connectedPath(), "hid-1");
    EXPECT_EQ (bench.calls[0].protocol->getVariant(), 1u);
}

TEST (PedalConnector, SecondPedalWaitsAndItsRemovalOnlyClosesIt)
{
    Bench bench;
    bench.bus.plug ("hid-1", kVendor, 0x003F);
    bench.bus.plug ("hid-2", kVendor, 0x003C);
    bench.poll();

    ASSERT_EQ (bench.calls.size(), 1u);
    EXPECT_EQ (bench.connectedPath(), "hid-1"); // the one reported first
    EXPECT_EQ (bench.connector.getWaitingDevices().size(), 1u);
    EXPECT_EQ (bench.bus.openHandles ("hid-2"), 1); // kept open, unused

    bench.bus.unplug ("hid-2");
    bench.poll();

    EXPECT_EQ (bench.calls.size(), 1u); // the service heard nothing
    EXPECT_EQ (bench.bus.closeCalls ("hid-2"), 1);
    EXPECT_TRUE (bench.connector.getWaitingDevices().empty());
    EXPECT_EQ (bench.connectedPath(), "hid-1");
}

TEST (PedalConnector, RemovalDisconnectsTheServiceBeforeDeletingThenCloses)
{
    Bench bench;
    bench.bus.plug ("hid-1", kVendor, 0x003F);
    bench.poll();
    bench.bus.unplug ("hid-1");
    bench.poll();

    ASSERT_EQ (bench.calls.size(), 2u);
    EXPECT_EQ (bench.calls[1].protocol, nullptr);
    EXPECT_TRUE (bench.calls[1].connectionAlive);   // protocol and transport still exist
    EXPECT_EQ (bench.calls[1].closesSoFar, 0);      // the device is closed afterwards
    EXPECT_EQ (bench.connector.getConnection(), nullptr);
    EXPECT_EQ (bench.bus.closeCalls ("hid-1"), 1);
    EXPECT_EQ (bench.manager.getNumDevices(), 0u); // closed, so deleted in the same poll
}

TEST (PedalConnector, QuickReplugBetweenTwoPollsReconnects)
{
    Bench bench;
    bench.bus.plug ("hid-1", kVendor, 0x003F);
    bench.poll();

    // Out and in again within one poll interval: a new path.
    bench.bus.unplug ("hid-1");
    bench.bus.plug ("hid-2", kVendor, 0x003F);
    bench.poll();

    ASSERT_EQ (bench.calls.size(), 3u);
    EXPECT_EQ (bench.calls[1].protocol, nullptr);
    EXPECT_NE (bench.calls[2].protocol, nullptr);
    EXPECT_EQ (bench.calls[2].closesSoFar, 1); // the old device was closed first
    EXPECT_EQ (bench.connectedPath(), "hid-2");
    EXPECT_EQ (bench.bus.openHandles ("hid-1"), 0);
}

TEST (PedalConnector, SecondPedalTakesOverWhenTheFirstGoes)
{
    Bench bench;
    bench.bus.plug ("hid-1", kVendor, 0x003F);
    bench.poll();
    bench.bus.plug ("hid-2", kVendor, 0x003F);
    bench.poll();
    bench.bus.plug ("hid-3", kVendor, 0x003C);
    bench.poll();
    ASSERT_EQ (bench.calls.size(), 1u);

    bench.bus.unplug ("hid-1");
    bench.poll();

    ASSERT_EQ (bench.calls.size(), 3u);
    EXPECT_EQ (bench.connectedPath(), "hid-2"); // the first that waited
    EXPECT_EQ (bench.connector.getWaitingDevices().size(), 1u);

    bench.bus.unplug ("hid-2");
    bench.poll();
    EXPECT_EQ (bench.connectedPath(), "hid-3");
    EXPECT_EQ (bench.calls.size(), 5u);
}

TEST (PedalConnector, DevicesGoneInTheSamePollAreNeverPicked)
{
    Bench bench;
    bench.bus.plug ("hid-1", kVendor, 0x003F);
    bench.bus.plug ("hid-2", kVendor, 0x003F);
    bench.poll();

    // The connected and the waiting pedal both go; a third arrives.
    bench.bus.unplug ("hid-1");
    bench.bus.unplug ("hid-2");
    bench.bus.plug ("hid-3", kVendor, 0x003F);
    bench.poll();

    ASSERT_EQ (bench.calls.size(), 3u);
    EXPECT_EQ (bench.connectedPath(), "hid-3");
    EXPECT_EQ (bench.bus.closeCalls ("hid-2"), 1);
    EXPECT_EQ (bench.bus.openCalls ("hid-2"), 1);
}

TEST (PedalConnector, NoPedalLeftMeansNoConnection)
{
    Bench bench;
    bench.bus.plug ("hid-1", kVendor, 0x003F);
    bench.bus.plug ("hid-2", kVendor, 0x003F);
    bench.poll();
    bench.bus.unplug ("hid-2");
    bench.poll();
    bench.bus.unplug ("hid-1");
    bench.poll();
    bench.poll();

    ASSERT_EQ (bench.calls.size(), 2u);
    EXPECT_EQ (bench.connector.getConnection(), nullptr);
    EXPECT_EQ (bench.manager.getNumDevices(), 0u);
}

TEST (PedalConnector, OtherProductsAreNeverOpened)
{
    Bench bench;
    bench.bus.plug ("hid-1", kVendor, 0x0040);
    bench.poll();

    EXPECT_TRUE (bench.calls.empty());
    EXPECT_EQ (bench.bus.openCalls ("hid-1"), 0);
}

TEST (PedalConnector, DropConnectionDeletesSilentlyForShutdown)
{
    Bench bench;
    bench.bus.plug ("hid-1", kVendor, 0x003F);
    bench.poll();

    bench.connector.dropConnection();

    EXPECT_EQ (bench.calls.size(), 1u);
    EXPECT_EQ (bench.connector.getConnection(), nullptr);
    EXPECT_EQ (bench.bus.closeCalls ("hid-1"), 0); // the manager closes it when deleted
}
