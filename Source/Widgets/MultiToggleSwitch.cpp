// SPDX-License-Identifier: GPL-3.0-or-later
#include "MultiToggleSwitch.h"

#include <cmath>

MultiToggleSwitch::MultiToggleSwitch (std::vector<Segment> newSegments)
    : segments (std::move (newSegments))
{
}

MultiToggleSwitch::~MultiToggleSwitch() = default;

//==============================================================================
void MultiToggleSwitch::mouseDown (const juce::MouseEvent& e)
{
    pickAt (e.getMouseDownY());
}

void MultiToggleSwitch::mouseDrag (const juce::MouseEvent& e)
{
    pickAt (e.getMouseDownY() + e.getDistanceFromDragStartY());
}

void MultiToggleSwitch::pickAt (int y)
{
    if (segments.empty() || ! onChange)
        return;

    const int picked = segmentAt (y);

    // currentIndex stays as it is: the owner sets it once the pedal reports the
    // new position, so until then every drag event over a new segment reports again.
    if (picked >= 0 && picked != currentIndex)
        onChange (picked);
}

int MultiToggleSwitch::segmentAt (int y) const
{
    double total = 0.0;

    for (const auto& segment : segments)
        total += segment.weight;

    // Weights that add up to nothing (or to nonsense) give no segment any height.
    if (! (total > 0.0) || ! std::isfinite (total))
        return -1;

    // Each end is truncated after adding the previous end, so rounding losses
    // add up towards the bottom; the boundaries stay doubles to keep absurd
    // weights from overflowing an int.
    double start = 0.0;

    for (size_t i = 0; i < segments.size(); ++i)
    {
        const double end = std::trunc (segments[i].weight / total * getHeight() + start);

        if (start <= y && y < end)
            return (int) i;

        start = end;
    }

    return -1;
}

void MultiToggleSwitch::paint (juce::Graphics& g)
{
    if (currentIndex < 0 || currentIndex >= (int) segments.size())
        return;

    g.drawImageWithin (segments[(size_t) currentIndex].image, 0, 0, getWidth(), getHeight(),
                       juce::RectanglePlacement (0), false);
}
