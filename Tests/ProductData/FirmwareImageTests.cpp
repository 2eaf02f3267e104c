// SPDX-License-Identifier: GPL-3.0-or-later
#include "BuiltInFirmwareImage.h"
#include "FirmwarePlaceholder.h"
#include "InStreamWrapper.h"
#include "TessarineDataFile.h"

#include <gtest/gtest.h>

using ProductData::FirmwarePlaceholder;

namespace
{
std::vector<uint8_t> readBuiltInImage()
{
    juce::MemoryInputStream memory (BuiltInData::builtInFirmwareImage, BuiltInData::builtInFirmwareImageSize, false);
    InStreamWrapper in (memory);
    std::vector<uint8_t> image;
    EXPECT_TRUE (Tessarine::TessarineDataFile::readBitReversed (in, image));
    return image;
}
} // namespace

TEST (BuiltInFirmwareImage, HasTheSizeOfTheDspImage)
{
    EXPECT_EQ (BuiltInData::builtInFirmwareImageSize, FirmwarePlaceholder::kImageSize);
    EXPECT_EQ (readBuiltInImage().size(), 115480u);
}

#if ! TQ_REAL_FIRMWARE_IMAGE
TEST (BuiltInFirmwareImage, IsOurPlaceholderStoredBitReversed)
{
    const std::vector<uint8_t> image = readBuiltInImage();

    EXPECT_TRUE (FirmwarePlaceholder::isPlaceholder (image));
    EXPECT_EQ (image, FirmwarePlaceholder::makeImage());

    // Stored reversed: the first marker byte 'T' (0x54) is kept as 0x2A.
    EXPECT_EQ ((uint8_t) BuiltInData::builtInFirmwareImage[0], 0x2A);
}
#else
TEST (BuiltInFirmwareImage, IsNotThePlaceholder)
{
    EXPECT_FALSE (FirmwarePlaceholder::isPlaceholder (readBuiltInImage()));
}
#endif

TEST (FirmwarePlaceholder, IsRecognisedByItsMarkerOnly)
{
    std::vector<uint8_t> image = FirmwarePlaceholder::makeImage();
    ASSERT_EQ (image.size(), FirmwarePlaceholder::kImageSize);
    EXPECT_TRUE (FirmwarePlaceholder::isPlaceholder (image));

    // A copy cut short still carries the marker, and is refused just the same.
    EXPECT_TRUE (FirmwarePlaceholder::isPlaceholder (std::vector<uint8_t> (image.begin(), image.begin() + 64)));

    image[FirmwarePlaceholder::kMarkerLength - 1] ^= 0x01;
    EXPECT_FALSE (FirmwarePlaceholder::isPlaceholder (image));
    EXPECT_FALSE (FirmwarePlaceholder::isPlaceholder ({}));
    EXPECT_FALSE (FirmwarePlaceholder::isPlaceholder (std::vector<uint8_t> (FirmwarePlaceholder::kMarker, FirmwarePlaceholder::kMarker + 5)));
    EXPECT_FALSE (FirmwarePlaceholder::isPlaceholder (std::vector<uint8_t> (FirmwarePlaceholder::kImageSize, 0xAD)));
}
