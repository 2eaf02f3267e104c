// SPDX-License-Identifier: GPL-3.0-or-later
#include "MultiImageButton.h"

MultiImageButton::MultiImageButton (std::vector<juce::Image> newImages)
    : images (std::move (newImages))
{
}

MultiImageButton::~MultiImageButton() = default;

void MultiImageButton::mouseDown (const juce::MouseEvent&)
{
    if (onClick)
        onClick();
}

void MultiImageButton::mouseUp (const juce::MouseEvent&)
{
    // The press already reported the click.
}

void MultiImageButton::paint (juce::Graphics& g)
{
    if (currentIndex < 0 || currentIndex >= (int) images.size())
        return;

    g.drawImageWithin (images[(size_t) currentIndex], 0, 0, getWidth(), getHeight(),
                       juce::RectanglePlacement::fillDestination, false);
}
