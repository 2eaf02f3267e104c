// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Result.h"

#include <juce_core/juce_core.h>

#include <functional>
#include <memory>

/** Replaces a file without ever damaging the one already there.

    Everything is written to a temporary file beside the target; only when the
    whole content was written and flushed without a failure is the temporary
    file renamed over the target (one atomic step on the same volume). On any
    failure the temporary file is removed and the previous file stays as it
    was, byte for byte.

    Use: open(), write to getStream(), finishWriting(), commit().
*/
class SafeFileSave
{
public:
    /** Opens the stream that writes the temporary file. The default opens a
        juce::FileOutputStream with a 16384-byte buffer; tests pass their own
        to fail part-way. The result may be null or not opened. */
    using StreamOpener = std::function<std::unique_ptr<juce::OutputStream> (const juce::File& temporaryFile)>;

    explicit SafeFileSave (const juce::File& target, StreamOpener opener = {});
    ~SafeFileSave();

    /** Creates the temporary file; "Failed to overwrite file" if it cannot be
        opened for writing (for example when the target's folder is missing). */
    Tessarine::Result open();

    /** The stream to write the new content to; valid between open() and
        finishWriting(). */
    juce::OutputStream& getStream();

    /** Flushes and closes the temporary file. False when any write, the flush
        or the file itself failed. */
    bool finishWriting();

    /** Moves the finished temporary file over the target; "Failed to
        overwrite file" if that fails, which leaves the target untouched. */
    Tessarine::Result commit();

    const juce::File& getTemporaryFile() const { return temporaryFile; }

private:
    class CheckedStream;

    juce::File target;
    juce::File temporaryFile;
    StreamOpener openStream;
    std::unique_ptr<juce::OutputStream> fileStream;
    std::unique_ptr<CheckedStream> checkedStream;
    bool finished = false;
    bool committed = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SafeFileSave)
};
