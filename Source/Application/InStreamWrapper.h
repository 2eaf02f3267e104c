// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IInputStream.h"

#include <juce_core/juce_core.h>

/** Lets the data-file readers read a framework stream. Each call goes
    straight to the stream, which the wrapper does not own. */
class InStreamWrapper : public Tessarine::IInputStream
{
public:
    explicit InStreamWrapper (juce::InputStream& source) : stream (source) {}
    ~InStreamWrapper() override = default;

    /** Fails with "Stream read failed" when the stream reports a negative count. */
    Tessarine::Result read (void* buffer, size_t size, size_t* bytesRead) override;
    bool isExhausted() override;

private:
    juce::InputStream& stream;

    JUCE_DECLARE_NON_COPYABLE (InStreamWrapper)
};
