// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_graphics/juce_graphics.h>

/** Icons of the footswitch-assign page: the eight effect blocks, greyed out,
    each with a pictogram and its short name, and the three assignment states
    of a block (not assigned, assigned, inverted) as a stomp button whose lamp
    is dark, lit, or lit only as a ring.
*/
class IconPainter
{
public:
    enum class Block { gate, compressor, boost, amp, equaliser, reverb, echo, cabinet };
    enum class Assignment { none, assigned, inverted };

    static juce::Image paintBlockIcon (Block block, const juce::String& name);   // 56 x 56
    static juce::Image paintAssignment (Assignment assignment);                  // 32 x 32

private:
    static juce::Path pictogram (Block block, juce::Rectangle<float> area);
};
