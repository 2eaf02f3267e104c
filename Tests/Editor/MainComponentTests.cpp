// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainComponent.h"

#include "FilmStripKnob.h"
#include "MultiImageButton.h"
#include "MultiToggleSwitch.h"
#include "OverlayComponent.h"
#include "SimpleLabel.h"
#include "SimpleTextButton.h"
#include "SkinArchiveWriter.h"
#include "StaticImage.h"

#include "Support/GuiTestEnvironment.h"
#include "Support/TestImages.h"
#include "Support/InMemoryFile.h"
#include "Support/LogCapture.h"
#include "Support/PedalConnection.h"
#include "Support/SimulatedPedal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <thread>

namespace
{
using Service = Quorbel::QuorbelEditorService;
using Value = MainComponent::ParameterValue;
using VersionInfo = Tessarine::TessarineData::FirmwareVersionInfo;
using TestSupport::TestImages;

VersionInfo dspVersion (uint8_t a, uint8_t b, uint8_t c, uint8_t d)
{
    VersionInfo info;
    info.dsp = { a, b, c, d };
    return info;
}

/** A main component over a real service with no pedal, and a settings file
    of its own. */
class MainComponentTest : public ::testing::Test
{
protected:
    MainComponentTest()
    {
        folder.createDirectory();
        settings = std::make_unique<juce::PropertiesFile> (folder.getChildFile ("test.settings"),
                                                           juce::PropertiesFile::Options());
        main = std::make_unique<MainComponent> (settings.get(), &service);
        main->presentError = [this] (const juce::String& message) { alerts.push_back (message); };
        settle();
    }

    ~MainComponentTest() override
    {
        main.reset();
        folder.deleteRecursively();
    }

    /** Lets the pending asynchronous update run, and one more that it may
        have triggered: a message posted after them is handled after them,
        however slowly the machine runs. */
    void settle()
    {
        for (int round = 0; round < 2; ++round)
        {
            auto reached = std::make_shared<std::atomic<bool>> (false);
            juce::MessageManager::callAsync ([reached] { *reached = true; });
            EXPECT_TRUE (TestSupport::pumpMessagesUntil ([reached] { return reached->load(); }, 10000));
        }
    }

    template <typename Type>
    Type* child (const juce::String& id, juce::Component* parent = nullptr)
    {
        auto* found = (parent != nullptr ? parent : main.get())->findChildWithID (id);
        return dynamic_cast<Type*> (found);
    }

    FilmStripKnob* knob (int id) { return child<FilmStripKnob> ("ampKnob" + juce::String (id)); }
    MultiToggleSwitch* presetSwitch (int i) { return child<MultiToggleSwitch> ("presetSwitch" + juce::String (i)); }
    SimpleTextButton* pageButton (const char* text) { return child<SimpleTextButton> (text); }
    OverlayComponent* overlay() { return child<OverlayComponent> ("overlay"); }
    SimpleLabel* aboutText() { return child<SimpleLabel> ("aboutText"); }
    juce::Component* footswitchLayer() { return child<juce::Component> ("footswitchLayer"); }
    SimpleImageButton* blockSwitch (const char* label) { return child<SimpleImageButton> (juce::String ("block") + label); }

    juce::File folder = juce::File::createTempFile ("tq-main");
    Service service { nullptr };
    std::unique_ptr<juce::PropertiesFile> settings;
    std::unique_ptr<MainComponent> main;
    std::vector<juce::String> alerts; // error texts shown, in order
};
} // namespace

//==============================================================================
TEST (MainComponentRules, StatusTextForEveryState)
{
    struct Expected
    {
        int state;
        const char* text;
        bool busy, progress, error;
    };

    const Expected table[] = {
        { 0, "Not Connected", false, false, false },
        { 1, "", false, false, false },
        { 2, "Busy", true, false, false },
        { 3, "Refreshing...", true, false, false },
        { 4, "Sending...", true, false, false },
        { 5, "Receiving...", true, false, false },
        { 6, "Sending...", true, true, false },
        { 7, "Receiving...", true, true, false },
        { 8, "Updating FW...", true, true, false },
        { 9, "Update Complete\nPlease disconnect/reconnect power supply", false, false, false },
        { 10, "Firmware update required\nSelect 'Update Firmware' from the file menu", false, false, false },
        { 12, "", false, false, false },
        { -1, "", false, false, false },
    };

    for (const auto& row : table)
    {
        const auto look = MainComponent::statusFor (row.state, "ignored");
        EXPECT_EQ (look.text, row.text) << row.state;
        EXPECT_EQ (look.busy, row.busy) << row.state;
        EXPECT_EQ (look.showsProgress, row.progress) << row.state;
        EXPECT_EQ (look.isError, row.error) << row.state;
    }

    const auto error = MainComponent::statusFor (11, "A communication error occurred");
    EXPECT_EQ (error.text, "Error:\nA communication error occurred");
    EXPECT_TRUE (error.isError);
    EXPECT_FALSE (error.busy);
    EXPECT_EQ (MainComponent::statusFor (11, "").text, "Error:\n"); // first line still there
}

