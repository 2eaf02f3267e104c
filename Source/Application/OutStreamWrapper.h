// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IOutputStream.h"

#include <juce_core/juce_core.h>

/** Lets the data-file writers write to a framework stream it does not own. */
class OutStreamWrapper : public Tessarine::IOutputStream
{
public:
    explicit OutStreamWrapper (juce::OutputStream& target) : stream (target) {}
    ~OutStreamWrapper() override = default;

    /** Fails with "Stream write failed" when the stream refuses the bytes, so
        a full disk is not reported as a saved file. */
    Tessarine::Result write (const void* data, size_t size) override;

private:
    juce::OutputStream& stream;

    JUCE_DECLARE_NON_COPYABLE (OutStreamWrapper)
};
