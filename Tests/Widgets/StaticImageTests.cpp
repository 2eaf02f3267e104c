// SPDX-License-Identifier: GPL-3.0-or-later
#include "StaticImage.h"

#include "Support/TestImages.h"

#include <gtest/gtest.h>

using TestSupport::TestImages;

TEST (StaticImageTest, StretchesOverTheWholeBounds)
{
    // Left half red, right half blue: stretched, the halves stay halves.
    auto source = TestImages::solid (juce::Colours::red, 20, 4);
    source.clear ({ 10, 0, 10, 4 }, juce::Colours::blue);

    StaticImage image (source);
    image.setBounds (0, 0, 100, 20);
    const auto painted = image.createComponentSnapshot (image.getLocalBounds());

    EXPECT_EQ (painted.getPixelAt (2, 1), juce::Colours::red);
    EXPECT_EQ (painted.getPixelAt (40, 18), juce::Colours::red);
    EXPECT_EQ (painted.getPixelAt (60, 1), juce::Colours::blue);
    EXPECT_EQ (painted.getPixelAt (97, 18), juce::Colours::blue);
}

TEST (StaticImageTest, NullImageOrNoAreaDrawsNothing)
{
    StaticImage empty { juce::Image() };
    empty.setBounds (0, 0, 10, 10);
    EXPECT_TRUE (empty.createComponentSnapshot (empty.getLocalBounds()).getPixelAt (5, 5).isTransparent());

    StaticImage flat (TestImages::solid (juce::Colours::red));
    flat.setBounds (0, 0, 10, 0);
    juce::Image target (juce::Image::ARGB, 10, 10, true);
    juce::Graphics g (target);
    flat.paint (g);
    EXPECT_TRUE (target.getPixelAt (5, 5).isTransparent());
}
