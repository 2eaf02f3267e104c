// SPDX-License-Identifier: GPL-3.0-or-later
#include "MultiToggleSwitch.h"

#include "Support/SyntheticMouse.h"
#include "Support/TestImages.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using TestSupport::SyntheticMouse;
using TestSupport::TestImages;

namespace
{

const juce::Colour kColours[] { juce::Colours::red, juce::Colours::green, juce::Colours::blue };

std::vector<MultiToggleSwitch::Segment> threeSegments (float w0 = 1.0f, float w1 = 1.0f, float w2 = 1.0f)
{
    return { { TestImages::solid (kColours[0]), w0 },
             { TestImages::solid (kColours[1]), w1 },
             { TestImages::solid (kColours[2]), w2 } };
}

/** A three-position switch 104 pixels high that records what it reports. */
class MultiToggleSwitchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        toggle.setBounds (0, 0, 30, 104);
        toggle.onChange = [this] (int index) { reported.push_back (index); };
    }

    void pressAt (int y) { toggle.mouseDown (SyntheticMouse::down (toggle, { 10.0f, (float) y })); }

    MultiToggleSwitch toggle { threeSegments() };
    std::vector<int> reported;
};

} // namespace

//==============================================================================
TEST_F (MultiToggleSwitchTest, SegmentEndsAreTruncatedCumulatively)
{
    // [0, 34), [34, 68), [68, 102): 102 and 103 belong to no segment.
    const std::vector<std::pair<int, int>> cases {
        { -1, -1 }, { 0, 0 }, { 33, 0 }, { 34, 1 }, { 67, 1 }, { 68, 2 }, { 101, 2 }, { 102, -1 }, { 103, -1 }, { 104, -1 }
    };

    for (const auto& [y, segment] : cases)
        EXPECT_EQ (toggle.segmentAt (y), segment) << "y " << y;
}

TEST_F (MultiToggleSwitchTest, ClickReportsTheSegmentUnderThePointerWithoutMoving)
{
    pressAt (50);
    pressAt (90);
    pressAt (10);   // the position already shown
    pressAt (103);  // below the last segment

    EXPECT_EQ (reported, (std::vector<int> { 1, 2 }));
    EXPECT_EQ (toggle.currentIndex, 0) << "the owner moves the switch";
}

TEST_F (MultiToggleSwitchTest, DragPicksAtTheMouseDownPointPlusTheDistance)
{
    const juce::Point<float> start (10.0f, 20.0f);
    toggle.mouseDown (SyntheticMouse::down (toggle, start));
    toggle.mouseDrag (SyntheticMouse::drag (toggle, start, { 10.0f, 40.0f }));
    toggle.mouseDrag (SyntheticMouse::drag (toggle, start, { 10.0f, 45.0f }));
    toggle.mouseDrag (SyntheticMouse::drag (toggle, start, { 10.0f, 70.0f }));

    // Every event over a new segment reports again while the owner has not
    // yet moved the switch.
    EXPECT_EQ (reported, (std::vector<int> { 1, 1, 2 }));

    toggle.currentIndex = 2;
    toggle.mouseDrag (SyntheticMouse::drag (toggle, start, { 10.0f, 80.0f }));
    EXPECT_EQ (reported.size(), 3u);
}

TEST_F (MultiToggleSwitchTest, WeightsShareTheHeight)
{
    MultiToggleSwitch weighted (threeSegments (1.0f, 2.0f, 1.0f));
    weighted.setBounds (0, 0, 30, 100);

    EXPECT_EQ (weighted.segmentAt (24), 0);
    EXPECT_EQ (weighted.segmentAt (25), 1);
    EXPECT_EQ (weighted.segmentAt (74), 1);
    EXPECT_EQ (weighted.segmentAt (75), 2);
    EXPECT_EQ (weighted.segmentAt (99), 2);
}

TEST_F (MultiToggleSwitchTest, WeightsThatAddUpToNothingPickNothing)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const auto& weights : { std::vector<float> { 0.0f, 0.0f, 0.0f },
                                 std::vector<float> { 1.0f, -1.0f, 0.0f },
                                 std::vector<float> { 1.0f, nan, 1.0f } })
    {
        MultiToggleSwitch degenerate (threeSegments (weights[0], weights[1], weights[2]));
        degenerate.setBounds (0, 0, 30, 104);
        int calls = 0;
        degenerate.onChange = [&] (int) { ++calls; };

        for (int y = 0; y < 104; y += 13)
            degenerate.mouseDown (SyntheticMouse::down (degenerate, { 5.0f, (float) y }));

        EXPECT_EQ (calls, 0);
    }
}

TEST_F (MultiToggleSwitchTest, HugeWeightsStillShareTheHeight)
{
    const float huge = std::numeric_limits<float>::max();
    MultiToggleSwitch heavy (threeSegments (huge, huge, huge));
    heavy.setBounds (0, 0, 30, 104);

    EXPECT_EQ (heavy.segmentAt (33), 0);
    EXPECT_EQ (heavy.segmentAt (34), 1);
    EXPECT_EQ (heavy.segmentAt (101), 2);
}

TEST_F (MultiToggleSwitchTest, WithoutACallbackOrSegmentsTheMouseIsIgnored)
{
    MultiToggleSwitch empty ({});
    empty.setBounds (0, 0, 30, 104);
    empty.mouseDown (SyntheticMouse::down (empty, { 5.0f, 5.0f }));
    EXPECT_EQ (empty.segmentAt (5), -1);

    toggle.onChange = nullptr;
    pressAt (90);
    EXPECT_TRUE (reported.empty());
}

TEST_F (MultiToggleSwitchTest, PaintsTheCurrentSegmentFittedAndNothingOutOfRange)
{
    toggle.setSize (30, 30);

    for (int index = 0; index < 3; ++index)
    {
        toggle.currentIndex = index;
        EXPECT_EQ (toggle.createComponentSnapshot (toggle.getLocalBounds()).getPixelAt (15, 15), kColours[index]);
    }

    for (int index : { -1, 3 })
    {
        toggle.currentIndex = index;
        EXPECT_TRUE (toggle.createComponentSnapshot (toggle.getLocalBounds()).getPixelAt (15, 15).isTransparent());
    }
}

TEST_F (MultiToggleSwitchTest, FittedImageKeepsItsAspectRatio)
{
    // A square image in a tall switch is centred with empty bands above and below.
    toggle.setSize (30, 104);
    const auto image = toggle.createComponentSnapshot (toggle.getLocalBounds());

    EXPECT_TRUE (image.getPixelAt (15, 5).isTransparent());
    EXPECT_EQ (image.getPixelAt (15, 52), kColours[0]);
    EXPECT_TRUE (image.getPixelAt (15, 100).isTransparent());
}
