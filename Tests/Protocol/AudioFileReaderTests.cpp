// SPDX-License-Identifier: GPL-3.0-or-later
#include "AudioFileReader.h"
#include "Support/AudioFixtureFolder.h"
#include "Support/ByteBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using TestSupport::AudioFixtureFolder;
using TestSupport::ByteBuilder;

namespace
{

const int kRates[] = { 44100, 48000, 88200, 96000, 176400, 192000 };

/** What one read produced, copied out of the reader's arrays. */
struct Decoded
{
    bool ok = false;
    std::vector<double> left, right;
    int numSamples = -1;
    int sampleRate = -1;
    bool isMono = false;
};

Decoded load (const std::string& path)
{
    Decoded d;
    double* left = nullptr;
    double* right = nullptr;
    d.ok = loadAudioFile (path.c_str(), &left, &right, &d.numSamples, &d.sampleRate, &d.isMono);

    if (d.ok)
    {
        d.left.assign (left, left + d.numSamples);
        d.right.assign (right, right + d.numSamples);
    }

    delete[] left;
    delete[] right;
    return d;
}

using StreamReader = int (*) (std::FILE*, double**, double**, int*, int*, bool*);

/** Runs one reader over bytes held in memory and returns its code (0 on
    success). Every failure must leave the caller's outputs as they were. */
int readCode (StreamReader reader, const std::vector<uint8_t>& bytes, Decoded* decoded = nullptr)
{
    std::FILE* file = fmemopen (const_cast<uint8_t*> (bytes.data()), bytes.size(), "rb");
    EXPECT_NE (file, nullptr);
    double* left = nullptr;
    double* right = nullptr;
    int numSamples = -7, sampleRate = -7;
    bool isMono = true;

    const int code = reader (file, &left, &right, &numSamples, &sampleRate, &isMono);
    std::fclose (file);

    if (code != 0)
    {
        EXPECT_EQ (left, nullptr);
        EXPECT_EQ (right, nullptr);
        EXPECT_EQ (numSamples, -7);
        EXPECT_EQ (sampleRate, -7);
        EXPECT_TRUE (isMono);
    }
    else if (decoded != nullptr)
    {
        decoded->ok = true;
        decoded->left.assign (left, left + numSamples);
        decoded->right.assign (right, right + numSamples);
        decoded->numSamples = numSamples;
        decoded->sampleRate = sampleRate;
        decoded->isMono = isMono;
    }

    delete[] left;
    delete[] right;
    return code;
}

int wavCode (const std::vector<uint8_t>& bytes, Decoded* decoded = nullptr)  { return readCode (readWavStream, bytes, decoded); }
int aiffCode (const std::vector<uint8_t>& bytes, Decoded* decoded = nullptr) { return readCode (readAiffStream, bytes, decoded); }

//==============================================================================
// Crafted files.

struct WavFormat
{
    uint16_t tag = 1;
    uint16_t channels = 2;
    uint32_t rate = 48000;
    uint16_t bits = 16;
    int blockAlign = -1; // -1: channels x container bytes
    int64_t byteRate = -1;  // -1: rate x block align
};

std::vector<uint8_t> fmtBody (const WavFormat& f)
{
    const uint16_t align = (uint16_t) (f.blockAlign >= 0 ? f.blockAlign : f.channels * ((f.bits + 7) / 8));
    const uint32_t byteRate = (uint32_t) (f.byteRate >= 0 ? f.byteRate : (int64_t) f.rate * align);
    return ByteBuilder().le16 (f.tag).le16 (f.channels).le32 (f.rate).le32 (byteRate).le16 (align).le16 (f.bits);
}

// The 40-byte "fmt " body of WAVE_FORMAT_EXTENSIBLE with the given SubFormat tag.
std::vector<uint8_t> extensibleFmtBody (WavFormat f, uint16_t subFormat, uint8_t lastGuidByte = 0x71)
{
    f.tag = 0xFFFE;
    return ByteBuilder().bytes (fmtBody (f)).le16 (22).le16 (f.bits).le32 (3)
        .le16 (subFormat).bytes ({ 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, lastGuidByte });
}

std::vector<uint8_t> riff (const std::vector<uint8_t>& chunks, const char* form = "WAVE")
{
    return ByteBuilder().tag ("RIFF").le32 ((uint32_t) (chunks.size() + 4)).tag (form).bytes (chunks);
}

std::vector<uint8_t> wav (const WavFormat& f, const std::vector<uint8_t>& data)
{
    return riff (ByteBuilder().riffChunk ("fmt ", fmtBody (f)).riffChunk ("data", data));
}

// Two 16-bit stereo frames: (0.5, -0.5), (-1.0, 32767/32768).
const std::vector<uint8_t> kPcm16 { 0x00, 0x40, 0x00, 0xC0, 0x00, 0x80, 0xFF, 0x7F };

std::vector<uint8_t> commBody (uint16_t channels, int32_t frames, uint16_t bits, double rate)
{
    return ByteBuilder().be16 (channels).be32 ((uint32_t) frames).be16 (bits).extended (rate);
}

std::vector<uint8_t> ssndBody (const std::vector<uint8_t>& data, uint32_t offset = 0, uint32_t blockSize = 0)
{
    return ByteBuilder().be32 (offset).be32 (blockSize).bytes (data);
}

std::vector<uint8_t> form (const std::vector<uint8_t>& chunks, const char* type = "AIFF")
{
    return ByteBuilder().tag ("FORM").be32 ((uint32_t) (chunks.size() + 4)).tag (type).bytes (chunks);
}

std::vector<uint8_t> aiff (uint16_t channels, int32_t frames, uint16_t bits, double rate, const std::vector<uint8_t>& data)
{
    return form (ByteBuilder().iffChunk ("COMM", commBody (channels, frames, bits, rate)).iffChunk ("SSND", ssndBody (data)));
}

// Two 16-bit big-endian stereo frames, the same values as kPcm16.
const std::vector<uint8_t> kBigPcm16 { 0x40, 0x00, 0xC0, 0x00, 0x80, 0x00, 0x7F, 0xFF };

} // namespace

