// SPDX-License-Identifier: GPL-3.0-or-later
#include "FilmStripKnob.h"

#include "Support/SyntheticMouse.h"
#include "Support/TestImages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using TestSupport::SyntheticMouse;
using TestSupport::TestImages;

namespace
{

/** A knob over the program's strip layout: one column of 99 frames. */
class FilmStripKnobTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        knob.setImage (TestImages::filmStrip (99, 1, 10, 10), 1, 99, -1);
        knob.setBounds (0, 0, 136, 136);
    }

    int shownFrame() const
    {
        const auto position = knob.getFramePosition();
        return position.y / 10 * 1 + position.x / 10;
    }

    /** The colour of the knob's centre pixel as painted. */
    juce::Colour paintedCentre()
    {
        const auto image = knob.createComponentSnapshot (knob.getLocalBounds());
        return image.getPixelAt (knob.getWidth() / 2, knob.getHeight() / 2);
    }

    FilmStripKnob knob;
};

} // namespace

//==============================================================================
TEST_F (FilmStripKnobTest, PicksTheNearestFrameAndClampsOutOfRangeValues)
{
    EXPECT_EQ (knob.getNumFrames(), 99);

    const std::vector<std::pair<double, int>> cases {
        { -0.5, 0 }, { 0.0, 0 }, { 1.0, 98 }, { 7.0, 98 },
        { 0.5, 49 },
        { 1.0 / 98.0, 1 },
        { 0.4 / 98.0, 0 },
        { 0.6 / 98.0, 1 },
        { -std::numeric_limits<double>::infinity(), 0 },
        { std::numeric_limits<double>::infinity(), 98 },
        { std::numeric_limits<double>::quiet_NaN(), 0 },
    };

    for (const auto& [value, frame] : cases)
    {
        knob.setValue (value);
        EXPECT_EQ (shownFrame(), frame) << "value " << value;
    }
}

TEST_F (FilmStripKnobTest, ValueExactlyBetweenTwoFramesShowsTheUpperOne)
{
    // Five frames, so the midpoints are exact binary fractions.
    knob.setImage (TestImages::filmStrip (5, 1, 10, 10), 1, 5, -1);

    for (int frame = 1; frame < 5; ++frame)
    {
        knob.setValue ((frame - 0.5) / 4.0);
        EXPECT_EQ (shownFrame(), frame) << "midpoint below frame " << frame;
    }
}

TEST_F (FilmStripKnobTest, PaintsTheChosenFrameScaledIntoTheBounds)
{
    knob.setValue (0.0);
    EXPECT_EQ (paintedCentre(), TestImages::frameColour (0));

    knob.setValue (0.5);
    EXPECT_EQ (paintedCentre(), TestImages::frameColour (49));

    knob.setValue (1.0);
    EXPECT_EQ (paintedCentre(), TestImages::frameColour (98));
}

TEST_F (FilmStripKnobTest, KeepsTheFrameAspectRatioCentred)
{
    knob.setSize (140, 100);
    knob.setValue (0.0);
    const auto image = knob.createComponentSnapshot (knob.getLocalBounds());

    // Square frames in a 140 x 100 knob: drawn 100 x 100 from x 20.
    EXPECT_TRUE (image.getPixelAt (10, 50).isTransparent());
    EXPECT_EQ (image.getPixelAt (25, 50), TestImages::frameColour (0));
    EXPECT_EQ (image.getPixelAt (114, 50), TestImages::frameColour (0));
    EXPECT_TRUE (image.getPixelAt (130, 50).isTransparent());
}

TEST_F (FilmStripKnobTest, WalksAGridLeftToRightThenDown)
{
    // Three columns, two rows, five frames: the sixth cell is unused.
    knob.setImage (TestImages::filmStrip (5, 3, 10, 20), 3, 2, 5);
    EXPECT_EQ (knob.getNumFrames(), 5);

    knob.setValue (0.25);   // frame 1
    EXPECT_EQ (knob.getFramePosition(), juce::Point<int> (10, 0));

    knob.setValue (0.75);   // frame 3
    EXPECT_EQ (knob.getFramePosition(), juce::Point<int> (0, 20));

    knob.setValue (1.0);    // frame 4
    EXPECT_EQ (knob.getFramePosition(), juce::Point<int> (10, 20));
    EXPECT_EQ (paintedCentre(), TestImages::frameColour (4));
}

TEST_F (FilmStripKnobTest, NewStripKeepsTheValue)
{
    knob.setValue (1.0);
    knob.setImage (TestImages::filmStrip (3, 1, 10, 10), 1, 3, -1);

    EXPECT_EQ (knob.getValue(), 1.0);
    EXPECT_EQ (knob.getFramePosition(), juce::Point<int> (0, 20));
}

TEST_F (FilmStripKnobTest, SingleFrameAlwaysShowsFrameZero)
{
    knob.setImage (TestImages::filmStrip (1, 1, 10, 10), 1, 1, -1);

    for (double value : { 0.0, 0.6, 1.0 })
    {
        knob.setValue (value);
        EXPECT_EQ (knob.getFramePosition(), juce::Point<int> (0, 0));
    }
}