TEST (MainComponentRules, AboutTextWithAndWithoutAPedal)
{
    EXPECT_EQ (MainComponent::aboutTextFor (false, dspVersion (0, 3, 3, 0)),
               "Editor Version: 3.3.2.1\nFirmware Version: (unknown)\n");
    EXPECT_EQ (MainComponent::aboutTextFor (true, dspVersion (0, 3, 3, 0)),
               "Editor Version: 3.3.2.1\nFirmware Version: 0.3.3\n");
    EXPECT_EQ (MainComponent::aboutTextFor (true, dspVersion (1, 2, 3, 4)),
               "Editor Version: 3.3.2.1\nFirmware Version: 1.2.3.4\n");
    // A pedal whose version read failed: the service keeps zeros.
    EXPECT_EQ (MainComponent::aboutTextFor (true, VersionInfo()), "Editor Version: 3.3.2.1\nFirmware Version: 0.0.0\n");
    EXPECT_EQ (MainComponent::aboutTextFor (true, dspVersion (255, 0, 10, 200)),
               "Editor Version: 3.3.2.1\nFirmware Version: 255.0.10.200\n");
}

TEST (MainComponentRules, PresetSwitchPositionsAndTheirInverse)
{
    using P = std::pair<int, int>;
    EXPECT_EQ (MainComponent::presetSwitchPositions (0), P (2, 2)); // both at the bottom
    EXPECT_EQ (MainComponent::presetSwitchPositions (4), P (1, 1)); // both in the middle
    EXPECT_EQ (MainComponent::presetSwitchPositions (5), P (1, 0)); // A middle, B top
    EXPECT_EQ (MainComponent::presetSwitchPositions (8), P (0, 0)); // both at the top

    for (int preset = 0; preset < 9; ++preset)
    {
        const auto [a, b] = MainComponent::presetSwitchPositions (preset);
        EXPECT_EQ (MainComponent::presetForSwitchPositions (a, b), preset);
    }

    // A moved from the top to the middle while B stays at the top.
    EXPECT_EQ (MainComponent::presetForSwitchPositions (1, 0), 5);
}

TEST (MainComponentRules, CabModeAndBlockLighting)
{
    EXPECT_EQ (MainComponent::cabModePosition (1), 0);
    EXPECT_EQ (MainComponent::cabModePosition (3), 1);
    EXPECT_EQ (MainComponent::cabModePosition (2), 2);
    EXPECT_EQ (MainComponent::cabModePosition (5), -1);
    EXPECT_EQ (MainComponent::cabModePosition (0), -1);

    // Not assigned: the block's own enable.
    EXPECT_TRUE (MainComponent::blockIsLit (0, 1, 0));
    EXPECT_FALSE (MainComponent::blockIsLit (0, 0, 1));
    // Assigned: the footswitch; inverted: its opposite, whatever the enable says.
    EXPECT_TRUE (MainComponent::blockIsLit (1, 0, 1));
    EXPECT_FALSE (MainComponent::blockIsLit (1, 1, 0));
    EXPECT_TRUE (MainComponent::blockIsLit (2, 0, 0));
    EXPECT_FALSE (MainComponent::blockIsLit (2, 1, 1));
    EXPECT_FALSE (MainComponent::blockIsLit (3, 1, 1));
    EXPECT_TRUE (MainComponent::blockIsLit (1.9, 0, 1)); // truncated to 1
    // Corrupt assignment values are handled without undefined behaviour.
    EXPECT_TRUE (MainComponent::blockIsLit (std::numeric_limits<double>::quiet_NaN(), 1, 0));
    EXPECT_FALSE (MainComponent::blockIsLit (1.0e300, 1, 1));
}