//==============================================================================
// Files made by sox, decoded by us and by sox itself.

namespace
{
void expectSameAsSox (const std::string& file, int rate, int channels, double tolerance)
{
    const Decoded ours = load (file);
    const std::vector<double> reference = AudioFixtureFolder::decodeWithSox (file);

    ASSERT_TRUE (ours.ok);
    EXPECT_EQ (ours.sampleRate, rate);
    EXPECT_EQ (ours.isMono, channels == 1);
    ASSERT_EQ ((size_t) ours.numSamples * (size_t) channels, reference.size());

    for (int f = 0; f < ours.numSamples; ++f)
    {
        const double expectedLeft = reference[(size_t) (f * channels)];
        const double expectedRight = reference[(size_t) (f * channels + channels - 1)];
        ASSERT_NEAR (ours.left[(size_t) f], expectedLeft, tolerance) << "frame " << f;
        ASSERT_NEAR (ours.right[(size_t) f], expectedRight, tolerance) << "frame " << f;
    }
}
} // namespace

TEST (AudioFileReaderSox, WavAtEveryRateDepthAndChannelCountMatchesSox)
{
    AudioFixtureFolder folder;
    const struct { const char* options; double tolerance; } encodings[] = {
        { "-b 8", 0.0 }, { "-b 16", 0.0 }, { "-b 24", 0.0 }, { "-b 32", 0.0 },
        // sox itself rounds float samples to 32-bit integers
        { "-e floating-point -b 32", 1e-9 },
    };

    for (int rate : kRates)
        for (const auto& encoding : encodings)
            for (int channels = 1; channels <= 2; ++channels)
            {
                const std::string input = "-r " + std::to_string (rate) + " -c " + std::to_string (channels) + " -n ";
                SCOPED_TRACE (input + encoding.options);
                // 301 frames: 8-bit mono data has an odd size and a pad byte.
                const std::string file = folder.makeWithSox ("in.wav", input + encoding.options + " %OUT% synth 301s whitenoise sine 1000 vol 0.9");
                ASSERT_FALSE (file.empty());
                expectSameAsSox (file, rate, channels, encoding.tolerance);
            }
}

TEST (AudioFileReaderSox, AiffAtEveryRateDepthAndChannelCountMatchesSox)
{
    AudioFixtureFolder folder;

    for (int rate : kRates)
        for (int bits : { 8, 16, 24, 32 })
            for (int channels = 1; channels <= 2; ++channels)
            {
                const std::string options = "-r " + std::to_string (rate) + " -c " + std::to_string (channels) + " -n -b " + std::to_string (bits);
                SCOPED_TRACE (options);
                const std::string file = folder.makeWithSox ("in.aiff", options + " %OUT% synth 301s whitenoise sine 1000 vol 0.9");
                ASSERT_FALSE (file.empty());
                expectSameAsSox (file, rate, channels, 0.0);
            }
}

