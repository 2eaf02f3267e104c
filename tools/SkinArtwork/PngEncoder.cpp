// SPDX-License-Identifier: GPL-3.0-or-later
#include "PngEncoder.h"

#include <png.h>

#include <csetjmp>

// libpng reports errors by longjmp to the setjmp of the function that made the
// failing call: the function below that calls setjmp keeps only plain values
// in its own frame, and encode makes no libpng call that can fail.
namespace
{
void appendToVector (png_structp png, png_bytep data, size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*> (png_get_io_ptr (png));
    out->insert (out->end(), data, data + length);
}

void flushNothing (png_structp)
{
}

bool writeRows (png_structp png, png_infop info, png_uint_32 width, png_uint_32 height, png_bytepp rows)
{
    if (setjmp (png_jmpbuf (png)))
        return false;

    png_set_IHDR (png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                  PNG_FILTER_TYPE_DEFAULT);
    png_set_filter (png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info (png, info);
    png_write_image (png, rows);
    png_write_end (png, nullptr);
    return true;
}
} // namespace

bool PngEncoder::encode (const juce::Image& image, std::vector<uint8_t>& out)
{
    if (image.isNull())
        return false;

    const int width = image.getWidth();
    const int height = image.getHeight();
    std::vector<uint8_t> pixels ((size_t) width * (size_t) height * 4);
    std::vector<png_bytep> rows ((size_t) height);

    {
        const juce::Image::BitmapData source (image, juce::Image::BitmapData::readOnly);

        for (int y = 0; y < height; ++y)
        {
            uint8_t* row = pixels.data() + (size_t) y * (size_t) width * 4;
            rows[(size_t) y] = row;

            for (int x = 0; x < width; ++x, row += 4)
            {
                const juce::Colour colour = source.getPixelColour (x, y);
                row[0] = colour.getRed();
                row[1] = colour.getGreen();
                row[2] = colour.getBlue();
                row[3] = colour.getAlpha();
            }
        }
    }

    png_structp png = png_create_write_struct (PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);

    if (png == nullptr)
        return false;

    png_infop info = png_create_info_struct (png);
    out.clear();
    png_set_write_fn (png, &out, appendToVector, flushNothing);
    const bool written = info != nullptr && writeRows (png, info, (png_uint_32) width, (png_uint_32) height, rows.data());
    png_destroy_write_struct (&png, &info);
    return written;
}
