// SPDX-License-Identifier: GPL-3.0-or-later
#include "MultiImageButton.h"

#include "Support/SyntheticMouse.h"
#include "Support/TestImages.h"

#include <gtest/gtest.h>

using TestSupport::SyntheticMouse;
using TestSupport::TestImages;

TEST (MultiImageButtonTest, ReportsOnPressNotOnReleaseAndKeepsItsImage)
{
    MultiImageButton button ({ TestImages::solid (juce::Colours::red), TestImages::solid (juce::Colours::blue) });
    button.setBounds (0, 0, 20, 20);
    int clicks = 0;
    button.onClick = [&] { ++clicks; };

    button.mouseDown (SyntheticMouse::down (button, { 2.0f, 2.0f }));
    EXPECT_EQ (clicks, 1);
    button.mouseUp (SyntheticMouse::up (button, { 2.0f, 2.0f }, { 2.0f, 2.0f }));
    EXPECT_EQ (clicks, 1);
    EXPECT_EQ (button.currentIndex, 0) << "the owner picks the image";

    MultiImageButton bare ({});
    bare.mouseDown (SyntheticMouse::down (bare, { 0.0f, 0.0f }));
}

TEST (MultiImageButtonTest, PaintsTheImageAtTheIndexFillingTheBounds)
{
    MultiImageButton button ({ TestImages::solid (juce::Colours::red, 8, 8), TestImages::solid (juce::Colours::blue, 8, 8) });
    button.setBounds (0, 0, 40, 10);

    // fillDestination covers the whole wide button with the square image.
    button.currentIndex = 1;
    const auto image = button.createComponentSnapshot (button.getLocalBounds());
    EXPECT_EQ (image.getPixelAt (1, 1), juce::Colours::blue);
    EXPECT_EQ (image.getPixelAt (38, 8), juce::Colours::blue);

    for (int index : { -1, 2 })
    {
        button.currentIndex = index;
        EXPECT_TRUE (button.createComponentSnapshot (button.getLocalBounds()).getPixelAt (20, 5).isTransparent());
    }
}
