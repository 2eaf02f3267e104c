// SPDX-License-Identifier: GPL-3.0-or-later
#include "TessarineData.h"

#include <cstring>

namespace Tessarine
{
namespace TessarineData
{

namespace
{
constexpr uint32_t kUnityGainWord = 0x3F800000u;   // 1.0f

// The three pair-list capacities share one layout: entries in ascending order,
// then filler entries up to the capacity. The block is only touched once the
// map is known to fit, so a failed encode leaves the caller's bytes as they were.
Result encodePairs (uint8_t* block, const ParamMap& params, size_t capacity)
{
    if (params.size() > capacity)
        return TESSARINE_ERROR ("Too many params");

    const std::vector<ParamPair> pairs = sortedParamList (params);

    for (size_t i = 0; i < capacity; ++i)
    {
        uint8_t* entry = block + i * kParamPairSize;

        if (i < pairs.size())
        {
            writeWord (entry, pairs[i].first);
            writeWord (entry + 4, pairs[i].second);
        }
        else
        {
            writeWord (entry, kParamListEnd);
            writeWord (entry + 4, 0);
        }
    }

    return kSuccess;
}

// `area` is the name's own words (after any identifier word); `areaSize` is
// zeroed first so no stale byte survives behind a shorter name.
void encodeCharacterWords (uint8_t* area, size_t areaSize, size_t limit, const std::string& name)
{
    std::memset (area, 0, areaSize);

    for (size_t k = 0; k < limit && k < name.size(); ++k)
    {
        const auto c = (uint8_t) name[k];

        if (c == 0)
            break;

        area[k * 4] = c;
    }
}

void decodeCharacterWords (const uint8_t* area, size_t limit, std::string& name)
{
    std::string decoded;

    for (size_t k = 0; k < limit; ++k)
    {
        const uint8_t c = area[k * 4];

        if (c == 0)
            break;

        decoded.push_back ((char) c);
    }

    name = std::move (decoded);
}

void fillUnitImpulse (ImpulseData& impulse)
{
    for (auto& channel : impulse)
    {
        for (auto& sample : channel)
            sample = 0.0f;

        channel[0] = 1.0f;
    }
}
} // namespace

//==============================================================================
Cabinet::Cabinet()
{
    fillUnitImpulse (impulse);
}

Amp::Amp()
{
    impulse.fill (0);
    finishingFilter.fill (0);
}

Amp::Amp (const Amp& other)
    : data (other.data),
      nameAndID (other.nameAndID),
      impulse (other.impulse),
      finishingFilter (other.finishingFilter),
      secondData (detail::cloneOwned (other.secondData))
{
}

Amp& Amp::operator= (const Amp& other)
{
    if (this != &other)
    {
        Amp copy (other);
        *this = std::move (copy);
    }

    return *this;
}

FullQuorbelPreset::FullQuorbelPreset()
{
    finishingFilter.fill (0);
    writeWord (finishingFilter.data(), kUnityGainWord);
}

Preset::Preset (const Preset& other)
    : params (other.params),
      name (other.name),
      cab (detail::cloneOwned (other.cab))
{
}

Preset& Preset::operator= (const Preset& other)
{
    if (this != &other)
    {
        Preset copy (other);
        *this = std::move (copy);
    }

    return *this;
}

QuorbelArchive::QuorbelArchive (const QuorbelArchive& other)
    : versions (detail::cloneOwned (other.versions)),
      firmware (detail::cloneOwned (other.firmware)),
      presets (other.presets),
      globals (detail::cloneOwned (other.globals))
{
}

QuorbelArchive& QuorbelArchive::operator= (const QuorbelArchive& other)
{
    if (this != &other)
    {
        QuorbelArchive copy (other);
        *this = std::move (copy);
    }

    return *this;
}

//==============================================================================
std::vector<ParamPair> sortedParamList (const ParamMap& params)
{
    // std::map already iterates in ascending key order.
    return std::vector<ParamPair> (params.begin(), params.end());
}

Result decodeParamList (const uint8_t* data, size_t size, ParamMap& params)
{
    params.clear();
    const size_t entries = size / kParamPairSize;

    for (size_t i = 0; i < entries; ++i)
    {
        const uint8_t* entry = data + i * kParamPairSize;
        const uint32_t id = readWord (entry);

        if (id == kParamListEnd)
            break;

        params[id] = readWord (entry + 4);
    }

    return kSuccess;
}

Result encodeParamList (uint8_t* block, const ParamMap& params)
{
    return encodePairs (block, params, kParamListCapacity);
}

Result encodeLongParamList (uint8_t* block, const ParamMap& params)
{
    return encodePairs (block, params, kLongParamListCapacity);
}

Result encodeParamPairs (uint8_t* block, const ParamMap& params)
{
    return encodePairs (block, params, kParamPairsCapacity);
}

//==============================================================================
Result decodeName (const uint8_t* block, std::string& name)
{
    decodeCharacterWords (block, kNameLength, name);
    return kSuccess;
}

Result encodeName (uint8_t* block, const std::string& name)
{
    encodeCharacterWords (block, kNameBlockSize, kNameLength, name);
    return kSuccess;
}

Result decodeNumberedName (const uint8_t* block, AmpNameAndID& amp)
{
    amp.id = readWord (block);
    decodeCharacterWords (block + 4, kNumberedNameLength, amp.name);
    return kSuccess;
}

Result encodeNumberedName (uint8_t* block, const AmpNameAndID& amp)
{
    writeWord (block, amp.id);
    encodeCharacterWords (block + 4, kNumberedNameBlockSize - 4, kNumberedNameLength, amp.name);
    return kSuccess;
}

Result decodePresetName (const uint8_t* block, std::string& name)
{
    decodeCharacterWords (block, kPresetNameLength, name);
    return kSuccess;
}

Result decodeLongName (const uint8_t* region, std::string& name)
{
    decodeCharacterWords (region, kLongNameLength, name);
    return kSuccess;
}

Result encodeLongName (uint8_t* region, const std::string& name)
{
    encodeCharacterWords (region, kLongNameSize, kLongNameLength, name);
    return kSuccess;
}

//==============================================================================
Result decodeAmpModelBlock (const uint8_t* block, AmpData& amp)
{
    decodeParamList (block, kLongParamListSize, amp.params);
    decodeLongName (block + kAmpNameOffset, amp.name);
    decodeLongName (block + kAmpName2Offset, amp.name2);
    return kSuccess;
}

Result encodeAmpModelBlock (uint8_t* block, const AmpData& amp)
{
    const Result r = encodeLongParamList (block, amp.params);

    if (! r)
        return r;

    encodeLongName (block + kAmpNameOffset, amp.name);
    encodeLongName (block + kAmpName2Offset, amp.name2);
    return kSuccess;
}

//==============================================================================
Result decodeImpulse (const uint8_t* block, ImpulseData& impulse)
{
    for (size_t ch = 0; ch < kImpulseChannels; ++ch)
    {
        for (size_t i = 0; i < kImpulseLength; ++i)
        {
            const uint32_t bits = readWord (block + (ch * kImpulseLength + i) * 4);
            std::memcpy (&impulse[ch][i], &bits, sizeof (bits));
        }
    }

    return kSuccess;
}

Result encodeImpulse (uint8_t* block, const ImpulseData& impulse)
{
    for (size_t ch = 0; ch < kImpulseChannels; ++ch)
    {
        for (size_t i = 0; i < kImpulseLength; ++i)
        {
            uint32_t bits;
            std::memcpy (&bits, &impulse[ch][i], sizeof (bits));
            writeWord (block + (ch * kImpulseLength + i) * 4, bits);
        }
    }

    return kSuccess;
}

} // namespace TessarineData
} // namespace Tessarine
