// SPDX-License-Identifier: GPL-3.0-or-later
// Lazy decoding, sharing and the failure rules of the skin's images, over
// archives held in memory.
#include "QuorbelSkin.h"
#include "SkinArchive.h"
#include "SkinArchiveWriter.h"

#include "Support/TestImages.h"
#include "Support/InMemoryFile.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <set>
#include <string>
#include <vector>

using TestSupport::InMemoryFile;
using TestSupport::TestImages;

namespace
{
std::vector<uint8_t> pngOfSize (int width, int height, juce::Colour colour = juce::Colours::red)
{
    return TestImages::pngFile (TestImages::solid (colour, width, height));
}

// A copy of a PNG file whose header declares another size, with the header's
// checksum mended so the decoder would believe it.
std::vector<uint8_t> withDeclaredSize (std::vector<uint8_t> png, uint32_t width, uint32_t height)
{
    for (int i = 0; i < 4; ++i)
    {
        png[16 + (size_t) i] = (uint8_t) (width >> (24 - 8 * i));
        png[20 + (size_t) i] = (uint8_t) (height >> (24 - 8 * i));
    }

    const uLong crc = crc32 (0, png.data() + 12, 17);

    for (int i = 0; i < 4; ++i)
        png[29 + (size_t) i] = (uint8_t) (crc >> (24 - 8 * i));

    return png;
}

std::vector<uint8_t> archiveOf (const std::vector<SkinArchiveWriter::Entry>& entries)
{
    std::vector<uint8_t> out;
    EXPECT_TRUE (SkinArchiveWriter::write (entries, out));
    return out;
}

std::string nameOf (uint32_t id)
{
    return SkinImageTable::getFileName (id);
}

/** Every test leaves the program-wide skin empty for the next. */
class QuorbelSkinTest : public ::testing::Test
{
protected:
    void TearDown() override { QuorbelSkin::release(); }
};
} // namespace

//==============================================================================
TEST (SkinArchive, DecodesOnFirstRequestAndSharesThePixelsAfterwards)
{
    InMemoryFile file (archiveOf ({ { "knob.png", pngOfSize (3, 5) } }));
    SkinArchive archive (file.reader());
    ASSERT_TRUE (archive.open());
    archive.addImage (7, "knob.png");

    const size_t readsAfterOpen = file.requests.size();
    const juce::Image first = archive.getImage (7);
    const size_t readsAfterFirst = file.requests.size();
    const juce::Image second = archive.getImage (7);

    ASSERT_TRUE (first.isValid());
    EXPECT_EQ (first.getWidth(), 3);
    EXPECT_EQ (first.getHeight(), 5);
    EXPECT_EQ (readsAfterFirst - readsAfterOpen, 1u);
    EXPECT_EQ (file.requests.size(), readsAfterFirst) << "the second request reads nothing";
    EXPECT_EQ (first.getPixelData(), second.getPixelData()) << "no second decode, no pixel copy";
}

TEST (SkinArchive, AMissingOrUnreadableEntryDropsTheRegistrationForGood)
{
    InMemoryFile file (archiveOf ({ { "present.png", pngOfSize (2, 2) } }));
    SkinArchive archive (file.reader());
    ASSERT_TRUE (archive.open());
    archive.addImage (1, "absent.png");
    archive.addImage (2, "present.png");

    EXPECT_TRUE (archive.getImage (1).isNull());

    file.failReads = true;
    EXPECT_TRUE (archive.getImage (2).isNull());
    file.failReads = false;

    const size_t reads = file.requests.size();
    EXPECT_TRUE (archive.getImage (1).isNull());
    EXPECT_TRUE (archive.getImage (2).isNull()) << "dropped, although it is readable again";
    EXPECT_EQ (file.requests.size(), reads);
}

TEST (SkinArchive, UndecodableDataGivesANullImageAndIsTriedAgain)
{
    const std::vector<uint8_t> junk { 'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e' };
    InMemoryFile file (archiveOf ({ { "junk.png", junk }, { "empty.png", {} } }));
    SkinArchive archive (file.reader());
    ASSERT_TRUE (archive.open());
    archive.addImage (1, "junk.png");
    archive.addImage (2, "empty.png");

    EXPECT_TRUE (archive.getImage (1).isNull());
    EXPECT_TRUE (archive.getImage (2).isNull());

    const size_t reads = file.requests.size();
    EXPECT_TRUE (archive.getImage (1).isNull());
    EXPECT_EQ (file.requests.size(), reads + 1) << "read again for the retry";
}

