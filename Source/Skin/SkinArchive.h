// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SkinDirectory.h"

#include <juce_graphics/juce_graphics.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

/** The editor's images out of the skin archive (resources.bin).

    Opening reads only the index. An image is decoded the first time it is
    asked for and kept; every later request returns a copy that shares the
    decoded pixels. An image whose entry is missing or unreadable is dropped
    for good; one whose data does not decode is tried again on the next
    request. Message thread only.
*/
class SkinArchive
{
public:
    using ImageID = uint32_t;
    using ReadFunction = SkinDirectory::ReadFunction;

    /** Largest image, in pixels, that will be decoded (64 MiB of ARGB). */
    static constexpr uint64_t kMaxImagePixels = 16u * 1024u * 1024u;

    explicit SkinArchive (ReadFunction read);

    /** Drops every registration, then (re)reads the archive's index. */
    bool open();

    /** Registers id under fileName, replacing an earlier registration and its
        decoded image. A null fileName removes the registration. */
    void addImage (ImageID id, const char* fileName);

    /** The image registered under id, or a null image when it is not
        available. */
    juce::Image getImage (ImageID id);

    bool readEntry (const std::string& name, std::vector<uint8_t>& out);
    bool read (unsigned int offset, unsigned long size, void* destination);

    /** Drops all registrations and their images; the index stays. */
    void clear();

    /** Decodes a PNG file's bytes; a null image when they are not a complete
        PNG file or declare more than kMaxImagePixels. Only PNG is decoded: the
        archive holds nothing else, and the size check needs the header. */
    static juce::Image decodeImage (const std::vector<uint8_t>& bytes);

private:
    struct Registration
    {
        std::string fileName;
        juce::Image image;
    };

    std::map<ImageID, Registration> images;
    SkinDirectory directory;

    // Every entry is read into this one buffer before it is decoded: it grows
    // to the largest entry once, instead of a fresh allocation (and its pages
    // touched anew) for each of the images decoded before the first frame.
    std::vector<uint8_t> entryBytes;

    // No leak detector: the program-wide archive outlives the detector's own
    // static counter at exit.
    JUCE_DECLARE_NON_COPYABLE (SkinArchive)
};
