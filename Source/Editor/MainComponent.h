// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QuorbelEditorService.h"
#include "QuorbelParamID.h"
#include "QuorbelParamMap.h"
#include "QuorbelSkin.h"

#include <juce_data_structures/juce_data_structures.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <memory>
#include <vector>

class DragBar;
class FilmStripKnob;
class MultiImageButton;
class MultiToggleSwitch;
class OverlayComponent;
class SimpleImageButton;
class SimpleLabel;
class SimpleTextButton;
class StaticImage;
class iStatusDisplay;
class IFilePicker;
class IPopupMenuRunner;
class MainComponentActions;

/** The whole content of the editor window: a fixed 624 x 890 skinned panel
    that the zoom window scales.

    It builds every widget once: the top bar with page and window buttons, the
    eight amp knobs (the pedal's live knob positions), the preset and cab-mode
    switches, the eight effect-block switches, the viewport of the effect
    panel, the footswitch-assign page, the About text and the status overlay.

    It is the editor service's only listener. Service callbacks arrive on any
    thread and only record what changed under updateMutex; the message thread
    then brings the widgets up to date in one asynchronous update (status
    first, then the parameter bindings). Widgets send values to the pedal only
    through setParameter.

    The effect panels hook in at showFXPanel / buildFXPanel; the FILE actions
    and the built-in amp models live in MainComponentActions.
*/
class MainComponent : public juce::Component,
                      private juce::AsyncUpdater,
                      public Quorbel::QuorbelEditorService::Listener
{
public:
    using Service = Quorbel::QuorbelEditorService;
    using ParameterValue = Quorbel::QuorbelParamMap::ParameterValue;
    using ParameterInfo = Quorbel::QuorbelParamMap::ParameterInfo;
    using BlockID = Quorbel::QuorbelParamMap::BlockID;

    /** A widget's update function for one parameter; message thread only. */
    using ParameterBinding = std::function<void (const ParameterValue&)>;

    enum Page
    {
        mainPage = 0,
        aboutPage = 1,
        footswitchPage = 2
    };

    /** Pending-update bits: which parts of the window the next update refreshes. */
    enum DirtyFlags : uint32_t
    {
        dirtyStatus = 0x1,       // overlay and FILE caption colours
        dirtyNames = 0x2,        // amp-model and cabinet name readouts
        dirtyBlocks = 0x4,       // block switches' lit states and layout, page buttons
        dirtyPresets = 0x8,      // preset switches A and B
        dirtyAllValues = 0x10,   // every binding re-read, and the cab-mode switch
        dirtyAbout = 0x20,       // About text
        dirtyEverything = 0xFFFFFFFFu
    };

    static constexpr int kWidth = 624;
    static constexpr int kHeight = 890;

    /** The globals panel's index next to the eight BlockIDs. */
    static constexpr int kGlobalsPanel = 8;

    static constexpr const char* kEditorVersion = "3.3.2.1";

    MainComponent (juce::PropertiesFile* settings, Service* service);
    ~MainComponent() override;

    void paint (juce::Graphics&) override;
    void resized() override;

    //==============================================================================
    /** Window hooks, set by the application; empty hooks are not called. */
    std::function<void()> onZoom;
    std::function<void()> onMinimise;

    /** Shows an error's text; message thread. Empty: the "Error" alert with an
        "OK" button. Tests put a recorder here. */
    std::function<void (const juce::String& message)> presentError;

    /** Shows an "Error" alert at the next asynchronous update; any thread.
        Does not log. */
    void setError (const char* format, ...)
#if defined(__GNUC__)
        __attribute__ ((format (printf, 2, 3)))
#endif
        ;

    /** The one path by which controls send a value to the pedal. On refusal
        the "Failed to set parameter" alert is queued and logged, and false
        returned. */
    bool setParameter (QuorbelParamID id, const ParameterValue& value);

    juce::File getLastDirectory() const;
    juce::File getDefaultFile (const juce::String& name) const;
    void setLastDirectory (juce::File file);

    /** -1 left/top, 0 centre, 1 right/bottom. */
    static juce::Justification justificationFor (int horizontal, int vertical);

    /** Shows the panel of a block (0..7) or the globals (8) on the main page. */
    void showFXPanel (int blockID);

    //==============================================================================
    // Files and built-in amp models (MainComponentActions does the work).

    /** "Update Firmware" (false) and "Update Firmware from File" (true). */
    void startFirmwareUpdate (bool fromFile);

    /** The click action of the CAB panel's cabinet-name readout. */
    void importCabinet();

    /** The click action of the AMP panel's amp-name readout. */
    void chooseBuiltInAmp();

    /** Completes a preset's amp data from the built-in amp with its amp
        identifier. */
    Tessarine::Result findBuiltInAmpForPreset (Service& editorService,
                                               Tessarine::TessarineData::FullQuorbelPreset& preset,
                                               bool copyAmpImpulse);

    /** Test seams: file dialogs and popup menus of the FILE and amp actions
        (null: the real ones). */
    void setFileActionSeams (IFilePicker* files, IPopupMenuRunner* menus);

    /** Progress callback for the service's backup, restore and firmware
        update; any thread. */
    void onProgress (double progress);

    /** Runs call on the message thread at the next asynchronous update, after
        the status routine; any thread. */
    void postUpdate (const std::function<void()>& call);

    /** Registers a binding after the others of its id and calls it once with
        the service's current value. Message thread. */
    void bindParameter (std::multimap<QuorbelParamID, ParameterBinding>& bindings, QuorbelParamID id,
                        ParameterBinding binding);

    //==============================================================================
    // Pure rules of the display, kept apart so they can be checked alone.

    /** What the status overlay shows for one service state. */
    struct StatusLook
    {
        juce::String text;
        bool busy = false;
        bool showsProgress = false;
        bool isError = false;
    };

    static StatusLook statusFor (int state, const std::string& lastError);

    /** The About page text; versionKnown false gives "(unknown)". */
    static juce::String aboutTextFor (bool versionKnown, const Tessarine::TessarineData::FirmwareVersionInfo& info);

    /** "%d.%d.%d.%d", or "%d.%d.%d" when the fourth byte is 0. */
    static juce::String versionToString (const uint8_t bytes[4]);

    /** Positions of preset switches A and B (0 top .. 2 bottom) for a preset. */
    static std::pair<int, int> presetSwitchPositions (int preset);

    /** The preset that switch positions a and b select. */
    static int presetForSwitchPositions (int a, int b);

    /** Cab-mode switch position for a cab mode, or -1 to leave it unchanged. */
    static int cabModePosition (int cabMode);

    /** Whether a block switch is lit, from its footswitch assignment, its
        enable value and the footswitch value. */
    static bool blockIsLit (double assignValue, double enableValue, double footswitchValue);

    /** Bounds of the i-th block switch in display order. */
    static juce::Rectangle<int> blockSwitchBounds (int displayIndex, bool selected);

    //==============================================================================
    Page getPage() const { return page; }
    int getSelectedBlock() const { return selectedBlock; }

private:
    struct BlockInfo
    {
        BlockID id;
        const char* label;
        QuorbelParamID enableParam;
        QuorbelParamID assignParam;
        float hue;
        float saturation;
        SkinImageTable::ImageID icon;
    };

    static const BlockInfo& blockInfo (BlockID id);
    static const BlockID kDisplayOrder[8];

    void handleAsyncUpdate() override;

    // Construction helpers.
    SimpleTextButton* addTextButton (const juce::String& text, juce::Rectangle<int> bounds);
    SimpleImageButton* addImageButton (juce::Point<int> position, SkinImageTable::ImageID normal,
                                       SkinImageTable::ImageID down, std::function<void()> onClick);
    MultiToggleSwitch* addPresetSwitch (int index);
    void addAmpKnob (int column, int row, QuorbelParamID id);
    void addBlockSwitch (BlockID id);
    void addFootswitchAssign (int column, SkinImageTable::ImageID icon, QuorbelParamID id);
    void addLegendItem (juce::Point<int> imagePosition, SkinImageTable::ImageID image, juce::Point<int> labelPosition,
                        const juce::String& text);
    void addToFootswitchPage (juce::Component* component, juce::Rectangle<int> windowBounds);
    template <typename ComponentType>
    ComponentType* add (ComponentType* component);

    // Pages.
    void setPage (Page newPage);
    void updatePageButtons();

    /** The effect-panel builder's part of showFXPanel: fills panelContent,
        panelComponents and panelBindings from the block's layout and sizes
        panelContent. False when there is no layout for the index. */
    bool buildFXPanel (int blockID);

    /** The FILE button's menu. */
    void showFileMenu();

    void onPresetSwitchChanged (MultiToggleSwitch* changed, int index);
    void onBlockSwitchDoubleClick (BlockID id);
    double readValue (QuorbelParamID id);

    // The status routine run first by every asynchronous update.
    void applyStatus();
    void deliverValues (uint32_t flags, std::map<QuorbelParamID, ParameterValue>& values);

    //==============================================================================
    std::mutex updateMutex;
    uint32_t dirtyFlags = 0;
    juce::PropertiesFile* settings;
    Service* service;
    std::vector<std::function<void()>> queuedCalls;
    juce::OwnedArray<juce::Component> mainComponents;
    juce::OwnedArray<juce::Component> panelComponents;
    std::map<BlockID, SimpleImageButton*> blockSwitches;
    std::map<QuorbelParamID, ParameterValue> pendingValues;
    int selectedBlock = 0;
    double progress = 0.0;
    std::function<void()> statusUpdater;
    std::multimap<QuorbelParamID, ParameterBinding> mainBindings;
    std::multimap<QuorbelParamID, ParameterBinding> panelBindings;
    SimpleImageButton* ampNameReadout = nullptr;
    SimpleImageButton* cabNameReadout = nullptr;
    Page page = mainPage;

    // Widgets the handlers reach; all owned by mainComponents.
    StaticImage* background = nullptr;
    juce::Viewport* panelViewport = nullptr;
    juce::Component* panelContent = nullptr;
    juce::Component* footswitchLayer = nullptr;
    SimpleLabel* aboutText = nullptr;
    OverlayComponent* overlay = nullptr;
    SimpleTextButton* footswitchesButton = nullptr;
    SimpleTextButton* globalsButton = nullptr;
    SimpleTextButton* fileButton = nullptr;
    SimpleTextButton* aboutButton = nullptr;
    MultiToggleSwitch* presetSwitches[3] = {};

    // The parsed built-in amp models and the FILE actions; made first and
    // released right after the listener is removed.
    std::unique_ptr<MainComponentActions> actions;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainComponent)
};
