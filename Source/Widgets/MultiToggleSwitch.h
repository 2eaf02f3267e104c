// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <vector>

/** A switch of several positions stacked from top to bottom, each with its own
    image and share of the height. A click or drag over a position reports it;
    the owner moves the switch by setting currentIndex.
*/
class MultiToggleSwitch : public juce::Component
{
public:
    struct Segment
    {
        juce::Image image;
        float weight = 1.0f;
    };

    explicit MultiToggleSwitch (std::vector<Segment> segments);
    ~MultiToggleSwitch() override;

    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;

    /** The position at y in this component's coordinates, or -1 when y lies in
        none (above the top, below the last segment, or no usable weights). */
    int segmentAt (int y) const;

    std::function<void (int)> onChange;

    /** The position shown; set by the owner. */
    int currentIndex = 0;

private:
    void pickAt (int y);

    std::vector<Segment> segments;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MultiToggleSwitch)
};
