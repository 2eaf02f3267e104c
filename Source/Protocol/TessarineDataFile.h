// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "IInputStream.h"
#include "IOutputStream.h"
#include "Result.h"
#include "TessarineData.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Tessarine
{

/** A text data file in memory: a typed header with a device slot index and
    numbered segments, each holding one pedal block.

    Preset, cabinet, globals and amp-model files (alone or inside a backup
    bundle) all share this container; the files are exchanged between users
    and copies of the editor, so the text the writer produces is fixed to the
    character. The static typed readers and writers below map each kind of
    file onto its records, and the firmware-version text and bit-reversed
    firmware images that travel beside them.
*/
class TessarineDataFile
{
public:
    enum FileType : uint32_t
    {
        PresetData = 0,
        UserCabinetData = 1,
        GlobalsData = 2,
        AmpModelData = 3
    };

    TessarineDataFile (FileType type, uint32_t index, int segmentCount);

    uint32_t type;
    uint32_t index;
    std::vector<std::vector<uint8_t>> segments;

    /** Writes the header and every segment; fails only through the stream. */
    Result write (IOutputStream& out) const;

    /** Replaces type, index and segments with the stream's file. After a
        failure the object keeps what was parsed up to it. */
    Result read (IInputStream& in);

    //==============================================================================
    // Typed files. A null index pointer means the caller does not want the
    // header's index.

    static Result readFullPresetFile (IInputStream& in, TessarineData::FullQuorbelPreset& preset, uint32_t* index);
    static Result writeFullPresetFile (const TessarineData::FullQuorbelPreset& preset, IOutputStream& out, uint32_t index);

    /** An older unit's ".pre" file; its parameters are brought up to date. */
    static Result readPresetFile (IInputStream& in, TessarineData::Preset& preset, uint32_t* index);

    static Result readCabinetFile (IInputStream& in, TessarineData::Cabinet& cabinet, uint32_t* index);

    static Result readGlobalsFile (IInputStream& in, TessarineData::ParamMap& globals);
    static Result writeGlobalsFile (const TessarineData::ParamMap& globals, IOutputStream& out);

    static Result readAmpModelFile (IInputStream& in, TessarineData::Amp& amp, uint32_t* index);

    /** The two-line firmware-version text (not in the segment format). */
    static Result readVersionFile (IInputStream& in, TessarineData::FirmwareVersionInfo& versions);
    static Result writeVersionFile (const TessarineData::FirmwareVersionInfo& versions, IOutputStream& out);

    /** Firmware images are stored with the bit order of every byte reversed. */
    static Result readBitReversed (IInputStream& in, std::vector<uint8_t>& image);
    static Result writeBitReversed (const std::vector<uint8_t>& image, IOutputStream& out);

    //==============================================================================
    // Segment access. The caller makes sure segment n exists; readers fail
    // with "Segment too small" for a segment shorter than its block, and
    // setters make the segment exactly its block's size before encoding.

    Result getImpulseSegment (int n, TessarineData::ImpulseData& impulse) const;
    Result getNameSegment (int n, std::string& name) const;
    Result getAmpNameAndIDSegment (int n, TessarineData::AmpNameAndID& amp) const;

    Result setParamSegment (const TessarineData::ParamMap& params);   // segment 0, 512 pairs
    Result setImpulseSegment (int n, const TessarineData::ImpulseData& impulse);
    Result setNameSegment (int n, const std::string& name);
    Result setAmpNameAndIDSegment (int n, const TessarineData::AmpNameAndID& amp);

    //==============================================================================
    // Text primitives, shared by the container and the version text.

    /** Reads up to the next "\n" (not stored), dropping every "\r"; the end
        of the stream also ends the line. */
    static Result readLine (IInputStream& in, std::string& line);

    /** True for an empty line or one of ASCII white space only. */
    static bool isBlankLine (const std::string& line);

    /** Formats into a 512-byte buffer, writes at most 511 characters and then
        one "\n". */
    static Result printLine (IOutputStream& out, const char* format, ...)
#if defined(__GNUC__)
        __attribute__ ((format (printf, 2, 3)))
#endif
        ;

    /** The 16-bit rotate-and-add sum of the BSD `sum` command. */
    static uint16_t checksum (const uint8_t* data, size_t size);

    /** Reverses the bit order of every byte in place (0x01 <-> 0x80). */
    static void reverseBitOrder (std::vector<uint8_t>& bytes);

private:
    Result requireSegmentSize (int n, size_t size) const;
    static Result readLine (IInputStream& in, std::string& line, bool& endOfStream);
};

} // namespace Tessarine
