// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** A value readout the user can type into: a double click opens the editor,
    Return commits, Escape or losing focus discards.

    A committed text goes to the validator, which sends it on and says whether it
    was accepted; refused text is replaced by the last text shown. Whoever shows
    a new value sets lastText first and then the label's text without
    notification.
*/
class SimpleEditLabel : public juce::Label
{
public:
    SimpleEditLabel();
    ~SimpleEditLabel() override;

    /** Colours the text and everything of the editor (outline, selection,
        caret) in c. */
    void setTextColour (juce::Colour c);

    std::function<bool (const juce::String&)> validator;
    juce::String lastText;

protected:
    void textWasEdited() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SimpleEditLabel)
};
