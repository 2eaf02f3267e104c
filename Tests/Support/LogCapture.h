// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Result.h"

#include <mutex>
#include <string>
#include <vector>

namespace TestSupport
{

/** Collects every log line while it lives, so tests can check what the code
    under test logged. Lines still go nowhere else. */
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();

    std::vector<std::string> lines() const;
    bool contains (const std::string& fragment) const;
    void clear();

private:
    static void receive (void* context, const char* line);

    mutable std::mutex mutex;
    std::vector<std::string> captured;
};

} // namespace TestSupport
