// SPDX-License-Identifier: GPL-3.0-or-later
#include "ContentZoom.h"
#include "ZoomWindow.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

constexpr int kWidth = 416;
constexpr int kHeight = 593;
constexpr int kMinWidth = 312;
constexpr int kMinHeight = 445;

/** Stands in for the main component: the design size of the real panel, and
    it tells whether (and how) it was deleted. */
struct ProbeContent : public juce::Component
{
    explicit ProbeContent (int* deletions, bool* hadParentWhenDeleted = nullptr)
        : deletions (deletions), hadParentWhenDeleted (hadParentWhenDeleted)
    {
        setSize (624, 890);
    }

    ~ProbeContent() override
    {
        ++*deletions;

        if (hadParentWhenDeleted != nullptr)
            *hadParentWhenDeleted = getParentComponent() != nullptr;
    }

    int* deletions;
    bool* hadParentWhenDeleted;
};

juce::Rectangle<int> mainTotalArea()
{
    return juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->totalArea;
}

juce::Rectangle<int> centredOnMainDisplay (int width, int height)
{
    const auto area = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay()->userArea;
    return { area.getCentreX() - width / 2, area.getCentreY() - height / 2, width, height };
}

/** Windows as the application makes them, over a settings file of their own. */
class ZoomWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* main = juce::Desktop::getInstance().getDisplays().getPrimaryDisplay();
        ASSERT_NE (main, nullptr) << "the window tests need a display (run under xvfb-run)";

        if (main->totalArea.getWidth() < 1280 || main->totalArea.getHeight() < 1024)
            GTEST_SKIP() << "needs a main display of at least 1280 x 1024, e.g. xvfb-run -s \"-screen 0 1920x1080x24\"";

        juce::PropertiesFile::Options options;
        options.millisecondsBeforeSaving = -1;
        settings = std::make_unique<juce::PropertiesFile> (settingsFile.getFile(), options);
    }

    std::unique_ptr<ZoomWindow> makeWindow (juce::PropertiesFile* windowSettings)
    {
        return std::make_unique<ZoomWindow> ("Tessaquorbel Editor", windowSettings, new ProbeContent (&deletions),
                                             juce::Colours::black, kWidth, kHeight, kMinWidth, kMinHeight);
    }

    /** Replaces the whole settings file's content, as a user editing it
        between two runs would. */
    void save (const juce::StringPairArray& values)
    {
        settings->clear();

        for (const auto& key : values.getAllKeys())
            settings->setValue (key, values[key]);
    }

    juce::TemporaryFile settingsFile { ".settings" };
    std::unique_ptr<juce::PropertiesFile> settings;
    int deletions = 0;
};

juce::StringPairArray keys (std::initializer_list<std::pair<const char*, const char*>> pairs)
{
    juce::StringPairArray result;

    for (const auto& [key, value] : pairs)
        result.set (key, value);

    return result;
}

} // namespace

//==============================================================================
TEST (ContentZoomTest, ScalesContentToItsWidthWithoutResizingIt)
{
    juce::Component content;
    content.setSize (624, 890);
    ContentZoom zoom (&content);

    EXPECT_EQ (zoom.getBounds(), juce::Rectangle<int> (0, 0, 624, 890));
    EXPECT_EQ (content.getParentComponent(), &zoom);

    zoom.setSize (832, 1187);

    EXPECT_EQ (content.getBounds(), juce::Rectangle<int> (0, 0, 624, 890));
    EXPECT_TRUE (content.getTransform() == juce::AffineTransform::scale (4.0f / 3.0f));

    zoom.removeChildComponent (&content);
}

TEST (ContentZoomTest, ContentOfWidthZeroIsScaledByOwnWidth)
{
    juce::Component content;
    ContentZoom zoom (&content);

    zoom.setSize (3, 10);

    EXPECT_TRUE (content.getTransform() == juce::AffineTransform::scale (3.0f));
    zoom.removeChildComponent (&content);
}

//==============================================================================
TEST (ZoomedBoundsTest, WideDisplayFillsItsHeightAndPullsTheWindowBackInside)
{
    const double aspect = 416.0 / 593.0;

    EXPECT_EQ (ZoomWindow::zoomedBounds ({ 1500, 100, 416, 593 }, aspect, 1920.0 / 1080.0, { 0, 0, 1920, 1080 }),
               juce::Rectangle<int> (1163, 0, 757, 1080));

    // A window that fits where it is keeps its position.
    EXPECT_EQ (ZoomWindow::zoomedBounds ({ 40, 0, 416, 593 }, aspect, 1920.0 / 1080.0, { 0, 0, 1920, 1080 }),
               juce::Rectangle<int> (40, 0, 757, 1080));
}

