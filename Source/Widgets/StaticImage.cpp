// SPDX-License-Identifier: GPL-3.0-or-later
#include "StaticImage.h"

StaticImage::StaticImage (const juce::Image& imageToShow)
    : image (imageToShow)
{
}

StaticImage::~StaticImage() = default;

void StaticImage::setImage (const juce::Image& newImage)
{
    if (newImage == image)
        return;

    image = newImage;
    repaint();
}

void StaticImage::paint (juce::Graphics& g)
{
    // Stretching into nothing would need a singular transform.
    if (getWidth() <= 0 || getHeight() <= 0)
        return;

    g.drawImage (image, getLocalBounds().toFloat(), juce::RectanglePlacement::stretchToFit, false);
}
