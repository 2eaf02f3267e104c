// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BuiltInAmpModels.h"
#include "Support/ConnectedServiceFixture.h"
#include "FileMenuActions.h"
#include "Support/RecordingActionHost.h"
#include "Support/RecordingErrorPresenter.h"
#include "Support/ScriptedFilePicker.h"
#include "Support/ScriptedMenuRunner.h"
#include "TessarineData.h"
#include "TessarineDataFile.h"

#include <string>
#include <vector>

/** The FILE actions wired to an editor service on the simulated pedal, with
    scripted dialogs and menus, and helpers that make the files a user would
    pick. The last folder is the scratch folder. */
class FileActionFixture : public ConnectedServiceFixture
{
protected:
    FileActionFixture();

    /** Chooses a FILE menu item with the dialog answered by `file`. */
    void runMenuItem (int item, const juce::File& file);

    std::vector<std::string> shownErrors() const { return errors.errors(); }

    //==============================================================================
    // Files as users have them.

    juce::File writePresetFile (const juce::String& name, const Tessarine::TessarineData::FullQuorbelPreset& preset);
    juce::File writeDataFile (const juce::String& name, const Tessarine::TessarineDataFile& file);
    juce::File writeCabinetFile (const juce::String& name, const Tessarine::TessarineData::Cabinet& cabinet);
    juce::File writeFirmwareFile (const juce::String& name, const std::vector<uint8_t>& image);
    juce::File writeBytes (const juce::String& name, const std::string& bytes);

    /** An older unit's ".pre" file with these parameters and name, no cabinet. */
    juce::File writeOlderPresetFile (const juce::String& name, const Tessarine::TessarineData::ParamMap& params);

    static Tessarine::TessarineData::FullQuorbelPreset readPresetFile (const juce::File& file);
    static std::string contentOf (const juce::File& file);

    static uint32_t bitsOf (float value);

    BuiltInAmpModels amps;
    RecordingActionHost host;
    ScriptedFilePicker files;
    ScriptedMenuRunner menus;
    RecordingErrorPresenter errors;
    FileMenuActions actions;
};
