// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IInputStream.h"

#include <cstdint>
#include <string>
#include <vector>

namespace TestSupport
{

/** An IInputStream over fixed bytes that can be told to misbehave: fail at a
    given byte, hand out short reads, or never call itself exhausted. It
    records the size of every read request. */
class ScriptedInputStream : public Tessarine::IInputStream
{
public:
    static constexpr const char* kFailureText = "Scripted read failure";

    explicit ScriptedInputStream (std::string bytes);

    /** Every read that would reach byte `offset` fails (bytes before it are
        still handed out by earlier reads). */
    void failAtOffset (size_t offset) { failAt = offset; }

    /** Reads hand out at most this many bytes each. */
    void limitChunk (size_t bytes) { chunk = bytes; }

    /** isExhausted stays false even after the end, as a broken stream might. */
    void neverExhausted() { claimsMore = true; }

    Tessarine::Result read (void* buffer, size_t size, size_t* bytesRead) override;
    bool isExhausted() override;

    const std::vector<size_t>& requests() const { return requestSizes; }
    size_t position() const { return pos; }

private:
    std::string data;
    size_t pos = 0;
    size_t failAt = SIZE_MAX;
    size_t chunk = SIZE_MAX;
    bool claimsMore = false;
    std::vector<size_t> requestSizes;
};

} // namespace TestSupport
