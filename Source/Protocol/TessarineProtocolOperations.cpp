// SPDX-License-Identifier: GPL-3.0-or-later
// The typed operations of TessarineProtocol: fixed recipes over the engine's
// bulk transfers and transactions, and the block codecs.
#include "TessarineProtocol.h"

#include "TessarinePacket.h"

#include <algorithm>
#include <cstring>

namespace Tessarine
{

using namespace TessarinePacket;
namespace Data = TessarineData;

namespace
{
// The pedal's block types.
enum BlockType : uint32_t
{
    globalsBlock = 1,
    presetBlock = 3,
    ampNameBlock = 5,
    ampDataBlock = 6,
    finishingFilterBlock = 8,
    cabNameBlock = 9,
    cabImpulseBlock = 10
};

constexpr uint32_t globalsIndex = 0;
} // namespace

//==============================================================================
Result TessarineProtocol::getGlobals (Data::ParamMap& globals)
{
    std::lock_guard<std::mutex> op (opMutex);
    uint8_t block[Data::kParamListSize] = {};
    size_t received = 0;

    const Result result = readData (globalsBlock, globalsIndex, block, sizeof (block), received);

    if (! result.ok)
        return result;

    return Data::decodeParamList (block, std::min (received, sizeof (block)), globals);
}

Result TessarineProtocol::setGlobals (const Data::ParamMap& globals)
{
    std::lock_guard<std::mutex> op (opMutex);
    uint8_t block[Data::kParamListSize];

    const Result encoded = Data::encodeParamList (block, globals);

    if (! encoded.ok)
        return encoded;

    return sendData (globalsBlock, globalsIndex, block, sizeof (block));
}

Result TessarineProtocol::getPreset (uint32_t preset, Data::ParamMap& params)
{
    std::lock_guard<std::mutex> op (opMutex);
    uint8_t block[Data::kParamPairsSize] = {};
    size_t received = 0;

    const Result result = readData (presetBlock, preset, block, sizeof (block), received);

    if (! result.ok)
        return result;

    // A short list gives only the pairs sent; a long one is cut at the buffer.
    return Data::decodeParamList (block, std::min (received, sizeof (block)), params);
}

Result TessarineProtocol::setPreset (uint32_t preset, const Data::ParamMap& params)
{
    std::lock_guard<std::mutex> op (opMutex);
    uint8_t block[Data::kParamPairsSize];

    // Variant 1 pedals take the short 128-pair preset block.
    const bool shortBlock = variant == 1;
    const Result encoded = shortBlock ? Data::encodeParamList (block, params)
                                     : Data::encodeParamPairs (block, params);

    if (! encoded.ok)
        return encoded;

    return sendData (presetBlock, preset, block, shortBlock ? Data::kParamListSize : Data::kParamPairsSize);
}

Result TessarineProtocol::getAmpNameAndID (uint32_t preset, Data::AmpNameAndID& amp)
{
    std::lock_guard<std::mutex> op (opMutex);
    uint8_t block[Data::kNumberedNameBlockSize] = {};
    size_t received = 0;

    const Result result = readData (ampNameBlock, preset, block, sizeof (block), received);

    if (! result.ok)
        return result;

    return Data::decodeNumberedName (block, amp);
}

Result TessarineProtocol::setAmpNameAndID (uint32_t preset, const Data::AmpNameAndID& amp, bool)
{
    std::lock_guard<std::mutex> op (opMutex);
    uint8_t block[Data::kNumberedNameBlockSize];

    const Result encoded = Data::encodeNumberedName (block, amp);

    if (! encoded.ok)
        return encoded;

    return sendData (ampNameBlock, preset, block, sizeof (block));
}

Result TessarineProtocol::getAmpData (uint32_t preset, Data::AmpData& amp)
{
    std::lock_guard<std::mutex> op (opMutex);
    uint8_t block[Data::kAmpBlockSize] = {};
    size_t received = 0;

    const Result result = readData (ampDataBlock, preset, block, sizeof (block), received);

    if (! result.ok)
        return result;

    return Data::decodeAmpModelBlock (block, amp);
}

Result TessarineProtocol::setAmpData (uint32_t preset, const Data::AmpData& amp, bool)
{
    std::lock_guard<std::mutex> op (opMutex);
    uint8_t block[Data::kAmpBlockSize];

    const Result encoded = Data::encodeAmpModelBlock (block, amp);

    if (! encoded.ok)
        return encoded;

    return sendData (ampDataBlock, preset, block, sizeof (block));
}

Result TessarineProtocol::getFinishingFilter (uint32_t preset, Data::FinishingFilterBlock& filter)
{
    std::lock_guard<std::mutex> op (opMutex);
    Data::FinishingFilterBlock block {};
    size_t received = 0;

    const Result result = readData (finishingFilterBlock, preset, block.data(), block.size(), received);

    if (! result.ok)
        return result;

    filter = block;
    return kSuccess;
}

Result TessarineProtocol::setFinishingFilter (uint32_t preset, const Data::FinishingFilterBlock& filter, bool)
{
    std::lock_guard<std::mutex> op (opMutex);
    return sendData (finishingFilterBlock, preset, filter.data(), filter.size());
}

Result TessarineProtocol::getCabName (uint32_t preset, std::string& name)
{
    std::lock_guard<std::mutex> op (opMutex);
    uint8_t block[Data::kNameBlockSize] = {};
    size_t received = 0;

    const Result result = readData (cabNameBlock, preset, block, sizeof (block), received);

    if (! result.ok)
        return result;

    return Data::decodeName (block, name);
}

Result TessarineProtocol::setCabName (uint32_t preset, const std::string& name)
{
    std::lock_guard<std::mutex> op (opMutex);
    uint8_t block[Data::kNameBlockSize];

    const Result encoded = Data::encodeName (block, name);

    if (! encoded.ok)
        return encoded;

    return sendData (cabNameBlock, preset, block, sizeof (block));
}

Result TessarineProtocol::getCabData (uint32_t preset, Data::ImpulseData& impulse)
{
    std::lock_guard<std::mutex> op (opMutex);
    uint8_t block[Data::kImpulseBlockSize] = {};
    size_t received = 0;

    const Result result = readData (cabImpulseBlock, preset, block, sizeof (block), received);

    if (! result.ok)
        return result;

    return Data::decodeImpulse (block, impulse);
}

Result TessarineProtocol::setCabData (uint32_t preset, const Data::ImpulseData& impulse)
{
    std::lock_guard<std::mutex> op (opMutex);
    uint8_t block[Data::kImpulseBlockSize];

    const Result encoded = Data::encodeImpulse (block, impulse);

    if (! encoded.ok)
        return encoded;

    return sendData (cabImpulseBlock, preset, block, sizeof (block));
}

//==============================================================================
Result TessarineProtocol::setCurrentPreset (uint32_t preset)
{
    std::lock_guard<std::mutex> op (opMutex);
    uint8_t replyBytes[maxPacketSize];
    MessageBuffer reply { replyBytes, sizeof (replyBytes) };

    const Frame request = programChangeFrame (preset);
    const Result result = doPacketTransaction (reply, { ack, nack },
                                               [this, &request] (int) { return sendFrame (request.bytes, request.length); });

    if (! result.ok)
        return failInErrorState (result);

    if (replyBytes[0] == nack)
        return failInErrorState (TESSARINE_ERROR ("Got NACK for program change"));

    if (replyBytes[0] != ack)
        return failInErrorState (TESSARINE_ERROR ("Internal error"));

    return kSuccess;
}

Result TessarineProtocol::getCurrentPreset (uint32_t& preset)
{
    std::lock_guard<std::mutex> op (opMutex);
    uint8_t replyBytes[maxPacketSize];
    MessageBuffer reply { replyBytes, sizeof (replyBytes) };

    const Frame request = emptyFrame (programRequest);
    const Result result = doPacketTransaction (reply, { programReport, nack },
                                               [this, &request] (int) { return sendFrame (request.bytes, request.length); });

    if (! result.ok)
        return failInErrorState (result);

    if (replyBytes[0] == nack)
        return failInErrorState (TESSARINE_ERROR ("Got NACK for program request"));

    if (replyBytes[0] != programReport)
        return failInErrorState (TESSARINE_ERROR ("Internal error"));

    // The number is the first payload byte; without one there is nothing to
    // read, and the pedal is out of step with us.
    if (replyBytes[1] == 0)
        return failInErrorState (TESSARINE_ERROR ("Malformed program response"));

    preset = replyBytes[headerSize];
    return kSuccess;
}

Result TessarineProtocol::ping (bool& alive)
{
    std::lock_guard<std::mutex> op (opMutex);
    uint8_t replyBytes[maxPacketSize];
    MessageBuffer reply { replyBytes, sizeof (replyBytes) };

    const Frame request = emptyFrame (TessarinePacket::ping);
    const Result result = doPacketTransactionWithTimeout (reply, { ack, nack }, timeouts.pingMs, alive,
                                                          [this, &request] (int) { return sendFrame (request.bytes, request.length); });

    if (! result.ok)
        return failInErrorState (result);

    // A refusal or silence is an answer too: the pedal is not alive.
    alive = alive && replyBytes[0] == ack;
    return kSuccess;
}

Result TessarineProtocol::getFirmwareVersionInfo (Data::FirmwareVersionInfo& versions)
{
    std::lock_guard<std::mutex> op (opMutex);
    uint8_t replyBytes[maxPacketSize];
    MessageBuffer reply { replyBytes, sizeof (replyBytes) };

    const Frame request = emptyFrame (versionRequest);
    const Result result = doPacketTransaction (reply, { ack, nack },
                                               [this, &request] (int) { return sendFrame (request.bytes, request.length); });

    // A pedal whose versions cannot be read must stay reachable, so that a
    // firmware update can still be sent: these failures leave the state alone.
    if (! result.ok)
        return result;

    if (replyBytes[0] == nack)
        return TESSARINE_ERROR ("Got NACK for version request");

    if (replyBytes[0] != ack)
        return failInErrorState (TESSARINE_ERROR ("Internal error"));

    if (! parseVersionReply (replyBytes + headerSize, replyBytes[1], versions))
        return TESSARINE_ERROR ("Malformed version response");

    return kSuccess;
}

Result TessarineProtocol::setParameter (uint32_t parameterId, const uint32_t& value)
{
    std::lock_guard<std::mutex> op (opMutex);
    const Frame frame = setParameterFrame (parameterId, value);
    return sendFrame (frame.bytes, frame.length);
}

Result TessarineProtocol::requestParameterUpdates()
{
    const Frame frame = emptyFrame (statusReport);
    return sendFrame (frame.bytes, frame.length);
}

Result TessarineProtocol::sendFirmware (const std::vector<uint8_t>& image, ProgressCallback progress)
{
    std::lock_guard<std::mutex> op (opMutex);
    return sendFirmwareForSingleDSP (0, image.data(), image.size(), std::move (progress));
}

} // namespace Tessarine
