// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BackgroundUpdateCheck.h"
#include "DeviceConnection.h"
#include "HidApi.h"
#include "PedalConnector.h"
#include "USBDeviceManager.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class MainComponent;
class ZoomWindow;

namespace Quorbel
{
class QuorbelEditorService;
}

/** The editor's application object. It starts and stops everything in a fixed
    order (settings, skin, hidapi, device manager, service, main component and
    window), polls for pedals once a second, keeps exactly one pedal
    connected, and once per start asks the maker's web server whether a newer
    editor exists.

    The connection policy lives in PedalConnector; the update check runs in a
    BackgroundUpdateCheck, whose thread never touches the application itself.
*/
class QuorbelEditorApplication : public juce::JUCEApplication,
                                 private juce::Timer,
                                 private Tessarine::USBDeviceManager::Handler,
                                 private juce::AsyncUpdater
{
public:
    using DeviceConnection = ::DeviceConnection;

    static constexpr int kPollIntervalMs = 1000;

    /** The program uses the defaults; tests hand in a simulated bus and a
        host of their own. */
    explicit QuorbelEditorApplication (Tessarine::HidApi& hid = Tessarine::HidApi::system(),
                                       juce::String updateHost = defaultUpdateHost());
    ~QuorbelEditorApplication() override;

    const juce::String getApplicationName() override { return "Tessaquorbel Editor"; }
    const juce::String getApplicationVersion() override { return "3.3.2.1"; }
    bool moreThanOneInstanceAllowed() override { return false; }

    void initialise (const juce::String& commandLine) override;
    void shutdown() override;
    void anotherInstanceStarted (const juce::String&) override {}
    void systemRequestedQuit() override { quit(); }

    /** The build's update host (empty: no check) and support page. */
    static juce::String defaultUpdateHost();
    static juce::String supportPage();

    //==============================================================================
    // For tests and the window hooks.
    Quorbel::QuorbelEditorService* getService() const { return service.get(); }
    MainComponent* getMainComponent() const { return mainComponent; }
    ZoomWindow* getWindow() const { return window.get(); }
    const PedalConnector& getConnector() const { return connector; }

    /** One poll of the device manager, as the timer does it. */
    void pollDevices();

private:
    void deviceArrived (Tessarine::IUSBHIDDevice* device) override;
    void deviceRemoved (Tessarine::IUSBHIDDevice* device) override;
    void timerCallback() override;
    void handleAsyncUpdate() override;

    void startUpdateCheck();

    /** Shut-down's part that releases what the application owns; idempotent. */
    void releaseAll();

    Tessarine::HidApi& hid;
    const juce::String updateHost;
    BackgroundUpdateCheck updateCheck;
    std::unique_ptr<ZoomWindow> window;
    std::unique_ptr<Tessarine::USBDeviceManager> deviceManager;
    PedalConnector connector;
    std::unique_ptr<juce::PropertiesFile> settings;
    MainComponent* mainComponent = nullptr;
    std::unique_ptr<Quorbel::QuorbelEditorService> service;

    JUCE_DECLARE_NON_COPYABLE (QuorbelEditorApplication)
};
