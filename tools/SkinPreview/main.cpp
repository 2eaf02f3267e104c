// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the editor's pages from a resources.bin into PNG files.
//
//   tq_skin_preview RESOURCES_BIN OUTPUT_FOLDER [SCALE]
#include "SkinPreview.h"

#include "QuorbelSkin.h"

#include <juce_events/juce_events.h>

#include <cstdio>

int main (int argc, char* argv[])
{
    if (argc < 3 || argc > 4)
    {
        std::fprintf (stderr, "usage: tq_skin_preview RESOURCES_BIN OUTPUT_FOLDER [SCALE]\n");
        return 2;
    }

    juce::ScopedJuceInitialiser_GUI juce;
    const auto cwd = juce::File::getCurrentWorkingDirectory();
    const juce::File folder = cwd.getChildFile (argv[2]);
    const float scale = argc == 4 ? (float) std::atof (argv[3]) : 1.0f;

    FILE* file = std::fopen (cwd.getChildFile (argv[1]).getFullPathName().toRawUTF8(), "rb");

    if (file == nullptr || ! folder.createDirectory() || scale <= 0.0f)
    {
        std::fprintf (stderr, "tq_skin_preview: cannot read the archive or create the output folder\n");
        return 1;
    }

    const bool loaded = QuorbelSkin::load ([file] (unsigned int offset, unsigned long size, void* destination) {
        return std::fseek (file, (long) offset, SEEK_SET) == 0 && std::fread (destination, 1, size, file) == size;
    });

    if (! loaded)
        std::fprintf (stderr, "tq_skin_preview: the archive did not open; drawing without images\n");

    const std::pair<SkinPreview::Page, const char*> pages[] = { { SkinPreview::Page::main, "main.png" },
                                                                 { SkinPreview::Page::about, "about.png" },
                                                                 { SkinPreview::Page::footswitches, "footswitches.png" } };
    int result = 0;

    for (const auto& [page, name] : pages)
    {
        juce::FileOutputStream out (folder.getChildFile (name));

        if (! out.openedOk() || ! out.setPosition (0) || ! out.truncate().wasOk()
            || ! juce::PNGImageFormat().writeImageToStream (SkinPreview::render (page, scale), out))
            result = 1;
    }

    QuorbelSkin::release();
    std::fclose (file);
    return result;
}
