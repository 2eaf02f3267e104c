// SPDX-License-Identifier: GPL-3.0-or-later
#include "PngDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

// libpng reports errors by longjmp to the setjmp of the function that made the
// failing call. The functions below that call setjmp keep only plain values in
// their own frames; everything with a destructor lives in decode, which makes
// no libpng call that can fail.
namespace
{
struct MemoryReader
{
    const uint8_t* data;
    size_t size;
    size_t position;
};

[[noreturn]] void onError (png_structp png, png_const_charp)
{
    png_longjmp (png, 1);
}

void onWarning (png_structp, png_const_charp)
{
}

void readFromMemory (png_structp png, png_bytep destination, size_t length)
{
    auto* reader = static_cast<MemoryReader*> (png_get_io_ptr (png));

    if (length > reader->size - reader->position)
        png_error (png, "PNG data ends early");

    std::memcpy (destination, reader->data + reader->position, length);
    reader->position += length;
}

// Premultiplies by alpha as the last of libpng's row transformations, so each
// pixel is touched once, while its row is still in the cache, instead of in a
// second pass over the whole image. Interlaced files pass every pixel through
// here once as well, in the pass that carries it. libpng's row buffer is not
// aligned for the framework's pixel type, so this works byte by byte, with the
// arithmetic of PixelARGB::premultiply (bytes B, G, R, A).
void premultiplyRow (png_structp, png_row_infop row, png_bytep pixel)
{
    if (row->channels != 4 || row->bit_depth != 8)
        return;

    for (png_uint_32 x = 0; x < row->width; ++x, pixel += 4)
    {
        const unsigned int alpha = pixel[3];

        if (alpha == 0xff)
            continue;

        // Zero alpha needs no case of its own: 0x7f >> 8 is 0.
        for (int c = 0; c < 3; ++c)
            pixel[c] = (png_byte) ((pixel[c] * alpha + 0x7f) >> 8);
    }
}

struct Header
{
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    bool hasAlpha = false;
};

// Reads the chunks up to the pixel data and asks libpng for 8-bit BGR(A)
// rows, the byte order of the framework's pixels on little-endian machines,
// premultiplied as the framework keeps ARGB pixels.
bool readHeader (png_structp png, png_infop info, uint64_t maxPixels, Header& header)
{
    if (setjmp (png_jmpbuf (png)))
        return false;

    png_read_info (png, info);

    int bitDepth = 0, colourType = 0;
    png_get_IHDR (png, info, &header.width, &header.height, &bitDepth, &colourType, nullptr, nullptr, nullptr);

    if (header.width == 0 || header.height == 0 || (uint64_t) header.width * header.height > maxPixels)
        return false;

    header.hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid (png, info, PNG_INFO_tRNS) != 0;

    png_set_expand (png);
    png_set_strip_16 (png);
    png_set_gray_to_rgb (png);
    png_set_bgr (png);
    png_set_interlace_handling (png);

    if (header.hasAlpha)
        png_set_read_user_transform_fn (png, premultiplyRow);

    png_read_update_info (png, info);

    const size_t channels = header.hasAlpha ? 4 : 3;
    return png_get_channels (png, info) == channels && png_get_rowbytes (png, info) == (size_t) header.width * channels;
}

bool readRows (png_structp png, png_infop info, png_bytep* rows)
{
    if (setjmp (png_jmpbuf (png)))
        return false;

    png_read_image (png, rows);
    png_read_end (png, nullptr);
    return true;
}
} // namespace

juce::Image PngDecoder::decode (const uint8_t* data, size_t size, uint64_t maxPixels)
{
    if (data == nullptr || size < 8 || png_sig_cmp (data, 0, 8) != 0)
        return {};

    png_structp png = png_create_read_struct (PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);

    if (png == nullptr)
        return {};

    png_infop info = png_create_info_struct (png);

    if (info == nullptr)
    {
        png_destroy_read_struct (&png, nullptr, nullptr);
        return {};
    }

    MemoryReader reader { data, size, 0 };
    png_set_read_fn (png, &reader, readFromMemory);

    juce::Image image;
    Header header;

    if (readHeader (png, info, maxPixels, header))
    {
        image = juce::Image (header.hasAlpha ? juce::Image::ARGB : juce::Image::RGB, (int) header.width, (int) header.height, false,
                             juce::SoftwareImageType());
        bool complete = false;

        {
            juce::Image::BitmapData pixels (image, juce::Image::BitmapData::writeOnly);
            std::vector<png_bytep> rows ((size_t) header.height);

            for (size_t y = 0; y < rows.size(); ++y)
                rows[y] = pixels.getLinePointer ((int) y);

            complete = readRows (png, info, rows.data());
        }

        if (! complete)
            image = juce::Image();
    }

    png_destroy_read_struct (&png, &info, nullptr);
    return image;
}
