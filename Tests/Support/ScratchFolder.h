// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Header-only, like FailingOutputStream.h: only JUCE-using runners compile it.
#include <juce_core/juce_core.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace TestSupport
{

/** A fresh, empty folder for one test, removed with everything in it. */
class ScratchFolder
{
public:
    ScratchFolder() : folder (makeUniqueFolder()) {}

    ~ScratchFolder() { folder.deleteRecursively(); }

    juce::File file (const juce::String& name) const { return folder.getChildFile (name); }
    const juce::File& get() const { return folder; }

    /** Names of everything in the folder, hidden files included, sorted. */
    juce::StringArray names() const
    {
        juce::StringArray result;
        for (const auto& f : folder.findChildFiles (juce::File::findFilesAndDirectories, false))
            result.add (f.getFileName());
        result.sort (false);
        return result;
    }

private:
    // Made by mkdtemp: each test case runs in a process of its own, many at
    // once, and a name first checked free can be taken by another process
    // before it is created (then one test deletes the other's files).
    static juce::File makeUniqueFolder()
    {
        std::string pattern = juce::File::getSpecialLocation (juce::File::tempDirectory)
                                  .getChildFile ("tq-test-XXXXXX")
                                  .getFullPathName()
                                  .toStdString();

        if (mkdtemp (&pattern[0]) == nullptr)
            throw std::runtime_error ("no scratch folder could be made in " + pattern);

        return juce::File (pattern);
    }

    juce::File folder;

    JUCE_DECLARE_NON_COPYABLE (ScratchFolder)
};

} // namespace TestSupport
