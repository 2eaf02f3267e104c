// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** An invisible strip that moves the whole window when dragged: the window has
    no native title bar to drag it by. */
class DragBar : public juce::Component
{
public:
    DragBar();
    ~DragBar() override;

    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;

private:
    juce::ComponentDragger dragger;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DragBar)
};
