// SPDX-License-Identifier: GPL-3.0-or-later
#include "TessarineDataFile.h"
#include "PresetParameterUpgrade.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace Tessarine
{

using namespace TessarineData;

namespace
{
constexpr size_t kLineBufferSize = 512;
constexpr size_t kMaxTypeTextLength = 255;
constexpr size_t kBitReversedChunk = 256;

const char* typeText (uint32_t type)
{
    switch (type)
    {
        case TessarineDataFile::PresetData:      return "Preset data";
        case TessarineDataFile::UserCabinetData: return "User Cabinet data";
        case TessarineDataFile::GlobalsData:     return "Globals data";
        case TessarineDataFile::AmpModelData:    return "Amp_Model data";
        default:                                 return nullptr;
    }
}

bool isSpace (char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int hexDigitValue (char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

/** Walks a line the way the C library's scanf walks its input, for the few
    fixed patterns the files use: a blank in a pattern matches any run of white
    space (none too), other pattern characters must match exactly. The number
    conversions are written out here rather than left to sscanf so that values
    beyond 32 bits have a defined outcome and a line with embedded zero bytes
    is scanned as the bytes it holds. */
class LineScanner
{
public:
    explicit LineScanner (const std::string& lineToScan) : line (lineToScan) {}

    /** Matches `pattern`, in which every blank stands for optional white space. */
    bool expect (const char* pattern)
    {
        for (const char* p = pattern; *p != '\0'; ++p)
        {
            if (*p == ' ')
            {
                skipSpace();
                continue;
            }

            if (pos >= line.size() || line[pos] != *p)
                return false;

            ++pos;
        }

        return true;
    }

    /** %d: optional white space, an optional sign and at least one digit. A
        number outside the signed 32-bit range is not taken. */
    bool signedNumber (int32_t& value)
    {
        skipSpace();
        size_t p = pos;
        bool negative = false;

        if (p < line.size() && (line[p] == '+' || line[p] == '-'))
            negative = line[p++] == '-';

        const size_t firstDigit = p;
        int64_t magnitude = 0;

        while (p < line.size() && line[p] >= '0' && line[p] <= '9')
        {
            magnitude = magnitude * 10 + (line[p++] - '0');

            if (magnitude > (int64_t) 1 << 31)
                return false;
        }

        if (p == firstDigit)
            return false;

        const int64_t signedValue = negative ? -magnitude : magnitude;

        if (signedValue > INT32_MAX)
            return false;

        value = (int32_t) signedValue;
        pos = p;
        return true;
    }

    enum class Word { none, taken, tooLarge };

    /** %x after the literal "0x", with the C library's value: optional white
        space, an optional sign, an optional second "0x" or "0X" (whose zero
        counts as a digit), then hex digits, any number of them. A negative
        number wraps as an unsigned conversion does. Where the library would
        cut a number beyond 32 bits to its low bits, such a word is refused
        instead: no writer of these files produces one. */
    Word hexWord (uint32_t& value)
    {
        skipSpace();
        size_t p = pos;
        bool negative = false;

        if (p < line.size() && (line[p] == '+' || line[p] == '-'))
            negative = line[p++] == '-';

        size_t digits = 0;

        if (p < line.size() && line[p] == '0')
        {
            ++digits;
            ++p;

            if (p < line.size() && (line[p] == 'x' || line[p] == 'X'))
                ++p;
        }

        uint64_t magnitude = 0;

        for (; p < line.size() && hexDigitValue (line[p]) >= 0; ++p, ++digits)
        {
            magnitude = (magnitude << 4) | (uint64_t) hexDigitValue (line[p]);

            if (magnitude > 0xFFFFFFFFu)
                return Word::tooLarge;
        }

        if (digits == 0)
            return Word::none;

        value = negative ? (uint32_t) (0u - (uint32_t) magnitude) : (uint32_t) magnitude;
        pos = p;
        return Word::taken;
    }

    /** %255[^,]: at least one character up to a comma or the end of the
        line, at most 255 of them. */
    bool textUntilComma (std::string& text)
    {
        const size_t start = pos;

        while (pos < line.size() && line[pos] != ',' && pos - start < kMaxTypeTextLength)
            ++pos;

        if (pos == start)
            return false;

        text.assign (line, start, pos - start);
        return true;
    }

private:
    void skipSpace()
    {
        while (pos < line.size() && isSpace (line[pos]))
            ++pos;
    }

    const std::string& line;
    size_t pos = 0;
};

/** " # File Type : %[^,], Index = %d": the number of conversions taken. */
int scanHeader (const std::string& line, std::string& text, int32_t& index)
{
    LineScanner scan (line);

    if (! scan.expect (" # File Type : ") || ! scan.textUntilComma (text))
        return 0;

    if (! scan.expect (", Index = ") || ! scan.signedNumber (index))
        return 1;

    return 2;
}

/** " # Data Segment %d": Start and End lines count once their number is
    taken, whatever word follows it. */
bool isSegmentMarker (const std::string& line)
{
    LineScanner scan (line);
    int32_t number = 0;
    return scan.expect (" # Data Segment") && scan.signedNumber (number);
}

bool scanVersionLine (const std::string& line, const char* name, std::array<uint8_t, 4>& version)
{
    LineScanner scan (line);
    int32_t major = 0, minor = 0, patch = 0;

    if (! (scan.expect (" ") && scan.expect (name) && scan.expect (" :")
           && scan.signedNumber (major) && scan.expect (" .")
           && scan.signedNumber (minor) && scan.expect (" .")
           && scan.signedNumber (patch)))
        return false;

    version = { (uint8_t) major, (uint8_t) minor, (uint8_t) patch, 0 };
    return true;
}

uint8_t reversedBits (uint8_t b)
{
    b = (uint8_t) ((b >> 4) | (b << 4));
    b = (uint8_t) (((b & 0xCC) >> 2) | ((b & 0x33) << 2));
    b = (uint8_t) (((b & 0xAA) >> 1) | ((b & 0x55) << 1));
    return b;
}

Result tooFewSegments (TessarineDataFile::FileType kind)
{
    switch (kind)
    {
        case TessarineDataFile::PresetData:      return TESSARINE_ERROR ("Too few segments in preset file");
        case TessarineDataFile::UserCabinetData: return TESSARINE_ERROR ("Too few segments in cabinet file");
        case TessarineDataFile::GlobalsData:     return TESSARINE_ERROR ("Too few segments in globals file");
        case TessarineDataFile::AmpModelData:    break;
    }

    return TESSARINE_ERROR ("Too few segments in amp file");
}

Result wrongType (TessarineDataFile::FileType kind)
{
    switch (kind)
    {
        case TessarineDataFile::PresetData:      return TESSARINE_ERROR ("Not a preset file");
        case TessarineDataFile::UserCabinetData: return TESSARINE_ERROR ("Not a cabinet file");
        case TessarineDataFile::GlobalsData:     return TESSARINE_ERROR ("Not a globals file");
        case TessarineDataFile::AmpModelData:    break;
    }

    return TESSARINE_ERROR ("Not an amp file");
}

/** The steps every typed reader starts with. The segment count is tested
    before the type, so a short file of the wrong kind reports its count. */
Result readTypedFile (IInputStream& in, TessarineDataFile& file, TessarineDataFile::FileType kind,
                     size_t leastSegments, uint32_t* index)
{
    const Result r = file.read (in);

    if (! r)
        return r;

    if (file.segments.size() < leastSegments)
        return tooFewSegments (kind);

    if (file.type != (uint32_t) kind)
        return wrongType (kind);

    if (index != nullptr)
        *index = file.index;

    return kSuccess;
}
} // namespace

//==============================================================================
TessarineDataFile::TessarineDataFile (FileType fileType, uint32_t fileIndex, int segmentCount)
    : type (fileType), index (fileIndex), segments ((size_t) (segmentCount > 0 ? segmentCount : 0))
{
}

//==============================================================================
Result TessarineDataFile::printLine (IOutputStream& out, const char* format, ...)
{
    char buffer[kLineBufferSize];
    va_list args;
    va_start (args, format);
    const int wanted = std::vsnprintf (buffer, sizeof (buffer), format, args);
    va_end (args);

    size_t length = wanted > 0 ? (size_t) wanted : 0;

    if (length > kLineBufferSize - 1)
        length = kLineBufferSize - 1;

    const Result r = out.write (buffer, length);

    if (! r)
        return r;

    return out.write ("\n", 1);
}

uint16_t TessarineDataFile::checksum (const uint8_t* data, size_t size)
{
    uint32_t s = 0;

    for (size_t i = 0; i < size; ++i)
    {
        s = (s >> 1) | ((s & 1u) << 15);
        s = (s + data[i]) & 0xFFFFu;
    }

    return (uint16_t) s;
}

Result TessarineDataFile::write (IOutputStream& out) const
{
    const char* text = typeText (type);

    if (text == nullptr)
        return TESSARINE_ERROR ("Invalid file type string");

    Result r = type == GlobalsData ? printLine (out, "# File Type: %s\n", text)
                                   : printLine (out, "# File Type: %s, Index = %d\n", text, (int) index);

    for (size_t i = 0; r && i < segments.size(); ++i)
    {
        const std::vector<uint8_t>& segment = segments[i];

        r = printLine (out, "\n\nData Segment %d: %d bytes excluding CRC\n\n# Data Segment %d Start - Do Not Delete",
                       (int) i, (int) segment.size(), (int) i);

        for (size_t k = 0; r && k < segment.size() / 4; ++k)
            r = printLine (out, "0x%08x", (unsigned) readWord (segment.data() + 4 * k));

        if (r)
            r = printLine (out, "# Data Segment %d End - Do Not Delete\n\nCRC = 0x%04x\n",
                           (int) i, (unsigned) checksum (segment.data(), segment.size()));
    }

    return r;
}

//==============================================================================
Result TessarineDataFile::readLine (IInputStream& in, std::string& line)
{
    bool endOfStream = false;
    return readLine (in, line, endOfStream);
}

Result TessarineDataFile::readLine (IInputStream& in, std::string& line, bool& endOfStream)
{
    line.clear();
    endOfStream = false;

    for (;;)
    {
        char c = 0;
        size_t count = 0;
        const Result r = in.read (&c, 1, &count);

        if (! r)
            return r;

        if (count == 0)
        {
            endOfStream = true;
            return kSuccess;
        }

        if (c == '\n')
            return kSuccess;

        if (c != '\r')
            line.push_back (c);
    }
}

bool TessarineDataFile::isBlankLine (const std::string& line)
{
    for (char c : line)
        if (! isSpace (c))
            return false;

    return true;
}

// A stream that returned no bytes is treated as ended even if it does not
// call itself exhausted, so a misbehaving stream cannot keep a reader looping.
Result TessarineDataFile::read (IInputStream& in)
{
    segments.clear();

    std::string line;
    bool endOfStream = false;
    std::string text;
    int32_t headerIndex = 0;
    int conversions = 0;

    while (conversions == 0)
    {
        const Result r = readLine (in, line, endOfStream);

        if (! r)
            return r;

        if (endOfStream || in.isExhausted())
            return TESSARINE_ERROR ("Reached end of file looking for type");

        conversions = scanHeader (line, text, headerIndex);
    }

    uint32_t foundType = PresetData;

    while (foundType <= AmpModelData && text != typeText (foundType))
        ++foundType;

    if (foundType > AmpModelData)
        return TESSARINE_ERROR ("Invalid file type string");

    type = foundType;

    if (type == GlobalsData)
        index = 0;
    else if (conversions < 2)
        return TESSARINE_ERROR ("Missing index");
    else
        index = (uint32_t) headerIndex;

    for (;;)
    {
        if (endOfStream || in.isExhausted())
            return kSuccess;

        Result r = readLine (in, line, endOfStream);

        if (! r)
            return r;

        if (isBlankLine (line) || ! isSegmentMarker (line))
            continue;

        std::vector<uint8_t> segment;

        for (;;)
        {
            r = readLine (in, line, endOfStream);

            if (! r)
                return r;

            if (endOfStream || in.isExhausted())
                return TESSARINE_ERROR ("Reached end of file inside segment");

            if (isBlankLine (line))
                continue;

            if (isSegmentMarker (line))
            {
                segments.push_back (std::move (segment));
                break;
            }

            LineScanner scan (line);
            uint32_t word = 0;

            if (! scan.expect (" 0x"))
                continue;

            const LineScanner::Word taken = scan.hexWord (word);

            if (taken == LineScanner::Word::tooLarge)
                return TESSARINE_ERROR ("Invalid data word");

            if (taken == LineScanner::Word::taken)
            {
                uint8_t bytes[4];
                writeWord (bytes, word);
                segment.insert (segment.end(), bytes, bytes + 4);
            }
        }
    }
}

//==============================================================================
Result TessarineDataFile::requireSegmentSize (int n, size_t size) const
{
    if (segments[(size_t) n].size() < size)
        return TESSARINE_ERROR ("Segment too small");

    return kSuccess;
}

Result TessarineDataFile::getImpulseSegment (int n, ImpulseData& impulse) const
{
    const Result r = requireSegmentSize (n, kImpulseBlockSize);
    return r ? decodeImpulse (segments[(size_t) n].data(), impulse) : r;
}

Result TessarineDataFile::getNameSegment (int n, std::string& name) const
{
    const Result r = requireSegmentSize (n, kNameBlockSize);
    return r ? decodeName (segments[(size_t) n].data(), name) : r;
}

Result TessarineDataFile::getAmpNameAndIDSegment (int n, AmpNameAndID& amp) const
{
    const Result r = requireSegmentSize (n, kNumberedNameBlockSize);
    return r ? decodeNumberedName (segments[(size_t) n].data(), amp) : r;
}

Result TessarineDataFile::setParamSegment (const ParamMap& params)
{
    segments[0].resize (kParamPairsSize);
    return encodeParamPairs (segments[0].data(), params);
}

Result TessarineDataFile::setImpulseSegment (int n, const ImpulseData& impulse)
{
    segments[(size_t) n].resize (kImpulseBlockSize);
    return encodeImpulse (segments[(size_t) n].data(), impulse);
}

Result TessarineDataFile::setNameSegment (int n, const std::string& name)
{
    segments[(size_t) n].resize (kNameBlockSize);
    return encodeName (segments[(size_t) n].data(), name);
}

Result TessarineDataFile::setAmpNameAndIDSegment (int n, const AmpNameAndID& amp)
{
    segments[(size_t) n].resize (kNumberedNameBlockSize);
    return encodeNumberedName (segments[(size_t) n].data(), amp);
}

//==============================================================================
Result TessarineDataFile::readFullPresetFile (IInputStream& in, FullQuorbelPreset& preset, uint32_t* index)
{
    TessarineDataFile file (PresetData, 0, 0);
    Result r = readTypedFile (in, file, PresetData, 4, index);

    if (! r)
        return r;

    decodeParamList (file.segments[0].data(), file.segments[0].size(), preset.params);

    if (! (r = file.getImpulseSegment (1, preset.cab.impulse)))
        return r;

    if (! (r = file.getNameSegment (2, preset.cab.name)))
        return r;

    return file.getAmpNameAndIDSegment (3, preset.amp);
}

Result TessarineDataFile::writeFullPresetFile (const FullQuorbelPreset& preset, IOutputStream& out, uint32_t index)
{
    TessarineDataFile file (PresetData, index, 4);
    Result r = file.setParamSegment (preset.params);

    if (r) r = file.setImpulseSegment (1, preset.cab.impulse);
    if (r) r = file.setNameSegment (2, preset.cab.name);
    if (r) r = file.setAmpNameAndIDSegment (3, preset.amp);

    return r ? file.write (out) : r;
}

Result TessarineDataFile::readPresetFile (IInputStream& in, Preset& preset, uint32_t* index)
{
    TessarineDataFile file (PresetData, 0, 0);
    Result r = readTypedFile (in, file, PresetData, 2, index);

    if (! r)
        return r;

    decodeParamList (file.segments[0].data(), file.segments[0].size(), preset.params);

    if (! (r = file.requireSegmentSize (1, kPresetNameBlockSize)))
        return r;

    decodePresetName (file.segments[1].data(), preset.name);

    if (file.segments.size() < 4)
    {
        preset.cab.reset();
    }
    else
    {
        preset.cab = std::make_unique<Cabinet>();

        if (! (r = file.getImpulseSegment (2, preset.cab->impulse)))
            return r;

        if (! (r = file.getNameSegment (3, preset.cab->name)))
            return r;
    }

    return upgradePresetParameters (preset);
}

Result TessarineDataFile::readCabinetFile (IInputStream& in, Cabinet& cabinet, uint32_t* index)
{
    TessarineDataFile file (UserCabinetData, 0, 0);
    Result r = readTypedFile (in, file, UserCabinetData, 2, index);

    if (r) r = file.getImpulseSegment (0, cabinet.impulse);
    if (r) r = file.getNameSegment (1, cabinet.name);

    return r;
}

Result TessarineDataFile::readGlobalsFile (IInputStream& in, ParamMap& globals)
{
    TessarineDataFile file (GlobalsData, 0, 0);
    const Result r = readTypedFile (in, file, GlobalsData, 1, nullptr);

    if (! r)
        return r;

    return decodeParamList (file.segments[0].data(), file.segments[0].size(), globals);
}

Result TessarineDataFile::writeGlobalsFile (const ParamMap& globals, IOutputStream& out)
{
    TessarineDataFile file (GlobalsData, 0, 1);
    file.segments[0].resize (kParamListSize);
    const Result r = encodeParamList (file.segments[0].data(), globals);

    return r ? file.write (out) : r;
}

Result TessarineDataFile::readAmpModelFile (IInputStream& in, Amp& amp, uint32_t* index)
{
    TessarineDataFile file (AmpModelData, 0, 0);
    Result r = readTypedFile (in, file, AmpModelData, 4, index);

    if (! r || ! (r = file.requireSegmentSize (0, kAmpBlockSize)))
        return r;

    decodeAmpModelBlock (file.segments[0].data(), amp.data);

    if (! (r = file.getAmpNameAndIDSegment (1, amp.nameAndID)))
        return r;

    if (! (r = file.requireSegmentSize (2, kImpulseBlockSize)))
        return r;

    std::memcpy (amp.impulse.data(), file.segments[2].data(), kImpulseBlockSize);

    if (! (r = file.requireSegmentSize (3, kFinishingFilterSize)))
        return r;

    std::memcpy (amp.finishingFilter.data(), file.segments[3].data(), kFinishingFilterSize);

    if (file.segments.size() == 4)
    {
        amp.secondData.reset();
        return kSuccess;
    }

    amp.secondData = std::make_unique<AmpData>();

    if (! (r = file.requireSegmentSize (4, kAmpBlockSize)))
        return r;

    return decodeAmpModelBlock (file.segments[4].data(), *amp.secondData);
}

//==============================================================================
Result TessarineDataFile::readVersionFile (IInputStream& in, FirmwareVersionInfo& versions)
{
    versions.system = {};
    versions.dsp = {};
    versions.kind = -1;

    std::string line;
    bool endOfStream = false;

    while (! endOfStream && ! in.isExhausted())
    {
        const Result r = readLine (in, line, endOfStream);

        if (! r)
            return r;

        if (! scanVersionLine (line, "SYSTEM_FW_VERSION", versions.system))
            scanVersionLine (line, "DSP_FW_VERSION", versions.dsp);
    }

    return kSuccess;
}

Result TessarineDataFile::writeVersionFile (const FirmwareVersionInfo& versions, IOutputStream& out)
{
    const Result r = printLine (out, "SYSTEM_FW_VERSION : %d.%d.%d",
                                versions.system[0], versions.system[1], versions.system[2]);

    if (! r)
        return r;

    return printLine (out, "DSP_FW_VERSION : %d.%d.%d", versions.dsp[0], versions.dsp[1], versions.dsp[2]);
}

//==============================================================================
void TessarineDataFile::reverseBitOrder (std::vector<uint8_t>& bytes)
{
    for (auto& b : bytes)
        b = reversedBits (b);
}

Result TessarineDataFile::readBitReversed (IInputStream& in, std::vector<uint8_t>& image)
{
    image.clear();
    uint8_t chunk[kBitReversedChunk];

    for (;;)
    {
        size_t count = 0;
        const Result r = in.read (chunk, sizeof (chunk), &count);

        if (! r)
            return r;

        if (count == 0)
            break;

        image.insert (image.end(), chunk, chunk + (count < sizeof (chunk) ? count : sizeof (chunk)));
    }

    reverseBitOrder (image);
    return kSuccess;
}

Result TessarineDataFile::writeBitReversed (const std::vector<uint8_t>& image, IOutputStream& out)
{
    std::vector<uint8_t> stored (image);
    reverseBitOrder (stored);
    return out.write (stored.data(), stored.size());
}

} // namespace Tessarine
