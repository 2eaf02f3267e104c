// SPDX-License-Identifier: GPL-3.0-or-later
#include "SurfaceTexture.h"

#include "SkinStyle.h"

#include <vector>

namespace
{
juce::Rectangle<int> pixelArea (const juce::Image& image, juce::Rectangle<float> area)
{
    return area.transformedBy (SkinStyle::toPixels (image)).getSmallestIntegerContainer().getIntersection (image.getBounds());
}

void shade (juce::Image::BitmapData& pixels, int x, int y, float amount)
{
    auto colour = pixels.getPixelColour (x, y);

    if (colour.getAlpha() == 0)
        return;

    auto adjust = [amount] (juce::uint8 c) { return (juce::uint8) juce::jlimit (0, 255, juce::roundToInt ((float) c * (1.0f + amount) + amount * 10.0f)); };
    pixels.setPixelColour (x, y, juce::Colour (adjust (colour.getRed()), adjust (colour.getGreen()), adjust (colour.getBlue()), colour.getAlpha()));
}
} // namespace

void SurfaceTexture::brush (juce::Image& image, juce::Rectangle<float> area, float strength, int seed)
{
    const auto region = pixelArea (image, area);

    if (region.isEmpty())
        return;

    juce::Random random (seed);
    juce::Image::BitmapData pixels (image, region.getX(), region.getY(), region.getWidth(), region.getHeight(),
                                    juce::Image::BitmapData::readWrite);

    const int width = region.getWidth();
    const int streak = 28;
    std::vector<float> noise ((size_t) (width + streak));
    std::vector<float> row ((size_t) width);

    for (int y = 0; y < region.getHeight(); ++y)
    {
        for (auto& n : noise)
            n = random.nextFloat() * 2.0f - 1.0f;

        // A running mean turns white noise into streaks along the row.
        float sum = 0.0f;

        for (int i = 0; i < streak; ++i)
            sum += noise[(size_t) i];

        const float rowTone = (random.nextFloat() * 2.0f - 1.0f) * 0.35f;

        for (int x = 0; x < width; ++x)
        {
            row[(size_t) x] = sum / (float) streak * 2.2f + rowTone + (random.nextFloat() * 2.0f - 1.0f) * 0.15f;
            sum += noise[(size_t) (x + streak)] - noise[(size_t) x];
        }

        for (int x = 0; x < width; ++x)
            shade (pixels, x, y, juce::jlimit (-1.0f, 1.0f, row[(size_t) x]) * strength);
    }
}

void SurfaceTexture::speckle (juce::Image& image, juce::Rectangle<float> area, float strength, int seed)
{
    const auto region = pixelArea (image, area);

    if (region.isEmpty())
        return;

    juce::Random random (seed);
    juce::Image::BitmapData pixels (image, region.getX(), region.getY(), region.getWidth(), region.getHeight(),
                                    juce::Image::BitmapData::readWrite);

    for (int y = 0; y < region.getHeight(); ++y)
        for (int x = 0; x < region.getWidth(); ++x)
            shade (pixels, x, y, (random.nextFloat() * 2.0f - 1.0f) * strength);
}