TEST (AudioFileReaderSox, ExtensibleAndPlainHeadersOfTheSameSamplesReadAlike)
{
    AudioFixtureFolder folder;
    const std::string extensible = folder.makeWithSox ("ext.wav", "-r 96000 -c 2 -n -b 24 %OUT% synth 500s whitenoise sine 440");
    ASSERT_FALSE (extensible.empty());
    const std::vector<uint8_t> bytes = AudioFixtureFolder::readBytes (extensible);
    ASSERT_GE (bytes.size(), 22u);
    ASSERT_EQ (bytes[20], 0xFE); // sox writes 24-bit WAV as WAVE_FORMAT_EXTENSIBLE
    ASSERT_EQ (bytes[21], 0xFF);
    expectSameAsSox (extensible, 96000, 2, 0.0);

    const std::string plain = folder.makeWithSox ("plain.wav", "-D " + extensible + " -t wavpcm %OUT%");
    ASSERT_FALSE (plain.empty());
    ASSERT_EQ (AudioFixtureFolder::readBytes (plain)[20], 0x01);
    const Decoded a = load (extensible), b = load (plain);
    EXPECT_EQ (a.left, b.left);
    EXPECT_EQ (a.right, b.right);
}

TEST (AudioFileReaderSox, ExtensibleFloatIsDecodedAsFloatNotAsIntegers)
{
    AudioFixtureFolder folder;
    const std::string plainFloat = folder.makeWithSox ("f.wav", "-r 48000 -c 2 -n -e floating-point -b 32 %OUT% synth 64s whitenoise sine 440 vol 0.8");
    ASSERT_FALSE (plainFloat.empty());
    const Decoded reference = load (plainFloat);
    ASSERT_TRUE (reference.ok);

    // The same float samples behind a WAVE_FORMAT_EXTENSIBLE header.
    std::vector<uint8_t> samples;
    for (int f = 0; f < reference.numSamples; ++f)
        for (double v : { reference.left[(size_t) f], reference.right[(size_t) f] })
        {
            float x = (float) v;
            uint32_t word;
            std::memcpy (&word, &x, 4);
            samples.insert (samples.end(), { (uint8_t) word, (uint8_t) (word >> 8), (uint8_t) (word >> 16), (uint8_t) (word >> 24) });
        }

    WavFormat format;
    format.bits = 32;
    Decoded extensible;
    ASSERT_EQ (wavCode (riff (ByteBuilder().riffChunk ("fmt ", extensibleFmtBody (format, 3)).riffChunk ("data", samples)), &extensible), 0);
    EXPECT_EQ (extensible.left, reference.left);
    EXPECT_EQ (extensible.right, reference.right);

    // A SubFormat that is neither PCM nor float is refused as a format tag.
    EXPECT_EQ (wavCode (riff (ByteBuilder().riffChunk ("fmt ", extensibleFmtBody (format, 2)).riffChunk ("data", samples))), WavErrorFormatTag);
    EXPECT_EQ (wavCode (riff (ByteBuilder().riffChunk ("fmt ", extensibleFmtBody (format, 3, 0x70)).riffChunk ("data", samples))), WavErrorFormatTag);
}

//==============================================================================
// Decoding of crafted samples.

TEST (AudioFileReaderDecoding, EightBitWavIsUnsignedAndEightBitAiffSigned)
{
    WavFormat f;
    f.channels = 1;
    f.bits = 8;
    Decoded w;
    ASSERT_EQ (wavCode (wav (f, { 0x80, 0x00, 0xFF, 0x40 }), &w), 0);
    EXPECT_EQ (w.left, (std::vector<double> { 0.0, -1.0, 127.0 / 128, -0.5 }));
    EXPECT_EQ (w.right, w.left);
    EXPECT_TRUE (w.isMono);

    Decoded a;
    ASSERT_EQ (aiffCode (aiff (1, 4, 8, 48000, { 0x80, 0x00, 0x7F, 0xC0 }), &a), 0);
    EXPECT_EQ (a.left, (std::vector<double> { -1.0, 0.0, 127.0 / 128, -0.5 }));
}

