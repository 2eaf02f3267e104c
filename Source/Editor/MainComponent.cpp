// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainComponent.h"

#include "DragBar.h"
#include "FXPanelBuilder.h"
#include "MainComponentActions.h"
#include "FilmStripKnob.h"
#include "KnobTaper.h"
#include "MultiImageButton.h"
#include "MultiToggleSwitch.h"
#include "OverlayComponent.h"
#include "SimpleImageButton.h"
#include "SimpleLabel.h"
#include "SimpleTextButton.h"
#include "StaticImage.h"
#include "TruncateToInt.h"

namespace
{
using Skin = SkinImageTable;

const juce::Colour kPageButtonText (0xff333333);
const juce::Colour kPageButtonTextOn (0xffeeeeee);
const juce::Colour kLegendText (0xffdfdfdf);

juce::Font plainFont (float height) { return juce::Font (height, juce::Font::plain); }

/** A copy of image with every pixel's red, green, blue and alpha multiplied by
    those of colour: the lit look of a block switch in the block's hue. */
juce::Image tintImage (const juce::Image& image, juce::Colour colour)
{
    if (! image.isValid())
        return {};

    juce::Image tinted = image.createCopy().convertedToFormat (juce::Image::ARGB);
    const juce::Image::BitmapData pixels (tinted, juce::Image::BitmapData::readWrite);

    for (int y = 0; y < pixels.height; ++y)
    {
        for (int x = 0; x < pixels.width; ++x)
        {
            // Premultiplied storage: scaling every channel, alpha included,
            // by the same factors gives the same result as on straight colour.
            auto* p = reinterpret_cast<juce::PixelARGB*> (pixels.getPixelPointer (x, y));
            p->setARGB (static_cast<uint8_t> (p->getAlpha() * colour.getAlpha() / 255),
                        static_cast<uint8_t> (p->getRed() * colour.getRed() / 255),
                        static_cast<uint8_t> (p->getGreen() * colour.getGreen() / 255),
                        static_cast<uint8_t> (p->getBlue() * colour.getBlue() / 255));
        }
    }

    return tinted;
}
} // namespace

//==============================================================================
const MainComponent::BlockID MainComponent::kDisplayOrder[8] = {
    Quorbel::QuorbelParamMap::GTE, Quorbel::QuorbelParamMap::CMP, Quorbel::QuorbelParamMap::BST,
    Quorbel::QuorbelParamMap::AMP, Quorbel::QuorbelParamMap::EQ,  Quorbel::QuorbelParamMap::ECO,
    Quorbel::QuorbelParamMap::REV, Quorbel::QuorbelParamMap::CAB,
};

const MainComponent::BlockInfo& MainComponent::blockInfo (BlockID id)
{
    using Map = Quorbel::QuorbelParamMap;
    static const BlockInfo table[8] = {
        { Map::AMP, "AMP", QuorbelParamID (112), QuorbelParamID (265), 0.0f, 1.0f, Skin::AMPGreyedOut },
        { Map::CAB, "CAB", QuorbelParamID (96), QuorbelParamID (268), 0.0625f, 1.0f, Skin::CABGreyedOut },
        { Map::BST, "BST", QuorbelParamID (0), QuorbelParamID (264), 0.125f, 1.0f, Skin::BSTGreyedOut },
        { Map::REV, "REV", QuorbelParamID (144), QuorbelParamID (267), 0.25f, 1.0f, Skin::REVGreyedOut },
        { Map::ECO, "ECO", QuorbelParamID (192), QuorbelParamID (288), 0.8125f, 1.0f, Skin::ECOGreyedOut },
        { Map::GTE, "GTE", QuorbelParamID (64), QuorbelParamID (262), 0.5625f, 1.0f, Skin::GTEGreyedOut },
        { Map::CMP, "CMP", QuorbelParamID (128), QuorbelParamID (263), 0.625f, 0.7f, Skin::CMPGreyedOut },
        { Map::EQ, "EQ", QuorbelParamID (176), QuorbelParamID (266), 1.0f, 1.0f, Skin::EQGreyedOut },
    };

    return table[static_cast<int> (id) & 7];
}

