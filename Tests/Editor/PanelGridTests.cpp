// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelGrid.h"
#include "QuorbelParamMap.h"

#include <gtest/gtest.h>

using Quorbel::FXPanelLayouts;
using Quorbel::PanelGrid;
using Quorbel::QuorbelParamMap;

TEST (PanelGrid, ColumnsAreTruncatedMultiplesOf141)
{
    EXPECT_EQ (PanelGrid::columnX (0.0), 0);
    EXPECT_EQ (PanelGrid::columnX (1.0), 141);
    EXPECT_EQ (PanelGrid::columnX (2.5), 352);
    EXPECT_EQ (PanelGrid::columnX (3.0), 423);
    EXPECT_EQ (PanelGrid::columnX (-0.5), -70); // toward zero, not down

    EXPECT_EQ (PanelGrid::namedValueX (1.0), 0);
    EXPECT_EQ (PanelGrid::namedValueX (0.5), -70);

    // A named value's readout starts 5 pixels left of its own column.
    EXPECT_EQ (PanelGrid::readout (PanelGrid::namedValueX (1.0), 0).getX(), PanelGrid::columnX (1.0) - 5);
}

TEST (PanelGrid, PanelHeightsFollowFromTheirRows)
{
    const auto height = [] (uint32_t index) { return PanelGrid::layoutHeight (*FXPanelLayouts::getLayout (index)); };

    // The short panels fill the 296-pixel viewport exactly; the others scroll.
    EXPECT_EQ (height (QuorbelParamMap::AMP), 296);
    EXPECT_EQ (height (QuorbelParamMap::CAB), 296);
    EXPECT_EQ (height (QuorbelParamMap::BST), 296);
    EXPECT_EQ (height (FXPanelLayouts::globalsIndex), 296);
    EXPECT_EQ (height (QuorbelParamMap::GTE), 235);
    EXPECT_EQ (height (QuorbelParamMap::REV), 472);
    EXPECT_EQ (height (QuorbelParamMap::CMP), 472);
    EXPECT_EQ (height (QuorbelParamMap::ECO), 533);
    EXPECT_EQ (height (QuorbelParamMap::EQ), 1184);
}

TEST (PanelGrid, EmptyRowsAndSpacersAddNoHeight)
{
    FXPanelLayouts::Item spacer;
    FXPanelLayouts::Item knob;
    knob.kind = FXPanelLayouts::KNOB;
    FXPanelLayouts::Item unknown;
    unknown.kind = 42;

    EXPECT_EQ (PanelGrid::layoutHeight ({}), 0);
    EXPECT_EQ (PanelGrid::layoutHeight ({ {}, { spacer }, {}, { unknown } }), 0);
    EXPECT_EQ (PanelGrid::layoutHeight ({ { spacer, knob }, {}, { knob } }), 352);
}
