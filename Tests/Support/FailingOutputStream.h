// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Header-only so that only the runners that use JUCE compile it; the shared
// support library stays free of the framework.
#include <juce_core/juce_core.h>

#include <memory>

namespace TestSupport
{

/** A file stream that gives out after a number of bytes, the way a full disk
    does: later writes fail and nothing more reaches the file. */
class FailingOutputStream : public juce::OutputStream
{
public:
    FailingOutputStream (const juce::File& file, size_t bytesBeforeFailure)
        : inner (file), budget (bytesBeforeFailure) {}

    bool write (const void* data, size_t size) override
    {
        if (size > budget)
        {
            inner.write (data, budget);
            budget = 0;
            return false;
        }

        budget -= size;
        return inner.write (data, size);
    }

    void flush() override { inner.flush(); }
    juce::int64 getPosition() override { return inner.getPosition(); }
    bool setPosition (juce::int64 p) override { return inner.setPosition (p); }

    /** An opener for SafeFileSave that fails after `bytes`. */
    static std::function<std::unique_ptr<juce::OutputStream> (const juce::File&)> opener (size_t bytes)
    {
        return [bytes] (const juce::File& file) -> std::unique_ptr<juce::OutputStream> {
            return std::make_unique<FailingOutputStream> (file, bytes);
        };
    }

private:
    juce::FileOutputStream inner;
    size_t budget;
};

} // namespace TestSupport
