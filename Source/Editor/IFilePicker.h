// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

/** Asks the user for a file. The file actions go through it so that tests can
    pick files without a modal dialog. A cancelled dialog returns a default
    juce::File (an empty path). Filters are wildcard lists such as
    "*.tqp;*.pre". */
class IFilePicker
{
public:
    virtual ~IFilePicker() = default;

    virtual juce::File chooseFileToOpen (const juce::String& title, const juce::File& startingPoint,
                                         const juce::String& filter) = 0;

    /** Warns before an existing file is overwritten. */
    virtual juce::File chooseFileToSave (const juce::String& title, const juce::File& startingPoint,
                                         const juce::String& filter) = 0;
};
