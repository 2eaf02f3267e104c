// SPDX-License-Identifier: GPL-3.0-or-later
#include "AudioFileReader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>
#include <memory>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace
{

constexpr int kAcceptedRates[] = { 44100, 48000, 88200, 96000, 176400, 192000 };

bool isAcceptedRate (int64_t rate)
{
    return std::find (std::begin (kAcceptedRates), std::end (kAcceptedRates), rate) != std::end (kAcceptedRates);
}

bool isAcceptedDepth (int bits)
{
    return bits == 8 || bits == 16 || bits == 20 || bits == 24 || bits == 32;
}

// 20-bit samples travel in a 3-byte container.
int containerBytes (int bits)
{
    return (bits + 7) / 8;
}

int32_t asSigned32 (uint32_t value)
{
    return value <= 0x7FFFFFFFu ? (int32_t) value : (int32_t) (value - 0x80000000u) - 0x7FFFFFFF - 1;
}

bool sameTag (const char* tag, const char* expected)
{
    return std::memcmp (tag, expected, 4) == 0;
}

using FileHandle = std::unique_ptr<std::FILE, int (*) (std::FILE*)>;

/*  Walks a chunked file front to back. The file's length is taken once, and
    every read or skip that would go past it fails before anything is read
    (only an unused chunk's skip stops at the end instead): a chunk size from
    the file is never trusted on its own. */
class ChunkCursor
{
public:
    explicit ChunkCursor (std::FILE* f) : file (f)
    {
        if (std::fseek (file, 0, SEEK_END) != 0)
            throw WavErrorMalformed;

        const long end = std::ftell (file);

        if (end < 0 || std::fseek (file, 0, SEEK_SET) != 0)
            throw WavErrorMalformed;

        length = (uint64_t) end;
    }

    void read (void* buffer, uint64_t count)
    {
        require (count);

        if (count > 0 && std::fread (buffer, 1, (size_t) count, file) != (size_t) count)
            throw WavErrorMalformed;

        position += count;
    }

    uint64_t tell() const { return position; }

    void seekTo (uint64_t offset)
    {
        if (offset > length || std::fseek (file, (long) offset, SEEK_SET) != 0)
            throw WavErrorMalformed;

        position = offset;
    }

    void skip (uint64_t count)
    {
        require (count);

        if (count > 0 && std::fseek (file, (long) count, SEEK_CUR) != 0)
            throw WavErrorMalformed;

        position += count;
    }

    // Skips a chunk's pad byte. Some writers leave it out after the last
    // chunk; the chunk itself is whole then, so a missing pad at the very end
    // is not an error (any later read fails on its own).
    void skipPad()
    {
        if (position < length)
            skip (1);
    }

    // Skips a chunk the reader has no use for. One that runs past the end of
    // the file is not a fault in itself (a seek past the end succeeds): the
    // cursor stays at the end, and whatever the container still promises after
    // it fails on its first read.
    void skipUnusedChunk (uint64_t paddedSize)
    {
        skip (std::min (paddedSize, length - position));
    }

    // Skips what is left of a chunk of `size` content bytes (plus its pad
    // byte when the size is odd) after `consumed` bytes of it were read.
    void skipChunkRest (uint64_t size, uint64_t consumed)
    {
        if (consumed < size)
        {
            skip (size - consumed);
            consumed = size;
        }

        if (consumed < size + (size & 1))
            skipPad();
    }

    void readTag (char* tag) { read (tag, 4); }

    uint32_t readLE32()
    {
        uint32_t value = 0;
        require (4);
        if (! readLittleEndian32 (file, value))
            throw WavErrorMalformed;
        position += 4;
        return value;
    }

    uint32_t readBE32()
    {
        uint32_t value = 0;
        require (4);
        if (! readBigEndian32 (file, value))
            throw WavErrorMalformed;
        position += 4;
        return value;
    }

    uint16_t readLE16()
    {
        uint8_t b[2];
        read (b, 2);
        return (uint16_t) (b[0] | (b[1] << 8));
    }

    uint16_t readBE16()
    {
        uint8_t b[2];
        read (b, 2);
        return (uint16_t) ((b[0] << 8) | b[1]);
    }

private:
    void require (uint64_t count) const
    {
        if (count > length - position)
            throw WavErrorMalformed;
    }

    std::FILE* file;
    uint64_t length = 0;
    uint64_t position = 0;
};

struct Outputs
{
    double** left;
    double** right;
    int* numSamples;
    int* sampleRate;
    bool* isMono;

    bool wantsSamples() const { return left != nullptr && right != nullptr && numSamples != nullptr; }
};

//==============================================================================
// Sample decoders: one stored sample to a double. Integer samples are scaled
// by a power of two, so multiplying by its reciprocal is exact.

constexpr double k8 = 1.0 / 128.0;
constexpr double k16 = 1.0 / 32768.0;
constexpr double k24 = 1.0 / 8388608.0;
constexpr double k32 = 1.0 / 2147483648.0;

// Two's complement of `bits` bits, formed without relying on signed overflow.
inline int32_t signExtend (uint32_t raw, int bits)
{
    const uint32_t half = 1u << (bits - 1);
    return raw >= half ? -(int32_t) ((half << 1) - raw - 1) - 1 : (int32_t) raw;
}

struct WavUnsigned8  { double operator() (const uint8_t* p) const { return ((int) p[0] - 128) * k8; } };
struct AiffSigned8   { double operator() (const uint8_t* p) const { return (int8_t) p[0] * k8; } };
struct LittleSigned16 { double operator() (const uint8_t* p) const { return (int16_t) (uint16_t) (p[0] | (p[1] << 8)) * k16; } };
struct BigSigned16   { double operator() (const uint8_t* p) const { return (int16_t) (uint16_t) ((p[0] << 8) | p[1]) * k16; } };
struct LittleSigned24 { double operator() (const uint8_t* p) const { return signExtend ((uint32_t) (p[0] | (p[1] << 8) | (p[2] << 16)), 24) * k24; } };
struct BigSigned24   { double operator() (const uint8_t* p) const { return signExtend ((uint32_t) ((p[0] << 16) | (p[1] << 8) | p[2]), 24) * k24; } };

struct LittleSigned32
{
    double operator() (const uint8_t* p) const
    {
        return signExtend ((uint32_t) p[0] | ((uint32_t) p[1] << 8) | ((uint32_t) p[2] << 16) | ((uint32_t) p[3] << 24), 32) * k32;
    }
};

struct BigSigned32
{
    double operator() (const uint8_t* p) const
    {
        return signExtend (((uint32_t) p[0] << 24) | ((uint32_t) p[1] << 16) | ((uint32_t) p[2] << 8) | (uint32_t) p[3], 32) * k32;
    }
};

struct LittleFloat32
{
    double operator() (const uint8_t* p) const
    {
        const uint32_t bits = (uint32_t) p[0] | ((uint32_t) p[1] << 8) | ((uint32_t) p[2] << 16) | ((uint32_t) p[3] << 24);
        float value;
        std::memcpy (&value, &bits, sizeof (value));
        return value;
    }
};

// The arrays of a long file run to tens of megabytes, and fresh memory costs
// a page fault per 4 KB page on its first write: most of the time a long file
// takes to decode. Where the system gives huge pages on request, ask for them
// (a hint only: if it is refused nothing changes).
std::unique_ptr<double[]> sampleArray (int count)
{
    std::unique_ptr<double[]> array (new double[(size_t) count]);

#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr uintptr_t kHugePage = (uintptr_t) 2 << 20;
    const uintptr_t begin = ((uintptr_t) array.get() + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t end = (uintptr_t) (array.get() + count) & ~(kHugePage - 1);

    if (end > begin)
        madvise ((void*) begin, end - begin, MADV_HUGEPAGE);
#endif

    return array;
}

/*  Decodes `frames` interleaved frames of `channels` samples of `width` bytes
    each, stored back to back from `offset` on (the caller has checked that the
    data holds them all), and hands the two channels to the caller's pointers,
    releasing what they held. The data is read in blocks rather than copied
    whole, so a long file costs no second buffer of its size. */
template <typename Decode>
void decodeSamples (ChunkCursor& in, uint64_t offset, Outputs& out, int frames, int channels, int width, Decode decode)
{
    std::unique_ptr<double[]> left = sampleArray (frames);
    std::unique_ptr<double[]> right = sampleArray (frames);
    constexpr int kBlockFrames = 4096;
    const size_t frameBytes = (size_t) (channels * width);
    std::unique_ptr<uint8_t[]> block (new uint8_t[kBlockFrames * frameBytes]);

    in.seekTo (offset);

    for (int first = 0; first < frames; first += kBlockFrames)
    {
        const int count = std::min (kBlockFrames, frames - first);
        in.read (block.get(), (uint64_t) count * frameBytes);
        const uint8_t* p = block.get();
        double* l = left.get() + first;
        double* r = right.get() + first;

        if (channels == 1)
        {
            for (int f = 0; f < count; ++f, p += width)
                l[f] = decode (p);
        }
        else
        {
            for (int f = 0; f < count; ++f, p += 2 * width)
            {
                l[f] = decode (p);
                r[f] = decode (p + width);
            }
        }
    }

    if (channels == 1)
        std::copy (left.get(), left.get() + frames, right.get());

    // A caller that passed the same array twice gets it released once.
    if (*out.left != *out.right)
        delete[] *out.right;

    delete[] *out.left;
    *out.left = left.release();
    *out.right = right.release();
    *out.numSamples = frames;
}

void reportFormat (Outputs& out, int rate, int channels)
{
    if (out.sampleRate != nullptr)
        *out.sampleRate = rate;

    if (out.isMono != nullptr)
        *out.isMono = channels == 1;
}

//==============================================================================
// The SubFormat GUIDs of WAVE_FORMAT_EXTENSIBLE differ from each other only in
// their first two bytes, which repeat the plain format tag.
constexpr uint8_t kSubFormatTail[14] = { 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 };

struct WavFormat
{
    uint16_t tag = 0;
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint32_t byteRate = 0;
    uint16_t blockAlign = 0;
    uint16_t bits = 0;
    bool hasExtension = false;
    uint8_t subFormat[16] = {};

    // The tag the samples are decoded by: 1 (integer) or 3 (float).
    int decodingTag() const
    {
        if (tag != 0xFFFE)
            return tag;

        if (! hasExtension)
            return 1;

        const int subTag = subFormat[0] | (subFormat[1] << 8);

        if ((subTag == 1 || subTag == 3) && std::memcmp (subFormat + 2, kSubFormatTail, sizeof (kSubFormatTail)) == 0)
            return subTag;

        throw WavErrorFormatTag;
    }
};

void readWav (std::FILE* file, Outputs& out)
{
    if (file == nullptr)
        throw WavErrorOpen;

    ChunkCursor in (file);
    char tag[4];

    in.readTag (tag);
    if (! sameTag (tag, "RIFF"))
        throw WavErrorMalformed;

    const int32_t containerSize = asSigned32 (in.readLE32());

    in.readTag (tag);
    if (! sameTag (tag, "WAVE"))
        throw WavErrorMalformed;

    if (containerSize < 5)
        throw WavErrorMalformed;

    int64_t remaining = (int64_t) containerSize - 4;
    WavFormat format;
    bool haveFormat = false, haveData = false;
    uint64_t dataOffset = 0;
    uint32_t dataSize = 0;

    while (remaining > 0)
    {
        in.readTag (tag);
        const uint32_t size = in.readLE32();
        const uint64_t evenSize = (uint64_t) size + (size & 1);
        remaining -= 8;

        if (sameTag (tag, "fmt "))
        {
            if (evenSize < 16)
                throw WavErrorMalformed;

            format.tag = in.readLE16();
            format.channels = in.readLE16();
            format.rate = in.readLE32();
            format.byteRate = in.readLE32();
            format.blockAlign = in.readLE16();
            format.bits = in.readLE16();
            uint64_t consumed = 16;

            // cbSize, valid bits and channel mask come before the SubFormat.
            format.hasExtension = size >= 40;

            if (format.hasExtension)
            {
                uint8_t extension[24];
                in.read (extension, sizeof (extension));
                std::memcpy (format.subFormat, extension + 8, 16);
                consumed += sizeof (extension);
            }

            in.skipChunkRest (size, consumed);
            remaining -= (int64_t) evenSize;
            haveFormat = true;
        }
        else if (sameTag (tag, "data"))
        {
            if (asSigned32 (size) <= 0)
                throw WavErrorMalformed;

            // Decoded after the checks, straight from the file.
            dataOffset = in.tell();
            in.skip (size);

            remaining -= size;

            if ((size & 1) != 0)
            {
                in.skipPad();
                remaining -= 1;
            }

            haveData = true;
            dataSize = size;
        }
        else
        {
            in.skipUnusedChunk (evenSize);
            remaining -= (int64_t) evenSize;
        }
    }

    if (! haveFormat || ! haveData)
        throw WavErrorMalformed;

    if (format.tag != 1 && format.tag != 3 && format.tag != 0xFFFE)
        throw WavErrorFormatTag;

    const int decodingTag = format.decodingTag();

    if (format.channels != 1 && format.channels != 2)
        throw WavErrorChannels;

    if (! isAcceptedRate (format.rate))
        throw WavErrorSampleRate;

    if (! isAcceptedDepth (format.bits) || (decodingTag == 3 && format.bits != 32))
        throw WavErrorBitDepth;

    if ((uint64_t) format.byteRate != (uint64_t) format.rate * format.blockAlign)
        throw WavErrorMalformed;

    if (format.blockAlign == 0 || format.blockAlign % format.channels != 0)
        throw WavErrorMalformed;

    if (dataSize % format.blockAlign != 0)
        throw WavErrorMalformed;

    const int width = containerBytes (format.bits);
    const uint64_t frames = dataSize / format.blockAlign;

    // Samples are taken back to back at their own width whatever the block
    // align says; a block align too small for them would run off the data.
    if (frames * format.channels * (uint64_t) width > dataSize)
        throw WavErrorMalformed;

    // The format is reported once the samples are in: a read failing on the
    // way (a file cut short meanwhile) leaves every output as it was.
    if (out.wantsSamples())
    {
        const int count = (int) frames;

        if (decodingTag == 3)
            decodeSamples (in, dataOffset, out, count, format.channels, width, LittleFloat32());
        else if (width == 1)
            decodeSamples (in, dataOffset, out, count, format.channels, width, WavUnsigned8());
        else if (width == 2)
            decodeSamples (in, dataOffset, out, count, format.channels, width, LittleSigned16());
        else if (width == 3)
            decodeSamples (in, dataOffset, out, count, format.channels, width, LittleSigned24());
        else
            decodeSamples (in, dataOffset, out, count, format.channels, width, LittleSigned32());
    }

    reportFormat (out, (int) format.rate, format.channels);
}

// AIFF stores its rate as an 80-bit float; a value no int can hold (or an
// infinity) cannot be an accepted rate, so it becomes 0 and is rejected as such.
int roundRate (double rate)
{
    const double rounded = std::floor (rate + 0.5);

    if (! (rounded >= -2147483648.0 && rounded <= 2147483647.0))
        return 0;

    return (int) rounded;
}

void readAiff (std::FILE* file, Outputs& out)
{
    if (file == nullptr)
        throw WavErrorOpen;

    ChunkCursor in (file);
    char tag[4];

    in.readTag (tag);
    if (! sameTag (tag, "FORM"))
        throw WavErrorMalformed;

    const int32_t containerSize = asSigned32 (in.readBE32());

    in.readTag (tag);
    if (! sameTag (tag, "AIFF"))
        throw WavErrorMalformed;

    if (containerSize < 5)
        throw WavErrorMalformed;

    int64_t remaining = (int64_t) containerSize - 4;
    bool haveCommon = false, haveSound = false;
    int channels = 0, bits = 0, rate = 0;
    int32_t frames = 0;
    uint64_t dataOffset = 0;
    uint64_t dataLength = 0;

    while (remaining > 0)
    {
        in.readTag (tag);
        const uint32_t size = in.readBE32();
        const uint64_t evenSize = (uint64_t) size + (size & 1);
        remaining -= 8;

        if (sameTag (tag, "COMM"))
        {
            if (evenSize < 18)
                throw WavErrorMalformed;

            channels = in.readBE16();
            frames = asSigned32 (in.readBE32());
            bits = in.readBE16();

            uint8_t extended[10];
            in.read (extended, sizeof (extended));
            double exactRate = 0.0;

            if (! readExtendedFloat (extended, exactRate))
                throw WavErrorMalformed;

            rate = roundRate (exactRate);
            in.skipChunkRest (size, 18);
            remaining -= (int64_t) evenSize;
            haveCommon = true;
        }
        else if (sameTag (tag, "SSND"))
        {
            if (in.readBE32() != 0 || in.readBE32() != 0)
                throw WavErrorMalformed; // offset and block size: only packed data is accepted

            const int64_t length = (int64_t) size - 8;

            if (length <= 0)
                throw WavErrorMalformed;

            dataOffset = in.tell();
            in.skip ((uint64_t) length);

            remaining -= size;

            if ((length & 1) != 0)
            {
                in.skipPad();
                remaining -= 1;
            }

            haveSound = true;
            dataLength = (uint64_t) length;
        }
        else
        {
            in.skipUnusedChunk (evenSize);
            remaining -= (int64_t) evenSize;
        }
    }

    if (! haveCommon || ! haveSound)
        throw WavErrorMalformed;

    if (channels != 1 && channels != 2)
        throw WavErrorChannels;

    if (! isAcceptedRate (rate))
        throw WavErrorSampleRate;

    if (! isAcceptedDepth (bits))
        throw WavErrorBitDepth;

    const int width = containerBytes (bits);

    // The frame count is trusted for decoding, so it must fit the sound data.
    if (frames < 0 || (uint64_t) frames * (uint64_t) channels * (uint64_t) width > dataLength)
        throw WavErrorMalformed;

    if (out.wantsSamples())
    {
        if (width == 1)
            decodeSamples (in, dataOffset, out, frames, channels, width, AiffSigned8());
        else if (width == 2)
            decodeSamples (in, dataOffset, out, frames, channels, width, BigSigned16());
        else if (width == 3)
            decodeSamples (in, dataOffset, out, frames, channels, width, BigSigned24());
        else
            decodeSamples (in, dataOffset, out, frames, channels, width, BigSigned32());
    }

    reportFormat (out, rate, channels);
}

using StreamReader = void (*) (std::FILE*, Outputs&);

int runReader (StreamReader reader, std::FILE* file, Outputs out)
{
    try
    {
        reader (file, out);
        return 0;
    }
    catch (waverror error)
    {
        return (int) error;
    }
}

bool readFile (StreamReader reader, const char* path, Outputs out)
{
    if (path == nullptr)
        return false;

    // Read-only: a file the user may not write to is still a valid impulse.
    FileHandle file (std::fopen (path, "rb"), &std::fclose);

    if (file == nullptr)
        return false;

    return runReader (reader, file.get(), out) == 0;
}

} // namespace

//==============================================================================
bool loadAudioFile (const char* path, double** left, double** right, int* numSamples, int* sampleRate, bool* isMono)
{
    return readWavFile (path, left, right, numSamples, sampleRate, isMono)
        || readAiffFile (path, left, right, numSamples, sampleRate, isMono);
}

bool readWavFile (const char* path, double** left, double** right, int* numSamples, int* sampleRate, bool* isMono)
{
    return readFile (readWav, path, { left, right, numSamples, sampleRate, isMono });
}

bool readAiffFile (const char* path, double** left, double** right, int* numSamples, int* sampleRate, bool* isMono)
{
    return readFile (readAiff, path, { left, right, numSamples, sampleRate, isMono });
}

int readWavStream (std::FILE* file, double** left, double** right, int* numSamples, int* sampleRate, bool* isMono)
{
    return runReader (readWav, file, { left, right, numSamples, sampleRate, isMono });
}

int readAiffStream (std::FILE* file, double** left, double** right, int* numSamples, int* sampleRate, bool* isMono)
{
    return runReader (readAiff, file, { left, right, numSamples, sampleRate, isMono });
}

bool readExtendedFloat (const uint8_t bytes[10], double& value)
{
    const int exponent = ((bytes[0] & 0x7F) << 8) | bytes[1];

    if (exponent == 0 || exponent == 0x7FFF || exponent < 15360 || exponent > 17406)
        return false;

    uint64_t mantissa = 0;

    for (int i = 2; i < 10; ++i)
        mantissa = (mantissa << 8) | bytes[i];

    // The explicit integer bit (63) is taken as set.
    double fraction = 1.0;

    for (int k = 62; k >= 0; --k)
        if (((mantissa >> k) & 1) != 0)
            fraction += std::ldexp (1.0, k - 63);

    value = std::ldexp (fraction, exponent - 16383);

    if ((bytes[0] & 0x80) != 0)
        value = -value;

    return true;
}

bool readLittleEndian32 (std::FILE* file, uint32_t& value)
{
    uint8_t b[4];

    if (std::fread (b, 1, 4, file) != 4)
        return false;

    value = (uint32_t) b[0] | ((uint32_t) b[1] << 8) | ((uint32_t) b[2] << 16) | ((uint32_t) b[3] << 24);
    return true;
}

bool readBigEndian32 (std::FILE* file, uint32_t& value)
{
    uint8_t b[4];

    if (std::fread (b, 1, 4, file) != 4)
        return false;

    value = ((uint32_t) b[0] << 24) | ((uint32_t) b[1] << 16) | ((uint32_t) b[2] << 8) | (uint32_t) b[3];
    return true;
}