TEST (MainComponentRules, BlockSwitchLayout)
{
    const int baseX[8] = { 36, 106, 176, 246, 316, 386, 456, 527 };

    for (int i = 0; i < 8; ++i)
    {
        EXPECT_EQ (MainComponent::blockSwitchBounds (i, false), juce::Rectangle<int> (baseX[i] + 3, 490, 54, 54)) << i;
        EXPECT_EQ (MainComponent::blockSwitchBounds (i, true), juce::Rectangle<int> (baseX[i] - 3, 484, 66, 66)) << i;
    }
}

TEST (MainComponentRules, JustificationTable)
{
    EXPECT_EQ (MainComponent::justificationFor (-1, -1).getFlags(), 9);
    EXPECT_EQ (MainComponent::justificationFor (0, -1).getFlags(), 12);
    EXPECT_EQ (MainComponent::justificationFor (1, 0).getFlags(), 34);
    EXPECT_EQ (MainComponent::justificationFor (0, 0).getFlags(), 36);
    EXPECT_EQ (MainComponent::justificationFor (1, 1).getFlags(), 18);
    EXPECT_EQ (MainComponent::justificationFor (2, 1).getFlags(), 36);
    EXPECT_EQ (MainComponent::justificationFor (INT_MAX, INT_MAX).getFlags(), 36);
}

//==============================================================================
TEST_F (MainComponentTest, StartsOnTheMainPageShowingNotConnected)
{
    EXPECT_EQ (main->getPage(), MainComponent::mainPage);
    EXPECT_EQ (main->getSelectedBlock(), 0);
    EXPECT_FALSE (pageButton ("GLOBALS")->isOn);
    EXPECT_FALSE (pageButton ("FOOTSWITCHES")->isOn);
    EXPECT_FALSE (pageButton ("ABOUT")->isOn);
    EXPECT_FALSE (footswitchLayer()->isVisible());
    EXPECT_FALSE (aboutText()->isVisible());
    EXPECT_EQ (main->getWidth(), 624);
    EXPECT_EQ (main->getHeight(), 890);

    EXPECT_TRUE (overlay()->isVisible());
    EXPECT_EQ (overlay()->getFirstLine(), "Not Connected");
    EXPECT_EQ (overlay()->getSecondLine(), "");
    EXPECT_FALSE (overlay()->getSpinner().isVisible());
    EXPECT_FALSE (overlay()->getProgressBar().isVisible());
    EXPECT_EQ (aboutText()->text, "Editor Version: 3.3.2.1\nFirmware Version: (unknown)\n");

    // The AMP switch is the selected one.
    EXPECT_EQ (blockSwitch ("AMP")->getWidth(), 66);
    EXPECT_EQ (blockSwitch ("GTE")->getWidth(), 54);
}

TEST_F (MainComponentTest, PageButtonsSwitchPages)
{
    auto* about = pageButton ("ABOUT");
    auto* footswitches = pageButton ("FOOTSWITCHES");
    auto* globals = pageButton ("GLOBALS");

    footswitches->onClick();
    EXPECT_EQ (main->getPage(), MainComponent::footswitchPage);
    EXPECT_TRUE (footswitchLayer()->isVisible());
    EXPECT_TRUE (footswitches->isOn);

    about->onClick(); // from the footswitch page to the About page
    EXPECT_EQ (main->getPage(), MainComponent::aboutPage);
    EXPECT_TRUE (aboutText()->isVisible());
    EXPECT_FALSE (footswitchLayer()->isVisible());

    about->onClick(); // and back to the main page
    EXPECT_EQ (main->getPage(), MainComponent::mainPage);
    EXPECT_FALSE (aboutText()->isVisible());

    globals->onClick();
    EXPECT_EQ (main->getSelectedBlock(), 8);
    EXPECT_TRUE (globals->isOn);
    about->onClick();
    EXPECT_FALSE (globals->isOn); // dark away from the main page
    about->onClick();
    EXPECT_TRUE (globals->isOn); // lit again back on the main page, globals still selected

    settle();
    for (const char* label : { "GTE", "CMP", "BST", "AMP", "EQ", "ECO", "REV", "CAB" })
        EXPECT_EQ (blockSwitch (label)->getWidth(), 54) << label; // none selected on the globals panel
}

