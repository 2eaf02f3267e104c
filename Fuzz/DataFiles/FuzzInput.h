// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InStreamWrapper.h"
#include "Result.h"

#include <juce_core/juce_core.h>

#include <cstdlib>

/** What every data-file fuzz target shares: the fuzzer's bytes as the same
    framework stream the program reads files through, and no log output (every
    refused input would otherwise print an error line). */
struct FuzzInput
{
    FuzzInput (const uint8_t* data, size_t size)
        : memory (data, size, false), stream (memory)
    {
        static const bool quiet = [] {
            Tessarine::setLogSink ({ [] (void*, const char*) {}, nullptr });
            return true;
        }();
        (void) quiet;
    }

    juce::MemoryInputStream memory;
    InStreamWrapper stream;
};

/** A property the code must keep: a broken one stops the fuzzer like a crash. */
#define FUZZ_REQUIRE(condition) do { if (! (condition)) std::abort(); } while (false)
