// SPDX-License-Identifier: GPL-3.0-or-later
#include "NativeFilePicker.h"

#include <juce_gui_basics/juce_gui_basics.h>

juce::File NativeFilePicker::chooseFileToOpen (const juce::String& title, const juce::File& startingPoint,
                                               const juce::String& filter)
{
    juce::FileChooser chooser (juce::translate (title), startingPoint, filter, true, false);
    return chooser.browseForFileToOpen (nullptr) ? chooser.getResult() : juce::File();
}

juce::File NativeFilePicker::chooseFileToSave (const juce::String& title, const juce::File& startingPoint,
                                               const juce::String& filter)
{
    juce::FileChooser chooser (juce::translate (title), startingPoint, filter, true, false);
    return chooser.browseForFileToSave (true) ? chooser.getResult() : juce::File();
}