TEST (AudioFileReaderDecoding, SignedDepthsUseTheirContainerWidthInBothByteOrders)
{
    Decoded w16, a16;
    ASSERT_EQ (wavCode (wav (WavFormat(), kPcm16), &w16), 0);
    ASSERT_EQ (aiffCode (aiff (2, 2, 16, 48000, kBigPcm16), &a16), 0);

    for (const Decoded* d : { &w16, &a16 })
    {
        EXPECT_EQ (d->numSamples, 2);
        EXPECT_EQ (d->left, (std::vector<double> { 0.5, -1.0 }));
        EXPECT_EQ (d->right, (std::vector<double> { -0.5, 32767.0 / 32768 }));
        EXPECT_FALSE (d->isMono);
        EXPECT_EQ (d->sampleRate, 48000);
    }

    // 20-bit samples sit in 3-byte containers and are scaled as 24-bit ones.
    WavFormat f20;
    f20.channels = 1;
    f20.bits = 20;
    Decoded w20, a20;
    ASSERT_EQ (wavCode (wav (f20, { 0x10, 0x00, 0x80, 0xF0, 0xFF, 0x7F }), &w20), 0);
    EXPECT_EQ (w20.left, (std::vector<double> { -8388592.0 / 8388608, 8388592.0 / 8388608 }));
    ASSERT_EQ (aiffCode (aiff (1, 2, 20, 44100, { 0x80, 0x00, 0x10, 0x7F, 0xFF, 0xF0 }), &a20), 0);
    EXPECT_EQ (a20.left, w20.left);

    WavFormat f32;
    f32.channels = 1;
    f32.bits = 32;
    Decoded w32;
    ASSERT_EQ (wavCode (wav (f32, { 0x00, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF }), &w32), 0);
    EXPECT_EQ (w32.left, (std::vector<double> { -1.0, 2147483647.0 / 2147483648.0, -1.0 / 2147483648.0 }));

    // A plain tag 0xFFFE without the extension decodes as integer PCM.
    WavFormat bare;
    bare.tag = 0xFFFE;
    Decoded wb;
    ASSERT_EQ (wavCode (wav (bare, kPcm16), &wb), 0);
    EXPECT_EQ (wb.left, w16.left);
}

TEST (AudioFileReaderDecoding, ForeignChunksAreSkippedWithTheirPadBytes)
{
    const std::vector<uint8_t> file = riff (ByteBuilder()
        .riffChunk ("LIST", { 1, 2, 3 })          // odd: pad byte follows
        .riffChunk ("fmt ", fmtBody (WavFormat()))
        .riffChunk ("fact", { 9 })
        .riffChunk ("data", kPcm16)
        .riffChunk ("junk", { 1, 2, 3, 4, 5 }));
    Decoded d;
    ASSERT_EQ (wavCode (file, &d), 0);
    EXPECT_EQ (d.left, (std::vector<double> { 0.5, -1.0 }));

    const std::vector<uint8_t> iff = form (ByteBuilder()
        .iffChunk ("NAME", { 'a', 'b', 'c' })
        .iffChunk ("SSND", ssndBody (kBigPcm16))
        .iffChunk ("COMM", commBody (2, 2, 16, 192000)));
    ASSERT_EQ (aiffCode (iff, &d), 0);
    EXPECT_EQ (d.sampleRate, 192000);
    EXPECT_EQ (d.right, (std::vector<double> { -0.5, 32767.0 / 32768 }));

    // Mono 8-bit data of odd size whose writer left out the final pad byte.
    WavFormat f;
    f.channels = 1;
    f.bits = 8;
    std::vector<uint8_t> unpadded = wav (f, { 0x80, 0xC0, 0x40 });
    ASSERT_EQ (unpadded.back(), 0);
    unpadded.pop_back();
    ASSERT_EQ (wavCode (unpadded, &d), 0);
    EXPECT_EQ (d.left, (std::vector<double> { 0.0, 0.5, -0.5 }));
}

TEST (AudioFileReaderDecoding, ForeignChunkCutShortAtTheEndIsSkippedLikeASeekPastTheEnd)
{
    // A trailing chunk that declares 100 bytes and holds 10: the walk ends
    // with it, as the container size says nothing follows.
    WavFormat mono;
    mono.channels = 1;
    const std::vector<uint8_t> cutList = ByteBuilder().tag ("LIST").le32 (100).zeros (10);
    Decoded d;
    ASSERT_EQ (wavCode (riff (ByteBuilder().riffChunk ("fmt ", fmtBody (mono)).riffChunk ("data", kPcm16).bytes (cutList)), &d), 0);
    EXPECT_EQ (d.left, (std::vector<double> { 0.5, -0.5, -1.0, 32767.0 / 32768 }));

    const std::vector<uint8_t> cutName = ByteBuilder().tag ("NAME").be32 (100).zeros (10);
    ASSERT_EQ (aiffCode (form (ByteBuilder().iffChunk ("COMM", commBody (2, 2, 16, 48000)).iffChunk ("SSND", ssndBody (kBigPcm16)).bytes (cutName)), &d), 0);
    EXPECT_EQ (d.right, (std::vector<double> { -0.5, 32767.0 / 32768 }));

    // A container that counts one more chunk after it: the next tag is missing.
    std::vector<uint8_t> wavMore = riff (ByteBuilder().riffChunk ("fmt ", fmtBody (mono)).riffChunk ("data", kPcm16).bytes (cutList));
    wavMore[4] += (100 - 10) + 8; // the chunk's missing bytes and one more chunk header
    EXPECT_EQ (wavCode (wavMore), WavErrorMalformed);

    std::vector<uint8_t> aiffMore = form (ByteBuilder().iffChunk ("COMM", commBody (2, 2, 16, 48000)).iffChunk ("SSND", ssndBody (kBigPcm16)).bytes (cutName));
    aiffMore[7] += (100 - 10) + 8;
    EXPECT_EQ (aiffCode (aiffMore), WavErrorMalformed);
}