TEST (ZoomedBoundsTest, TallDisplayFillsItsWidth)
{
    const double aspect = 416.0 / 593.0;

    // 800 / aspect = 1140.38..., truncated.
    EXPECT_EQ (ZoomWindow::zoomedBounds ({ 300, 200, 416, 593 }, aspect, 800.0 / 1600.0, { 0, 0, 800, 1600 }),
               juce::Rectangle<int> (0, 200, 800, 1140));
}

TEST (ZoomedBoundsTest, NeverStartsLeftOfOrAboveTheDisplay)
{
    const double aspect = 416.0 / 593.0;

    EXPECT_EQ (ZoomWindow::zoomedBounds ({ -500, -40, 416, 593 }, aspect, 1920.0 / 1080.0, { 0, 0, 1920, 1080 }),
               juce::Rectangle<int> (0, 0, 757, 1080));
}

TEST (ZoomWindowDisplayTest, MissingMainDisplayFallsBackToTheGivenArea)
{
    EXPECT_EQ (ZoomWindow::displayAreaOr (nullptr, { 0, 0, 416, 593 }), juce::Rectangle<int> (0, 0, 416, 593));

    juce::Displays::Display display;
    display.totalArea = { 0, 0, 1920, 1080 };
    display.userArea = { 0, 30, 1920, 1050 };
    EXPECT_EQ (ZoomWindow::displayAreaOr (&display, { 0, 0, 416, 593 }), display.totalArea);
}

TEST (ZoomWindowDisplayTest, BoundsOnNoDisplayAreRecognised)
{
    juce::Array<juce::Displays::Display> displays;
    EXPECT_TRUE (ZoomWindow::liesOnAnyDisplay ({ 5000, 5000, 10, 10 }, displays)) << "nothing to judge against";

    juce::Displays::Display left, right;
    left.totalArea = { 0, 0, 1920, 1080 };
    right.totalArea = { 1920, 0, 1280, 1024 };
    displays.add (left, right);

    EXPECT_TRUE (ZoomWindow::liesOnAnyDisplay ({ 2500, 900, 416, 593 }, displays));
    EXPECT_TRUE (ZoomWindow::liesOnAnyDisplay ({ -400, 10, 416, 593 }, displays)) << "partly visible";
    EXPECT_FALSE (ZoomWindow::liesOnAnyDisplay ({ 1920, 1024, 416, 593 }, displays)) << "below the right display";
    EXPECT_FALSE (ZoomWindow::liesOnAnyDisplay ({ -416, 0, 416, 593 }, displays)) << "touching is not overlapping";
}

//==============================================================================
TEST_F (ZoomWindowTest, OpensCentredAtTheCreationSizeWithoutSettings)
{
    auto window = makeWindow (nullptr);

    EXPECT_EQ (window->getBounds(), centredOnMainDisplay (kWidth, kHeight));
    EXPECT_FALSE (window->isMaximised());
    EXPECT_FALSE (window->isUsingNativeTitleBar());
    EXPECT_TRUE (window->isResizable());

    auto* constrainer = window->getConstrainer();
    ASSERT_NE (constrainer, nullptr);
    EXPECT_EQ (constrainer->getMinimumWidth(), kMinWidth);
    EXPECT_EQ (constrainer->getMinimumHeight(), kMinHeight);
    EXPECT_EQ (constrainer->getMaximumWidth(), juce::jmin (2 * kWidth, mainTotalArea().getWidth()));
    EXPECT_EQ (constrainer->getMaximumHeight(), juce::jmin (2 * kHeight, mainTotalArea().getHeight()));
    EXPECT_EQ (constrainer->getFixedAspectRatio(), (double) (float) (416.0 / 593.0));
}

TEST_F (ZoomWindowTest, ZoomOnA1920By1080DisplayFillsItsHeightAndMovesBackInside)
{
    if (mainTotalArea() != juce::Rectangle<int> (0, 0, 1920, 1080))
        GTEST_SKIP() << "needs a 1920 x 1080 main display";

    auto window = makeWindow (nullptr);
    EXPECT_EQ (window->getBounds(), juce::Rectangle<int> (752, 244, 416, 593));

    window->setTopLeftPosition (1500, 100);
    window->toggleZoom();

    EXPECT_EQ (window->getBounds(), juce::Rectangle<int> (1163, 0, 757, 1080));
    EXPECT_TRUE (window->isMaximised());
    EXPECT_EQ (window->getBoundsBeforeMaximise(), juce::Rectangle<int> (1500, 100, 416, 593));

    window->toggleZoom();

    EXPECT_EQ (window->getBounds(), juce::Rectangle<int> (1500, 100, 416, 593));
    EXPECT_FALSE (window->isMaximised());
}

