// SPDX-License-Identifier: GPL-3.0-or-later
#include "BusySpinner.h"
#include "OverlayComponent.h"

#include "Support/GuiTestEnvironment.h"

#include <gtest/gtest.h>

#include <limits>

namespace
{

/** The overlay over a panel of the editor's size, driven through its interface
    as the status routine drives it. */
class OverlayComponentTest : public ::testing::Test
{
protected:
    void SetUp() override { overlay.setBounds (0, 0, 624, 890); }

    OverlayComponent overlay;
    iStatusDisplay& status = overlay;
};

/** A visible window on the (virtual) screen, for what needs to be showing. */
struct ScreenHost : public juce::Component
{
    explicit ScreenHost (juce::Component& child)
    {
        setBounds (50, 50, child.getWidth(), child.getHeight());
        addAndMakeVisible (child);
        addToDesktop (0);
        setVisible (true);
    }

    ~ScreenHost() override { removeAllChildren(); }
};

} // namespace

//==============================================================================
TEST_F (OverlayComponentTest, SplitsTheTextAtTheFirstNewlineOnly)
{
    status.setStatusText ("Update Complete\nPlease disconnect/reconnect power supply", false);
    EXPECT_EQ (overlay.getFirstLine(), "Update Complete");
    EXPECT_EQ (overlay.getSecondLine(), "Please disconnect/reconnect power supply");

    status.setStatusText ("one\ntwo\nthree", true);
    EXPECT_EQ (overlay.getFirstLine(), "one");
    EXPECT_EQ (overlay.getSecondLine(), "two\nthree");

    status.setStatusText ("Not Connected", false);
    EXPECT_EQ (overlay.getFirstLine(), "Not Connected");
    EXPECT_EQ (overlay.getSecondLine(), "");

    status.setStatusText ("\nonly second", false);
    EXPECT_EQ (overlay.getFirstLine(), "");
    EXPECT_EQ (overlay.getSecondLine(), "only second");
}

TEST_F (OverlayComponentTest, StartsWithHiddenBarAndLeavesItsOwnVisibilityToTheOwner)
{
    EXPECT_FALSE (overlay.getProgressBar().isVisible());
    EXPECT_EQ (overlay.getProgress(), -1.0);
    EXPECT_TRUE (overlay.getSpinner().isVisible());
    EXPECT_FALSE (overlay.isVisible());
    EXPECT_TRUE (overlay.getWantsKeyboardFocus());
    EXPECT_EQ (overlay.line1FontHeight, 24.0f);
    EXPECT_EQ (overlay.line2FontHeight, 12.0f);
}

TEST_F (OverlayComponentTest, BarShowsForZeroAndAboveOnly)
{
    status.setProgress (0.0);
    EXPECT_TRUE (overlay.getProgressBar().isVisible()) << "an empty bar is shown";
    EXPECT_EQ (overlay.getProgress(), 0.0);

    status.setProgress (0.4);
    EXPECT_TRUE (overlay.getProgressBar().isVisible());
    EXPECT_EQ (overlay.getProgress(), 0.4);

    status.setProgress (-1.0);
    EXPECT_FALSE (overlay.getProgressBar().isVisible());

    status.setProgress (0.5);
    status.setProgress (std::numeric_limits<double>::quiet_NaN());
    EXPECT_FALSE (overlay.getProgressBar().isVisible());
}

TEST_F (OverlayComponentTest, SpinnerAndBarSitAroundTheCentre)
{
    EXPECT_EQ (overlay.getSpinner().getBounds(), juce::Rectangle<int> (288, 446, 48, 48));
    EXPECT_EQ (overlay.getProgressBar().getBounds(), juce::Rectangle<int> (162, 421, 300, 10));

    // Odd sizes halve toward zero: the spinner's top is always H/2 + 1.
    overlay.setSize (101, 301);
    EXPECT_EQ (overlay.getSpinner().getBounds(), juce::Rectangle<int> (26, 151, 48, 48));
    EXPECT_EQ (overlay.getProgressBar().getBounds(), juce::Rectangle<int> (-100, 126, 300, 10));
}

TEST_F (OverlayComponentTest, ShowBusyShowsAndHidesTheSpinner)
{
    status.showBusy (false);
    EXPECT_FALSE (overlay.getSpinner().isVisible());
    status.showBusy (true);
    EXPECT_TRUE (overlay.getSpinner().isVisible());
}

TEST_F (OverlayComponentTest, ShowingAsksForTheFocusAtTheNextPaint)
{
    status.show (false);
    EXPECT_FALSE (overlay.isFocusPending());
    EXPECT_FALSE (overlay.isVisible());

    status.show (true);
    EXPECT_TRUE (overlay.isFocusPending());
    EXPECT_TRUE (overlay.isVisible());

    status.show (false);
    EXPECT_TRUE (overlay.isFocusPending()) << "hiding leaves a pending request alone";

    overlay.setVisible (true);
    overlay.createComponentSnapshot (overlay.getLocalBounds());
    EXPECT_TRUE (overlay.isFocusPending()) << "a paint off screen cannot take the focus";
}

