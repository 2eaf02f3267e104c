// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Result.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Tessarine
{

/** The pedal's data blocks and the records that hold their decoded contents.

    Every block is a fixed-size run of little-endian 32-bit words. A name
    travels as one 8-bit character per word (the low byte; the upper three are
    written as zero and ignored on reading), with zero words after its end.
    The codecs are pure functions over caller-owned memory: decoders trust the
    caller to pass a block of the full size, and only the pair-list encoders
    can fail.
*/
namespace TessarineData
{

using ParamMap = std::map<uint32_t, uint32_t>;
using ParamPair = std::pair<uint32_t, uint32_t>;

//==============================================================================
// Block geometry.

constexpr uint32_t kParamListEnd = 0xFFFFFFFFu;   // identifier that ends a pair list
constexpr size_t kParamPairSize = 8;

constexpr size_t kParamListCapacity = 128;        // globals, short preset blocks
constexpr size_t kParamListSize = 1024;
constexpr size_t kLongParamListCapacity = 256;    // first half of the amp block
constexpr size_t kLongParamListSize = 2048;
constexpr size_t kParamPairsCapacity = 512;       // preset blocks and preset files
constexpr size_t kParamPairsSize = 4096;

constexpr size_t kNameBlockSize = 64;             // cabinet name
constexpr size_t kNameLength = 15;
constexpr size_t kNumberedNameBlockSize = 68;     // amp identifier and name
constexpr size_t kNumberedNameLength = 16;
constexpr size_t kPresetNameBlockSize = 68;       // least size of a "pre" name segment
constexpr size_t kPresetNameLength = 16;
constexpr size_t kLongNameSize = 1024;            // a name region of the amp block
constexpr size_t kLongNameLength = 255;

constexpr size_t kAmpBlockSize = 4096;
constexpr size_t kAmpNameOffset = 2048;
constexpr size_t kAmpName2Offset = 3072;

constexpr size_t kImpulseChannels = 2;
constexpr size_t kImpulseLength = 1024;           // samples per channel
constexpr size_t kImpulseBlockSize = 8192;
constexpr size_t kFinishingFilterSize = 4096;

using ImpulseData = float[kImpulseChannels][kImpulseLength];
using ImpulseBlock = std::array<uint8_t, kImpulseBlockSize>;
using FinishingFilterBlock = std::array<uint8_t, kFinishingFilterSize>;

//==============================================================================
// Little-endian words, whatever the host order.

inline uint32_t readWord (const uint8_t* p)
{
    return (uint32_t) p[0] | ((uint32_t) p[1] << 8) | ((uint32_t) p[2] << 16) | ((uint32_t) p[3] << 24);
}

inline void writeWord (uint8_t* p, uint32_t value)
{
    p[0] = (uint8_t) value;
    p[1] = (uint8_t) (value >> 8);
    p[2] = (uint8_t) (value >> 16);
    p[3] = (uint8_t) (value >> 24);
}

// Parameter values travel as the bit pattern of a single-precision float.

inline float floatFromWord (uint32_t word)
{
    float value;
    std::memcpy (&value, &word, sizeof (value));
    return value;
}

inline uint32_t wordFromFloat (float value)
{
    uint32_t word;
    std::memcpy (&word, &value, sizeof (word));
    return word;
}

//==============================================================================
// Records. Copying a record copies everything it owns, including what its
// unique_ptr fields hold.

namespace detail
{
template <typename T>
std::unique_ptr<T> cloneOwned (const std::unique_ptr<T>& source)
{
    return source != nullptr ? std::make_unique<T> (*source) : nullptr;
}
} // namespace detail

/** A user cabinet: a stereo impulse and a short name. */
struct Cabinet
{
    Cabinet();

    ImpulseData impulse;   // channel-major; a new cabinet holds a unit impulse per channel
    std::string name;
};

/** The decoded amp block: a parameter list and the model's two names. */
struct AmpData
{
    ParamMap params;
    std::string name;
    std::string name2;
};

/** The decoded 68-byte amp name-and-identifier block. */
struct AmpNameAndID
{
    uint32_t id = 0;
    std::string name;
};

/** One amp model as an amp-model data file holds it. The impulse stays with
    the model; it is never sent to the pedal. */
struct Amp
{
    Amp();
    Amp (const Amp& other);
    Amp& operator= (const Amp& other);
    Amp (Amp&&) noexcept = default;
    Amp& operator= (Amp&&) noexcept = default;

    AmpData data;
    AmpNameAndID nameAndID;
    ImpulseBlock impulse;
    FinishingFilterBlock finishingFilter;
    std::unique_ptr<AmpData> secondData;   // present only when the file has a fifth segment
};

/** Everything of one device preset. A preset file carries params, cab and amp
    only; ampData and finishingFilter travel only between pedal and program. */
struct FullQuorbelPreset
{
    FullQuorbelPreset();

    ParamMap params;
    Cabinet cab;
    AmpNameAndID amp;
    AmpData ampData;
    FinishingFilterBlock finishingFilter;   // a new one passes the signal unchanged (1.0, then zeros)
};

/** A preset of the older, larger unit as read from a "pre" file. */
struct Preset
{
    Preset() = default;
    Preset (const Preset& other);
    Preset& operator= (const Preset& other);
    Preset (Preset&&) noexcept = default;
    Preset& operator= (Preset&&) noexcept = default;

    ParamMap params;
    std::string name;
    std::unique_ptr<Cabinet> cab;   // null when the file carries no cabinet
};

/** Firmware versions of the pedal or of a bundle. */
struct FirmwareVersionInfo
{
    std::array<uint8_t, 4> system {};   // major, minor, patch, 0
    std::array<uint8_t, 4> dsp {};
    int32_t kind = -1;                  // 0 to 2 as the pedal reports it; -1 when none was reported
};

/** The contents of a backup or firmware bundle; every part is optional. */
struct QuorbelArchive
{
    struct PresetEntry
    {
        uint32_t index = 0;   // the pedal's preset slot
        FullQuorbelPreset preset;
    };

    QuorbelArchive() = default;
    QuorbelArchive (const QuorbelArchive& other);
    QuorbelArchive& operator= (const QuorbelArchive& other);
    QuorbelArchive (QuorbelArchive&&) noexcept = default;
    QuorbelArchive& operator= (QuorbelArchive&&) noexcept = default;

    std::unique_ptr<FirmwareVersionInfo> versions;
    std::unique_ptr<std::vector<uint8_t>> firmware;   // in the bit order sent to the pedal
    std::vector<PresetEntry> presets;
    std::unique_ptr<ParamMap> globals;
};

//==============================================================================
// Parameter-pair lists.

/** The map's entries in ascending identifier order. */
std::vector<ParamPair> sortedParamList (const ParamMap& params);

/** Decodes size / 8 whole entries up to the first end identifier; a repeated
    identifier keeps its last value. Replaces the map's contents. Never fails. */
Result decodeParamList (const uint8_t* data, size_t size, ParamMap& params);

/** Encoders fill the whole block: the entries, then filler {0xFFFFFFFF, 0}.
    More entries than the capacity fail with "Too many params" and leave the
    block untouched. */
Result encodeParamList (uint8_t* block, const ParamMap& params);       // 1024 bytes, 128 pairs
Result encodeLongParamList (uint8_t* block, const ParamMap& params);   // 2048 bytes, 256 pairs
Result encodeParamPairs (uint8_t* block, const ParamMap& params);      // 4096 bytes, 512 pairs

//==============================================================================
// Names. Encoders write the first characters that fit (stopping at an
// embedded zero) and zero the rest of the area.

Result decodeName (const uint8_t* block, std::string& name);          // 64 bytes, 15 characters
Result encodeName (uint8_t* block, const std::string& name);

Result decodeNumberedName (const uint8_t* block, AmpNameAndID& amp);  // 68 bytes, id + 16 characters
Result encodeNumberedName (uint8_t* block, const AmpNameAndID& amp);

Result decodePresetName (const uint8_t* block, std::string& name);    // "pre" name segment, 16 characters

Result decodeLongName (const uint8_t* region, std::string& name);     // 1024 bytes, 255 characters
Result encodeLongName (uint8_t* region, const std::string& name);

//==============================================================================
// Amp block and impulse.

Result decodeAmpModelBlock (const uint8_t* block, AmpData& amp);      // 4096 bytes
Result encodeAmpModelBlock (uint8_t* block, const AmpData& amp);      // "Too many params" above 256

Result decodeImpulse (const uint8_t* block, ImpulseData& impulse);    // 8192 bytes
Result encodeImpulse (uint8_t* block, const ImpulseData& impulse);

} // namespace TessarineData
} // namespace Tessarine