//==============================================================================
MainComponent::MainComponent (juce::PropertiesFile* settingsFile, Service* editorService)
    : settings (settingsFile), service (editorService)
{
    actions = std::make_unique<MainComponentActions> (*this, *service);

    panelContent = mainComponents.add (new juce::Component());
    panelContent->setBounds (0, 0, 551, 296);

    panelViewport = new juce::Viewport (juce::String());
    panelViewport->setComponentID ("panelViewport");
    mainComponents.add (panelViewport);
    panelViewport->setScrollBarsShown (true, false, true, false);
    panelViewport->setScrollBarThickness (8);
    panelViewport->setViewedComponent (panelContent, false);
    panelViewport->setBounds (36, 557, 567, 296);
    panelViewport->getVerticalScrollBar().setColour (juce::ScrollBar::thumbColourId, juce::Colour (0xffcf1818));

    overlay = new OverlayComponent();
    overlay->setComponentID ("overlay");
    overlay->line1FontHeight = 26.0f;
    overlay->line2FontHeight = 20.0f;

    background = add (new StaticImage (QuorbelSkin::getImage (Skin::BoxBackground)));
    background->setComponentID ("background");
    background->setBounds (0, 0, kWidth, kHeight);

    auto* dragBar = add (new DragBar());
    dragBar->setBounds (0, 0, kWidth, 120);

    aboutText = add (new SimpleLabel (juce::String()));
    aboutText->setComponentID ("aboutText");
    aboutText->setTextColour (juce::Colour (0xff959595));
    aboutText->setFont (plainFont (18.0f));
    aboutText->justification = juce::Justification::centred;
    aboutText->setBounds (40, 674, 220, 140);

    footswitchLayer = mainComponents.add (new juce::Component());
    footswitchLayer->setComponentID ("footswitchLayer");
    footswitchLayer->setBounds (36, 557, 551, 296);

    footswitchesButton = addTextButton ("FOOTSWITCHES", { 190, 17, 190, 20 });
    globalsButton = addTextButton ("GLOBALS", { 70, 17, 120, 20 });
    fileButton = addTextButton ("FILE", { 0, 17, 70, 20 });
    aboutButton = addTextButton ("ABOUT", { 380, 17, 100, 20 });

    setPage (mainPage);
    aboutButton->onClick = [this] { setPage (page == aboutPage ? mainPage : aboutPage); };
    fileButton->onClick = [this] { showFileMenu(); };

    auto* zoomButton = addImageButton ({ 493, 7 }, Skin::MaximizeOff, Skin::MaximizeOn, [this] {
        if (onZoom)
            onZoom();
    });
    auto* minimiseButton = addImageButton ({ 537, 7 }, Skin::MinimizeOff, Skin::MinimizeOn, [this] {
        if (onMinimise)
            onMinimise();
    });
    auto* closeButton = addImageButton ({ 581, 7 }, Skin::CloseOff, Skin::CloseOn, [] {
        if (auto* app = juce::JUCEApplication::getInstance())
            app->systemRequestedQuit();
    });

    addAmpKnob (0, 0, paramLiveKnob2);
    addAmpKnob (1, 0, paramLiveKnob4);
    addAmpKnob (2, 0, paramLiveKnob6);
    addAmpKnob (3, 0, paramLiveKnob8);
    addAmpKnob (0, 1, paramLiveKnob1);
    addAmpKnob (1, 1, paramLiveKnob3);
    addAmpKnob (2, 1, paramLiveKnob5);
    addAmpKnob (3, 1, paramLiveKnob7);

    for (int i = 0; i < 3; ++i)
        presetSwitches[i] = addPresetSwitch (i);

    auto* divider = add (new StaticImage (QuorbelSkin::getImage (Skin::FXRedLine)));
    divider->setBounds (29, 515, 566, 4);

    addAndMakeVisible (panelViewport);
    addAndMakeVisible (footswitchLayer);
    globalsButton->onClick = [this] { showFXPanel (kGlobalsPanel); };
    footswitchesButton->onClick = [this] { setPage (footswitchPage); };

    using Map = Quorbel::QuorbelParamMap;
    for (auto id : { Map::GTE, Map::CMP, Map::BST, Map::EQ, Map::AMP, Map::REV, Map::ECO, Map::CAB })
        addBlockSwitch (id);

    // Block enables, footswitch assignments and the footswitch itself only
    // mark the block switches for the next update, which reads them all.
    for (int id : { 64, 128, 0, 176, 112, 96, 144, 192, 262, 263, 264, 266, 265, 268, 267, 288, 88 })
    {
        bindParameter (mainBindings, QuorbelParamID (id), [this] (const ParameterValue&) {
            {
                std::lock_guard<std::mutex> lock (updateMutex);
                dirtyFlags |= dirtyBlocks;
            }
            triggerAsyncUpdate();
        });
    }

    auto* title = new SimpleLabel ("FOOTSWITCH ASSIGN");
    title->setTextColour (kLegendText);
    title->setFont (plainFont (30.0f));
    title->justification = juce::Justification::centred;
    addToFootswitchPage (title, { 36 + 101, 557 + 9, 350, 32 });

    addFootswitchAssign (0, Skin::GTEGreyedOut, QuorbelParamID (262));
    addFootswitchAssign (1, Skin::CMPGreyedOut, QuorbelParamID (263));
    addFootswitchAssign (2, Skin::BSTGreyedOut, QuorbelParamID (264));
    addFootswitchAssign (3, Skin::AMPGreyedOut, QuorbelParamID (265));
    addFootswitchAssign (4, Skin::EQGreyedOut, QuorbelParamID (266));
    addFootswitchAssign (5, Skin::ECOGreyedOut, QuorbelParamID (288));
    addFootswitchAssign (6, Skin::REVGreyedOut, QuorbelParamID (267));
    addFootswitchAssign (7, Skin::CABGreyedOut, QuorbelParamID (268));

    addLegendItem ({ 132, 778 }, Skin::NotAssigned, { 66, 814 }, "NOT ASSIGNED");
    addLegendItem ({ 296, 778 }, Skin::Assigned, { 230, 814 }, "ASSIGNED");
    addLegendItem ({ 459, 778 }, Skin::Invert, { 393, 814 }, "INVERT");

    overlay->setBounds (0, 0, kWidth, kHeight);
    add (overlay);

    // The top bar and the About text stay usable and visible above the
    // status overlay; everything else lies under it.
    for (juce::Component* c : std::initializer_list<juce::Component*> { overlay, dragBar, closeButton, minimiseButton,
                                                                         zoomButton, aboutButton, footswitchesButton,
                                                                         globalsButton, fileButton, aboutText })
        c->toFront (false);

    statusUpdater = [this] { applyStatus(); };

    onDataChanged = [this] {
        {
            std::lock_guard<std::mutex> lock (updateMutex);
            dirtyFlags = dirtyEverything;
        }
        triggerAsyncUpdate();
    };

    onStateChanged = [this] (Service::State) {
        {
            std::lock_guard<std::mutex> lock (updateMutex);
            dirtyFlags |= dirtyStatus | dirtyAbout;
        }
        triggerAsyncUpdate();
    };

    onParameterChanged = [this] (QuorbelParamID id, const ParameterValue& value) {
        {
            std::lock_guard<std::mutex> lock (updateMutex);
            pendingValues[id] = value;
        }
        triggerAsyncUpdate();
    };

    setSize (kWidth, kHeight);
    showFXPanel (Quorbel::QuorbelParamMap::AMP);
    onDataChanged();
    service->addListener (this);
}

