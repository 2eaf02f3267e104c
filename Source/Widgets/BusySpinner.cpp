// SPDX-License-Identifier: GPL-3.0-or-later
#include "BusySpinner.h"

BusySpinner::BusySpinner() = default;

BusySpinner::~BusySpinner()
{
    stopTimer();
}

void BusySpinner::paint (juce::Graphics& g)
{
    // The unit circle fills the component.
    const float scale = (float) (juce::jmin (getWidth(), getHeight()) / 2);
    g.addTransform (juce::AffineTransform::scale (scale)
                        .translated ((float) (getWidth() / 2), (float) (getHeight() / 2)));

    for (int i = 0; i < spokes; ++i)
    {
        // k = 0 is the brightest spoke; the ones after it fade towards the trail.
        const int k = (step + i) % spokes;
        const float t = (float) (spokes - 1 - k) / (float) (spokes - 1);
        const double angle = i * -2.0 * juce::MathConstants<double>::pi / spokes;

        juce::Graphics::ScopedSaveState state (g);
        g.setColour (trailColour.interpolatedWith (headColour, t));
        g.addTransform (juce::AffineTransform::rotation ((float) angle));
        g.fillRoundedRectangle (-spokeHalfWidth, -outerRadius,
                                2.0f * spokeHalfWidth, outerRadius - innerRadius,
                                spokeHalfWidth);
    }

    // Started from here rather than on becoming visible: a spinner that is
    // never painted never needs to tick.
    if (isShowing() && ! isTimerRunning())
        startTimer (interval);
}

void BusySpinner::timerCallback()
{
    if (! isShowing())
    {
        stopTimer();
        return;
    }

    step = (step + 1) % spokes;
    repaint();
}
