// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_graphics/juce_graphics.h>

#include <cstdint>

/** Paints any image of the skin by its id (SkinImageTable). */
class SkinArtwork
{
public:
    /** The image for id, or a null image for an unknown id. */
    static juce::Image paint (uint32_t id);
};