TEST_F (MainComponentTest, TheAboutBackgroundIsDecodedWhenTheAboutPageIsFirstShown)
{
    // A skin of small solid images, the two backgrounds in colours of their own.
    std::vector<SkinArchiveWriter::Entry> entries;

    for (uint32_t id = 0; id < QuorbelSkin::kImageCount; ++id)
    {
        const auto colour = id == QuorbelSkin::BoxBackground        ? juce::Colours::red
                          : id == QuorbelSkin::BoxAboutBackground ? juce::Colours::blue
                                                                  : juce::Colours::grey;
        entries.push_back ({ QuorbelSkin::getFileName (id), TestImages::pngFile (TestImages::solid (colour, 4, 4)) });
    }

    TestSupport::InMemoryFile file;
    ASSERT_TRUE (SkinArchiveWriter::write (entries, file.bytes));
    const auto& aboutPng = entries[QuorbelSkin::BoxAboutBackground].data;
    const auto aboutOffset = (uint64_t) (std::search (file.bytes.begin(), file.bytes.end(), aboutPng.begin(), aboutPng.end()) - file.bytes.begin());
    const auto aboutReads = [&file, aboutOffset] {
        return std::count_if (file.requests.begin(), file.requests.end(), [aboutOffset] (const auto& r) { return r.offset == aboutOffset; });
    };

    struct SkinRelease
    {
        ~SkinRelease() { QuorbelSkin::release(); }
    } releaseSkin;

    main.reset();
    ASSERT_TRUE (QuorbelSkin::load (file.reader()));
    main = std::make_unique<MainComponent> (settings.get(), &service);
    main->presentError = [this] (const juce::String& message) { alerts.push_back (message); };
    settle();
    EXPECT_EQ (aboutReads(), 0) << "not read before the About page is shown";

    auto* background = child<StaticImage> ("background");
    ASSERT_NE (background, nullptr);
    const auto shown = [background] { return background->createComponentSnapshot (background->getLocalBounds()).getPixelAt (2, 2); };
    EXPECT_EQ (shown(), juce::Colours::red);

    pageButton ("ABOUT")->onClick();
    EXPECT_EQ (aboutReads(), 1);
    EXPECT_EQ (shown(), juce::Colours::blue);

    pageButton ("ABOUT")->onClick();
    EXPECT_EQ (shown(), juce::Colours::red);
    pageButton ("ABOUT")->onClick();
    EXPECT_EQ (shown(), juce::Colours::blue);
    EXPECT_EQ (aboutReads(), 1) << "decoded once";

    main.reset();
}

TEST_F (MainComponentTest, ParameterNotificationUpdatesOnlyItsBindingsOnTheMessageThread)
{
    auto* gain = knob (81);
    auto* bass = knob (83);
    const double bassBefore = bass->getValue();
    presetSwitch (0)->currentIndex = 1; // a marker that only a preset refresh would reset

    std::thread serviceThread ([this] { main->onParameterChanged (QuorbelParamID (81), { 1, 0.75 }); });
    serviceThread.join();

    EXPECT_NE (gain->getValue(), 0.75); // nothing touched off the message thread
    settle();

    EXPECT_DOUBLE_EQ (gain->getValue(), 0.75);
    EXPECT_EQ (bass->getValue(), bassBefore);
    EXPECT_EQ (presetSwitch (0)->currentIndex, 1);
}

TEST_F (MainComponentTest, LatestPendingValueWinsAndAFullRefreshSupersedesIt)
{
    auto* gain = knob (81);

    main->onParameterChanged (QuorbelParamID (81), { 1, 0.2 });
    main->onParameterChanged (QuorbelParamID (81), { 1, 0.6 });
    settle();
    EXPECT_DOUBLE_EQ (gain->getValue(), 0.6);

    // A data change re-reads every binding from the service (which holds no
    // value for 81 and gives its default), so the pending value is not delivered.
    Value fromService;
    service.getParameterValue (QuorbelParamID (81), fromService);
    main->onDataChanged();
    main->onParameterChanged (QuorbelParamID (81), { 1, 0.9 });
    settle();
    EXPECT_DOUBLE_EQ (gain->getValue(), fromService.value);
}

