// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdarg>

namespace Tessarine
{

/** The outcome of every fallible operation of the protocol library and the
    editor service.

    A failure carries the unformatted message text its creator passed to
    makeError: always a string literal, never owned, so a Result is two words
    that can be copied and dropped freely, even on per-packet paths.
*/
struct Result
{
    bool ok;
    const char* error;

    static Result success() { return { true, nullptr }; }

    explicit operator bool() const { return ok; }
    bool operator== (const Result& other) const;
    bool operator!= (const Result& other) const { return ! (*this == other); }
};

/** The one success value; every success is a copy of it. */
extern const Result kSuccess;

enum LogLevel
{
    LogDebug = 0,
    LogInfo = 1,
    LogWarning = 2,
    LogError = 3
};

/** An optional process-wide log output. The program never installs one; tests
    do, to capture lines. */
using LogSinkFunction = void (*) (void* context, const char* line);

struct LogSink
{
    LogSinkFunction function = nullptr;
    void* context = nullptr;
};

/** Installs a sink (or removes it with a default LogSink). Not synchronised with
    concurrent logging: install before the threads start. */
void setLogSink (LogSink sink);

/** Line buffer size: a line (head, message and terminating NUL) never exceeds it. */
constexpr int kLogLineCapacity = 512;

/** The part of a path after its last '/' or '\\'. */
const char* fileNameFromPath (const char* path);

/** Logs "Error at <file>:<line>: " followed by the formatted message and
    returns a failure whose text is the format itself. */
Result makeError (const char* file, int line, const char* format, ...)
#if defined(__GNUC__)
    __attribute__ ((format (printf, 3, 4)))
#endif
    ;

/** Writes one log line with the level's prefix. */
void logMessage (int level, const char* format, ...)
#if defined(__GNUC__)
    __attribute__ ((format (printf, 2, 3)))
#endif
    ;

void logMessageV (int level, const char* format, va_list args);

/** Hands a finished line to the sink, or writes it with a newline to standard
    output in one call and flushes. */
void writeLogText (const char* line);

} // namespace Tessarine

/** Creates a failure that names this source file (without directories) and line. */
#define TESSARINE_ERROR(...) ::Tessarine::makeError (::Tessarine::fileNameFromPath (__FILE__), __LINE__, __VA_ARGS__)
