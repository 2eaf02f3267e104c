// SPDX-License-Identifier: GPL-3.0-or-later
// Firmware update from the built-in image and from a file.
#include "Support/FileActionFixture.h"
#include "FirmwarePlaceholder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
std::vector<uint8_t> someImage (size_t size)
{
    std::vector<uint8_t> image (size);

    for (size_t i = 0; i < size; ++i)
        image[i] = (uint8_t) (i * 13 + 5);

    return image;
}

class FirmwareAction : public FileActionFixture
{
protected:
    void SetUp() override
    {
        attachAndSettle();
        pedal.clearReceived();
    }

    void expectNothingSent()
    {
        EXPECT_EQ (pedal.receivedCount(), 0u);
        EXPECT_EQ (service->getState(), State::Idle);
    }
};
} // namespace

TEST_F (FirmwareAction, AnImageFromAFileGoesToThePedalWithProgress)
{
    const std::vector<uint8_t> image = someImage (3000);
    const juce::File file = writeFirmwareFile ("dsp.ldr", image);

    runMenuItem (FileMenuActions::itemUpdateFirmwareFromFile, file);

    EXPECT_TRUE (shownErrors().empty());
    EXPECT_EQ (host.rememberedFolders(), std::vector<juce::File> { file });
    // Sent, then the service waits for the restarted pedal (which never comes
    // back here, so the fake waits run out).
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Error; }));
    EXPECT_EQ (service->getLastError(), "Timeout waiting for reconnect");
    EXPECT_EQ (pedal.firmwareImage(), image);

    const std::vector<double> progress = host.progress();
    ASSERT_FALSE (progress.empty());
    EXPECT_TRUE (std::is_sorted (progress.begin(), progress.end()));
    EXPECT_DOUBLE_EQ (progress.back(), 1.0);
}

TEST_F (FirmwareAction, AFileWithCapitalExtensionIsReadTheSameAndAcceptedFromError)
{
    // Error is a state the update leads out of.
    pedal.injectFault (0xC5, TestSupport::SimulatedPedal::Fault::nack());
    ASSERT_TRUE (service->getPresetData ([] (const auto&) {}));
    ASSERT_TRUE (waitFor ([&] { return service->getState() == State::Error; }));
    pedal.clearReceived();

    const std::vector<uint8_t> image = someImage (500);
    runMenuItem (FileMenuActions::itemUpdateFirmwareFromFile, writeFirmwareFile ("DSP.LDR", image));

    EXPECT_TRUE (shownErrors().empty());
    ASSERT_TRUE (waitFor ([&] { return pedal.firmwareImage() == image; }));
}

#if ! TQ_REAL_FIRMWARE_IMAGE
TEST_F (FirmwareAction, TheBuiltInPlaceholderIsNeverSent)
{
    runMenuItem (FileMenuActions::itemUpdateFirmware, juce::File());

    EXPECT_TRUE (files.requests().empty()) << "the built-in image needs no dialog";
    EXPECT_EQ (shownErrors(), std::vector<std::string> { "Failed to load firmware" });
    EXPECT_TRUE (log.contains ("placeholder"));
    EXPECT_TRUE (log.contains ("Failed to load firmware"));
    expectNothingSent();
}

TEST_F (FirmwareAction, ThePlaceholderIsRefusedFromAFileToo)
{
    runMenuItem (FileMenuActions::itemUpdateFirmwareFromFile,
                 writeFirmwareFile ("copy.ldr", ProductData::FirmwarePlaceholder::makeImage()));

    EXPECT_EQ (shownErrors(), std::vector<std::string> { "Failed to load firmware" });
    expectNothingSent();
}
#endif

TEST_F (FirmwareAction, EmptyMissingOversizedAndFolderFilesAreRefusedUnsent)
{
    const juce::File empty = scratch.file ("empty.ldr");
    ASSERT_TRUE (empty.create());
    const juce::File missing = scratch.file ("missing.ldr");
    const juce::File folder = scratch.file ("folder.ldr");
    ASSERT_TRUE (folder.createDirectory());

    // Sparse: 16 MiB and one byte take no room on disk.
    const juce::File huge = writeBytes ("huge.ldr", "x");
    std::filesystem::resize_file (huge.getFullPathName().toStdString(), FileMenuActions::maxFirmwareFileSize + 1);

    for (const juce::File& file : { empty, missing, folder, huge })
        runMenuItem (FileMenuActions::itemUpdateFirmwareFromFile, file);

    EXPECT_EQ (shownErrors(), std::vector<std::string> (4, "Failed to load firmware"));
    EXPECT_TRUE (log.contains ("The firmware file is empty"));
    EXPECT_TRUE (log.contains ("Cannot open the firmware file"));
    EXPECT_TRUE (log.contains ("Failed to read the firmware file"));
    EXPECT_TRUE (log.contains ("The firmware file is too large to be firmware"));
    expectNothingSent();
}

TEST_F (FirmwareAction, ALargeButPossibleFileIsRead)
{
    const std::vector<uint8_t> image = someImage (300000);
    std::vector<uint8_t> read;

    ASSERT_TRUE (FileMenuActions::readFirmwareFile (writeFirmwareFile ("big.ldr", image), read));
    EXPECT_EQ (read, image);
}

TEST_F (FirmwareAction, RefusedWithoutAPedal)
{
    detach();
    files.answer (writeFirmwareFile ("dsp.ldr", someImage (100)));
    actions.startFirmwareUpdate (true);

    EXPECT_EQ (shownErrors(), std::vector<std::string> { "Failed to start firmware update" });
    EXPECT_TRUE (log.contains ("Failed to start firmware update"));
}
