// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/AudioFixtureFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace TestSupport
{

namespace
{
// Test paths come from mkdtemp and fixed names, but quote them all the same.
std::string shellQuoted (const std::string& text)
{
    std::string result = "'";

    for (char c : text)
        result += c == '\'' ? std::string ("'\\''") : std::string (1, c);

    return result + "'";
}

std::string replaceAll (std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find (from); at != std::string::npos; at = text.find (from, at + to.size()))
        text.replace (at, from.size(), to);

    return text;
}
} // namespace

AudioFixtureFolder::AudioFixtureFolder()
{
    char pattern[] = "/tmp/tq-audio-XXXXXX";

    if (mkdtemp (pattern) == nullptr)
        ADD_FAILURE() << "Cannot create a scratch folder: " << std::strerror (errno);
    else
        folder = pattern;
}

AudioFixtureFolder::~AudioFixtureFolder()
{
    if (! folder.empty())
        std::system (("rm -rf " + shellQuoted (folder)).c_str());
}

std::string AudioFixtureFolder::path (const std::string& name) const
{
    return folder + "/" + name;
}

std::string AudioFixtureFolder::makeWithSox (const std::string& name, const std::string& arguments) const
{
    const std::string target = path (name);
    const std::string command = "sox -V1 " + replaceAll (arguments, "%OUT%", shellQuoted (target)) + " 2>&1";
    const int status = std::system (command.c_str());

    if (status != 0)
    {
        ADD_FAILURE() << "sox failed or is missing (status " << status << "): " << command;
        return {};
    }

    return target;
}

std::string AudioFixtureFolder::write (const std::string& name, const std::vector<uint8_t>& bytes) const
{
    const std::string target = path (name);
    std::ofstream out (target, std::ios::binary | std::ios::trunc);
    out.write (reinterpret_cast<const char*> (bytes.data()), (std::streamsize) bytes.size());

    if (! out)
        ADD_FAILURE() << "Cannot write " << target;

    return target;
}

std::vector<double> AudioFixtureFolder::decodeWithSox (const std::string& file)
{
    const std::string command = "sox -V1 -D " + shellQuoted (file) + " -t f64 -";
    FILE* pipe = popen (command.c_str(), "r");
    std::vector<double> samples;

    if (pipe == nullptr)
    {
        ADD_FAILURE() << "Cannot run " << command;
        return samples;
    }

    double block[4096];
    size_t count;

    while ((count = std::fread (block, sizeof (double), 4096, pipe)) > 0)
        samples.insert (samples.end(), block, block + count);

    const int status = pclose (pipe);

    if (status != 0)
        ADD_FAILURE() << "sox failed or is missing (status " << status << "): " << command;

    return samples;
}

std::vector<uint8_t> AudioFixtureFolder::readBytes (const std::string& file)
{
    std::ifstream in (file, std::ios::binary);
    return std::vector<uint8_t> (std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char>());
}

} // namespace TestSupport