MainComponent::~MainComponent()
{
    // No service callback may run while the members go.
    service->removeListener (this);

    actions.reset();

    panelBindings.clear();
    mainBindings.clear();
    statusUpdater = nullptr;
    pendingValues.clear();
    blockSwitches.clear();
    ampNameReadout = nullptr;
    cabNameReadout = nullptr;
    panelContent->removeAllChildren();
    panelComponents.clear (true);

    // Last to first, as they were made.
    while (! mainComponents.isEmpty())
        mainComponents.removeLast();

    std::lock_guard<std::mutex> lock (updateMutex);
    queuedCalls.clear();
}

void MainComponent::paint (juce::Graphics&) {}
void MainComponent::resized() {}

//==============================================================================
template <typename ComponentType>
ComponentType* MainComponent::add (ComponentType* component)
{
    mainComponents.add (component);
    addAndMakeVisible (component);
    return component;
}

SimpleTextButton* MainComponent::addTextButton (const juce::String& text, juce::Rectangle<int> bounds)
{
    auto* button = add (new SimpleTextButton (text));
    button->setComponentID (text);
    button->setTextColours (kPageButtonText, kPageButtonTextOn);
    button->setFont (plainFont (28.0f));
    button->setBounds (bounds);
    return button;
}

SimpleImageButton* MainComponent::addImageButton (juce::Point<int> position, SkinImageTable::ImageID normal,
                                                  SkinImageTable::ImageID down, std::function<void()> onClick)
{
    auto* button = add (new SimpleImageButton (QuorbelSkin::getImage (normal), QuorbelSkin::getImage (down)));
    button->setBounds (position.x, position.y, 36, 36);
    button->onClick = std::move (onClick);
    return button;
}

