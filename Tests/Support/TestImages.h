// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_graphics/juce_graphics.h>

#include <cstdint>
#include <vector>

namespace TestSupport
{

/** Small images drawn in code for widget tests: every frame or image a colour
    of its own, so a rendered pixel tells which one was drawn. */
class TestImages
{
public:
    static juce::Image solid (juce::Colour colour, int width = 8, int height = 8);

    /** A film strip of frameCount frames of frameWidth x frameHeight on a grid
        of columns; frame i is filled with frameColour (i). */
    static juce::Image filmStrip (int frameCount, int columns, int frameWidth, int frameHeight);

    static juce::Colour frameColour (int frame);

    /** The image as a PNG file, written by the framework. */
    static std::vector<uint8_t> pngFile (const juce::Image& image);
};

} // namespace TestSupport
