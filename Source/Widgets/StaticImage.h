// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** An image stretched over the whole bounds: backgrounds and fixed artwork. */
class StaticImage : public juce::Component
{
public:
    explicit StaticImage (const juce::Image& image);
    ~StaticImage() override;

    /** Shows another image; repaints unless it shares the shown one's pixels. */
    void setImage (const juce::Image& newImage);

    void paint (juce::Graphics&) override;

private:
    juce::Image image;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StaticImage)
};
