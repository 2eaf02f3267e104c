// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IOutputStream.h"

#include <cstdint>
#include <string>

namespace TestSupport
{

/** An IOutputStream that keeps everything written to it, and can be told to
    fail every write from a given total size on. */
class CollectingOutputStream : public Tessarine::IOutputStream
{
public:
    static constexpr const char* kFailureText = "Scripted write failure";

    /** A write that would take the total beyond `bytes` fails and keeps nothing. */
    void failBeyond (size_t bytes) { limit = bytes; }

    Tessarine::Result write (const void* data, size_t size) override;

    const std::string& text() const { return written; }
    int writeCount() const { return writes; }

private:
    std::string written;
    size_t limit = SIZE_MAX;
    int writes = 0;
};

} // namespace TestSupport