MultiToggleSwitch* MainComponent::addPresetSwitch (int index)
{
    auto* presetSwitch = add (new MultiToggleSwitch ({ { QuorbelSkin::getImage (Skin::SwitchUp), 1.0f },
                                                       { QuorbelSkin::getImage (Skin::SwitchCenter), 1.0f },
                                                       { QuorbelSkin::getImage (Skin::SwitchDown), 1.0f } }));
    presetSwitch->setComponentID ("presetSwitch" + juce::String (index));
    presetSwitch->setBounds (142 + 150 * index, 193, 40, 104);

    // Switch C shows the cab mode only: without onChange it ignores the mouse.
    if (index < 2)
        presetSwitch->onChange = [this, presetSwitch] (int position) { onPresetSwitchChanged (presetSwitch, position); };

    return presetSwitch;
}

void MainComponent::addAmpKnob (int column, int row, QuorbelParamID id)
{
    auto* knob = add (new FilmStripKnob());
    knob->setComponentID ("ampKnob" + juce::String (static_cast<int> (id)));
    knob->setImage (QuorbelSkin::getImage (Skin::LargeDialFilm), 1, Skin::kFilmStripFrames, -1);
    knob->setBounds (21 + 149 * column, 80 + 185 * row, 136, 136);

    ParameterInfo info;
    service->getParameterInfo (id, info);

    knob->onValueChange = [this, id, info] (double position) {
        setParameter (id, { Quorbel::kindInteger, Quorbel::KnobTaper::toValue (info, position) });
    };
    knob->onDoubleClick = [this, id, info] { setParameter (id, info.defaultValue); };

    bindParameter (mainBindings, id, [knob, info] (const ParameterValue& value) {
        knob->setValue (Quorbel::KnobTaper::toPosition (info, value.value));
    });
}