TEST (AudioFileReaderDecoding, LaterFormatAndDataChunksReplaceEarlierOnes)
{
    WavFormat mono;
    mono.channels = 1;
    const std::vector<uint8_t> file = riff (ByteBuilder()
        .riffChunk ("fmt ", fmtBody (mono))
        .riffChunk ("data", { 0x00, 0x40 })
        .riffChunk ("fmt ", fmtBody (WavFormat()))
        .riffChunk ("data", kPcm16));
    Decoded d;
    ASSERT_EQ (wavCode (file, &d), 0);
    EXPECT_FALSE (d.isMono);
    EXPECT_EQ (d.numSamples, 2);
}

//==============================================================================
// The caller's outputs.

TEST (AudioFileReaderOutputs, WithoutSampleArraysOnlyTheFormatIsReported)
{
    AudioFixtureFolder folder;
    const std::string path = folder.write ("a.wav", wav (WavFormat(), kPcm16));
    double* sentinel = reinterpret_cast<double*> (0x10);
    double* left = sentinel;
    int numSamples = -3, rate = 0;
    bool mono = true;

    EXPECT_TRUE (loadAudioFile (path.c_str(), &left, nullptr, &numSamples, &rate, &mono));
    EXPECT_EQ (left, sentinel);
    EXPECT_EQ (numSamples, -3);
    EXPECT_EQ (rate, 48000);
    EXPECT_FALSE (mono);

    EXPECT_TRUE (loadAudioFile (path.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));

    const std::string aiffPath = folder.write ("a.aiff", aiff (1, 2, 16, 88200, { 1, 2, 3, 4 }));
    rate = 0;
    EXPECT_TRUE (loadAudioFile (aiffPath.c_str(), nullptr, nullptr, &numSamples, &rate, &mono));
    EXPECT_EQ (rate, 88200);
    EXPECT_TRUE (mono);
}

TEST (AudioFileReaderOutputs, ArraysAlreadyHeldAreReleasedAndReplaced)
{
    AudioFixtureFolder folder;
    const std::string path = folder.write ("a.wav", wav (WavFormat(), kPcm16));
    double* left = new double[10];
    double* right = new double[20];
    int numSamples = 0;

    // LeakSanitizer fails this test if the old arrays are not released.
    ASSERT_TRUE (loadAudioFile (path.c_str(), &left, &right, &numSamples, nullptr, nullptr));
    EXPECT_EQ (numSamples, 2);
    EXPECT_EQ (left[1], -1.0);
    EXPECT_EQ (right[1], 32767.0 / 32768);

    // The same array passed for both channels is released once.
    double* shared = new double[4];
    double* a = shared;
    double* b = shared;
    ASSERT_TRUE (loadAudioFile (path.c_str(), &a, &b, &numSamples, nullptr, nullptr));
    EXPECT_NE (a, b);

    delete[] left;
    delete[] right;
    delete[] a;
    delete[] b;
}

TEST (AudioFileReaderOutputs, FilesNeitherReaderTakesFail)
{
    AudioFixtureFolder folder;
    double* left = nullptr;
    double* right = nullptr;
    int n = 0, rate = 0;
    bool mono = false;

    EXPECT_FALSE (loadAudioFile (nullptr, &left, &right, &n, &rate, &mono));
    EXPECT_FALSE (loadAudioFile (folder.path ("missing.wav").c_str(), &left, &right, &n, &rate, &mono));
    EXPECT_FALSE (loadAudioFile (folder.path ("").c_str(), &left, &right, &n, &rate, &mono)); // a folder
    EXPECT_FALSE (loadAudioFile (folder.write ("empty.wav", {}).c_str(), &left, &right, &n, &rate, &mono));
    EXPECT_FALSE (loadAudioFile (folder.write ("text.wav", ByteBuilder().tag ("Hell").tag ("o wo").tag ("rld\n")).c_str(), &left, &right, &n, &rate, &mono));

    WavFormat f;
    f.rate = 22050;
    EXPECT_FALSE (loadAudioFile (folder.write ("low.wav", wav (f, kPcm16)).c_str(), &left, &right, &n, &rate, &mono));

    EXPECT_EQ (left, nullptr);
    EXPECT_EQ (right, nullptr);
    EXPECT_EQ (rate, 0);

    EXPECT_EQ (readWavStream (nullptr, &left, &right, &n, &rate, &mono), WavErrorOpen);
    EXPECT_EQ (readAiffStream (nullptr, &left, &right, &n, &rate, &mono), WavErrorOpen);
}