TEST_F (ZoomWindowTest, ContentIsWrappedScaledAndDeletedAfterItsWrapper)
{
    bool hadParent = true;
    auto window = std::make_unique<ZoomWindow> ("Tessaquorbel Editor", nullptr, new ProbeContent (&deletions, &hadParent),
                                                juce::Colours::black, kWidth, kHeight, kMinWidth, kMinHeight);

    auto* wrapper = dynamic_cast<ContentZoom*> (window->getContentComponent());
    ASSERT_NE (wrapper, nullptr);
    ASSERT_EQ (wrapper->getNumChildComponents(), 1);

    auto* content = wrapper->getChildComponent (0);
    EXPECT_EQ (content->getBounds(), juce::Rectangle<int> (0, 0, 624, 890)) << "keeps its design size";
    EXPECT_TRUE (content->getTransform() == juce::AffineTransform::scale ((float) (wrapper->getWidth() / 624.0)));

    window.reset();
    EXPECT_EQ (deletions, 1);
    EXPECT_FALSE (hadParent) << "the wrapper is removed before the content is deleted";
}

TEST_F (ZoomWindowTest, WritesEveryKeyOnDestruction)
{
    auto window = makeWindow (settings.get());
    window->setBounds (200, 150, 500, 713);
    window.reset();

    EXPECT_EQ (settings->getValue ("windowX"), "200");
    EXPECT_EQ (settings->getValue ("windowY"), "150");
    EXPECT_EQ (settings->getValue ("windowWidth"), "500");
    EXPECT_EQ (settings->getValue ("windowHeight"), "713");
    EXPECT_EQ (settings->getValue ("isMaximized"), "0");

    // Written whatever the zoom state, as they stand: never zoomed, all zero.
    for (auto* key : { "boundsBeforeMaximize_x", "boundsBeforeMaximize_y", "boundsBeforeMaximize_w", "boundsBeforeMaximize_h" })
        EXPECT_EQ (settings->getValue (key), "0") << key;

    EXPECT_EQ (deletions, 1);
}

TEST_F (ZoomWindowTest, ZoomedStateSurvivesARestart)
{
    auto first = makeWindow (settings.get());
    first->setBounds (300, 120, 520, 741);
    first->toggleZoom();
    const auto zoomed = first->getBounds();
    first.reset();

    EXPECT_EQ (settings->getValue ("isMaximized"), "1");

    auto second = makeWindow (settings.get());
    EXPECT_TRUE (second->isMaximised());
    EXPECT_EQ (second->getBoundsBeforeMaximise(), juce::Rectangle<int> (300, 120, 520, 741));
    EXPECT_EQ (second->getBounds().getPosition(), zoomed.getPosition());

    second->toggleZoom();
    EXPECT_EQ (second->getBounds(), juce::Rectangle<int> (300, 120, 520, 741));
    EXPECT_FALSE (second->isMaximised());
}

TEST_F (ZoomWindowTest, UserResizeLeavesTheZoomedState)
{
    auto window = makeWindow (nullptr);
    window->toggleZoom();
    ASSERT_TRUE (window->isMaximised());

    // What the corner resizer does: bounds set from outside the window.
    window->setBounds (100, 80, 450, 641);
    EXPECT_FALSE (window->isMaximised());

    window->toggleZoom();
    EXPECT_TRUE (window->isMaximised()) << "zooms in again instead of restoring";
    EXPECT_EQ (window->getBoundsBeforeMaximise(), juce::Rectangle<int> (100, 80, 450, 641));
}

//==============================================================================
TEST_F (ZoomWindowTest, SavedBoundsWithPositionAreCorrectedByTheConstrainer)
{
    save (keys ({ { "windowX", "100" }, { "windowY", "100" }, { "windowWidth", "500" }, { "windowHeight", "500" } }));
    auto window = makeWindow (settings.get());

    // The width stays, the height follows the aspect ratio: 500 / 0.70152 = 712.7.
    EXPECT_EQ (window->getBounds(), juce::Rectangle<int> (100, 100, 500, 713));
}

TEST_F (ZoomWindowTest, SavedPositionBeyondTheLimitsIsSizedWithinThem)
{
    save (keys ({ { "windowX", "10" }, { "windowY", "10" }, { "windowWidth", "100000" }, { "windowHeight", "100000" } }));
    auto window = makeWindow (settings.get());

    auto* constrainer = window->getConstrainer();
    EXPECT_LE (window->getWidth(), constrainer->getMaximumWidth());
    EXPECT_LE (window->getHeight(), constrainer->getMaximumHeight());
    EXPECT_GE (window->getWidth(), kMinWidth);
    EXPECT_GE (window->getHeight(), kMinHeight);
}