void MainComponent::addBlockSwitch (BlockID id)
{
    const auto& block = blockInfo (id);
    const auto onImage = QuorbelSkin::getImage (Skin::FXBlockOn);

    auto* blockSwitch = add (new SimpleImageButton (QuorbelSkin::getImage (Skin::FXBlockOff),
                                                    tintImage (onImage, juce::Colour (block.hue, block.saturation, 0.9f, 1.0f))));
    blockSwitch->setComponentID (juce::String ("block") + block.label);
    blockSwitch->showsPressedState = false;
    blockSwitch->text = block.label;
    blockSwitch->setTextColours (juce::Colour (0xff9b9b9b), juce::Colour (0xff222222));
    blockSwitch->setFont (juce::Font (20.0f, juce::Font::bold));
    blockSwitch->justification = juce::Justification::centred;
    blockSwitch->setBounds (36, 487, 60, 60);
    blockSwitches[id] = blockSwitch;

    blockSwitch->onClick = [this, id] { showFXPanel (id); };
    blockSwitch->onDoubleClick = [this, id] { onBlockSwitchDoubleClick (id); };
}

void MainComponent::addFootswitchAssign (int column, SkinImageTable::ImageID icon, QuorbelParamID id)
{
    addToFootswitchPage (new StaticImage (QuorbelSkin::getImage (icon)), { 38 + 70 * column, 625, 56, 56 });

    auto* button = new MultiImageButton ({ QuorbelSkin::getImage (Skin::NotAssigned), QuorbelSkin::getImage (Skin::Assigned),
                                           QuorbelSkin::getImage (Skin::Invert) });
    button->setComponentID ("assign" + juce::String (static_cast<int> (id)));
    addToFootswitchPage (button, { 50 + 70 * column, 696, 32, 32 });

    button->onClick = [this, id] {
        // Not assigned -> assigned -> inverted -> not assigned. Computed wide,
        // so a corrupt stored value cannot overflow or go negative.
        const long long current = Tessarine::truncateToInt (readValue (id));
        const long long next = ((current + 1) % 3 + 3) % 3;
        setParameter (id, { Quorbel::kindInteger, static_cast<double> (next) });
    };

    bindParameter (mainBindings, id, [button] (const ParameterValue& value) {
        button->currentIndex = Tessarine::truncateToInt (value.value);
        button->repaint();
    });
}

void MainComponent::addLegendItem (juce::Point<int> imagePosition, SkinImageTable::ImageID image,
                                   juce::Point<int> labelPosition, const juce::String& text)
{
    addToFootswitchPage (new StaticImage (QuorbelSkin::getImage (image)), { imagePosition.x, imagePosition.y, 32, 32 });

    auto* label = new SimpleLabel (text);
    label->setTextColour (kLegendText);
    label->setFont (plainFont (24.0f));
    label->justification = juce::Justification::centred;
    addToFootswitchPage (label, { labelPosition.x, labelPosition.y, 164, 32 });
}

void MainComponent::addToFootswitchPage (juce::Component* component, juce::Rectangle<int> windowBounds)
{
    mainComponents.add (component);
    footswitchLayer->addAndMakeVisible (component);
    component->setBounds (windowBounds.translated (-footswitchLayer->getX(), -footswitchLayer->getY()));
}

//==============================================================================
void MainComponent::setPage (Page newPage)
{
    page = newPage;
    // Asked for only now, the About page's image is decoded when that page is
    // first shown, not before the window's first frame.
    background->setImage (QuorbelSkin::getImage (page == aboutPage ? Skin::BoxAboutBackground : Skin::BoxBackground));
    panelViewport->setVisible (page == mainPage);
    footswitchLayer->setVisible (page == footswitchPage);
    aboutText->setVisible (page == aboutPage);
    updatePageButtons();
}

void MainComponent::updatePageButtons()
{
    globalsButton->isOn = selectedBlock == kGlobalsPanel && page == mainPage;
    footswitchesButton->isOn = page == footswitchPage;
    aboutButton->isOn = page == aboutPage;

    globalsButton->repaint();
    footswitchesButton->repaint();
    aboutButton->repaint();
}

void MainComponent::showFXPanel (int blockID)
{
    setPage (mainPage);

    ampNameReadout = nullptr;
    cabNameReadout = nullptr;
    panelBindings.clear();
    panelContent->removeAllChildren();
    panelComponents.clear (true);

    selectedBlock = blockID;
    updatePageButtons();

    if (! buildFXPanel (blockID))
        return;

    // A full refresh fills the new panel's bindings and re-lays the switches.
    if (onDataChanged)
        onDataChanged();
}

