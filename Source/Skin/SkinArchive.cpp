// SPDX-License-Identifier: GPL-3.0-or-later
#include "SkinArchive.h"

#include "PngDecoder.h"

#include <utility>

SkinArchive::SkinArchive (ReadFunction read)
    : directory (std::move (read))
{
}

bool SkinArchive::open()
{
    images.clear();
    return directory.open();
}

void SkinArchive::addImage (ImageID id, const char* fileName)
{
    if (fileName == nullptr)
    {
        images.erase (id);
        return;
    }

    images[id] = Registration { fileName, juce::Image() };
}

juce::Image SkinArchive::getImage (ImageID id)
{
    const auto found = images.find (id);

    if (found == images.end())
        return {};

    Registration& registration = found->second;

    if (registration.image.isNull())
    {
        if (! directory.readEntry (registration.fileName, entryBytes))
        {
            images.erase (found);
            return {};
        }

        registration.image = decodeImage (entryBytes);
    }

    return registration.image;
}

juce::Image SkinArchive::decodeImage (const std::vector<uint8_t>& bytes)
{
    return PngDecoder::decode (bytes.data(), bytes.size(), kMaxImagePixels);
}

bool SkinArchive::readEntry (const std::string& name, std::vector<uint8_t>& out)
{
    return directory.readEntry (name, out);
}

bool SkinArchive::read (unsigned int offset, unsigned long size, void* destination)
{
    return directory.read (offset, size, destination);
}

void SkinArchive::clear()
{
    images.clear();
}
