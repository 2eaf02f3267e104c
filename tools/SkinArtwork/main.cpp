// SPDX-License-Identifier: GPL-3.0-or-later
// Paints every image of the editor's skin and writes them as resources.bin.
//
//   tq_skin_artwork OUTPUT [PNG_FOLDER]
//
// PNG_FOLDER, when given, also receives each image as its own file, for
// looking at the artwork.
#include "PngEncoder.h"
#include "SkinArtwork.h"
#include "SkinStyle.h"

#include "SkinArchiveWriter.h"
#include "SkinImageTable.h"

#include <juce_events/juce_events.h>

#include <cstdio>

namespace
{
int paintSkin (const juce::File& output, const juce::File& pngFolder)
{
    std::vector<SkinArchiveWriter::Entry> entries;

    for (uint32_t id = 0; id < SkinImageTable::kImageCount; ++id)
    {
        const char* name = SkinImageTable::getFileName (id);
        const juce::Image image = SkinArtwork::paint (id);
        SkinArchiveWriter::Entry entry { name, {} };

        if (image.isNull() || ! PngEncoder::encode (image, entry.data))
        {
            std::fprintf (stderr, "tq_skin_artwork: could not paint %s\n", name);
            return 1;
        }

        if (pngFolder != juce::File() && ! pngFolder.getChildFile (name).replaceWithData (entry.data.data(), entry.data.size()))
        {
            std::fprintf (stderr, "tq_skin_artwork: could not write %s\n", pngFolder.getChildFile (name).getFullPathName().toRawUTF8());
            return 1;
        }

        entries.push_back (std::move (entry));
    }

    std::vector<uint8_t> archive;

    if (! SkinArchiveWriter::write (entries, archive))
    {
        std::fprintf (stderr, "tq_skin_artwork: the images do not fit the archive format\n");
        return 1;
    }

    // replaceWithData writes a temporary file and moves it into place, so an
    // interrupted build never leaves half an archive behind.
    if (! output.getParentDirectory().createDirectory() || ! output.replaceWithData (archive.data(), archive.size()))
    {
        std::fprintf (stderr, "tq_skin_artwork: could not write %s\n", output.getFullPathName().toRawUTF8());
        return 1;
    }

    return 0;
}
} // namespace

int main (int argc, char* argv[])
{
    if (argc < 2 || argc > 3)
    {
        std::fprintf (stderr, "usage: tq_skin_artwork OUTPUT [PNG_FOLDER]\n");
        return 2;
    }

    juce::ScopedJuceInitialiser_GUI juce;
    const juce::File output = juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]);
    juce::File pngFolder;

    if (argc == 3)
    {
        pngFolder = juce::File::getCurrentWorkingDirectory().getChildFile (argv[2]);

        if (! pngFolder.createDirectory())
        {
            std::fprintf (stderr, "tq_skin_artwork: could not create %s\n", pngFolder.getFullPathName().toRawUTF8());
            return 1;
        }
    }

    const int result = paintSkin (output, pngFolder);
    SkinStyle::releaseTypefaces();
    return result;
}
