// SPDX-License-Identifier: GPL-3.0-or-later
#include "ContentZoom.h"

ContentZoom::ContentZoom (juce::Component* contentToShow)
    : content (contentToShow)
{
    if (content == nullptr)
        return;

    setSize (content->getWidth(), content->getHeight());
    addAndMakeVisible (content);
}

ContentZoom::~ContentZoom() = default;

void ContentZoom::paint (juce::Graphics&)
{
    // The content paints everything; the wrapper itself is invisible.
}

void ContentZoom::resized()
{
    if (content == nullptr)
        return;

    // A content of width 0 would divide by zero; treat it as one pixel wide.
    const double scale = (double) getWidth() / (double) juce::jmax (content->getWidth(), 1);
    content->setTransform (juce::AffineTransform::scale ((float) scale));
}
