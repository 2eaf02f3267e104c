// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the seed corpus of fuzz_audio_file into the folder given: short WAV
// and AIFF files made by sox at every accepted rate, depth and channel count
// (sox must be installed), and a 20-bit WAV sox cannot make.
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
bool sox (const std::string& arguments)
{
    const std::string command = "sox -V1 " + arguments;

    if (std::system (command.c_str()) == 0)
        return true;

    std::fprintf (stderr, "seed_audio_file: sox failed or is missing: %s\n", command.c_str());
    return false;
}

void put16 (std::FILE* f, unsigned v) { std::fputc ((int) (v & 0xFF), f); std::fputc ((int) ((v >> 8) & 0xFF), f); }
void put32 (std::FILE* f, unsigned v) { put16 (f, v & 0xFFFF); put16 (f, v >> 16); }

bool write20BitWav (const std::string& path)
{
    std::FILE* f = std::fopen (path.c_str(), "wb");

    if (f == nullptr)
        return false;

    const unsigned frames = 16, align = 6, dataSize = frames * align;
    std::fputs ("RIFF", f);
    put32 (f, 4 + 8 + 16 + 8 + dataSize);
    std::fputs ("WAVEfmt ", f);
    put32 (f, 16);
    put16 (f, 1);
    put16 (f, 2);
    put32 (f, 96000);
    put32 (f, 96000 * align);
    put16 (f, align);
    put16 (f, 20);
    std::fputs ("data", f);
    put32 (f, dataSize);

    for (unsigned i = 0; i < dataSize; ++i)
        std::fputc ((int) ((i * 37) & 0xF0), f);

    return std::fclose (f) == 0;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf (stderr, "usage: seed_audio_file FOLDER\n");
        return 2;
    }

    const std::string folder = argv[1];
    const char* encodings[] = { "-b 8", "-b 16", "-b 24", "-b 32", "-e floating-point -b 32" };
    const int rates[] = { 44100, 48000, 88200, 96000, 176400, 192000 };
    int made = 0;

    for (int rate : rates)
        for (int channels = 1; channels <= 2; ++channels)
            for (int e = 0; e < 5; ++e)
            {
                // Only some combinations, to keep the corpus small; each rate,
                // depth and channel count appears in both formats.
                if ((rate / 100 + channels + e) % 3 != 0)
                    continue;

                const std::string input = "-r " + std::to_string (rate) + " -c " + std::to_string (channels) + " -n ";
                const std::string name = folder + "/seed" + std::to_string (made++);

                if (! sox (input + encodings[e] + " " + name + ".wav synth 24s whitenoise sine 1000"))
                    return 1;

                if (e < 4 && ! sox (input + encodings[e] + " " + name + ".aiff synth 24s sine 300 whitenoise"))
                    return 1;
            }

    return write20BitWav (folder + "/seed20.wav") ? 0 : 1;
}
