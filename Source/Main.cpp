// SPDX-License-Identifier: GPL-3.0-or-later
#include <juce_gui_basics/juce_gui_basics.h>

/** The editor application. Start-up builds the main window; everything else is
    added as the editor grows. */
class QuorbelEditorApplication : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return "Tessaquorbel Editor"; }
    const juce::String getApplicationVersion() override { return "1.0.0"; }
    bool moreThanOneInstanceAllowed() override { return false; }

    void initialise (const juce::String&) override
    {
        window = std::make_unique<MainWindow> (getApplicationName());
    }

    void shutdown() override { window = nullptr; }

    void systemRequestedQuit() override { quit(); }

private:
    class MainWindow : public juce::DocumentWindow
    {
    public:
        explicit MainWindow (const juce::String& name)
            : DocumentWindow (name, juce::Colour (0xff1b1d21), DocumentWindow::closeButton)
        {
            setUsingNativeTitleBar (true);
            centreWithSize (416, 593);
            setVisible (true);
        }

        void closeButtonPressed() override { juce::JUCEApplication::getInstance()->systemRequestedQuit(); }
    };

    std::unique_ptr<MainWindow> window;
};

START_JUCE_APPLICATION (QuorbelEditorApplication)
