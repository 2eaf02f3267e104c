// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A ring of spokes whose brightest spoke walks clockwise, one spoke every
    100 ms, while the spinner is showing. The animation stops by itself within
    one tick of being hidden and resumes from the same spoke on the next paint. */
class BusySpinner : public juce::Component,
                    private juce::Timer
{
public:
    BusySpinner();
    ~BusySpinner() override;

    void paint (juce::Graphics&) override;

    /** The brightest spoke, counted clockwise from the top. */
    int getStep() const noexcept { return step; }

    bool isAnimating() const noexcept { return isTimerRunning(); }

private:
    void timerCallback() override;

    int step = 0;
    juce::Colour trailColour { juce::Colour (0xff555555).withAlpha (0.7f) };
    juce::Colour headColour { juce::Colour (0xffd3d3d3).withAlpha (0.7f) };
    int spokes = 12;
    float innerRadius = 0.45f;
    float outerRadius = 0.95f;
    float spokeHalfWidth = 0.1f;
    int interval = 100;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BusySpinner)
};