//==============================================================================
// Malformed WAV files, each with its reason.

TEST (AudioFileReaderWavErrors, EveryTruncationIsMalformed)
{
    const std::vector<uint8_t> whole = wav (WavFormat(), kPcm16);
    ASSERT_EQ (wavCode (whole), 0);

    // From one byte on (the empty file is in FilesNeitherReaderTakesFail).
    for (size_t length = 1; length < whole.size(); ++length)
        EXPECT_EQ (wavCode (std::vector<uint8_t> (whole.begin(), whole.begin() + (long) length)), WavErrorMalformed) << length;
}

TEST (AudioFileReaderWavErrors, ChunkSizesPastTheEndOfTheFileAreMalformed)
{
    // The data chunk claims 2 GB; the file holds 8 bytes of it.
    std::vector<uint8_t> file = riff (ByteBuilder().riffChunk ("fmt ", fmtBody (WavFormat())).tag ("data").le32 (0x7FFFFFF0).bytes (kPcm16));
    EXPECT_EQ (wavCode (file), WavErrorMalformed);

    // "fmt " bigger than the file.
    EXPECT_EQ (wavCode (riff (ByteBuilder().tag ("fmt ").le32 (0xFFFFFFFF).bytes (fmtBody (WavFormat())))), WavErrorMalformed);

    // A container larger than its chunks runs into the end of the file.
    std::vector<uint8_t> longer = wav (WavFormat(), kPcm16);
    longer[4] += 8;
    EXPECT_EQ (wavCode (longer), WavErrorMalformed);
}

TEST (AudioFileReaderWavErrors, HeaderAndChunkLayoutFaults)
{
    const auto withFmt = [] (const std::vector<uint8_t>& fmt, const std::vector<uint8_t>& data) {
        return riff (ByteBuilder().riffChunk ("fmt ", fmt).riffChunk ("data", data));
    };

    EXPECT_EQ (wavCode (riff (ByteBuilder().riffChunk ("fmt ", fmtBody (WavFormat())).riffChunk ("data", kPcm16), "WAVX")), WavErrorMalformed);
    std::vector<uint8_t> rifx = wav (WavFormat(), kPcm16);
    rifx[3] = 'X';
    EXPECT_EQ (wavCode (rifx), WavErrorMalformed);
    EXPECT_EQ (wavCode (ByteBuilder().tag ("RIFF").le32 (4).tag ("WAVE").riffChunk ("data", kPcm16)), WavErrorMalformed); // container size below 5
    const std::vector<uint8_t> fmt = fmtBody (WavFormat());
    EXPECT_EQ (wavCode (withFmt (std::vector<uint8_t> (fmt.begin(), fmt.begin() + 14), kPcm16)), WavErrorMalformed); // "fmt " below 16
    EXPECT_EQ (wavCode (riff (ByteBuilder().riffChunk ("data", kPcm16))), WavErrorMalformed);               // no "fmt "
    EXPECT_EQ (wavCode (riff (ByteBuilder().riffChunk ("fmt ", fmtBody (WavFormat())))), WavErrorMalformed); // no "data"
    EXPECT_EQ (wavCode (withFmt (fmtBody (WavFormat()), {})), WavErrorMalformed);                              // empty data
    EXPECT_EQ (wavCode (riff (ByteBuilder().riffChunk ("fmt ", fmtBody (WavFormat())).tag ("data").le32 (0x80000000u).bytes (kPcm16))), WavErrorMalformed); // negative size
}

TEST (AudioFileReaderWavErrors, InconsistentFormatFields)
{
    WavFormat f;
    f.byteRate = 48000 * 4 + 1;
    EXPECT_EQ (wavCode (wav (f, kPcm16)), WavErrorMalformed);

    f = WavFormat();
    f.blockAlign = 0; // byte rate follows it, so the zero itself is caught
    EXPECT_EQ (wavCode (wav (f, kPcm16)), WavErrorMalformed);

    f.blockAlign = 3; // not a multiple of two channels
    EXPECT_EQ (wavCode (wav (f, { 1, 2, 3, 4, 5, 6 })), WavErrorMalformed);

    f = WavFormat();
    EXPECT_EQ (wavCode (wav (f, { 1, 2, 3, 4, 5, 6 })), WavErrorMalformed); // 6 bytes in 4-byte frames

    // A block align that is too small for the samples would make the decoder
    // run past the data: 4 frames of 2 bytes, but each frame takes 4.
    f.blockAlign = 2;
    EXPECT_EQ (wavCode (wav (f, kPcm16)), WavErrorMalformed);

    // A larger block align is accepted; samples are still taken back to back.
    f.blockAlign = 8;
    Decoded d;
    ASSERT_EQ (wavCode (wav (f, kPcm16), &d), 0);
    EXPECT_EQ (d.numSamples, 1);
    EXPECT_EQ (d.left, (std::vector<double> { 0.5 }));
}

