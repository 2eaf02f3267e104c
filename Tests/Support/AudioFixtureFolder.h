// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace TestSupport
{

/** A scratch folder for audio test files, removed with everything in it when
    the object goes. Files are made at test time by sox (which must be
    installed: a missing sox fails the test, it never skips it) or written from
    crafted bytes; sox also serves as the reference decoder. */
class AudioFixtureFolder
{
public:
    AudioFixtureFolder();
    ~AudioFixtureFolder();

    AudioFixtureFolder (const AudioFixtureFolder&) = delete;
    AudioFixtureFolder& operator= (const AudioFixtureFolder&) = delete;

    /** The full path of `name` inside the folder. */
    std::string path (const std::string& name) const;

    /** Runs `sox ARGUMENTS` with "%OUT%" in the arguments replaced by the
        path of `name`; returns that path, or an empty string (and records a
        test failure) when sox is missing or fails. */
    std::string makeWithSox (const std::string& name, const std::string& arguments) const;

    /** Writes `bytes` to `name` and returns its path. */
    std::string write (const std::string& name, const std::vector<uint8_t>& bytes) const;

    /** What `sox -D FILE -t f64 -` prints: the samples as interleaved doubles.
        Records a test failure when sox fails. */
    static std::vector<double> decodeWithSox (const std::string& file);

    /** The bytes of a file (empty when it cannot be read). */
    static std::vector<uint8_t> readBytes (const std::string& file);

private:
    std::string folder;
};

} // namespace TestSupport
