// SPDX-License-Identifier: GPL-3.0-or-later
// The resources.bin the build paints, read the way the editor reads it.
#include "QuorbelSkin.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#ifndef TQ_SKIN_ARCHIVE_FILE
#error "TQ_SKIN_ARCHIVE_FILE names the generated resources.bin"
#endif

namespace
{
struct FileCloser
{
    void operator() (FILE* f) const { std::fclose (f); }
};

/** Loads the generated archive into the program-wide skin for one test. */
class GeneratedSkin : public ::testing::Test
{
protected:
    void SetUp() override
    {
        file.reset (std::fopen (TQ_SKIN_ARCHIVE_FILE, "rb"));
        ASSERT_NE (file, nullptr) << "missing " << TQ_SKIN_ARCHIVE_FILE;
        FILE* f = file.get();
        ASSERT_TRUE (QuorbelSkin::load ([f] (unsigned int offset, unsigned long size, void* destination) {
            return std::fseek (f, (long) offset, SEEK_SET) == 0 && std::fread (destination, 1, size, f) == size;
        }));
    }

    void TearDown() override { QuorbelSkin::release(); }

    std::unique_ptr<FILE, FileCloser> file;
};

// Pixel size of each image: 4/3 of the size at which the window draws it,
// each side rounded to whole pixels; a film strip's frame is rounded, then
// repeated 99 times.
juce::Point<int> pixelSize (uint32_t id)
{
    using S = QuorbelSkin;

    if (id <= S::BoxAboutBackground) return { 832, 1187 };    // 624 x 890
    if (id == S::LargeDialFilm) return { 181, 181 * S::kFilmStripFrames };   // 136
    if (id == S::FXDialsFilm) return { 195, 195 * S::kFilmStripFrames };     // 146
    if (id <= S::SwitchDown) return { 53, 139 };              // 40 x 104
    if (id <= S::FirmwareOn) return { 133, 32 };              // 100 x 24
    if (id <= S::MinimizeOn) return { 48, 48 };               // 36 x 36
    if (id <= S::ReadoutArrowRightOn) return { 27, 35 };      // 20 x 26
    if (id <= S::FXBlockOn) return { 88, 88 };                // 66 x 66
    if (id == S::FXReadout) return { 365, 69 };               // 274 x 52
    if (id == S::FXRedLine) return { 755, 5 };                // 566 x 4
    if (id == S::FXScrollBar) return { 11, 395 };             // 8 x 296
    if (id <= S::ClearOutlineOn) return { 133, 48 };          // 100 x 36
    if (id <= S::Invert) return { 43, 43 };                   // 32 x 32
    return { 75, 75 };                                        // 56 x 56
}

// True when rows [firstA, firstA + rows) of a and [firstB, firstB + rows) of b
// differ anywhere; a and b have the same width.
bool rowsDiffer (const juce::Image& a, int firstA, const juce::Image& b, int firstB, int rows)
{
    const juce::Image::BitmapData pa (a, juce::Image::BitmapData::readOnly);
    const juce::Image::BitmapData pb (b, juce::Image::BitmapData::readOnly);

    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < a.getWidth(); ++x)
            if (pa.getPixelColour (x, firstA + y) != pb.getPixelColour (x, firstB + y))
                return true;

    return false;
}
} // namespace

TEST_F (GeneratedSkin, HoldsEveryImageAsADecodablePngAtFourThirdsOfItsDrawnSize)
{
    for (uint32_t id = 0; id < QuorbelSkin::kImageCount; ++id)
    {
        const juce::Image image = QuorbelSkin::getImage ((QuorbelSkin::ImageID) id);
        ASSERT_TRUE (image.isValid()) << QuorbelSkin::getFileName (id);
        EXPECT_EQ (image.getWidth(), pixelSize (id).x) << QuorbelSkin::getFileName (id);
        EXPECT_EQ (image.getHeight(), pixelSize (id).y) << QuorbelSkin::getFileName (id);
    }
}

TEST_F (GeneratedSkin, FilmStripsAreColumnsOf99DistinctSquareFrames)
{
    for (auto id : { QuorbelSkin::LargeDialFilm, QuorbelSkin::FXDialsFilm })
    {
        const juce::Image strip = QuorbelSkin::getImage (id);
        ASSERT_TRUE (strip.isValid());
        ASSERT_EQ (strip.getHeight() % QuorbelSkin::kFilmStripFrames, 0);
        const int frame = strip.getHeight() / QuorbelSkin::kFilmStripFrames;
        EXPECT_EQ (frame, strip.getWidth()) << "square frames";

        // The pointer moves in every step, so no two neighbours are alike.
        for (int i = 1; i < QuorbelSkin::kFilmStripFrames; ++i)
            ASSERT_TRUE (rowsDiffer (strip, (i - 1) * frame, strip, i * frame, frame)) << QuorbelSkin::getFileName (id) << " frame " << i;
    }
}

TEST_F (GeneratedSkin, BackgroundsAreOpaque)
{
    for (auto id : { QuorbelSkin::BoxBackground, QuorbelSkin::BoxAboutBackground })
    {
        const juce::Image image = QuorbelSkin::getImage (id);
        ASSERT_TRUE (image.isValid());
        const juce::Image::BitmapData pixels (image, juce::Image::BitmapData::readOnly);
        int translucent = 0;

        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
                translucent += pixels.getPixelColour (x, y).getAlpha() != 255 ? 1 : 0;

        EXPECT_EQ (translucent, 0) << QuorbelSkin::getFileName (id);
    }
}

TEST_F (GeneratedSkin, OnImagesDifferFromTheirOffImages)
{
    const std::pair<QuorbelSkin::ImageID, QuorbelSkin::ImageID> pairs[] = {
        { QuorbelSkin::CloseOff, QuorbelSkin::CloseOn },           { QuorbelSkin::MaximizeOff, QuorbelSkin::MaximizeOn },
        { QuorbelSkin::MinimizeOff, QuorbelSkin::MinimizeOn },     { QuorbelSkin::AboutOff, QuorbelSkin::AboutOn },
        { QuorbelSkin::FirmwareOff, QuorbelSkin::FirmwareOn },     { QuorbelSkin::FXBlockOff, QuorbelSkin::FXBlockOn },
        { QuorbelSkin::ReadoutArrowLeftOff, QuorbelSkin::ReadoutArrowLeftOn },
        { QuorbelSkin::ReadoutArrowRightOff, QuorbelSkin::ReadoutArrowRightOn },
        { QuorbelSkin::StoreOutlineOff, QuorbelSkin::StoreOutlineOn }, { QuorbelSkin::NotAssigned, QuorbelSkin::Assigned },
        { QuorbelSkin::Assigned, QuorbelSkin::Invert },            { QuorbelSkin::SwitchUp, QuorbelSkin::SwitchDown },
    };

    for (const auto& [off, on] : pairs)
    {
        const juce::Image a = QuorbelSkin::getImage (off);
        const juce::Image b = QuorbelSkin::getImage (on);
        ASSERT_TRUE (a.isValid() && b.isValid());
        ASSERT_EQ (a.getBounds(), b.getBounds()) << "one widget shows both";
        EXPECT_TRUE (rowsDiffer (a, 0, b, 0, a.getHeight())) << QuorbelSkin::getFileName (off) << " vs " << QuorbelSkin::getFileName (on);
    }
}