TEST (AudioFileReaderWavErrors, UnsupportedFormatsGiveTheirOwnCodesInOrder)
{
    WavFormat f;
    f.tag = 2;
    EXPECT_EQ (wavCode (wav (f, kPcm16)), WavErrorFormatTag);
    f.channels = 3; // the tag is checked first
    EXPECT_EQ (wavCode (wav (f, { 1, 2, 3, 4, 5, 6 })), WavErrorFormatTag);

    f = WavFormat();
    f.channels = 3;
    EXPECT_EQ (wavCode (wav (f, { 1, 2, 3, 4, 5, 6 })), WavErrorChannels);
    f.channels = 0;
    f.blockAlign = 2;
    EXPECT_EQ (wavCode (wav (f, kPcm16)), WavErrorChannels);

    f = WavFormat();
    f.rate = 22050;
    EXPECT_EQ (wavCode (wav (f, kPcm16)), WavErrorSampleRate);
    f.bits = 12; // the rate is checked first
    EXPECT_EQ (wavCode (wav (f, kPcm16)), WavErrorSampleRate);

    f = WavFormat();
    f.bits = 12;
    EXPECT_EQ (wavCode (wav (f, kPcm16)), WavErrorBitDepth);

    // Float data other than 32-bit has no decoding.
    f = WavFormat();
    f.tag = 3;
    EXPECT_EQ (wavCode (wav (f, kPcm16)), WavErrorBitDepth);
    f.bits = 32;
    EXPECT_EQ (wavCode (wav (f, kPcm16)), 0);
}

//==============================================================================
// Malformed AIFF files.

TEST (AudioFileReaderAiffErrors, EveryTruncationIsMalformed)
{
    const std::vector<uint8_t> whole = aiff (2, 2, 16, 48000, kBigPcm16);
    ASSERT_EQ (aiffCode (whole), 0);

    for (size_t length = 1; length < whole.size(); ++length)
        EXPECT_EQ (aiffCode (std::vector<uint8_t> (whole.begin(), whole.begin() + (long) length)), WavErrorMalformed) << length;
}

TEST (AudioFileReaderAiffErrors, ContainerAndChunkFaults)
{
    EXPECT_EQ (aiffCode (form (ByteBuilder().iffChunk ("COMM", commBody (2, 2, 16, 48000)).iffChunk ("SSND", ssndBody (kBigPcm16)), "AIFC")), WavErrorMalformed);
    EXPECT_EQ (aiffCode (ByteBuilder().tag ("FORM").be32 (3).tag ("AIFF").iffChunk ("COMM", commBody (2, 2, 16, 48000))), WavErrorMalformed);
    EXPECT_EQ (aiffCode (form (ByteBuilder().iffChunk ("SSND", ssndBody (kBigPcm16)))), WavErrorMalformed);                       // no COMM
    EXPECT_EQ (aiffCode (form (ByteBuilder().iffChunk ("COMM", commBody (2, 2, 16, 48000)))), WavErrorMalformed);                 // no SSND
    EXPECT_EQ (aiffCode (form (ByteBuilder().iffChunk ("COMM", { 0, 2, 0, 0, 0, 2, 0, 16 }).iffChunk ("SSND", ssndBody (kBigPcm16)))), WavErrorMalformed); // COMM below 18
    EXPECT_EQ (aiffCode (form (ByteBuilder().iffChunk ("COMM", commBody (2, 2, 16, 48000)).iffChunk ("SSND", ssndBody (kBigPcm16, 4)))), WavErrorMalformed); // offset
    EXPECT_EQ (aiffCode (form (ByteBuilder().iffChunk ("COMM", commBody (2, 2, 16, 48000)).iffChunk ("SSND", ssndBody (kBigPcm16, 0, 4)))), WavErrorMalformed); // block size
    EXPECT_EQ (aiffCode (form (ByteBuilder().iffChunk ("COMM", commBody (2, 0, 16, 48000)).iffChunk ("SSND", ssndBody ({})))), WavErrorMalformed); // no sound data
    EXPECT_EQ (aiffCode (form (ByteBuilder().iffChunk ("COMM", commBody (2, 2, 16, 48000)).tag ("SSND").be32 (0x7FFFFFF0).be32 (0).be32 (0).bytes (kBigPcm16))), WavErrorMalformed); // past the end
}

