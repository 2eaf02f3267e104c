// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_graphics/juce_graphics.h>

/** The two knob film strips: one column of frames, the pointer turning
    through 270 degrees from the first frame (seven-thirty) to the last
    (four-thirty), with a lit arc that follows it.

    The large amp knob is a knurled black skirt under a spun-metal cap inside a
    ring of scale marks. The effect knob is smaller and sits in the upper part
    of its frame: the effect panel lays its value field over the lower part,
    so the frame carries a recessed window there for the value.
*/
class KnobFilmPainter
{
public:
    /** Logical frame sizes (the frames are square). */
    static constexpr int kLargeFrame = 136;
    static constexpr int kEffectFrame = 146;

    static juce::Image paintLargeDialFilm (int frames);
    static juce::Image paintEffectDialFilm (int frames);

    /** The pointer angle of frame i of n, in radians clockwise from twelve
        o'clock. */
    static float angleForFrame (int frame, int frames);

    /** One frame of each knob, for the strip or for a preview. */
    static void paintLargeDial (juce::Graphics& g, juce::Point<float> centre, float angle, float norm);
    static void paintEffectDial (juce::Graphics& g, juce::Point<float> centre, float angle, float norm);
};
