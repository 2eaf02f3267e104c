// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainComponent.h"

#include "FilmStripKnob.h"
#include "SimpleEditLabel.h"
#include "SimpleImageButton.h"
#include "SimpleLabel.h"
#include "SimpleTextButton.h"

#include "Support/GuiTestEnvironment.h"
#include "Support/SyntheticMouse.h"
#include "Support/PedalConnection.h"
#include "Support/SimulatedPedal.h"

#include <gtest/gtest.h>

#include <cstring>

using TestSupport::SyntheticMouse;

namespace
{
using Service = Quorbel::QuorbelEditorService;
using Map = Quorbel::QuorbelParamMap;

/** The real main component over a real service, as the application builds
    them; the effect panel is reached through the window's own viewport. */
class MainComponentPanelTest : public ::testing::Test
{
protected:
    MainComponentPanelTest()
    {
        folder.createDirectory();
        settings = std::make_unique<juce::PropertiesFile> (folder.getChildFile ("test.settings"), juce::PropertiesFile::Options());
        main = std::make_unique<MainComponent> (settings.get(), &service);
        main->presentError = [this] (const juce::String& message) { alerts.push_back (message); };
        settle();
    }

    ~MainComponentPanelTest() override
    {
        main.reset();
        folder.deleteRecursively();
    }

    void settle() { TestSupport::pumpMessagesUntil ([] { return false; }, 60); }

    juce::Component& panel()
    {
        auto* viewport = dynamic_cast<juce::Viewport*> (main->findChildWithID ("panelViewport"));
        EXPECT_NE (viewport, nullptr);
        return *viewport->getViewedComponent();
    }

    template <typename T>
    T* panelWidgetAt (juce::Rectangle<int> bounds)
    {
        for (auto* child : panel().getChildren())
            if (auto* widget = dynamic_cast<T*> (child); widget != nullptr && child->getBounds() == bounds)
                return widget;

        return nullptr;
    }

    void click (const juce::String& id)
    {
        auto* button = dynamic_cast<SimpleImageButton*> (main->findChildWithID (id));
        ASSERT_NE (button, nullptr) << id;
        clickButton (*button);
    }

    static void clickButton (SimpleImageButton& button)
    {
        button.mouseDown (SyntheticMouse::down (button, { 5.0f, 5.0f }));
        button.mouseUp (SyntheticMouse::up (button, { 5.0f, 5.0f }, { 5.0f, 5.0f }));
    }

    juce::File folder = juce::File::createTempFile ("tq-panels");
    Service service { nullptr };
    std::unique_ptr<juce::PropertiesFile> settings;
    std::unique_ptr<MainComponent> main;
    std::vector<juce::String> alerts;
};
} // namespace

//==============================================================================
TEST_F (MainComponentPanelTest, BlockSwitchesAndGlobalsShowPanelsOfTheirHeight)
{
    // The constructor shows the AMP panel.
    EXPECT_EQ (main->getSelectedBlock(), 0);
    EXPECT_EQ (panel().getBounds(), juce::Rectangle<int> (0, 0, 551, 296));
    EXPECT_NE (panelWidgetAt<SimpleImageButton> ({ 136, 59, 274, 52 }), nullptr); // amp name

    const std::pair<const char*, int> blocks[] = { { "blockGTE", 235 }, { "blockCMP", 472 }, { "blockBST", 296 },
                                                   { "blockEQ", 1184 }, { "blockAMP", 296 }, { "blockREV", 472 },
                                                   { "blockECO", 533 }, { "blockCAB", 296 } };

    for (const auto& [id, height] : blocks)
    {
        click (id);
        EXPECT_EQ (panel().getHeight(), height) << id;
        EXPECT_EQ (panel().getWidth(), 551) << id;
    }

    EXPECT_EQ (main->getSelectedBlock(), Map::CAB);

    click ("GLOBALS");
    EXPECT_EQ (main->getSelectedBlock(), 8);
    EXPECT_EQ (panel().getHeight(), 296);
    EXPECT_TRUE (dynamic_cast<SimpleTextButton*> (main->findChildWithID ("GLOBALS"))->isOn);
    auto* caption = panelWidgetAt<SimpleLabel> ({ 6, 235, 126, 52 });
    ASSERT_NE (caption, nullptr);
    EXPECT_EQ (caption->text, "LEVEL:");
}

TEST_F (MainComponentPanelTest, BoostTypeRowSitsWhereTheGridPutsIt)
{
    main->showFXPanel (Map::BST);

    EXPECT_NE (panelWidgetAt<SimpleImageButton> ({ 136, 235, 274, 52 }), nullptr);
    EXPECT_NE (panelWidgetAt<SimpleImageButton> ({ 358, 248, 20, 26 }), nullptr);
    EXPECT_NE (panelWidgetAt<SimpleImageButton> ({ 381, 248, 20, 26 }), nullptr);

    // Without a pedal the service shows each parameter's default: boost type 1.
    settle();
    EXPECT_EQ (panelWidgetAt<SimpleImageButton> ({ 136, 235, 274, 52 })->text, "OVERDRIVE");
}

TEST_F (MainComponentPanelTest, RebuildingOverAndOverKeepsOnlyTheShownPanel)
{
    // Every rebuild must dispose of the previous panel's widgets and bindings;
    // the sanitizer build and the framework's leak detector catch any left.
    for (int round = 0; round < 20; ++round)
        for (int index = 0; index <= 8; ++index)
            main->showFXPanel (index);

    settle();
    const int shown = panel().getNumChildComponents();

    main->showFXPanel (8);
    EXPECT_EQ (panel().getNumChildComponents(), shown);

    // The same panel again is a new panel.
    juce::Component::SafePointer<juce::Component> first (panel().getChildComponent (0));
    main->showFXPanel (8);
    EXPECT_EQ (first.getComponent(), nullptr);
    EXPECT_EQ (panel().getNumChildComponents(), shown);
}