TEST_F (OverlayComponentTest, FirstPaintOnScreenTakesTheKeyboardFocus)
{
    ScreenHost host (overlay);
    status.show (true);

    juce::Image target (juce::Image::ARGB, 624, 890, true);
    juce::Graphics g (target);
    overlay.paint (g);

    EXPECT_FALSE (overlay.isFocusPending());
    EXPECT_TRUE (overlay.hasKeyboardFocus (false));

    // Shown again while already visible: asks again.
    status.show (true);
    EXPECT_TRUE (overlay.isFocusPending());
    overlay.paint (g);
    EXPECT_FALSE (overlay.isFocusPending());
}

TEST_F (OverlayComponentTest, PaintsShadeBoxAndBothLines)
{
    overlay.line1FontHeight = 26.0f;
    overlay.line2FontHeight = 20.0f;
    status.setStatusText ("Not Connected\nplug in the pedal", false);
    status.show (true);
    status.showBusy (false);

    const auto image = overlay.createComponentSnapshot (overlay.getLocalBounds());
    const auto shade = image.getPixelAt (5, 5);
    EXPECT_NEAR (shade.getAlpha(), 0xbb, 1);
    EXPECT_NEAR (shade.getRed(), 0x33, 1);

    // Inside the box, away from the text: darker and more opaque than the shade.
    const auto box = image.getPixelAt (312 - 180, 445 + 90);
    EXPECT_GT (box.getAlpha(), shade.getAlpha());
    EXPECT_LT (box.getRed(), shade.getRed());

    auto whiteIn = [&image] (int top, int bottom)
    {
        int count = 0;

        for (int y = top; y < bottom; ++y)
            for (int x = 112; x < 512; ++x)
                if (image.getPixelAt (x, y).getBrightness() > 0.9f)
                    ++count;

        return count;
    };

    // Line 1 is centred 50 pixels below the box top (345), line 2 85 below it.
    EXPECT_GT (whiteIn (383, 408), 30);
    EXPECT_GT (whiteIn (420, 443), 30);
    EXPECT_EQ (whiteIn (345, 375), 0);
}

//==============================================================================
namespace
{

float brightnessAt (BusySpinner& spinner, int x, int y)
{
    return spinner.createComponentSnapshot (spinner.getLocalBounds()).getPixelAt (x, y).getBrightness();
}

} // namespace

TEST (BusySpinnerTest, BrightestSpokePointsUpAndTheTrailFadesBehindIt)
{
    BusySpinner spinner;
    spinner.setSize (48, 48);
    EXPECT_EQ (spinner.getStep(), 0);

    const float top = brightnessAt (spinner, 24, 7);
    const float upperLeft = brightnessAt (spinner, 16, 9);    // one spoke behind the head
    const float upperRight = brightnessAt (spinner, 32, 9);   // the end of the trail

    EXPECT_GT (top, upperLeft);
    EXPECT_GT (upperLeft, upperRight);
    EXPECT_NEAR (upperRight, juce::Colour (0xff555555).getBrightness(), 0.02f);
    EXPECT_NEAR (top, juce::Colour (0xffd3d3d3).getBrightness(), 0.02f);

    EXPECT_FALSE (spinner.isAnimating()) << "not showing, so no timer";
}

TEST (BusySpinnerTest, FillsTheSmallerSideCentred)
{
    BusySpinner spinner;
    spinner.setSize (60, 48);
    const auto image = spinner.createComponentSnapshot (spinner.getLocalBounds());

    // Outer radius 0.95 x 24 around (30, 24): the top spoke ends at y 1.2.
    EXPECT_TRUE (image.getPixelAt (30, 0).isTransparent());
    EXPECT_FALSE (image.getPixelAt (30, 3).isTransparent());
    EXPECT_TRUE (image.getPixelAt (30, 24).isTransparent()) << "the hub is empty";
    EXPECT_TRUE (image.getPixelAt (2, 24).isTransparent()) << "the spare width stays empty";
}

TEST (BusySpinnerTest, AnimatesClockwiseWhileShowingAndStopsWhenHidden)
{
    BusySpinner spinner;
    spinner.setSize (48, 48);
    ScreenHost host (spinner);

    brightnessAt (spinner, 0, 0);   // the first paint starts the animation
    EXPECT_TRUE (spinner.isAnimating());
    ASSERT_TRUE (TestSupport::pumpMessagesUntil ([&] { return spinner.getStep() != 0; }));

    // Render the step just reached: the head has moved one spoke clockwise.
    const int step = spinner.getStep();
    if (step == 1)
    {
        EXPECT_GT (brightnessAt (spinner, 32, 9), brightnessAt (spinner, 24, 7));
    }

    spinner.setVisible (false);
    ASSERT_TRUE (TestSupport::pumpMessagesUntil ([&] { return ! spinner.isAnimating(); }));
    const int stoppedAt = spinner.getStep();

    spinner.setVisible (true);
    EXPECT_EQ (spinner.getStep(), stoppedAt) << "resumes from where it stopped";
}