TEST (FilmStripKnobGuardTest, KnobWithoutAUsableStripNeitherDividesByZeroNorPaints)
{
    FilmStripKnob knob;
    knob.setBounds (0, 0, 50, 50);

    // Before any strip: no frame grid to divide by.
    knob.setValue (0.7);
    EXPECT_EQ (knob.getFramePosition(), juce::Point<int> (0, 0));

    // A null image, zero rows and columns, a frame count beyond the grid.
    knob.setImage (juce::Image(), 0, 0, 5);
    knob.setValue (1.0);
    EXPECT_EQ (knob.getNumFrames(), 1);
    EXPECT_TRUE (knob.createComponentSnapshot (knob.getLocalBounds()).getPixelAt (25, 25).isTransparent());

    // Frames narrower than a pixel: more columns than the image is wide.
    knob.setImage (TestImages::solid (juce::Colours::red, 4, 4), 8, 1, -1);
    knob.setValue (1.0);
    EXPECT_TRUE (knob.createComponentSnapshot (knob.getLocalBounds()).getPixelAt (25, 25).isTransparent());

    knob.setImage (TestImages::filmStrip (4, 1, 10, 10), 1, 4, 1000);
    EXPECT_EQ (knob.getNumFrames(), 4) << "no frame past the end of the strip";
    knob.setValue (1.0);
    EXPECT_EQ (knob.getFramePosition(), juce::Point<int> (0, 30));

    knob.setSize (0, 0);
    knob.createComponentSnapshot ({ 0, 0, 1, 1 });
}

//==============================================================================
TEST_F (FilmStripKnobTest, UpwardDragOf200PixelsCoversTheRangeAndReportsEveryStep)
{
    std::vector<double> reported;
    knob.onValueChange = [&] (double v) { reported.push_back (v); };
    knob.setValue (0.0);

    const juce::Point<float> start (60.0f, 120.0f);
    knob.mouseDown (SyntheticMouse::down (knob, start));
    knob.mouseDrag (SyntheticMouse::drag (knob, start, start.translated (0.0f, -50.0f)));
    knob.mouseDrag (SyntheticMouse::drag (knob, start, start.translated (0.0f, -200.0f)));
    knob.mouseDrag (SyntheticMouse::drag (knob, start, start.translated (0.0f, -260.0f)));

    ASSERT_EQ (reported.size(), 3u);
    EXPECT_DOUBLE_EQ (reported[0], 0.25);
    EXPECT_DOUBLE_EQ (reported[1], 1.0);
    EXPECT_DOUBLE_EQ (reported[2], 1.0) << "held at the top, still reported";
    EXPECT_EQ (knob.getValue(), 1.0);
    EXPECT_EQ (knob.getFramePosition(), juce::Point<int> (0, 980));
}

TEST_F (FilmStripKnobTest, DragStartsFromTheValueAtMouseDownAndDownwardLowers)
{
    knob.setValue (0.6);
    double reported = -1.0;
    knob.onValueChange = [&] (double v) { reported = v; };

    const juce::Point<float> start (60.0f, 20.0f);
    knob.mouseDown (SyntheticMouse::down (knob, start));
    knob.mouseDrag (SyntheticMouse::drag (knob, start, start.translated (0.0f, 40.0f)));

    EXPECT_NEAR (reported, 0.4, 1e-12);

    // A value set from outside mid-drag does not move the drag's anchor.
    knob.setValue (0.9);
    knob.mouseDrag (SyntheticMouse::drag (knob, start, start.translated (0.0f, 20.0f)));
    EXPECT_NEAR (reported, 0.5, 1e-12);

    knob.mouseDrag (SyntheticMouse::drag (knob, start, start.translated (0.0f, 500.0f)));
    EXPECT_EQ (reported, 0.0);
}

TEST_F (FilmStripKnobTest, ShiftMakesTheDragFiveTimesFinerForTheWholeMovement)
{
    knob.setValue (0.0);
    double reported = -1.0;
    knob.onValueChange = [&] (double v) { reported = v; };

    const juce::Point<float> start (60.0f, 120.0f);
    knob.mouseDown (SyntheticMouse::down (knob, start));
    knob.mouseDrag (SyntheticMouse::drag (knob, start, start.translated (0.0f, -200.0f), SyntheticMouse::leftButtonWithShift()));
    EXPECT_DOUBLE_EQ (reported, 0.2);

    // Releasing shift rescales everything moved so far, not just what follows.
    knob.mouseDrag (SyntheticMouse::drag (knob, start, start.translated (0.0f, -100.0f)));
    EXPECT_DOUBLE_EQ (reported, 0.5);
}

TEST_F (FilmStripKnobTest, DoubleClickIsReportedAndSetValueIsNot)
{
    int doubleClicks = 0, changes = 0;
    knob.onDoubleClick = [&] { ++doubleClicks; };
    knob.onValueChange = [&] (double) { ++changes; };

    knob.setValue (0.3);
    knob.mouseDoubleClick (SyntheticMouse::doubleClick (knob, { 10.0f, 10.0f }));

    EXPECT_EQ (doubleClicks, 1);
    EXPECT_EQ (changes, 0);
    EXPECT_EQ (knob.getValue(), 0.3) << "the owner resets the value, not the knob";

    FilmStripKnob bare;
    bare.mouseDoubleClick (SyntheticMouse::doubleClick (bare, { 1.0f, 1.0f }));
}
