// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_graphics/juce_graphics.h>

/** Composes the editor window's three pages from the loaded skin
    (QuorbelSkin) with the widgets' own drawing rules and positions: the
    background, amp knobs, switches, block buttons, top bar, an effect panel,
    the footswitch-assign page and the About page. A preview of the artwork in
    place, not the editor itself.
*/
class SkinPreview
{
public:
    enum class Page { main, about, footswitches };

    /** The page at scale times the window's size. */
    static juce::Image render (Page page, float scale);

private:
    static void drawTopBar (juce::Graphics& g, Page page);
    static void drawAmpSection (juce::Graphics& g);
    static void drawBlockRow (juce::Graphics& g, int selected);
    static void drawEffectPanel (juce::Graphics& g);
    static void drawFootswitchPage (juce::Graphics& g);

    static void drawKnob (juce::Graphics& g, const juce::Image& strip, juce::Rectangle<int> bounds, double value);
    static void drawButton (juce::Graphics& g, const juce::Image& image, juce::Rectangle<int> bounds, const juce::String& text,
                            juce::Colour colour, const juce::Font& font, juce::Justification justification);
    static void drawImageFitted (juce::Graphics& g, const juce::Image& image, juce::Rectangle<int> bounds, juce::RectanglePlacement placement);
    static juce::Image tint (const juce::Image& image, juce::Colour colour);
};
