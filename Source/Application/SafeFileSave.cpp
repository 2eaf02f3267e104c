// SPDX-License-Identifier: GPL-3.0-or-later
#include "SafeFileSave.h"

#include <cstdio>

/** Passes writes through and remembers whether any of them failed. Writers
    such as the zip builder ignore the results of their writes, so the failure
    has to be caught here. */
class SafeFileSave::CheckedStream : public juce::OutputStream
{
public:
    explicit CheckedStream (juce::OutputStream& destination) : inner (destination) {}

    bool write (const void* data, size_t size) override
    {
        if (! inner.write (data, size))
            failed = true;

        return ! failed;
    }

    bool writeRepeatedByte (juce::uint8 byte, size_t count) override
    {
        if (! inner.writeRepeatedByte (byte, count))
            failed = true;

        return ! failed;
    }

    void flush() override { inner.flush(); }
    juce::int64 getPosition() override { return inner.getPosition(); }

    bool setPosition (juce::int64 position) override
    {
        if (! inner.setPosition (position))
            failed = true;

        return ! failed;
    }

    bool hasFailed() const { return failed; }

private:
    juce::OutputStream& inner;
    bool failed = false;
};

SafeFileSave::SafeFileSave (const juce::File& targetFile, StreamOpener opener)
    : target (targetFile),
      temporaryFile (targetFile.getParentDirectory()
                         .getNonexistentChildFile ("." + targetFile.getFileNameWithoutExtension() + "_saving",
                                                   targetFile.getFileExtension(), false)),
      openStream (std::move (opener))
{
    if (! openStream)
        openStream = [] (const juce::File& file) -> std::unique_ptr<juce::OutputStream> {
            return std::make_unique<juce::FileOutputStream> (file, 16384);
        };
}

SafeFileSave::~SafeFileSave()
{
    checkedStream.reset();
    fileStream.reset();

    if (! committed && temporaryFile.existsAsFile())
        temporaryFile.deleteFile();
}

Tessarine::Result SafeFileSave::open()
{
    fileStream = openStream (temporaryFile);
    auto* asFile = dynamic_cast<juce::FileOutputStream*> (fileStream.get());

    if (fileStream == nullptr || (asFile != nullptr && ! asFile->openedOk()))
    {
        fileStream.reset();
        return TESSARINE_ERROR ("Failed to overwrite file");
    }

    checkedStream = std::make_unique<CheckedStream> (*fileStream);
    return Tessarine::kSuccess;
}

juce::OutputStream& SafeFileSave::getStream()
{
    jassert (checkedStream != nullptr);
    return *checkedStream;
}

bool SafeFileSave::finishWriting()
{
    if (checkedStream == nullptr)
        return false;

    checkedStream->flush();
    bool ok = ! checkedStream->hasFailed();

    if (auto* asFile = dynamic_cast<juce::FileOutputStream*> (fileStream.get()))
        ok = ok && asFile->getStatus().wasOk();

    checkedStream.reset();
    fileStream.reset();
    finished = ok;
    return ok;
}

Tessarine::Result SafeFileSave::commit()
{
    // rename() replaces the target in one step; the framework's moveFileTo
    // would delete the target first and could lose it if the rename failed.
    if (! finished
        || std::rename (temporaryFile.getFullPathName().toRawUTF8(), target.getFullPathName().toRawUTF8()) != 0)
        return TESSARINE_ERROR ("Failed to overwrite file");

    committed = true;
    return Tessarine::kSuccess;
}
