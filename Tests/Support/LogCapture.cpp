// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/LogCapture.h"

namespace TestSupport
{

LogCapture::LogCapture()
{
    Tessarine::setLogSink ({ &LogCapture::receive, this });
}

LogCapture::~LogCapture()
{
    Tessarine::setLogSink ({});
}

void LogCapture::receive (void* context, const char* line)
{
    auto* self = static_cast<LogCapture*> (context);
    const std::string text (line);
    std::function<void (const std::string&)> hook;

    {
        std::lock_guard<std::mutex> lock (self->mutex);
        self->captured.push_back (text);
        hook = self->lineHook;
    }

    if (hook)
        hook (text);
}

std::vector<std::string> LogCapture::lines() const
{
    std::lock_guard<std::mutex> lock (mutex);
    return captured;
}

bool LogCapture::contains (const std::string& fragment) const
{
    std::lock_guard<std::mutex> lock (mutex);

    for (const auto& line : captured)
        if (line.find (fragment) != std::string::npos)
            return true;

    return false;
}

void LogCapture::clear()
{
    std::lock_guard<std::mutex> lock (mutex);
    captured.clear();
}

void LogCapture::setLineHook (std::function<void (const std::string& line)> hook)
{
    std::lock_guard<std::mutex> lock (mutex);
    lineHook = std::move (hook);
}

} // namespace TestSupport
