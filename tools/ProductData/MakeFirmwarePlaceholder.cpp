// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the firmware placeholder in the stored form of a loader file (every
// byte with its bit order reversed) to the path given.
#include "FirmwarePlaceholder.h"
#include "StringOutputStream.h"
#include "TessarineDataFile.h"

#include <cstdio>

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: %s <output file>\n", argv[0]);
        return 2;
    }

    StringOutputStream stored;
    const Tessarine::Result r = Tessarine::TessarineDataFile::writeBitReversed (ProductData::FirmwarePlaceholder::makeImage(), stored);

    if (! r || ! stored.saveTo (argv[1]))
    {
        std::fprintf (stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }

    return 0;
}
