// SPDX-License-Identifier: GPL-3.0-or-later
// PNG decoding for the skin: every colour type libpng can hand us ends up as
// the framework's 8-bit pixels, and damaged files give null images, never a
// crash.
#include "PngDecoder.h"

#include "Support/TestImages.h"

#include <gtest/gtest.h>

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

using TestSupport::TestImages;

namespace
{
constexpr uint64_t kNoLimit = 1u << 24;

struct PngLayout
{
    int width, height, bitDepth, colourType;
    bool interlaced;
    std::vector<uint8_t> rows;           // packed rows as libpng expects them
    std::vector<png_color> palette;      // colour type 3
    std::vector<uint8_t> transparency;   // tRNS entries, for palette files
};

void appendToVector (png_structp png, png_bytep data, size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*> (png_get_io_ptr (png));
    out->insert (out->end(), data, data + length);
}

void flushNothing (png_structp) {}

// Writes a PNG with libpng itself, for the file kinds the framework's writer
// never makes (grey, palette, 16-bit, interlaced).
std::vector<uint8_t> encode (const PngLayout& layout)
{
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct (PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct (png);

    if (setjmp (png_jmpbuf (png)))
    {
        png_destroy_write_struct (&png, &info);
        ADD_FAILURE() << "libpng could not write the test file";
        return {};
    }

    png_set_write_fn (png, &out, appendToVector, flushNothing);
    png_set_IHDR (png, info, (png_uint_32) layout.width, (png_uint_32) layout.height, layout.bitDepth, layout.colourType,
                  layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);

    if (! layout.palette.empty())
        png_set_PLTE (png, info, layout.palette.data(), (int) layout.palette.size());

    if (! layout.transparency.empty())
        png_set_tRNS (png, info, layout.transparency.data(), (int) layout.transparency.size(), nullptr);

    png_write_info (png, info);

    const size_t stride = layout.rows.size() / (size_t) layout.height;
    std::vector<png_bytep> rows;

    for (int y = 0; y < layout.height; ++y)
        rows.push_back (const_cast<png_bytep> (layout.rows.data() + stride * (size_t) y));

    png_write_image (png, rows.data());
    png_write_end (png, nullptr);
    png_destroy_write_struct (&png, &info);
    return out;
}

juce::Image decode (const std::vector<uint8_t>& bytes, uint64_t limit = kNoLimit)
{
    return PngDecoder::decode (bytes.data(), bytes.size(), limit);
}

std::vector<uint8_t> smallRgbaFile()
{
    juce::Image image (juce::Image::ARGB, 5, 4, true);
    image.setPixelAt (1, 1, juce::Colour (0x80ff0000));
    image.setPixelAt (4, 3, juce::Colours::cyan);
    return TestImages::pngFile (image);
}

// Every stored pixel of a and b alike (formats and sizes included).
bool samePixels (const juce::Image& a, const juce::Image& b)
{
    if (a.getFormat() != b.getFormat() || a.getBounds() != b.getBounds())
        return false;

    const juce::Image::BitmapData pa (a, juce::Image::BitmapData::readOnly);
    const juce::Image::BitmapData pb (b, juce::Image::BitmapData::readOnly);

    for (int y = 0; y < a.getHeight(); ++y)
        if (std::memcmp (pa.getLinePointer (y), pb.getLinePointer (y), (size_t) (a.getWidth() * pa.pixelStride)) != 0)
            return false;

    return true;
}
} // namespace

//==============================================================================
TEST (PngDecoder, GivesWhatTheFrameworkLoaderGivesForValidFiles)
{
    // Translucent gradients exercise premultiplication; an opaque one is RGB.
    juce::Image translucent (juce::Image::ARGB, 64, 48, true);
    juce::Image opaque (juce::Image::RGB, 33, 17, true);

    {
        juce::Graphics g (translucent);
        g.setGradientFill (juce::ColourGradient (juce::Colour (0x10ff8000), 0, 0, juce::Colour (0xf00040ff), 64, 48, false));
        g.fillEllipse (2.0f, 3.0f, 60.0f, 40.0f);
        juce::Graphics h (opaque);
        h.setGradientFill (juce::ColourGradient (juce::Colours::orange, 0, 0, juce::Colours::darkblue, 33, 17, false));
        h.fillAll();
    }

    for (const auto& image : { translucent, opaque })
    {
        const auto bytes = TestImages::pngFile (image);
        juce::MemoryInputStream stream (bytes.data(), bytes.size(), false);
        const juce::Image expected = juce::PNGImageFormat().decodeImage (stream);
        const juce::Image decoded = decode (bytes);

        ASSERT_TRUE (expected.isValid());
        ASSERT_TRUE (decoded.isValid());
        EXPECT_TRUE (samePixels (decoded, expected)) << "format " << (int) image.getFormat();
    }
}

TEST (PngDecoder, ExpandsGreyPaletteSixteenBitAndInterlacedFiles)
{
    // Opaque grey, two levels per byte row: RGB result.
    const auto grey = decode (encode ({ 2, 1, 8, PNG_COLOR_TYPE_GRAY, false, { 0x00, 0xc0 }, {}, {} }));
    ASSERT_TRUE (grey.isValid());
    EXPECT_EQ (grey.getFormat(), juce::Image::RGB);
    EXPECT_EQ (grey.getPixelAt (1, 0), juce::Colour (0xffc0c0c0));

    // One-bit grey: 0b10100000 -> white, black, white.
    const auto bits = decode (encode ({ 3, 1, 1, PNG_COLOR_TYPE_GRAY, false, { 0xa0 }, {}, {} }));
    ASSERT_TRUE (bits.isValid());
    EXPECT_EQ (bits.getPixelAt (0, 0), juce::Colours::white);
    EXPECT_EQ (bits.getPixelAt (1, 0), juce::Colours::black);

    // Palette with a transparency chunk: ARGB, entry 1 fully transparent.
    const auto palette = decode (encode ({ 2, 1, 8, PNG_COLOR_TYPE_PALETTE, false, { 0, 1 }, { { 10, 20, 30 }, { 200, 100, 50 } }, { 255, 0 } }));
    ASSERT_TRUE (palette.isValid());
    EXPECT_EQ (palette.getFormat(), juce::Image::ARGB);
    EXPECT_EQ (palette.getPixelAt (0, 0), juce::Colour (10, 20, 30));
    EXPECT_EQ (palette.getPixelAt (1, 0).getAlpha(), 0);

    // Sixteen bits per channel, RGBA: the high bytes remain.
    const auto deep = decode (encode ({ 1, 1, 16, PNG_COLOR_TYPE_RGB_ALPHA, false, { 0x12, 0x34, 0x56, 0x78, 0x9a, 0xbc, 0xff, 0xff }, {}, {} }));
    ASSERT_TRUE (deep.isValid());
    EXPECT_EQ (deep.getPixelAt (0, 0), juce::Colour (0x12, 0x56, 0x9a));

    // Interlaced RGB, large enough for every pass to carry pixels.
    std::vector<uint8_t> rows;

    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            rows.insert (rows.end(), { (uint8_t) (x * 20), (uint8_t) (y * 20), 77 });

    const auto interlaced = decode (encode ({ 9, 9, 8, PNG_COLOR_TYPE_RGB, true, rows, {}, {} }));
    ASSERT_TRUE (interlaced.isValid());
    EXPECT_EQ (interlaced.getPixelAt (7, 5), juce::Colour (140, 100, 77));
}

TEST (PngDecoder, RefusesDeclaredSizesAboveTheLimit)
{
    const auto bytes = smallRgbaFile();   // 5 x 4
    EXPECT_TRUE (decode (bytes, 20).isValid());
    EXPECT_TRUE (decode (bytes, 19).isNull());
}

TEST (PngDecoder, EveryTruncationGivesANullImage)
{
    const auto bytes = smallRgbaFile();

    for (size_t length = 0; length < bytes.size(); ++length)
    {
        const std::vector<uint8_t> cut (bytes.begin(), bytes.begin() + (long) length);
        EXPECT_TRUE (decode (cut).isNull()) << length << " of " << bytes.size() << " bytes";
    }
}

TEST (PngDecoder, DamagedBytesNeverCrashTheDecoder)
{
    const auto bytes = smallRgbaFile();
    int decoded = 0;

    for (size_t i = 0; i < bytes.size(); ++i)
    {
        for (uint8_t mask : { 0x01, 0x80, 0xff })
        {
            auto damaged = bytes;
            damaged[i] ^= mask;
            const auto image = decode (damaged);

            if (image.isValid())
            {
                ++decoded;
                EXPECT_LE ((uint64_t) image.getWidth() * (uint64_t) image.getHeight(), kNoLimit);
            }
        }
    }

    // Checksums catch nearly every change; the few that decode are bytes
    // libpng does not check (the ending chunk's checksum, for one).
    EXPECT_LT (decoded, (int) bytes.size());
}

TEST (PngDecoder, NonPngDataIsRefusedAtTheSignature)
{
    EXPECT_TRUE (PngDecoder::decode (nullptr, 0, kNoLimit).isNull());

    const std::vector<uint8_t> gif { 'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ';' };
    EXPECT_TRUE (decode (gif).isNull());
}
