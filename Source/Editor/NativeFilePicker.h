// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IFilePicker.h"

/** The platform's native file dialog (juce::FileChooser), run modally, with
    file packages not treated as folders. Titles pass through the framework's
    translation lookup. */
class NativeFilePicker : public IFilePicker
{
public:
    juce::File chooseFileToOpen (const juce::String& title, const juce::File& startingPoint,
                                 const juce::String& filter) override;
    juce::File chooseFileToSave (const juce::String& title, const juce::File& startingPoint,
                                 const juce::String& filter) override;
};
