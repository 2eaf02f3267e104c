// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** A rotary control drawn from a film strip: one image holding every frame of
    the knob, laid out left to right, then top to bottom.

    The knob is the one control that moves itself: a vertical drag changes its
    value at once and reports each step through onValueChange. Its owner maps
    parameter values into the knob's 0..1 range and calls setValue when the
    pedal reports a value.
*/
class FilmStripKnob : public virtual juce::Component
{
public:
    FilmStripKnob();

    void paint (juce::Graphics&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseDoubleClick (const juce::MouseEvent&) override;
    ~FilmStripKnob() override;

    /** Uses image as the film strip. A negative frameCount means every cell of
        the grid is a frame. Keeps the current value and shows its frame. */
    void setImage (const juce::Image& image, int framesPerRow, int rows, int frameCount);

    /** Shows v without reporting it. */
    void setValue (double v);

    double getValue() const noexcept { return value; }
    int getNumFrames() const noexcept { return numFrames; }

    /** Top-left corner of the shown frame inside the film strip. */
    juce::Point<int> getFramePosition() const noexcept { return { frameX, frameY }; }

    std::function<void (double)> onValueChange;
    std::function<void()> onDoubleClick;

private:
    double normalised (double v) const;

    juce::Image filmStrip;
    double value = 0.0;
    double dragStartPosition = 0.0;
    int dragPixels = 200;
    int fineDragPixels = 1000;
    double minValue = 0.0;
    double maxValue = 1.0;
    int framesPerRow = 0;
    int numFrames = 0;
    int frameWidth = 0;
    int frameHeight = 0;
    int frameX = 0;
    int frameY = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FilmStripKnob)
};
