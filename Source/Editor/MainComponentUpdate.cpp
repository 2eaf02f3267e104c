// SPDX-License-Identifier: GPL-3.0-or-later
//
// MainComponent's asynchronous update: what the service's threads record, and
// how the message thread brings the widgets up to date from it.

#include "MainComponent.h"

#include "MultiToggleSwitch.h"
#include "OverlayComponent.h"
#include "SimpleImageButton.h"
#include "SimpleLabel.h"
#include "SimpleTextButton.h"
#include "TruncateToInt.h"

//==============================================================================
void MainComponent::onProgress (double newProgress)
{
    {
        std::lock_guard<std::mutex> lock (updateMutex);
        progress = newProgress;
        dirtyFlags |= dirtyStatus;
    }
    triggerAsyncUpdate();
}

void MainComponent::postUpdate (const std::function<void()>& call)
{
    {
        std::lock_guard<std::mutex> lock (updateMutex);
        queuedCalls.push_back (call);
    }
    triggerAsyncUpdate();
}

void MainComponent::bindParameter (std::multimap<QuorbelParamID, ParameterBinding>& bindings, QuorbelParamID id,
                                   ParameterBinding binding)
{
    // multimap::insert puts equal keys after the existing ones.
    const auto it = bindings.insert ({ id, std::move (binding) });

    ParameterValue current { Quorbel::kindInteger, 0.0 };
    service->getParameterValue (id, current);
    it->second (current);
}

void MainComponent::handleAsyncUpdate()
{
    if (statusUpdater)
        statusUpdater();

    std::vector<std::function<void()>> calls;
    {
        std::lock_guard<std::mutex> lock (updateMutex);
        calls.swap (queuedCalls);
    }

    // Calls queued while these run wait for the next update.
    for (auto& call : calls)
        call();
}

//==============================================================================
void MainComponent::applyStatus()
{
    uint32_t flags = 0;
    std::map<QuorbelParamID, ParameterValue> values;
    double progressNow = 0.0;
    {
        std::lock_guard<std::mutex> lock (updateMutex);
        flags = dirtyFlags;
        dirtyFlags = 0;
        values.swap (pendingValues);
        progressNow = progress;
    }

    if ((flags & dirtyStatus) != 0)
    {
        const auto state = static_cast<int> (service->getState());
        const auto look = statusFor (state, state == Service::Error ? service->getLastError() : std::string());

        // While a firmware update is required the FILE caption shows white,
        // pointing at the menu that offers it.
        if (state == Service::FirmwareUpdateRequired)
            fileButton->setTextColours (juce::Colour (0xffeeeeee), juce::Colour (0xffeeeeee));
        else
            fileButton->setTextColours (juce::Colour (0xff333333), juce::Colour (0xffeeeeee));

        iStatusDisplay& display = *overlay;
        display.show (look.text.isNotEmpty());
        display.setStatusText (look.text, look.isError);
        display.showBusy (look.busy);
        display.setProgress (look.showsProgress ? progressNow : -1.0);
    }

    if ((flags & dirtyAbout) != 0)
    {
        Tessarine::TessarineData::FirmwareVersionInfo info;
        const bool known = service->getFirmwareVersionInfo (info);
        aboutText->text = aboutTextFor (known, info);
        aboutText->repaint();
    }

    if ((flags & dirtyNames) != 0)
    {
        if (ampNameReadout != nullptr)
        {
            ampNameReadout->text = juce::String::fromUTF8 (service->getCurrentAmpName().c_str());
            ampNameReadout->repaint();
        }

        if (cabNameReadout != nullptr)
        {
            cabNameReadout->text = juce::String::fromUTF8 (service->getCurrentCabName().c_str());
            cabNameReadout->repaint();
        }
    }

    if ((flags & dirtyBlocks) != 0)
    {
        const double footswitch = readValue (paramLiveFootswitch);

        for (auto& [id, blockSwitch] : blockSwitches)
        {
            const auto& block = blockInfo (id);
            blockSwitch->isOn = blockIsLit (readValue (block.assignParam), readValue (block.enableParam), footswitch);
            blockSwitch->repaint();
        }

        for (int i = 0; i < 8; ++i)
        {
            const auto id = kDisplayOrder[i];
            blockSwitches[id]->setBounds (blockSwitchBounds (i, static_cast<int> (id) == selectedBlock));
        }

        updatePageButtons();
    }

    if ((flags & dirtyPresets) != 0)
    {
        const int preset = service->getCurrentPresetIndex();

        if (preset >= 0)
        {
            const auto [a, b] = presetSwitchPositions (preset);
            presetSwitches[0]->currentIndex = a;
            presetSwitches[1]->currentIndex = b;
            presetSwitches[0]->repaint();
            presetSwitches[1]->repaint();
        }
    }

    deliverValues (flags, values);
}

void MainComponent::deliverValues (uint32_t flags, std::map<QuorbelParamID, ParameterValue>& values)
{
    if ((flags & dirtyAllValues) != 0)
    {
        // A full re-read supersedes the pending values.
        for (auto* bindings : { &mainBindings, &panelBindings })
        {
            for (auto& [id, binding] : *bindings)
            {
                ParameterValue current { Quorbel::kindInteger, 0.0 };
                service->getParameterValue (id, current);
                binding (current);
            }
        }

        const int position = cabModePosition (service->getCabMode());

        if (position >= 0)
        {
            presetSwitches[2]->currentIndex = position;
            presetSwitches[2]->repaint();
        }

        return;
    }

    for (const auto& [id, value] : values)
    {
        for (auto* bindings : { &mainBindings, &panelBindings })
        {
            const auto range = bindings->equal_range (id);

            for (auto it = range.first; it != range.second; ++it)
                it->second (value);
        }
    }
}

//==============================================================================
MainComponent::StatusLook MainComponent::statusFor (int state, const std::string& lastError)
{
    switch (state)
    {
        case Service::Disconnected:           return { "Not Connected", false, false, false };
        case Service::Idle:                   return {};
        case Service::Busy:                   return { "Busy", true, false, false };
        case Service::Refreshing:             return { "Refreshing...", true, false, false };
        case Service::Sending:                return { "Sending...", true, false, false };
        case Service::Receiving:              return { "Receiving...", true, false, false };
        case Service::Restoring:              return { "Sending...", true, true, false };
        case Service::BackingUp:              return { "Receiving...", true, true, false };
        case Service::UpdatingFirmware:       return { "Updating FW...", true, true, false };
        case Service::WaitingForReconnect:    return { "Update Complete\nPlease disconnect/reconnect power supply", false, false, false };
        case Service::FirmwareUpdateRequired: return { "Firmware update required\nSelect 'Update Firmware' from the file menu", false, false, false };
        case Service::Error:                  return { "Error:\n" + juce::String::fromUTF8 (lastError.c_str()), false, false, true };
        default:                              return {};
    }
}

juce::String MainComponent::versionToString (const uint8_t bytes[4])
{
    juce::String text;
    text << static_cast<int> (bytes[0]) << "." << static_cast<int> (bytes[1]) << "." << static_cast<int> (bytes[2]);

    if (bytes[3] != 0)
        text << "." << static_cast<int> (bytes[3]);

    return text;
}

juce::String MainComponent::aboutTextFor (bool versionKnown, const Tessarine::TessarineData::FirmwareVersionInfo& info)
{
    juce::String text = juce::String ("Editor Version: ") + kEditorVersion + "\n";

    if (versionKnown)
        text << "Firmware Version: " << versionToString (info.dsp.data()) << "\n";
    else
        text << "Firmware Version: (unknown)\n";

    return text;
}