bool MainComponent::buildFXPanel (int blockID)
{
    FXPanelBuilder::Editor editor;
    editor.getParameterInfo = [this] (QuorbelParamID id)
    {
        ParameterInfo info;
        service->getParameterInfo (id, info);
        return info;
    };
    editor.getParameterValue = [this] (QuorbelParamID id)
    {
        ParameterValue value { Quorbel::kindInteger, 0.0 };
        service->getParameterValue (id, value);
        return value;
    };
    editor.setParameter = [this] (QuorbelParamID id, ParameterValue value) { return setParameter (id, value); };
    editor.onAmpNameClick = [this] { chooseBuiltInAmp(); };
    editor.onCabNameClick = [this] { importCabinet(); };

    // The builder's closures keep what they need; the builder itself can go.
    FXPanelBuilder builder (*panelContent, panelComponents, panelBindings, std::move (editor));

    if (! builder.build (blockID))
        return false;

    ampNameReadout = builder.getAmpNameReadout();
    cabNameReadout = builder.getCabNameReadout();
    return true;
}

//==============================================================================
void MainComponent::onPresetSwitchChanged (MultiToggleSwitch* changed, int index)
{
    // The switches move at once; the pedal's answer moves them back if the
    // request is refused.
    changed->currentIndex = index;
    changed->repaint();
    service->requestChangePreset (presetForSwitchPositions (presetSwitches[0]->currentIndex, presetSwitches[1]->currentIndex));
}

void MainComponent::onBlockSwitchDoubleClick (BlockID id)
{
    const auto& block = blockInfo (id);

    if (Tessarine::truncateToInt (readValue (block.assignParam)) != 0)
    {
        setPage (footswitchPage);
        return;
    }

    const double enabled = readValue (block.enableParam);
    setParameter (block.enableParam, { Quorbel::kindInteger, enabled == 0.0 ? 1.0 : 0.0 });
}

double MainComponent::readValue (QuorbelParamID id)
{
    ParameterValue value { Quorbel::kindInteger, 0.0 };
    service->getParameterValue (id, value);
    return value.value;
}

//==============================================================================
juce::Justification MainComponent::justificationFor (int horizontal, int vertical)
{
    static const int flags[9] = { 9, 12, 10, 33, 36, 34, 17, 20, 18 };
    const long long index = static_cast<long long> (horizontal) + 3LL * vertical + 4;
    return juce::Justification (index >= 0 && index < 9 ? flags[index] : 36);
}

//==============================================================================
std::pair<int, int> MainComponent::presetSwitchPositions (int preset)
{
    return { 2 - (preset / 3) % 3, 2 - preset % 3 };
}

int MainComponent::presetForSwitchPositions (int a, int b)
{
    return (2 - a) * 3 + (2 - b);
}

int MainComponent::cabModePosition (int cabMode)
{
    switch (cabMode)
    {
        case 1: return 0;
        case 3: return 1;
        case 2: return 2;
        default: return -1;
    }
}

bool MainComponent::blockIsLit (double assignValue, double enableValue, double footswitchValue)
{
    switch (Tessarine::truncateToInt (assignValue))
    {
        case 0: return enableValue != 0.0;
        case 1: return footswitchValue != 0.0;
        case 2: return footswitchValue == 0.0;
        default: return false;
    }
}

juce::Rectangle<int> MainComponent::blockSwitchBounds (int displayIndex, bool selected)
{
    // The pitch is the single-precision 70.14286 the layout was drawn with.
    const float pitch = 70.14286f;
    const int d = selected ? 3 : -3;
    const int x = 36 + static_cast<int> (static_cast<float> (displayIndex) * pitch) - d;
    return { x, 487 - d, 60 + 2 * d, 60 + 2 * d };
}
