// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OutStreamWrapper.h"
#include "Result.h"
#include "SafeFileSave.h"
#include "TessarineData.h"

#include <juce_core/juce_core.h>

/** Turns a QuorbelArchive into a backup bundle (a zip of data files) and back.

    Entries, in order and each only when the archive holds that part:
    "ArchiveInfo.txt", "BravikAmp.ldr", "Bravik_TessaQuorbel_<index>.tqp" per
    preset, "Bravik_Tessarine_0.glo". All are stored uncompressed with one
    time stamp. Loading also accepts zips made by other tools: entries are
    recognised by the ending of their names, in any folder and letter case.
*/
class BackupArchive
{
public:
    /** One entry while a bundle is being built: its bytes in memory, the
        writer the data-file code writes them through, and its name. */
    struct Entry
    {
        explicit Entry (const juce::String& entryName) : writer (data), name (entryName) {}

        juce::MemoryOutputStream data { 256 };
        OutStreamWrapper writer;
        juce::String name;

        JUCE_DECLARE_NON_COPYABLE (Entry)
    };

    using EntryList = juce::OwnedArray<Entry>;

    /** Encodes every entry first; the target is touched only when all of them
        were encoded, and is replaced only when the whole zip was written. */
    static Tessarine::Result save (const Tessarine::TessarineData::QuorbelArchive& archive, const juce::File& target);
    static Tessarine::Result save (const Tessarine::TessarineData::QuorbelArchive& archive, SafeFileSave& target);

    static Tessarine::Result loadFile (const juce::File& source, Tessarine::TessarineData::QuorbelArchive& archive);

    /** Parts found replace the archive's parts; presets are appended. Stops at
        the first entry that cannot be read; the archive keeps what was read. */
    static Tessarine::Result load (juce::ZipFile& zip, Tessarine::TessarineData::QuorbelArchive& archive);

    static Tessarine::Result writeZip (const EntryList& entries, const juce::File& target);
    static Tessarine::Result writeZip (const EntryList& entries, SafeFileSave& target);

    static Tessarine::IOutputStream& addEntry (EntryList& entries, const juce::String& name);
};
