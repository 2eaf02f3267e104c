// SPDX-License-Identifier: GPL-3.0-or-later
// Paints the editor's application icon at one size and writes it as a PNG
// file, for the desktop's icon theme.
//
//   tq_app_icon SIZE OUTPUT
#include "AppIconPainter.h"

#include <juce_events/juce_events.h>

#include <cstdio>
#include <cstdlib>

namespace
{
bool writeIcon (int size, const juce::File& output)
{
    juce::MemoryOutputStream png;

    // replaceWithData moves a finished temporary file into place, so an
    // interrupted build leaves no half-written icon for the install to copy.
    if (juce::PNGImageFormat().writeImageToStream (AppIconPainter::paint (size), png)
        && output.getParentDirectory().createDirectory() && output.replaceWithData (png.getData(), png.getDataSize()))
        return true;

    std::fprintf (stderr, "tq_app_icon: could not write %s\n", output.getFullPathName().toRawUTF8());
    return false;
}
} // namespace

int main (int argc, char* argv[])
{
    const int size = argc == 3 ? std::atoi (argv[1]) : 0;

    if (size < 16 || size > 1024)
    {
        std::fprintf (stderr, "usage: tq_app_icon SIZE OUTPUT (SIZE in pixels, 16 to 1024)\n");
        return 2;
    }

    // Painting creates framework singletons (the typeface cache among them)
    // that only the initialiser's end deletes.
    juce::ScopedJuceInitialiser_GUI juce;
    return writeIcon (size, juce::File::getCurrentWorkingDirectory().getChildFile (argv[2])) ? 0 : 1;
}
