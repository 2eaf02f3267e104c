// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/TestImages.h"

namespace TestSupport
{

juce::Image TestImages::solid (juce::Colour colour, int width, int height)
{
    juce::Image image (juce::Image::ARGB, width, height, true);
    image.clear (image.getBounds(), colour);
    return image;
}

juce::Image TestImages::filmStrip (int frameCount, int columns, int frameWidth, int frameHeight)
{
    const int rows = (frameCount + columns - 1) / columns;
    juce::Image image (juce::Image::ARGB, columns * frameWidth, rows * frameHeight, true);

    for (int frame = 0; frame < frameCount; ++frame)
        image.clear ({ (frame % columns) * frameWidth, (frame / columns) * frameHeight, frameWidth, frameHeight },
                     frameColour (frame));

    return image;
}

juce::Colour TestImages::frameColour (int frame)
{
    return juce::Colour::fromRGB ((juce::uint8) (frame * 2), (juce::uint8) (255 - frame * 2), (juce::uint8) (frame % 2 ? 40 : 200));
}

std::vector<uint8_t> TestImages::pngFile (const juce::Image& image)
{
    juce::MemoryOutputStream stream;

    if (! juce::PNGImageFormat().writeImageToStream (image, stream))
        return {};

    const auto* data = static_cast<const uint8_t*> (stream.getData());
    return std::vector<uint8_t> (data, data + stream.getDataSize());
}

} // namespace TestSupport
