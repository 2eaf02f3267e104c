// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace TestSupport
{

/** Builds the mouse events a control receives, so tests can call its handlers
    directly without a pointer on screen. Positions are in the component's own
    coordinates; the left button is held unless other modifiers are given. */
class SyntheticMouse
{
public:
    static juce::MouseEvent down (juce::Component& target, juce::Point<float> at,
                                  juce::ModifierKeys mods = leftButton());

    /** A drag that started at from and is now at to. */
    static juce::MouseEvent drag (juce::Component& target, juce::Point<float> from, juce::Point<float> to,
                                  juce::ModifierKeys mods = leftButton());

    static juce::MouseEvent up (juce::Component& target, juce::Point<float> from, juce::Point<float> to);

    /** The second release of a double click. */
    static juce::MouseEvent doubleClick (juce::Component& target, juce::Point<float> at);

    static juce::ModifierKeys leftButton() { return juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier); }
    static juce::ModifierKeys leftButtonWithShift()
    {
        return juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier | juce::ModifierKeys::shiftModifier);
    }

private:
    static juce::MouseEvent make (juce::Component& target, juce::Point<float> position, juce::Point<float> downPosition,
                                  juce::ModifierKeys mods, int clicks, bool dragged);
};

} // namespace TestSupport
