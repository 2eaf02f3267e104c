// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuorbelEditorApplication.h"

#include "MainComponent.h"
#include "OverlayComponent.h"
#include "QuorbelEditorService.h"
#include "ZoomWindow.h"

#include "Support/GuiTestEnvironment.h"
#include "Support/FakeHidApi.h"
#include "Support/LogCapture.h"
#include "Support/PedalConnection.h"
#include "Support/SimulatedPedal.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

namespace
{
using Service = Quorbel::QuorbelEditorService;

/** Starts the application as the framework would, on a simulated bus, with
    its settings in a scratch folder; shuts it down at the end if the test
    has not. */
class ApplicationTest : public ::testing::Test
{
protected:
    ApplicationTest()
    {
        configFolder.createDirectory();
        previousConfig = std::getenv ("XDG_CONFIG_HOME") != nullptr ? std::getenv ("XDG_CONFIG_HOME") : "";
        setenv ("XDG_CONFIG_HOME", configFolder.getFullPathName().toRawUTF8(), 1);

        app = std::make_unique<QuorbelEditorApplication> (bus, juce::String());
        app->initialise ({});
    }

    ~ApplicationTest() override
    {
        if (! shutDown)
            app->shutdown();

        app.reset();

        if (previousConfig.empty())
            unsetenv ("XDG_CONFIG_HOME");
        else
            setenv ("XDG_CONFIG_HOME", previousConfig.c_str(), 1);

        configFolder.deleteRecursively();
    }

    void shutdown()
    {
        app->shutdown();
        shutDown = true;
    }

    Service& service() { return *app->getService(); }

    bool idleAndShown()
    {
        auto* overlay = dynamic_cast<OverlayComponent*> (app->getMainComponent()->findChildWithID ("overlay"));
        return service().getState() == Service::Idle && overlay != nullptr && ! overlay->isVisible();
    }

    /** Puts the simulated pedal behind a bus path: what the editor writes
        there reaches the pedal, and the pedal's answers come back as input. */
    void bridge (const std::string& path)
    {
        bus.setWriteHook (path, [this, path] (const std::vector<uint8_t>& report) {
            const int written = pedal.write (report.data(), report.size());
            uint8_t buffer[64];

            for (int n; (n = pedal.read (buffer, sizeof (buffer), 0)) > 0;)
                bus.queueInput (path, std::vector<uint8_t> (buffer, buffer + n));

            return written;
        });
    }

    TestSupport::FakeHidApi bus;
    TestSupport::SimulatedPedal pedal;
    juce::File configFolder = juce::File::createTempFile ("tq-app-config");
    std::string previousConfig;
    std::unique_ptr<QuorbelEditorApplication> app;
    bool shutDown = false;
};
} // namespace

TEST_F (ApplicationTest, StartsWithTheWindowShownAndNoPedal)
{
    ASSERT_NE (app->getWindow(), nullptr);
    EXPECT_TRUE (app->getWindow()->isVisible());
    EXPECT_EQ (app->getWindow()->getWidth(), 416);
    EXPECT_EQ (app->getWindow()->getHeight(), 593);
    ASSERT_NE (app->getMainComponent(), nullptr);
    EXPECT_EQ (service().getState(), Service::Disconnected);
    EXPECT_EQ (app->getApplicationName(), "Tessaquorbel Editor");
    EXPECT_EQ (app->getApplicationVersion(), "3.3.2.1");
}

TEST_F (ApplicationTest, PedalArrivesIsReadAndLeaves)
{
    bridge ("hid-1");
    bus.plug ("hid-1", 0x04D8, 0x003C);
    app->pollDevices();

    ASSERT_NE (app->getConnector().getConnection(), nullptr);
    ASSERT_TRUE (TestSupport::pumpMessagesUntil ([this] { return idleAndShown(); }, 10000));

    bus.unplug ("hid-1");
    app->pollDevices();

    EXPECT_EQ (app->getConnector().getConnection(), nullptr);
    EXPECT_EQ (service().getState(), Service::Disconnected);
    EXPECT_EQ (bus.closeCalls ("hid-1"), 1);
}

TEST_F (ApplicationTest, ShutdownStopsARunningTaskBeforeTheMainComponentGoes)
{
    // A slow pedal, so the backup below is still running at shut-down.
    pedal.setReplyDelay (std::chrono::milliseconds (3));
    TestSupport::PedalConnection connection (pedal);
    service().connect (&connection.protocol());
    ASSERT_TRUE (TestSupport::pumpMessagesUntil ([this] { return idleAndShown(); }, 10000));

    // Told when the main component is deleted; it then holds the message
    // thread a while, so a task still running would be caught calling in.
    struct DeletionWatch : juce::ComponentListener
    {
        void componentBeingDeleted (juce::Component&) override
        {
            gone = true;
            std::this_thread::sleep_for (std::chrono::milliseconds (1500));
        }

        std::atomic<bool> gone { false };
    } watch;

    auto* main = app->getMainComponent();
    main->addComponentListener (&watch);

    std::atomic<int> progressCalls { 0 };
    std::atomic<int> callsIntoDeadComponent { 0 };

    // What the FILE menu's backup hands the service: callbacks into the
    // main component.
    const auto accepted = service().beginBackup (
        [&, main] (double p) {
            ++progressCalls;

            if (watch.gone)
                ++callsIntoDeadComponent;
            else
                main->onProgress (p);
        },
        [&] (const Tessarine::TessarineData::QuorbelArchive&) {
            if (watch.gone)
                ++callsIntoDeadComponent;
        });
    ASSERT_TRUE (accepted.ok);
    ASSERT_TRUE (TestSupport::pumpMessagesUntil ([&] { return progressCalls >= 2; }, 10000));
    ASSERT_EQ (service().getState(), Service::BackingUp);

    TestSupport::LogCapture log;
    shutdown();

    EXPECT_TRUE (watch.gone);
    EXPECT_EQ (callsIntoDeadComponent.load(), 0);
    EXPECT_EQ (app->getService(), nullptr);
    EXPECT_EQ (app->getWindow(), nullptr);
    EXPECT_TRUE (log.contains ("DEBUG: disconnect"));
}

TEST_F (ApplicationTest, ShutdownSavesTheWindowKeys)
{
    shutdown();

    const auto file = configFolder.getChildFile ("Tessaquorbel Editor/Tessaquorbel Editor.settings");
    ASSERT_TRUE (file.existsAsFile());
    juce::PropertiesFile saved (file, juce::PropertiesFile::Options());
    EXPECT_EQ (saved.getIntValue ("windowWidth"), 416);
    EXPECT_EQ (saved.getIntValue ("windowHeight"), 593);
}
