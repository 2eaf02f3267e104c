// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_graphics/juce_graphics.h>

/** Fine grain for painted metal: long, faint horizontal streaks like brushed
    aluminium, or an even speckle for powder-coated parts. Works on the pixels
    of an area of an image, so it is applied after the surface is filled and
    before anything is drawn on top of it. Deterministic for a given seed, so
    every build paints the same skin.
*/
class SurfaceTexture
{
public:
    /** Brushed streaks: each row varies in brightness along its length.
        area is in logical coordinates; strength is the largest brightness
        change (0.05 is subtle). */
    static void brush (juce::Image& image, juce::Rectangle<float> area, float strength, int seed);

    /** Speckle: every pixel varies a little on its own. */
    static void speckle (juce::Image& image, juce::Rectangle<float> area, float strength, int seed);
};
