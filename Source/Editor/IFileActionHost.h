// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QuorbelParamID.h"
#include "QuorbelParamMap.h"

#include <juce_core/juce_core.h>

/** What the FILE actions use of the window they belong to (the main
    component): the remembered folder, the progress display and the one path
    by which the GUI sends a parameter. */
class IFileActionHost
{
public:
    virtual ~IFileActionHost() = default;

    /** The folder a file dialog last used, or a file that does not exist. */
    virtual juce::File getLastDirectory() = 0;

    /** Where a dialog for a file of this name starts. */
    virtual juce::File getDefaultFile (const juce::String& name) = 0;

    /** Remembers the folder of a chosen file. */
    virtual void setLastDirectory (const juce::File& chosen) = 0;

    /** Progress of a backup, restore or firmware update, 0 to 1; called on
        the service's worker thread. */
    virtual void onProgress (double progress) = 0;

    /** Sends one parameter value to the pedal; false after the failure has
        been reported. */
    virtual bool setParameter (QuorbelParamID id, const Quorbel::QuorbelParamMap::ParameterValue& value) = 0;
};
