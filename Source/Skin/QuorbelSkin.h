// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SkinArchive.h"
#include "SkinImageTable.h"

#include <functional>

/** The program-wide skin: every image of the editor by id (the ids and file
    names of SkinImageTable), out of the one archive the application opens at
    start-up. Every image is null until load succeeds and after release, so
    the editor also runs without its skin. Message thread only.
*/
class QuorbelSkin : public SkinImageTable
{
public:
    /** Opens the archive over a copy of read and registers every image.
        False when the archive's index cannot be read; every image is then
        null. A second call replaces the first archive. */
    static bool load (std::function<bool (unsigned int, unsigned long, void*)> read);

    static juce::Image getImage (ImageID id);

    /** Drops every image; the archive and its reader stay. */
    static void release();

private:
    QuorbelSkin() = delete;
};