TEST (SkinArchive, PngDeclaringAHugeSizeIsRefusedBeforeDecoding)
{
    // Valid headers claiming 100000 x 100000 pixels, or one pixel more than the
    // limit: the decoder would allocate what they claim before reading on.
    const std::vector<uint8_t> png = pngOfSize (1, 1);
    ASSERT_TRUE (SkinArchive::decodeImage (withDeclaredSize (png, 1, 1)).isValid()) << "the checksum helper works";

    EXPECT_TRUE (SkinArchive::decodeImage (withDeclaredSize (png, 100000, 100000)).isNull());
    EXPECT_TRUE (SkinArchive::decodeImage (withDeclaredSize (png, 1, (uint32_t) SkinArchive::kMaxImagePixels + 1)).isNull());
    EXPECT_TRUE (SkinArchive::decodeImage (withDeclaredSize (png, 0, 7)).isNull());

    // A file cut short after its header is no image either.
    std::vector<uint8_t> truncated = pngOfSize (16, 16, juce::Colours::green);
    truncated.resize (truncated.size() / 2);
    EXPECT_TRUE (SkinArchive::decodeImage (truncated).isNull());

    // A tall strip inside the limit decodes.
    EXPECT_TRUE (SkinArchive::decodeImage (pngOfSize (2, 30000)).isValid());
}

TEST (SkinArchive, OnlyPngDataIsDecoded)
{
    juce::Image image (juce::Image::RGB, 4, 4, true);
    juce::MemoryOutputStream stream;
    ASSERT_TRUE (juce::JPEGImageFormat().writeImageToStream (image, stream));
    const auto* data = static_cast<const uint8_t*> (stream.getData());

    EXPECT_TRUE (SkinArchive::decodeImage (std::vector<uint8_t> (data, data + stream.getDataSize())).isNull());
}

TEST (SkinArchive, AnArchiveWithoutAReaderHasNoImagesAndThrowsNothing)
{
    SkinArchive archive (nullptr);
    EXPECT_FALSE (archive.open());

    uint8_t byte = 0;
    EXPECT_FALSE (archive.read (0, 1, &byte));
    archive.addImage (0, "a.png");
    EXPECT_TRUE (archive.getImage (0).isNull());
}

TEST (SkinArchive, ReRegisteringDropsTheDecodedImage)
{
    InMemoryFile file (archiveOf ({ { "small.png", pngOfSize (1, 1) }, { "large.png", pngOfSize (8, 8) } }));
    SkinArchive archive (file.reader());
    ASSERT_TRUE (archive.open());

    archive.addImage (3, "small.png");
    EXPECT_EQ (archive.getImage (3).getWidth(), 1);
    archive.addImage (3, "large.png");
    EXPECT_EQ (archive.getImage (3).getWidth(), 8);

    archive.addImage (3, nullptr);
    EXPECT_TRUE (archive.getImage (3).isNull());
}

TEST (SkinArchive, OpenAndClearDropEveryRegistration)
{
    InMemoryFile file (archiveOf ({ { "a.png", pngOfSize (1, 1) } }));
    SkinArchive archive (file.reader());
    ASSERT_TRUE (archive.open());

    archive.addImage (0, "a.png");
    ASSERT_TRUE (archive.getImage (0).isValid());
    ASSERT_TRUE (archive.open());
    EXPECT_TRUE (archive.getImage (0).isNull());

    archive.addImage (0, "a.png");
    archive.clear();
    EXPECT_TRUE (archive.getImage (0).isNull());

    std::vector<uint8_t> data;
    EXPECT_TRUE (archive.readEntry ("a.png", data)) << "the index survives clear";
}

//==============================================================================
TEST_F (QuorbelSkinTest, LoadsEveryImageByItsFileName)
{
    std::vector<SkinArchiveWriter::Entry> entries;

    for (uint32_t id = 0; id < QuorbelSkin::kImageCount; ++id)
        entries.push_back ({ nameOf (id), pngOfSize ((int) id + 1, 1) });

    InMemoryFile file (archiveOf (entries));
    ASSERT_TRUE (QuorbelSkin::load (file.reader()));

    for (uint32_t id = 0; id < QuorbelSkin::kImageCount; ++id)
        EXPECT_EQ (QuorbelSkin::getImage ((QuorbelSkin::ImageID) id).getWidth(), (int) id + 1) << nameOf (id);

    EXPECT_TRUE (QuorbelSkin::getImage ((QuorbelSkin::ImageID) QuorbelSkin::kImageCount).isNull());
    EXPECT_TRUE (QuorbelSkin::getImage ((QuorbelSkin::ImageID) 0xffffffffu).isNull());
}

