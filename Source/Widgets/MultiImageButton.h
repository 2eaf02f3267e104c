// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <vector>

/** A button that shows one of several images, chosen by its owner. It reports
    a press at once, on mouse down. */
class MultiImageButton : public juce::Component
{
public:
    explicit MultiImageButton (std::vector<juce::Image> images);
    ~MultiImageButton() override;

    void mouseDown (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;

    std::function<void()> onClick;

    /** The image shown; set by the owner. */
    int currentIndex = 0;

private:
    std::vector<juce::Image> images;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MultiImageButton)
};
