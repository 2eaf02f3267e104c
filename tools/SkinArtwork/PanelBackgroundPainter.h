// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_graphics/juce_graphics.h>

/** The window's two backgrounds (the 624 x 890 panel at the skin's scale): a
    dark enclosure with a gunmetal top bar for the page and window buttons,
    the amp faceplate around the eight knobs and three switches with their
    legends, the row the block buttons sit in, and the screen the effect
    panels scroll in. The About background shows the editor's name and a
    column for the version text in the screen instead.

    Positions follow where the main component places its widgets.
*/
class PanelBackgroundPainter
{
public:
    static constexpr int kWidth = 624;
    static constexpr int kHeight = 890;

    static juce::Image paintMain();
    static juce::Image paintAbout();

    /** Top-left corner of amp knob (column, row), 136 x 136. */
    static juce::Point<int> ampKnobPosition (int column, int row);

    /** Bounds of preset switch i (0..2), 40 x 104. */
    static juce::Rectangle<int> switchBounds (int index);

    /** The effect panel's viewport. */
    static juce::Rectangle<int> viewportBounds();

private:
    static juce::Image paintEnclosure();
    static void paintScreen (juce::Graphics& g);
    static void paintBrand (juce::Graphics& g, juce::Rectangle<float> area, float height);
};