TEST_F (MainComponentTest, StateChangeRefreshesStatusButNoBinding)
{
    auto* gain = knob (81);
    gain->setValue (0.33);
    presetSwitch (1)->currentIndex = 0;

    main->onStateChanged (Service::Idle);
    settle();

    EXPECT_DOUBLE_EQ (gain->getValue(), 0.33);
    EXPECT_EQ (presetSwitch (1)->currentIndex, 0);
    EXPECT_EQ (overlay()->getFirstLine(), "Not Connected"); // re-read from the service itself
}

TEST_F (MainComponentTest, ProgressOutsideTransfersChangesNothingVisible)
{
    main->onProgress (0.5);
    settle();
    EXPECT_FALSE (overlay()->getProgressBar().isVisible());
    EXPECT_EQ (overlay()->getFirstLine(), "Not Connected");
}

TEST_F (MainComponentTest, ErrorsShowAsAlertsInCallOrder)
{
    main->setError ("first %d", 1);
    std::thread worker ([this] { main->setError ("%s", "second"); });
    worker.join();
    main->setError (nullptr);
    settle();

    ASSERT_EQ (alerts.size(), 3u);
    EXPECT_EQ (alerts[0], "first 1");
    EXPECT_EQ (alerts[1], "second");
    EXPECT_EQ (alerts[2], "");
}

TEST_F (MainComponentTest, LongErrorTextIsCut)
{
    const std::string longText (700, 'x');
    main->setError ("%s", longText.c_str());
    settle();

    ASSERT_EQ (alerts.size(), 1u);
    EXPECT_EQ (alerts[0].length(), 511);
}

TEST_F (MainComponentTest, RefusedParameterIsReportedAndLogged)
{
    TestSupport::LogCapture log;

    EXPECT_FALSE (main->setParameter (QuorbelParamID (81), { 0, 0.5 }));
    EXPECT_TRUE (log.contains ("Failed to set parameter"));

    // A knob drag while no pedal is attached raises the alert for each step.
    knob (83)->onValueChange (0.4);
    settle();

    ASSERT_EQ (alerts.size(), 2u);
    EXPECT_EQ (alerts[0], "Failed to set parameter");
    EXPECT_EQ (alerts[1], "Failed to set parameter");
}

TEST_F (MainComponentTest, LastDirectory)
{
    EXPECT_EQ (main->getLastDirectory(), juce::File());
    const auto documents = juce::File::getSpecialLocation (juce::File::userDocumentsDirectory);
    EXPECT_EQ (main->getDefaultFile ("Backup.tqu"), documents.getChildFile ("Backup.tqu"));
    EXPECT_EQ (main->getDefaultFile (""), documents);

    const auto file = folder.getChildFile ("preset.tqp");
    file.replaceWithText ("x");
    main->setLastDirectory (file);
    EXPECT_EQ (settings->getValue ("lastDirectory"), folder.getFullPathName());
    EXPECT_EQ (main->getLastDirectory(), folder);
    EXPECT_EQ (main->getDefaultFile ("Preset.tqp"), folder.getChildFile ("Preset.tqp"));

    // A save target that does not exist yet is stored as it is, and reduced
    // to its folder once it exists.
    const auto target = folder.getChildFile ("new.tqu");
    main->setLastDirectory (target);
    EXPECT_EQ (settings->getValue ("lastDirectory"), target.getFullPathName());
    EXPECT_EQ (main->getLastDirectory(), juce::File());
    target.replaceWithText ("y");
    EXPECT_EQ (main->getLastDirectory(), folder);

    // A hand-edited relative path is no folder.
    settings->setValue ("lastDirectory", "some/relative/folder");
    EXPECT_EQ (main->getLastDirectory(), juce::File());
}

//==============================================================================
/** The main component over a service attached to the simulated pedal. */
class MainComponentWithPedal : public MainComponentTest
{
protected:
    MainComponentWithPedal()
    {
        pedal.setCurrentPreset (5);
        TestSupport::SimulatedPedal::Panel panel;
        panel.knobs = { 0, 51, 102, 153, 204, 255, 0, 0 };
        panel.cabMode = 3;
        pedal.setPanel (panel);

        connection = std::make_unique<TestSupport::PedalConnection> (pedal);
        service.connect (&connection->protocol());
        EXPECT_TRUE (TestSupport::pumpMessagesUntil ([this] { return service.getState() == Service::Idle && ! overlay()->isVisible(); }, 10000));
        // The refresh asks for status reports; the first one sets the live knobs.
        EXPECT_TRUE (TestSupport::pumpMessagesUntil ([this] { return knob (81)->getValue() > 0.1; }, 5000));
        settle();
    }

