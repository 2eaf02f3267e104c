// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResourceFile.h"

#include "Support/LogCapture.h"

#include <gtest/gtest.h>

namespace
{
/** A scratch folder tree that removes itself. */
struct ScratchFolder
{
    ScratchFolder() { root.createDirectory(); }
    ~ScratchFolder() { root.deleteRecursively(); }

    juce::File file (const juce::String& relative, const juce::String& content = {}) const
    {
        auto f = root.getChildFile (relative);
        f.getParentDirectory().createDirectory();
        f.replaceWithText (content);
        return f;
    }

    juce::File root = juce::File::createTempFile ("tq-resources");
};
} // namespace

TEST (ResourceFileLocate, PrefersTheFileBesideTheExecutable)
{
    ScratchFolder tree;
    const auto exe = tree.file ("bin/editor");
    const auto beside = tree.file ("bin/resources.bin");
    tree.file ("share/tessaquorbel-editor/resources.bin");

    EXPECT_EQ (ResourceFile::locate (exe, "resources.bin"), beside);
}

TEST (ResourceFileLocate, FindsTheInstalledLayout)
{
    ScratchFolder tree;
    const auto exe = tree.file ("bin/editor");
    const auto installed = tree.file ("share/tessaquorbel-editor/resources.bin");

    EXPECT_EQ (ResourceFile::locate (exe, "resources.bin").getFullPathName(), installed.getFullPathName());
}

TEST (ResourceFileLocate, FolderOfThatNameDoesNotCount)
{
    ScratchFolder tree;
    const auto exe = tree.file ("bin/editor");
    tree.root.getChildFile ("bin/resources.bin").createDirectory();

    EXPECT_EQ (ResourceFile::locate (exe, "resources.bin"), juce::File());
}

TEST (ResourceFileReader, ReadsExactRangesOnly)
{
    ScratchFolder tree;
    const auto file = tree.file ("data.bin", "0123456789");
    bool opened = false;
    auto read = ResourceFile::openReader (file.getFullPathName().toStdString(), opened);
    ASSERT_TRUE (opened);

    char buffer[8] = {};
    ASSERT_TRUE (read (3, 4, buffer));
    EXPECT_EQ (std::string (buffer, 4), "3456");
    std::vector<char> whole (10);
    ASSERT_TRUE (read (0, 10, whole.data()));
    EXPECT_EQ (std::string (whole.data(), 10), "0123456789");
    EXPECT_FALSE (read (8, 4, buffer));   // short read at the end
    EXPECT_FALSE (read (20, 1, buffer));  // beyond the end
    EXPECT_TRUE (read (10, 0, buffer));   // nothing asked, nothing missing
}

TEST (ResourceFileReader, MissingFileGivesAReaderThatFails)
{
    bool opened = true;
    auto read = ResourceFile::openReader ("/nonexistent-folder/resources.bin", opened);
    EXPECT_FALSE (opened);
    char byte = 0;
    EXPECT_FALSE (read (0, 1, &byte));
}

TEST (ResourceFileStartup, NothingFoundLogsBothLines)
{
    ScratchFolder tree;
    const auto exe = tree.file ("bin/editor");
    TestSupport::LogCapture log;

    auto read = ResourceFile::openSkinReader (exe);

    char byte = 0;
    EXPECT_FALSE (read (0, 1, &byte));
    const auto lines = log.lines();
    ASSERT_EQ (lines.size(), 2u);
    EXPECT_EQ (lines[0], "DEBUG: Failed to get fs path for resource");
    EXPECT_EQ (lines[1], "DEBUG: Failed to open resource file ''");
}

TEST (ResourceFileStartup, FoundFileOpensSilently)
{
    ScratchFolder tree;
    const auto exe = tree.file ("bin/editor");
    tree.file ("bin/resources.bin", "skin");
    TestSupport::LogCapture log;

    auto read = ResourceFile::openSkinReader (exe);

    char buffer[4] = {};
    EXPECT_TRUE (read (0, 4, buffer));
    EXPECT_EQ (std::string (buffer, 4), "skin");
    EXPECT_TRUE (log.lines().empty());
}