TEST_F (ZoomWindowTest, PositionWithoutBothCoordinatesIsCentredAtTheSavedSize)
{
    save (keys ({ { "windowX", "250" }, { "windowWidth", "500" }, { "windowHeight", "713" } }));
    EXPECT_EQ (makeWindow (settings.get())->getBounds(), centredOnMainDisplay (500, 713)) << "windowY missing";

    save (keys ({ { "windowX", "250" }, { "windowY", "-100" }, { "windowWidth", "500" }, { "windowHeight", "713" } }));
    EXPECT_EQ (makeWindow (settings.get())->getBounds(), centredOnMainDisplay (500, 713)) << "windowY -100";

    save (keys ({ { "windowX", "-100" }, { "windowY", "250" }, { "windowWidth", "500" }, { "windowHeight", "713" } }));
    EXPECT_EQ (makeWindow (settings.get())->getBounds(), centredOnMainDisplay (500, 713)) << "windowX -100";
}

TEST_F (ZoomWindowTest, SavedSizeWithoutPositionIsKeptButClampedToTheLimits)
{
    // Within the limits a saved size is used as it is, aspect and all.
    save (keys ({ { "windowWidth", "400" }, { "windowHeight", "700" } }));
    EXPECT_EQ (makeWindow (settings.get())->getBounds(), centredOnMainDisplay (400, 700));

    save (keys ({ { "windowWidth", "100000" }, { "windowHeight", "-5" } }));
    auto window = makeWindow (settings.get());
    const int maxWidth = window->getConstrainer()->getMaximumWidth();
    EXPECT_EQ (window->getBounds(), centredOnMainDisplay (maxWidth, kMinHeight));
}

TEST_F (ZoomWindowTest, PositionOffEveryDisplayIsCentredInstead)
{
    save (keys ({ { "windowX", "50000" }, { "windowY", "50000" }, { "windowWidth", "500" }, { "windowHeight", "713" } }));
    EXPECT_EQ (makeWindow (settings.get())->getBounds(), centredOnMainDisplay (500, 713));

    // Far enough out that adding the width would overflow an int.
    save (keys ({ { "windowX", "2147483647" }, { "windowY", "-2147483647" }, { "windowWidth", "500" }, { "windowHeight", "713" } }));
    EXPECT_EQ (makeWindow (settings.get())->getBounds(), centredOnMainDisplay (500, 713));
}

TEST_F (ZoomWindowTest, PartlyVisiblePositionIsKept)
{
    save (keys ({ { "windowX", "-200" }, { "windowY", "100" }, { "windowWidth", "416" }, { "windowHeight", "593" } }));
    EXPECT_EQ (makeWindow (settings.get())->getBounds(), juce::Rectangle<int> (-200, 100, 416, 593));
}

TEST_F (ZoomWindowTest, EditedBoundsBeforeZoomAreClampedAndBroughtOnScreen)
{
    save (keys ({ { "windowX", "40" }, { "windowY", "0" }, { "windowWidth", "757" }, { "windowHeight", "1080" },
                  { "isMaximized", "1" },
                  { "boundsBeforeMaximize_x", "99999999" }, { "boundsBeforeMaximize_y", "20" },
                  { "boundsBeforeMaximize_w", "100000" }, { "boundsBeforeMaximize_h", "3" } }));
    auto window = makeWindow (settings.get());
    ASSERT_TRUE (window->isMaximised());

    const int maxWidth = window->getConstrainer()->getMaximumWidth();
    EXPECT_EQ (window->getBoundsBeforeMaximise(), centredOnMainDisplay (maxWidth, kMinHeight));

    window->toggleZoom();
    EXPECT_EQ (window->getBounds(), centredOnMainDisplay (maxWidth, kMinHeight));
}

TEST_F (ZoomWindowTest, BoundsBeforeZoomAreReadOnlyForAZoomedWindow)
{
    save (keys ({ { "isMaximized", "0" }, { "boundsBeforeMaximize_x", "10" }, { "boundsBeforeMaximize_y", "20" },
                  { "boundsBeforeMaximize_w", "400" }, { "boundsBeforeMaximize_h", "600" } }));
    auto window = makeWindow (settings.get());

    EXPECT_FALSE (window->isMaximised());
    EXPECT_EQ (window->getBoundsBeforeMaximise(), juce::Rectangle<int>());
}