TEST_F (QuorbelSkinTest, EmptyArchiveLoadsWithEveryImageNull)
{
    InMemoryFile file (archiveOf ({}));
    ASSERT_TRUE (QuorbelSkin::load (file.reader()));

    for (uint32_t id = 0; id < QuorbelSkin::kImageCount; ++id)
        EXPECT_TRUE (QuorbelSkin::getImage ((QuorbelSkin::ImageID) id).isNull());
}

TEST_F (QuorbelSkinTest, UnreadableArchiveFailsToLoadAndLeavesEveryImageNull)
{
    InMemoryFile file (archiveOf ({ { nameOf (QuorbelSkin::SwitchUp), pngOfSize (2, 2) } }));
    file.failReads = true;

    EXPECT_FALSE (QuorbelSkin::load (file.reader()));

    file.failReads = false;
    EXPECT_TRUE (QuorbelSkin::getImage (QuorbelSkin::SwitchUp).isNull()) << "nothing was registered";
}

TEST_F (QuorbelSkinTest, LaterDuplicateWinsAndNamesAreCaseSensitive)
{
    InMemoryFile file (archiveOf ({ { nameOf (QuorbelSkin::SwitchUp), pngOfSize (1, 1) },
                                    { "switchup@2x.png", pngOfSize (9, 9) },
                                    { nameOf (QuorbelSkin::SwitchUp), pngOfSize (4, 4) },
                                    { "swiTCHcenter@2x.png", pngOfSize (5, 5) } }));
    ASSERT_TRUE (QuorbelSkin::load (file.reader()));

    EXPECT_EQ (QuorbelSkin::getImage (QuorbelSkin::SwitchUp).getWidth(), 4);
    EXPECT_TRUE (QuorbelSkin::getImage (QuorbelSkin::SwitchCenter).isNull());
}

TEST_F (QuorbelSkinTest, LoadWithoutAReaderFailsQuietly)
{
    EXPECT_FALSE (QuorbelSkin::load (nullptr));
    EXPECT_TRUE (QuorbelSkin::getImage (QuorbelSkin::BoxBackground).isNull());
}

TEST_F (QuorbelSkinTest, ReleaseLeavesEveryImageNull)
{
    InMemoryFile file (archiveOf ({ { nameOf (QuorbelSkin::FXReadout), pngOfSize (2, 2) } }));
    ASSERT_TRUE (QuorbelSkin::load (file.reader()));
    ASSERT_TRUE (QuorbelSkin::getImage (QuorbelSkin::FXReadout).isValid());

    QuorbelSkin::release();
    EXPECT_TRUE (QuorbelSkin::getImage (QuorbelSkin::FXReadout).isNull());
}

TEST_F (QuorbelSkinTest, ASecondLoadReplacesTheFirstArchive)
{
    InMemoryFile first (archiveOf ({ { nameOf (QuorbelSkin::Invert), pngOfSize (1, 1) } }));
    InMemoryFile second (archiveOf ({ { nameOf (QuorbelSkin::Invert), pngOfSize (6, 6) } }));

    ASSERT_TRUE (QuorbelSkin::load (first.reader()));
    ASSERT_TRUE (QuorbelSkin::getImage (QuorbelSkin::Invert).isValid());
    ASSERT_TRUE (QuorbelSkin::load (second.reader()));

    EXPECT_EQ (QuorbelSkin::getImage (QuorbelSkin::Invert).getWidth(), 6);
}

TEST (SkinImageTable, NamesAreUniqueAndEndInPng)
{
    std::set<std::string> names;

    for (uint32_t id = 0; id < SkinImageTable::kImageCount; ++id)
    {
        const std::string name = nameOf (id);
        EXPECT_EQ (name.substr (name.size() - 4), ".png") << name;
        names.insert (name);
    }

    EXPECT_EQ (names.size(), (size_t) SkinImageTable::kImageCount);
    EXPECT_STREQ (SkinImageTable::getFileName (SkinImageTable::BoxBackground), "TessarineBoxBackground@2x.png");
    EXPECT_STREQ (SkinImageTable::getFileName (SkinImageTable::CABGreyedOut), "CABGreyedOut.png");
    EXPECT_EQ (SkinImageTable::getFileName (SkinImageTable::kImageCount), nullptr);
}
