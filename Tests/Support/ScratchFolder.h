// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Header-only, like FailingOutputStream.h: only JUCE-using runners compile it.
#include <juce_core/juce_core.h>

#include <stdexcept>
#include <stdlib.h>

namespace TestSupport
{

/** A fresh, empty folder for one test, removed with everything in it. */
class ScratchFolder
{
public:
    // mkdtemp, not getNonexistentChildFile: test processes run in parallel, and
    // two of them could otherwise pick the same name and delete each other's files.
    ScratchFolder()
        : folder (makeUniqueFolder())
    {
    }

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
    static juce::File makeUniqueFolder()
    {
        auto pattern = juce::File::getSpecialLocation (juce::File::tempDirectory)
                           .getChildFile ("tq-test-XXXXXX").getFullPathName().toStdString();
        if (::mkdtemp (pattern.data()) == nullptr)
            throw std::runtime_error ("cannot create a scratch folder");
        return juce::File (pattern);
    }

    juce::File folder;

    JUCE_DECLARE_NON_COPYABLE (ScratchFolder)
};

} // namespace TestSupport
