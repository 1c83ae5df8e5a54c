#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include "../gui/GUI.h"
#include "AppInfo.h"
#include "MenuBar.h"

class OndrelAudioProcessor;

// The plug-in's window: the menu bar across the top and the channel-strip
// panel below it. Its own job is the window size: a default from the display
// and the chosen display size, the size saved in the plug-in state, a fixed
// aspect ratio within limits, and every accepted resize written back to the
// processor so that the host project reopens the window at the same size.
//
// Needs no display to be constructed: hosts and the LV2 build step create
// and destroy it headless, and every size it sets is at least 1 x 1.
class OndrelAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    explicit OndrelAudioProcessorEditor (OndrelAudioProcessor&);
    ~OndrelAudioProcessorEditor() override;

    void paint (juce::Graphics&) override;
    void resized() override;

    // Resize limits, aspect ratio and bounds from the saved size, or else
    // from the default size (which then becomes the saved size).
    void applyWindowSizing();

    // The default window size, (0, 0, width, height), for the current display
    // size on the display the editor is on.
    juce::Rectangle<int> getAppWindowBounds() const;

    MenuBar::GuiScalePreset getCurrentGuiScalePreset() const noexcept { return currentGuiScalePreset; }
    MenuBar& getMenuBar() noexcept { return menuBar; }
    OndrelGUI& getPanel() noexcept { return panel; }

private:
    juce::Rectangle<int> getAvailableArea() const;
    void guiScalePresetChanged (MenuBar::GuiScalePreset);

    OndrelAudioProcessor& ondrelProcessor;
    AppInfo appInfo;
    OndrelGUI panel;
    MenuBar menuBar;
    MenuBar::GuiScalePreset currentGuiScalePreset = MenuBar::Scale100;
    bool isApplyingWindowSizing = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OndrelAudioProcessorEditor)
};
