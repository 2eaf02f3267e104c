// SPDX-License-Identifier: GPL-3.0-or-later
#include "DragBar.h"

DragBar::DragBar() = default;

DragBar::~DragBar() = default;

void DragBar::mouseDown (const juce::MouseEvent& e)
{
    dragger.startDraggingComponent (getTopLevelComponent(), e);
}

void DragBar::mouseDrag (const juce::MouseEvent& e)
{
    // No constrainer: the window may be dragged anywhere.
    dragger.dragComponent (getTopLevelComponent(), e, nullptr);
}