TEST (AudioFileReaderAiffErrors, FrameCountMustFitTheSoundData)
{
    EXPECT_EQ (aiffCode (aiff (2, -1, 16, 48000, kBigPcm16)), WavErrorMalformed);
    EXPECT_EQ (aiffCode (aiff (2, (int32_t) 0x80000000u, 16, 48000, kBigPcm16)), WavErrorMalformed);
    EXPECT_EQ (aiffCode (aiff (2, 3, 16, 48000, kBigPcm16)), WavErrorMalformed);
    EXPECT_EQ (aiffCode (aiff (2, 0x40000000, 16, 48000, kBigPcm16)), WavErrorMalformed);

    // Fewer frames than the data holds: only those are decoded.
    Decoded d;
    ASSERT_EQ (aiffCode (aiff (2, 1, 16, 48000, kBigPcm16), &d), 0);
    EXPECT_EQ (d.left, (std::vector<double> { 0.5 }));
}

TEST (AudioFileReaderAiffErrors, RatesChannelsAndDepths)
{
    EXPECT_EQ (aiffCode (aiff (3, 1, 16, 48000, { 1, 2, 3, 4, 5, 6 })), WavErrorChannels);
    EXPECT_EQ (aiffCode (aiff (2, 2, 16, 22050, kBigPcm16)), WavErrorSampleRate);
    EXPECT_EQ (aiffCode (aiff (2, 2, 16, 44099.4, kBigPcm16)), WavErrorSampleRate);
    EXPECT_EQ (aiffCode (aiff (2, 2, 16, -44100, kBigPcm16)), WavErrorSampleRate);
    EXPECT_EQ (aiffCode (aiff (2, 2, 12, 48000, kBigPcm16)), WavErrorBitDepth);

    Decoded d;
    ASSERT_EQ (aiffCode (aiff (2, 2, 16, 44099.6, kBigPcm16), &d), 0); // to the nearest integer
    EXPECT_EQ (d.sampleRate, 44100);

    // A rate far beyond any int converts as a float but is refused as a rate.
    std::vector<uint8_t> comm = commBody (2, 2, 16, 48000);
    comm[8] = 0x43;
    comm[9] = 0xFE; // exponent 17406: about 1e308
    EXPECT_EQ (aiffCode (form (ByteBuilder().iffChunk ("COMM", comm).iffChunk ("SSND", ssndBody (kBigPcm16)))), WavErrorSampleRate);
    comm[8] = 0x00;
    comm[9] = 0x00; // exponent 0 does not convert
    EXPECT_EQ (aiffCode (form (ByteBuilder().iffChunk ("COMM", comm).iffChunk ("SSND", ssndBody (kBigPcm16)))), WavErrorMalformed);
}

TEST (ReadExtendedFloat, ConvertsNormalNumbersAndRefusesTheRest)
{
    double value = 0;
    const uint8_t rate44100[10] = { 0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0 };
    ASSERT_TRUE (readExtendedFloat (rate44100, value));
    EXPECT_EQ (value, 44100.0);

    // The integer bit is taken as 1 whether it is stored or not.
    const uint8_t noIntegerBit[10] = { 0xC0, 0x0E, 0x2C, 0x44, 0, 0, 0, 0, 0, 0 };
    ASSERT_TRUE (readExtendedFloat (noIntegerBit, value));
    EXPECT_EQ (value, -44100.0);

    const uint8_t fraction[10] = { 0x3F, 0xFF, 0xC0, 0, 0, 0, 0, 0, 0, 0x01 }; // 1.5 + 2^-63
    ASSERT_TRUE (readExtendedFloat (fraction, value));
    EXPECT_EQ (value, 1.5);

    for (uint16_t exponent : { 0x0000, 0x7FFF, 15359, 17407 })
    {
        const uint8_t bytes[10] = { (uint8_t) (exponent >> 8), (uint8_t) exponent, 0x80, 0, 0, 0, 0, 0, 0, 0 };
        EXPECT_FALSE (readExtendedFloat (bytes, value)) << exponent;
    }

    for (uint16_t exponent : { 15360, 17406 })
    {
        const uint8_t bytes[10] = { (uint8_t) (exponent >> 8), (uint8_t) exponent, 0x80, 0, 0, 0, 0, 0, 0, 0 };
        EXPECT_TRUE (readExtendedFloat (bytes, value)) << exponent;
        EXPECT_EQ (value, std::ldexp (1.0, exponent - 16383));
    }
}
