// SPDX-License-Identifier: GPL-3.0-or-later
#include "SafeFileSave.h"
#include "Support/FailingOutputStream.h"
#include "Support/LogCapture.h"
#include "Support/ScratchFolder.h"

#include <gtest/gtest.h>

using Tessarine::Result;
using TestSupport::ScratchFolder;

namespace
{
const Result kOverwriteFailed { false, "Failed to overwrite file" };

/** Runs the whole save sequence, writing `content`; returns the outcome. */
Result saveText (SafeFileSave& save, const juce::String& content)
{
    const Result opened = save.open();
    if (! opened)
        return opened;

    save.getStream().writeText (content, false, false, nullptr);

    if (! save.finishWriting())
        return { false, "finishWriting failed" };

    return save.commit();
}
} // namespace

TEST (SafeFileSave, ReplacesTheTargetAndLeavesNoTemporaryFile)
{
    ScratchFolder folder;
    const auto target = folder.file ("Backup.tqu");
    ASSERT_TRUE (target.replaceWithText ("old contents"));

    {
        SafeFileSave save (target);
        EXPECT_TRUE (saveText (save, "new contents"));
        EXPECT_EQ (save.getTemporaryFile().getParentDirectory(), folder.get());
    }

    EXPECT_EQ (target.loadFileAsString(), "new contents");
    EXPECT_EQ (folder.names(), juce::StringArray ("Backup.tqu"));

    SafeFileSave fresh (folder.file ("New.tqp"));
    EXPECT_TRUE (saveText (fresh, "first"));
    EXPECT_EQ (folder.file ("New.tqp").loadFileAsString(), "first");
}

TEST (SafeFileSave, AStreamThatFailsPartWayLeavesTheOldFileByteIdentical)
{
    ScratchFolder folder;
    const auto target = folder.file ("Backup.tqu");
    ASSERT_TRUE (target.replaceWithText ("old contents, every byte"));
    juce::MemoryBlock before;
    target.loadFileAsData (before);

    {
        SafeFileSave save (target, TestSupport::FailingOutputStream::opener (5));
        ASSERT_TRUE (save.open());
        save.getStream().writeText ("much longer new contents", false, false, nullptr);
        EXPECT_FALSE (save.finishWriting());

        TestSupport::LogCapture quiet;
        EXPECT_EQ (save.commit(), kOverwriteFailed); // a failed write is never committed
    }

    juce::MemoryBlock after;
    target.loadFileAsData (after);
    EXPECT_EQ (after, before);
    EXPECT_EQ (folder.names(), juce::StringArray ("Backup.tqu"));
}

TEST (SafeFileSave, ATemporaryFileThatCannotBeCreatedFailsBeforeTouchingTheTarget)
{
    ScratchFolder folder;
    const auto target = folder.file ("Backup.tqu");
    ASSERT_TRUE (target.replaceWithText ("old"));

    // A folder standing where the temporary file would go.
    SafeFileSave save (target, [] (const juce::File& temporary) -> std::unique_ptr<juce::OutputStream> {
        temporary.createDirectory();
        return std::make_unique<juce::FileOutputStream> (temporary);
    });

    TestSupport::LogCapture quiet;
    EXPECT_EQ (save.open(), kOverwriteFailed);
    EXPECT_EQ (target.loadFileAsString(), "old");
}

TEST (SafeFileSave, MissingFolderFailsToOpen)
{
    ScratchFolder folder;
    SafeFileSave save (folder.file ("missing/Backup.tqu"));

    TestSupport::LogCapture quiet;
    EXPECT_EQ (save.open(), kOverwriteFailed);
    EXPECT_FALSE (folder.file ("missing").exists());
}

TEST (SafeFileSave, AFolderInTheTargetsPlaceIsNotReplaced)
{
    ScratchFolder folder;
    const auto target = folder.file ("Backup.tqu");
    ASSERT_TRUE (target.getChildFile ("inside.txt").create());

    {
        SafeFileSave save (target);
        TestSupport::LogCapture quiet;
        EXPECT_EQ (saveText (save, "contents"), kOverwriteFailed);
    }

    EXPECT_TRUE (target.getChildFile ("inside.txt").existsAsFile());
    EXPECT_EQ (folder.names(), juce::StringArray ("Backup.tqu"));
}
