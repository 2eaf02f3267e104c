// SPDX-License-Identifier: GPL-3.0-or-later
#include "QuorbelEditorApplication.h"

#include "EditorConfig.h"
#include "MainComponent.h"
#include "QuorbelEditorService.h"
#include "QuorbelSkin.h"
#include "ResourceFile.h"
#include "SettingsLocation.h"
#include "ZoomWindow.h"

#include "Result.h"

#include <hidapi.h>

QuorbelEditorApplication::QuorbelEditorApplication (Tessarine::HidApi& hidApi, juce::String host)
    : hid (hidApi),
      updateHost (std::move (host)),
      updateCheck ([this] { triggerAsyncUpdate(); }),
      connector ([this] (Tessarine::TessarineProtocol* protocol) {
          // The result of connect is not used: the service shows its own state.
          if (service == nullptr)
              return;

          if (protocol != nullptr)
              service->connect (protocol);
          else
              service->disconnect();
      })
{
}

QuorbelEditorApplication::~QuorbelEditorApplication()
{
    // After a normal shutdown nothing is left; otherwise the same safe order,
    // since the main component needs the service while it goes.
    releaseAll();
}

juce::String QuorbelEditorApplication::defaultUpdateHost() { return TQ_UPDATE_HOST; }
juce::String QuorbelEditorApplication::supportPage() { return TQ_SUPPORT_PAGE; }

//==============================================================================
void QuorbelEditorApplication::initialise (const juce::String&)
{
    settings.reset (SettingsLocation::createSettings());

    QuorbelSkin::load (ResourceFile::openSkinReader (juce::File::getSpecialLocation (juce::File::currentExecutableFile)));

    hid_init();

    Tessarine::USBDeviceManager::Handler* handler = this;
    deviceManager = std::make_unique<Tessarine::USBDeviceManager> (
        handler, std::vector<Tessarine::USBDeviceManager::DeviceSpec> { { 0x04D8, 0x003F }, { 0x04D8, 0x003C } }, hid);

    Tessarine::TessarineData::FirmwareVersionInfo required;
    required.system = { 0, 0, 0, 0 };
    required.dsp = { 0, 3, 3, 0 };
    service = std::make_unique<Quorbel::QuorbelEditorService> (&required);

    mainComponent = new MainComponent (settings.get(), service.get());

    window = std::make_unique<ZoomWindow> ("Tessaquorbel Editor", settings.get(), mainComponent,
                                           juce::Colour (0xFF000000), 416, 593, 312, 445);

    mainComponent->onZoom = [this] {
        if (window != nullptr)
            window->toggleZoom();
    };
    mainComponent->onMinimise = [this] {
        if (window != nullptr)
            window->minimise();
    };

    window->setVisible (true);
    startTimer (kPollIntervalMs);
    startUpdateCheck();
}

void QuorbelEditorApplication::shutdown()
{
    releaseAll();
    hid_exit();
    juce::Logger::setCurrentLogger (nullptr);
    QuorbelSkin::release();
}

void QuorbelEditorApplication::releaseAll()
{
    // From here on a late update check drops its result.
    updateCheck.close();
    stopTimer();

    // No task may call a progress or completion callback into the main
    // component once it is gone: the service detaches and joins its worker
    // before the window goes. The running task stops at its next device call
    // (a writing one once its preset is written), so the window closes within
    // about a second plus the call in progress.
    if (service != nullptr)
        service->shutdown();

    // The window saves its keys and deletes the main component, which stops
    // listening to the service first.
    window.reset();
    mainComponent = nullptr;

    service.reset();
    connector.dropConnection();
    deviceManager.reset();

    if (settings != nullptr)
        settings->saveIfNeeded();

    settings.reset();
}

//==============================================================================
void QuorbelEditorApplication::deviceArrived (Tessarine::IUSBHIDDevice* device)
{
    connector.deviceArrived (device);
}

void QuorbelEditorApplication::deviceRemoved (Tessarine::IUSBHIDDevice* device)
{
    connector.deviceRemoved (device);
}

void QuorbelEditorApplication::timerCallback()
{
    pollDevices();
}

void QuorbelEditorApplication::pollDevices()
{
    if (deviceManager == nullptr)
        return;

    deviceManager->poll();
    // A pedal that arrived while another was connected takes over once the
    // poll has reported every removal.
    connector.connectWaitingDevice();
}

//==============================================================================
void QuorbelEditorApplication::startUpdateCheck()
{
    updateCheck.start (updateHost);
}

void QuorbelEditorApplication::handleAsyncUpdate()
{
    if (! updateCheck.takeNewerVersionFlag())
        return;

    juce::AlertWindow alert ("Update",
                             "A new version of Tessaquorbel Editor is available.\n"
                             "Please visit the Bravik Amps website for more information:",
                             juce::MessageBoxIconType::NoIcon, nullptr);

    const auto page = supportPage();
    juce::HyperlinkButton link (page, juce::URL (page));
    link.setBounds (0, 0, 400, 28);

    if (page.isNotEmpty())
        alert.addCustomComponent (&link);

    alert.addButton ("OK", 1, juce::KeyPress (juce::KeyPress::returnKey));
    alert.runModalLoop();
}
