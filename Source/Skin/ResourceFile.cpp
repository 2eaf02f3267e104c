// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResourceFile.h"

#include "Result.h"

#include <cstdio>
#include <memory>

juce::File ResourceFile::locate (const juce::File& executable, const juce::String& name)
{
    const auto folder = executable.getParentDirectory();
    const juce::File candidates[] = {
        folder.getChildFile (name),
        folder.getChildFile ("../share/tessaquorbel-editor").getChildFile (name),
    };

    for (const auto& candidate : candidates)
        if (candidate.existsAsFile())
            return candidate;

    return {};
}

ResourceFile::Reader ResourceFile::openReader (const std::string& path, bool& opened)
{
    std::shared_ptr<std::FILE> file (std::fopen (path.c_str(), "rb"),
                                     [] (std::FILE* f) { if (f != nullptr) std::fclose (f); });
    opened = file != nullptr;

    return [file] (unsigned int offset, unsigned long size, void* destination)
    {
        if (file == nullptr)
            return false;

        if (std::fseek (file.get(), static_cast<long> (offset), SEEK_SET) != 0)
            return false;

        return std::fread (destination, 1, size, file.get()) == size;
    };
}

ResourceFile::Reader ResourceFile::openSkinReader (const juce::File& executable)
{
    const auto found = locate (executable, kSkinFileName);
    std::string path;

    if (found == juce::File() || found.getFullPathName().getNumBytesAsUTF8() > kMaxPathBytes)
        Tessarine::logMessage (Tessarine::LogDebug, "Failed to get fs path for resource");
    else
        path = found.getFullPathName().toStdString();

    bool opened = false;
    auto reader = openReader (path, opened);

    if (! opened)
    {
        Tessarine::logMessage (Tessarine::LogDebug, "Failed to open resource file '%s'", path.c_str());

        if (! path.empty())
            Tessarine::logMessage (Tessarine::LogDebug, "URL: %s", juce::URL (found).toString (false).toRawUTF8());
    }

    return reader;
}