    ~MainComponentWithPedal() override
    {
        service.disconnect();
        connection.reset();
    }

    TestSupport::SimulatedPedal pedal;
    std::unique_ptr<TestSupport::PedalConnection> connection;
};

TEST_F (MainComponentWithPedal, ShowsThePedalsState)
{
    EXPECT_FALSE (overlay()->isVisible());
    EXPECT_EQ (aboutText()->text, "Editor Version: 3.3.2.1\nFirmware Version: 0.3.3\n");

    // Preset 5: A in the middle, B at the top; cab mode 3: C in the middle.
    EXPECT_EQ (presetSwitch (0)->currentIndex, 1);
    EXPECT_EQ (presetSwitch (1)->currentIndex, 0);
    EXPECT_EQ (presetSwitch (2)->currentIndex, 1);

    // Status byte i goes to parameter 80 + i.
    EXPECT_NEAR (knob (80)->getValue(), 0.0, 1e-6);
    EXPECT_NEAR (knob (81)->getValue(), 0.2, 1e-6);
    EXPECT_NEAR (knob (84)->getValue(), 0.8, 1e-6);
    EXPECT_NEAR (knob (85)->getValue(), 1.0, 1e-6);
}

TEST_F (MainComponentWithPedal, KnobTurnReachesThePedal)
{
    pedal.clearReceived();
    knob (83)->onValueChange (0.25);

    ASSERT_TRUE (TestSupport::pumpMessagesUntil ([this] { return ! pedal.liveParameters().empty(); }, 5000));
    const auto sent = pedal.liveParameters().back();
    float value = 0.0f;
    std::memcpy (&value, &sent.value, sizeof (value));
    EXPECT_FLOAT_EQ (value, 0.25f);
    EXPECT_TRUE (alerts.empty());
}

TEST_F (MainComponentWithPedal, PresetSwitchRequestsThePresetAndMovesAtOnce)
{
    // From preset 5 (A middle, B top): A to the top selects preset 8.
    presetSwitch (0)->onChange (0);
    EXPECT_EQ (presetSwitch (0)->currentIndex, 0);

    ASSERT_TRUE (TestSupport::pumpMessagesUntil ([this] { return pedal.currentPreset() == 8; }, 5000));
    ASSERT_TRUE (TestSupport::pumpMessagesUntil ([this] { return service.getCurrentPresetIndex() == 8; }, 5000));
    settle();
    EXPECT_EQ (presetSwitch (0)->currentIndex, 0);
    EXPECT_EQ (presetSwitch (1)->currentIndex, 0);
}

TEST_F (MainComponentWithPedal, FootswitchAssignCyclesThroughTheService)
{
    auto* assign = child<MultiImageButton> ("assign262", footswitchLayer());
    ASSERT_NE (assign, nullptr);
    EXPECT_EQ (assign->currentIndex, 0);

    assign->onClick();
    ASSERT_TRUE (TestSupport::pumpMessagesUntil ([assign] { return assign->currentIndex == 1; }, 5000));
    assign->onClick();
    ASSERT_TRUE (TestSupport::pumpMessagesUntil ([assign] { return assign->currentIndex == 2; }, 5000));
    assign->onClick();
    ASSERT_TRUE (TestSupport::pumpMessagesUntil ([assign] { return assign->currentIndex == 0; }, 5000));
}

TEST_F (MainComponentWithPedal, DoubleClickTogglesAnUnassignedBlockOrOpensTheAssignPage)
{
    auto* gate = blockSwitch ("GTE");
    Value enable;
    service.getParameterValue (QuorbelParamID (64), enable);

    gate->onDoubleClick();
    ASSERT_TRUE (TestSupport::pumpMessagesUntil ([&] {
        Value now;
        service.getParameterValue (QuorbelParamID (64), now);
        return now.value != enable.value;
    }, 5000));
    EXPECT_EQ (main->getPage(), MainComponent::mainPage);

    ASSERT_TRUE (main->setParameter (QuorbelParamID (262), { 0, 2.0 }));
    TestSupport::pumpMessagesUntil ([this] {
        Value assigned;
        service.getParameterValue (QuorbelParamID (262), assigned);
        return assigned.value == 2.0;
    }, 5000);
    gate->onDoubleClick();
    EXPECT_EQ (main->getPage(), MainComponent::footswitchPage);
}
