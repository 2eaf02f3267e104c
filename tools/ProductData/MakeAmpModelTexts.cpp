// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the 24 built-in amp-model texts, AmpModel01.txt to AmpModel24.txt,
// into the folder given.
#include "AmpModelCatalogue.h"
#include "AmpModelSynth.h"
#include "AmpModelTextWriter.h"
#include "StringOutputStream.h"

#include <cstdio>
#include <string>

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }

    for (int row = 1; row <= (int) AmpModelCatalogue::kCount; ++row)
    {
        const AmpModelDescription& description = AmpModelCatalogue::row (row);
        Tessarine::TessarineDataFile file (Tessarine::TessarineDataFile::AmpModelData, 0, 0);
        StringOutputStream text;
        Tessarine::Result r = AmpModelTextWriter::makeDataFile (AmpModelSynth::make (description), description.index, file);

        if (r)
            r = AmpModelTextWriter::write (file, description.crlfImpulseLines, text);

        char name[32];
        std::snprintf (name, sizeof (name), "/AmpModel%02d.txt", row);
        const std::string path = std::string (argv[1]) + name;

        if (! r || ! text.saveTo (path.c_str()))
        {
            std::fprintf (stderr, "%s: cannot write %s (%s)\n", argv[0], path.c_str(), r ? "file" : r.error);
            return 1;
        }
    }

    return 0;
}
