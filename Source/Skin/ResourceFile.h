// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <juce_core/juce_core.h>

#include <functional>

/** resources.bin, the skin archive, as the application opens it at start-up.

    Linux has no application bundle: the file is looked for beside the
    executable (a build tree) and then in ../share/tessaquorbel-editor/ relative
    to it (the installed layout). The file is opened once and stays open for as
    long as anything holds the reader, since the skin decodes images lazily.
*/
class ResourceFile
{
public:
    using Reader = std::function<bool (unsigned int offset, unsigned long size, void* destination)>;

    static constexpr const char* kSkinFileName = "resources.bin";

    /** Longest path the lookup hands on (the platform buffer holds 1024 bytes
        with its terminator); a longer one counts as not found. */
    static constexpr size_t kMaxPathBytes = 1023;

    /** The first existing candidate for name, or a default juce::File. */
    static juce::File locate (const juce::File& executable, const juce::String& name);

    /** Opens path with fopen "rb". The reader reads exactly size bytes at
        offset and returns true, or false; with no open file it always returns
        false. opened tells which. */
    static Reader openReader (const std::string& path, bool& opened);

    /** Start-up's whole skin-file step with its log lines: locate
        resources.bin for this executable, open it, and hand back the reader
        (one that always fails when there is no file). */
    static Reader openSkinReader (const juce::File& executable);
};