TEST_F (MainComponentPanelTest, AnIndexWithoutAPanelEmptiesItAndKeepsTheHeight)
{
    main->showFXPanel (Map::EQ);
    main->showFXPanel (9);

    EXPECT_EQ (main->getSelectedBlock(), 9);
    EXPECT_EQ (panel().getNumChildComponents(), 0);
    EXPECT_EQ (panel().getHeight(), 1184);
    EXPECT_FALSE (dynamic_cast<SimpleTextButton*> (main->findChildWithID ("GLOBALS"))->isOn);
}

TEST_F (MainComponentPanelTest, ControlsWithoutAPedalRaiseTheSendAlert)
{
    main->showFXPanel (Map::GTE);

    auto* value = panelWidgetAt<SimpleEditLabel> ({ 432, 170, 108, 32 }); // RELEASE
    ASSERT_NE (value, nullptr);
    EXPECT_FALSE (value->validator ("250"));

    settle();
    ASSERT_EQ (alerts.size(), 1u);
    EXPECT_EQ (alerts[0], "Failed to set parameter");
}

//==============================================================================
/** The same over a service attached to the simulated pedal. */
class MainComponentPanelWithPedal : public MainComponentPanelTest
{
protected:
    MainComponentPanelWithPedal()
    {
        connection = std::make_unique<TestSupport::PedalConnection> (pedal);
        service.connect (&connection->protocol());
        EXPECT_TRUE (TestSupport::pumpMessagesUntil ([this] { return service.getState() == Service::Idle; }, 10000));
        settle();
        pedal.clearReceived();
    }

    ~MainComponentPanelWithPedal() override
    {
        service.disconnect();
        connection.reset();
    }

    /** The last live parameter the pedal received, as {id, float value}. */
    std::pair<int, float> lastSent()
    {
        EXPECT_TRUE (TestSupport::pumpMessagesUntil ([this] { return ! pedal.liveParameters().empty(); }, 5000));
        const auto all = pedal.liveParameters();

        if (all.empty())
            return { -1, 0.0f };

        float value = 0.0f;
        std::memcpy (&value, &all.back().value, sizeof (value));
        return { all.back().id, value };
    }

    TestSupport::SimulatedPedal pedal;
    std::unique_ptr<TestSupport::PedalConnection> connection;
};

TEST_F (MainComponentPanelWithPedal, PanelKnobsSendOnTheirTaper)
{
    main->showFXPanel (Map::EQ);

    // Band 1 FREQ (20..20000 Hz, logarithmic) at column 2 of its knob row.
    auto* knob = panelWidgetAt<FilmStripKnob> ({ 276, 355 + 61, 146, 156 });
    ASSERT_NE (knob, nullptr);
    knob->onValueChange (0.5);

    const auto [id, value] = lastSent();
    EXPECT_EQ (id, paramEqBand1Frequency);
    EXPECT_NEAR (value, 632.456f, 0.01f);
    EXPECT_TRUE (alerts.empty());
}

TEST_F (MainComponentPanelWithPedal, FilterTypeArrowsStopAtNone)
{
    main->showFXPanel (Map::EQ);

    // The tone section's filter type, left arrow stepped from its value down
    // to the bottom and no further.
    auto* left = panelWidgetAt<SimpleImageButton> ({ 70 + 358, 59 + 13, 20, 26 });
    ASSERT_NE (left, nullptr);

    for (int i = 0; i < 3; ++i)
    {
        clickButton (*left);
        ASSERT_TRUE (TestSupport::pumpMessagesUntil ([this, i] { return (int) pedal.liveParameters().size() > i; }, 5000));
        settle();
    }

    const auto all = pedal.liveParameters();
    ASSERT_EQ (all.size(), 3u);

    float values[3];
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ (all[(size_t) i].id, paramEqPreToneFilterType);
        std::memcpy (&values[i], &all[(size_t) i].value, sizeof (float));
    }

    // Default 0 ("GAIN ONLY"), then -1 ("NONE"), then -1 again.
    EXPECT_EQ (values[0], -1.0f);
    EXPECT_EQ (values[1], -1.0f);
    EXPECT_EQ (values[2], -1.0f);
    EXPECT_EQ (panelWidgetAt<SimpleImageButton> ({ 70 + 136, 59, 274, 52 })->text, "NONE");
}

TEST_F (MainComponentPanelWithPedal, SwitchesLightWhenThePedalHasTheValue)
{
    main->showFXPanel (Map::CMP);

    auto* on = panelWidgetAt<SimpleLabel> ({ 415, 59 + 29, 142, 38 });  // AUTOGAIN ON
    auto* off = panelWidgetAt<SimpleLabel> ({ 415, 59 + 71, 142, 38 }); // AUTOGAIN OFF
    ASSERT_NE (on, nullptr);
    ASSERT_NE (off, nullptr);
    EXPECT_FALSE (on->isOn);
    EXPECT_TRUE (off->isOn);

    clickButton (*on);
    EXPECT_EQ (lastSent(), std::make_pair ((int) paramCompressorAutoGain, 1.0f));
    EXPECT_TRUE (TestSupport::pumpMessagesUntil ([on] { return on->isOn; }, 5000));
    EXPECT_FALSE (off->isOn);
}
