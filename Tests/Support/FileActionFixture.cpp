// SPDX-License-Identifier: GPL-3.0-or-later
#include "Support/FileActionFixture.h"

#include "InStreamWrapper.h"
#include "OutStreamWrapper.h"
#include "TessarineDataFile.h"

#include <cstring>

using namespace Tessarine;
using namespace Tessarine::TessarineData;

FileActionFixture::FileActionFixture()
    : host (*service, scratch.get()), actions (*service, amps, host, files, menus, errors)
{
}

void FileActionFixture::runMenuItem (int item, const juce::File& file)
{
    files.answer (file);
    menus.choose (item);
    actions.showFileMenu();
}

juce::File FileActionFixture::writeDataFile (const juce::String& name, const TessarineDataFile& file)
{
    const juce::File target = scratch.file (name);
    target.deleteFile();
    juce::FileOutputStream stream (target);
    OutStreamWrapper out (stream);
    EXPECT_TRUE (file.write (out));
    return target;
}

juce::File FileActionFixture::writePresetFile (const juce::String& name, const FullQuorbelPreset& preset)
{
    const juce::File target = scratch.file (name);
    target.deleteFile();
    juce::FileOutputStream stream (target);
    OutStreamWrapper out (stream);
    EXPECT_TRUE (TessarineDataFile::writeFullPresetFile (preset, out, 0));
    return target;
}

juce::File FileActionFixture::writeCabinetFile (const juce::String& name, const Cabinet& cabinet)
{
    TessarineDataFile file (TessarineDataFile::UserCabinetData, 0, 2);
    EXPECT_TRUE (file.setImpulseSegment (0, cabinet.impulse));
    EXPECT_TRUE (file.setNameSegment (1, cabinet.name));
    return writeDataFile (name, file);
}

juce::File FileActionFixture::writeFirmwareFile (const juce::String& name, const std::vector<uint8_t>& image)
{
    const juce::File target = scratch.file (name);
    target.deleteFile();
    juce::FileOutputStream stream (target);
    OutStreamWrapper out (stream);
    EXPECT_TRUE (TessarineDataFile::writeBitReversed (image, out));
    return target;
}

juce::File FileActionFixture::writeBytes (const juce::String& name, const std::string& bytes)
{
    const juce::File target = scratch.file (name);
    EXPECT_TRUE (target.replaceWithData (bytes.data(), bytes.size()));
    return target;
}

juce::File FileActionFixture::writeOlderPresetFile (const juce::String& name, const ParamMap& params)
{
    TessarineDataFile file (TessarineDataFile::PresetData, 0, 2);
    file.segments[0].assign (kParamPairsSize, 0);
    EXPECT_TRUE (encodeParamPairs (file.segments[0].data(), params));
    file.segments[1].assign (kPresetNameBlockSize, 0);
    const char title[] = "Old Crunch";

    for (size_t i = 0; i < sizeof (title) - 1; ++i)
        writeWord (file.segments[1].data() + 4 * i, (uint8_t) title[i]);

    return writeDataFile (name, file);
}

FullQuorbelPreset FileActionFixture::readPresetFile (const juce::File& file)
{
    FullQuorbelPreset preset;
    juce::FileInputStream stream (file);
    InStreamWrapper in (stream);
    EXPECT_TRUE (TessarineDataFile::readFullPresetFile (in, preset, nullptr)) << file.getFullPathName();
    return preset;
}

std::string FileActionFixture::contentOf (const juce::File& file)
{
    juce::MemoryBlock data;
    file.loadFileAsData (data);
    return std::string ((const char*) data.getData(), data.getSize());
}

uint32_t FileActionFixture::bitsOf (float value)
{
    uint32_t bits;
    std::memcpy (&bits, &value, sizeof (bits));
    return bits;
}
