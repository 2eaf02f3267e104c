// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Result.h"

#include <functional>
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

    /** Runs on the logging thread after each line is recorded, without the
        capture's lock, so it may hold that thread where it logs or read the
        capture. May be set while other threads log. */
    void setLineHook (std::function<void (const std::string& line)> hook);

private:
    static void receive (void* context, const char* line);

    mutable std::mutex mutex;
    std::vector<std::string> captured;
    std::function<void (const std::string&)> lineHook;
};

} // namespace TestSupport
