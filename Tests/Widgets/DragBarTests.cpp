// SPDX-License-Identifier: GPL-3.0-or-later
#include "DragBar.h"

#include "Support/SyntheticMouse.h"

#include <gtest/gtest.h>

using TestSupport::SyntheticMouse;

TEST (DragBarTest, DraggingTheBarMovesItsTopLevelComponentWithoutLimits)
{
    juce::Component window, panel;
    DragBar bar;
    window.setBounds (100, 50, 400, 300);
    panel.setBounds (10, 10, 380, 280);
    bar.setBounds (20, 0, 300, 30);
    window.addChildComponent (panel);
    panel.addChildComponent (bar);

    const juce::Point<float> grab (50.0f, 10.0f);
    bar.mouseDown (SyntheticMouse::down (bar, grab));
    bar.mouseDrag (SyntheticMouse::drag (bar, grab, grab.translated (30.0f, -20.0f)));

    EXPECT_EQ (window.getBounds(), juce::Rectangle<int> (130, 30, 400, 300));
    EXPECT_EQ (bar.getBounds(), juce::Rectangle<int> (20, 0, 300, 30)) << "the bar stays where it is in the window";

    // The window followed the pointer, so the pointer is over the grab point
    // again; a further move carries the window along, far off any screen.
    bar.mouseDrag (SyntheticMouse::drag (bar, grab, grab.translated (-5000.0f, 40.0f)));
    EXPECT_EQ (window.getPosition(), juce::Point<int> (-4870, 70));

    panel.removeChildComponent (&bar);
    window.removeChildComponent (&panel);
}
