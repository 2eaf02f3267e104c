// SPDX-License-Identifier: GPL-3.0-or-later
#include "Result.h"

#include <cstdio>
#include <cstring>

namespace Tessarine
{

const Result kSuccess { true, nullptr };

namespace
{
LogSink currentSink;

// Appends printf-style text at `used`, keeping the whole line inside the
// buffer; returns the new length. vsnprintf reports the length it wanted, so
// the count is clamped to what was really written.
int appendFormatted (char* buffer, int used, const char* format, va_list args)
{
    if (used >= kLogLineCapacity - 1)
        return kLogLineCapacity - 1;

    const int room = kLogLineCapacity - used;
    const int wanted = std::vsnprintf (buffer + used, (size_t) room, format, args);

    if (wanted < 0)
    {
        buffer[used] = '\0';
        return used;
    }

    return wanted >= room ? kLogLineCapacity - 1 : used + wanted;
}

int appendFormatted (char* buffer, int used, const char* format, ...)
{
    va_list args;
    va_start (args, format);
    used = appendFormatted (buffer, used, format, args);
    va_end (args);
    return used;
}

const char* prefixForLevel (int level)
{
    switch (level)
    {
        case LogDebug:   return "DEBUG: ";
        case LogInfo:    return "INFO: ";
        case LogWarning: return "WARNING: ";
        case LogError:   return "ERROR: ";
        default:         return "LOG: ";
    }
}
} // namespace

bool Result::operator== (const Result& other) const
{
    if (ok != other.ok)
        return false;

    if (error == nullptr || other.error == nullptr)
        return error == other.error;

    return std::strcmp (error, other.error) == 0;
}

void setLogSink (LogSink sink)
{
    currentSink = sink;
}

const char* fileNameFromPath (const char* path)
{
    if (path == nullptr)
        return "";

    const char* name = path;

    for (const char* p = path; *p != '\0'; ++p)
        if (*p == '/' || *p == '\\')
            name = p + 1;

    return name;
}

Result makeError (const char* file, int line, const char* format, ...)
{
    char buffer[kLogLineCapacity];
    buffer[0] = '\0';
    int used = appendFormatted (buffer, 0, "Error at %s:%d: ", file != nullptr ? file : "", line);

    va_list args;
    va_start (args, format);
    appendFormatted (buffer, used, format, args);
    va_end (args);

    writeLogText (buffer);
    return { false, format };
}

void logMessageV (int level, const char* format, va_list args)
{
    char buffer[kLogLineCapacity];
    buffer[0] = '\0';
    const int used = appendFormatted (buffer, 0, "%s", prefixForLevel (level));
    appendFormatted (buffer, used, format, args);
    writeLogText (buffer);
}

void logMessage (int level, const char* format, ...)
{
    va_list args;
    va_start (args, format);
    logMessageV (level, format, args);
    va_end (args);
}

void writeLogText (const char* line)
{
    const LogSink sink = currentSink;

    if (sink.function != nullptr)
    {
        sink.function (sink.context, line);
        return;
    }

    // One fwrite for the line and its newline, so lines from several threads
    // never mix within a line (stdio locks the stream per call).
    char buffer[kLogLineCapacity + 1];
    size_t length = std::strlen (line);

    if (length > (size_t) kLogLineCapacity - 1)
        length = (size_t) kLogLineCapacity - 1;

    std::memcpy (buffer, line, length);
    buffer[length] = '\n';
    std::fwrite (buffer, 1, length + 1, stdout);
    std::fflush (stdout);
}

} // namespace Tessarine
