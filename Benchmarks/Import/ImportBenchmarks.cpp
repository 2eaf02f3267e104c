// SPDX-License-Identifier: GPL-3.0-or-later
// The cabinet-import chain against sox, on a 10-second 192 kHz 24-bit stereo
// WAV made by sox when the benchmark starts: decoding it, converting it to
// 48 kHz, and one whole cabinet import. The conversion also runs on the same
// signal at 44.1 kHz, where every output has its own filter phase. Every
// figure is wall-clock time (sox runs as a child process).
#include "AudioFileReader.h"
#include "Resampler.h"
#include "UserCabinetImporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

/** The shared input files, made once and removed at exit. */
class BenchmarkFile
{
public:
    BenchmarkFile()
    {
        char pattern[] = "/tmp/tq-bench-XXXXXX";

        if (mkdtemp (pattern) == nullptr)
            throw std::runtime_error ("cannot create a scratch folder");

        folder = pattern;
        path = folder + "/in.wav";
        path44 = folder + "/in44.wav";
        output = folder + "/out.wav";
        run ("sox -V1 -r 192000 -c 2 -n -b 24 " + path + " synth 10 whitenoise sine 1000 vol 0.8");
        run ("sox -V1 -r 44100 -c 2 -n -b 24 " + path44 + " synth 10 whitenoise sine 1000 vol 0.8");
    }

    const std::string& input (int rate) const { return rate == 44100 ? path44 : path; }

    ~BenchmarkFile() { std::system (("rm -rf " + folder).c_str()); }

    static void run (const std::string& command)
    {
        if (std::system (command.c_str()) != 0)
            throw std::runtime_error ("failed (is sox installed?): " + command);
    }

    std::string folder, path, path44, output;
};

const BenchmarkFile& file()
{
    static BenchmarkFile instance;
    return instance;
}

struct Decoded
{
    std::unique_ptr<double[]> left, right;
    int frames = 0;
    int rate = 0;
};

Decoded decode (const std::string& path)
{
    double* left = nullptr;
    double* right = nullptr;
    Decoded d;
    bool mono = false;

    if (! loadAudioFile (path.c_str(), &left, &right, &d.frames, &d.rate, &mono))
        throw std::runtime_error ("cannot read " + path);

    d.left.reset (left);
    d.right.reset (right);
    return d;
}

//==============================================================================
void readerDecode (benchmark::State& state)
{
    const std::string& path = file().path;

    for (auto _ : state)
    {
        Decoded d = decode (path);
        benchmark::DoNotOptimize (d.left[(size_t) d.frames - 1]);
    }
}

void soxDecode (benchmark::State& state)
{
    const std::string command = "sox -V1 " + file().path + " -t f64 /dev/null";

    for (auto _ : state)
        BenchmarkFile::run (command);
}

// Both channels, in input pieces of the resampler's input capacity, into an
// output buffer of the size one such piece can make at this factor.
void resamplerTo48k (benchmark::State& state)
{
    const Decoded d = decode (file().input ((int) state.range (0)));
    Resampler resampler (35, 1, 1.0 / 12.0, 12.0, 4096.0);
    const double factor = 48000.0 / d.rate;
    const int piece = 4096;
    std::vector<double> output (piece);
    int64_t produced = 0;

    for (auto _ : state)
    {
        for (const double* channel : { d.left.get(), d.right.get() })
        {
            resampler.reset();

            for (int offset = 0; offset < d.frames; offset += piece)
            {
                const int length = std::min (piece, d.frames - offset);
                const int last = offset + length == d.frames ? 1 : 0;
                int used = 0;

                // Drain everything this piece makes before handing the next.
                for (;;)
                {
                    const int count = resampler.process (channel + offset, length, last, &used, output.data(), piece, factor);
                    produced += count;

                    if (count == 0 && used == length)
                        break;
                }
            }
        }
    }

    benchmark::DoNotOptimize (produced);
    state.counters["outputs/iteration"] = (double) produced / (double) state.iterations();
}

void soxResampleTo48k (benchmark::State& state)
{
    const std::string command = "sox -V1 " + file().input ((int) state.range (0)) + " -r 48k " + file().output;

    for (auto _ : state)
        BenchmarkFile::run (command);
}

void cabinetImport (benchmark::State& state)
{
    const std::string& path = file().path;
    std::vector<float> impulse (2 * UserCabinetImporter::kLength);

    for (auto _ : state)
    {
        if (! UserCabinetImporter::importImpulse (path.c_str(), impulse.data()))
            throw std::runtime_error ("import failed");

        benchmark::DoNotOptimize (impulse.data());
    }
}

} // namespace

BENCHMARK (readerDecode)->Unit (benchmark::kMillisecond)->UseRealTime();
BENCHMARK (soxDecode)->Unit (benchmark::kMillisecond)->UseRealTime();
BENCHMARK (resamplerTo48k)->Arg (192000)->Arg (44100)->Unit (benchmark::kMillisecond)->UseRealTime();
BENCHMARK (soxResampleTo48k)->Arg (192000)->Arg (44100)->Unit (benchmark::kMillisecond)->UseRealTime();
BENCHMARK (cabinetImport)->Unit (benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
