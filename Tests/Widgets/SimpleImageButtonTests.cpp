// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimpleImageButton.h"
#include "SimpleLabel.h"
#include "SimpleTextButton.h"

#include "Support/SyntheticMouse.h"
#include "Support/TestImages.h"

#include <gtest/gtest.h>

#include <string>

using TestSupport::SyntheticMouse;
using TestSupport::TestImages;

namespace
{

const auto kNormal = juce::Colour (0xff204080);
const auto kDown = juce::Colour (0xffe0a020);

class SimpleImageButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        button.setBounds (0, 0, 40, 20);
        button.onClick = [this] { events += "click "; };
        button.onDoubleClick = [this] { events += "double "; };
    }

    juce::Colour centre() { return button.createComponentSnapshot (button.getLocalBounds()).getPixelAt (20, 10); }

    void press() { button.mouseDown (SyntheticMouse::down (button, { 5.0f, 5.0f })); }
    void release (juce::Point<float> at = { 5.0f, 5.0f }) { button.mouseUp (SyntheticMouse::up (button, { 5.0f, 5.0f }, at)); }

    SimpleImageButton button { TestImages::solid (kNormal), TestImages::solid (kDown) };
    std::string events;
};

/** How many pixels of image are mostly the given colour: enough to tell which
    colour a caption was drawn in. */
int pixelsNear (const juce::Image& image, juce::Colour colour)
{
    int count = 0;

    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
        {
            const auto pixel = image.getPixelAt (x, y);

            if (pixel.getAlpha() > 200
                && std::abs (pixel.getRed() - colour.getRed()) < 40
                && std::abs (pixel.getGreen() - colour.getGreen()) < 40
                && std::abs (pixel.getBlue() - colour.getBlue()) < 40)
                ++count;
        }

    return count;
}

bool isBlank (const juce::Image& image)
{
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (! image.getPixelAt (x, y).isTransparent())
                return false;

    return true;
}

} // namespace

//==============================================================================
TEST_F (SimpleImageButtonTest, ShowsThePressAndClicksOnRelease)
{
    EXPECT_EQ (centre(), kNormal);

    press();
    EXPECT_TRUE (button.isPressed);
    EXPECT_EQ (centre(), kDown);
    EXPECT_EQ (events, "") << "nothing reported on the press";

    release();
    EXPECT_FALSE (button.isPressed);
    EXPECT_EQ (centre(), kNormal) << "a click does not change the shown state";
    EXPECT_EQ (events, "click ");
}

TEST_F (SimpleImageButtonTest, ReleaseAnywhereClicksButOnlyAfterAPress)
{
    release();
    EXPECT_EQ (events, "") << "a release without a press";

    press();
    release ({ 300.0f, -50.0f });
    EXPECT_EQ (events, "click ") << "released far outside the button";
}

TEST_F (SimpleImageButtonTest, DoubleClickArrivesAfterTwoClicks)
{
    press();
    release();
    press();
    release();
    button.mouseDoubleClick (SyntheticMouse::doubleClick (button, { 5.0f, 5.0f }));

    EXPECT_EQ (events, "click click double ");
}

TEST_F (SimpleImageButtonTest, IsOnShowsDownAndPressedStateCanBeSuppressed)
{
    button.isOn = true;
    EXPECT_EQ (centre(), kDown);

    button.isOn = false;
    button.showsPressedState = false;
    press();
    EXPECT_EQ (centre(), kNormal) << "pressed, but drawn normal";
    release();
    EXPECT_EQ (events, "click ");
}

TEST_F (SimpleImageButtonTest, CallbacksAreOptional)
{
    SimpleImageButton bare (TestImages::solid (kNormal));
    bare.setBounds (0, 0, 10, 10);
    bare.mouseDown (SyntheticMouse::down (bare, { 1.0f, 1.0f }));
    bare.mouseUp (SyntheticMouse::up (bare, { 1.0f, 1.0f }, { 1.0f, 1.0f }));
    bare.mouseDoubleClick (SyntheticMouse::doubleClick (bare, { 1.0f, 1.0f }));

    // The one-image form uses it for both states.
    bare.isOn = true;
    EXPECT_EQ (bare.createComponentSnapshot (bare.getLocalBounds()).getPixelAt (5, 5), kNormal);
}

//==============================================================================
TEST (SimpleTextButtonTest, CaptionIsDrawnInTheColourOfTheState)
{
    SimpleTextButton button ("FILE");
    button.setBounds (0, 0, 120, 40);
    button.setFont (juce::Font (30.0f));
    button.setTextColours (juce::Colours::red, juce::Colours::lime);

    EXPECT_EQ (button.text, "FILE");
    EXPECT_TRUE (button.normalImage.isNull());
    EXPECT_TRUE (button.downImage.isNull());

    auto image = button.createComponentSnapshot (button.getLocalBounds());
    EXPECT_GT (pixelsNear (image, juce::Colours::red), 20);
    EXPECT_EQ (pixelsNear (image, juce::Colours::lime), 0);

    button.isOn = true;
    image = button.createComponentSnapshot (button.getLocalBounds());
    EXPECT_EQ (pixelsNear (image, juce::Colours::red), 0);
    EXPECT_GT (pixelsNear (image, juce::Colours::lime), 20);
}

TEST (SimpleTextButtonTest, EmptyCaptionDrawsNothing)
{
    SimpleTextButton button ("");
    button.setBounds (0, 0, 60, 20);
    button.setTextColour (juce::Colours::white);
    button.isOn = true;

    EXPECT_TRUE (isBlank (button.createComponentSnapshot (button.getLocalBounds())));
}

TEST (SimpleLabelTest, OneColourForBothStates)
{
    SimpleLabel label ("Editor Version");
    label.setBounds (0, 0, 200, 30);
    label.setFont (juce::Font (20.0f));
    label.setTextColour (juce::Colours::red);

    EXPECT_EQ (label.textColour, juce::Colours::red);
    EXPECT_EQ (label.textColourOn, juce::Colours::red);
    EXPECT_FALSE (label.onClick);

    label.mouseDown (SyntheticMouse::down (label, { 3.0f, 3.0f }));
    EXPECT_GT (pixelsNear (label.createComponentSnapshot (label.getLocalBounds()), juce::Colours::red), 20);
    label.mouseUp (SyntheticMouse::up (label, { 3.0f, 3.0f }, { 3.0f, 3.0f }));
}
