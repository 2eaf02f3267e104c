// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_graphics/juce_graphics.h>

/** The skin's controls other than knobs, each at the logical size the editor
    draws it: the three-position toggle switch, the round window buttons, the
    page buttons, the readout box with its arrows, the effect-block buttons,
    the red signal line, the scroll bar and the store/recall/clear outlines.

    Where the editor draws text over an image (block buttons, readout), the
    image leaves the middle plain so the text stays readable.
*/
class ControlPainter
{
public:
    enum class SwitchPosition { up, centre, down };
    enum class WindowGlyph { close, maximise, minimise };
    enum class Lamp { off, half, on };

    static juce::Image paintToggleSwitch (SwitchPosition position);                   // 40 x 104
    static juce::Image paintWindowButton (WindowGlyph glyph, bool on);                // 36 x 36
    static juce::Image paintPillButton (const juce::String& caption, bool on);        // 100 x 24
    static juce::Image paintReadoutArrow (bool pointsLeft, bool on);                  // 20 x 26
    static juce::Image paintBlockButton (bool on);                                    // 66 x 66
    static juce::Image paintReadout();                                                // 274 x 52
    static juce::Image paintRedLine();                                                // 566 x 4
    static juce::Image paintScrollBar();                                              // 8 x 296
    static juce::Image paintOutline (const juce::String& caption, Lamp lamp);         // 100 x 36
};
