#pragma once

#include "AppInfo.h"
#include "DialogLookAndFeel.h"
#include "IconButton.h"
#include "MenuBarLookAndFeel.h"
#include "UserPreferences.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

class PresettableProcessor;

// The strip across the top of the editor: undo and redo, the preset button
// with the current preset's name, save, and at the right the display size
// (gear) button. A 125 ms timer keeps the preset label and the undo and redo
// buttons in step with the processor. Everything it does with presets goes
// through PresettableProcessor; it never owns the processor.
class MenuBar : public juce::Component,
                public juce::Timer
{
public:
    // The five display sizes. Int-valued: the settings menu's item IDs and
    // the editor's size factors are worked out from the value.
    enum GuiScalePreset : int
    {
        Scale50 = 0,
        Scale75 = 1,
        Scale100 = 2,
        Scale125 = 3,
        Scale150 = 4
    };

    static constexpr int firstScaleMenuItemId = 920001; // Scale50; Scale150 is 920005
    static constexpr int makeDefaultMenuItemId = 920007;

    // "50" ... "150", as stored in the preferences file; "100" for an unknown value.
    static juce::String getStoredText (GuiScalePreset);
    // "50%" ... "150%", as shown in the settings menu.
    static juce::String getMenuText (GuiScalePreset);

    MenuBar();
    ~MenuBar() override;

    // Stores the pointer (null allowed) and brings the preset label and the
    // undo and redo buttons up to date at once.
    void setPresettableProcessor (PresettableProcessor*);

    // Takes a copy of the record, opens the preferences file, starts at the
    // saved default display size and shows the settings button.
    void setAppInfo (const AppInfo&);

    GuiScalePreset getSavedDefaultGuiScalePreset() const;

    // The settings button's click handler: the "Display Size" menu.
    void showSettingsMenu();

    // The settings menu's content and its result handling, kept apart from
    // showing the menu so that each can be driven on its own.
    juce::PopupMenu createSettingsMenu();
    void handleSettingsMenuResult (int result);

    void refreshPresetButtonText();

    MenuBarLookAndFeel& getMenuLookAndFeel() noexcept { return menuLookAndFeel; }

    void paint (juce::Graphics&) override;
    void resized() override;
    void timerCallback() override;

private:
    // Popup fonts and item height from the bar height.
    void updatePopupMetrics();

    // The preset menu and the save dialog go behind these two; until they
    // exist the buttons do nothing.
    void showPresetMenu();
    void showSavePresetDialog();

    PresettableProcessor* processor = nullptr;
    UserPreferences userPreferences;
    AppInfo appInfo;

    IconButton undoButton { "Undo" };
    IconButton redoButton { "Redo" };
    IconButton presetButton { "Preset" };
    IconButton saveButton { "Save" };
    IconButton settingsButton { "Settings" };

public:
    // Read and written by the editor and by the settings menu.
    GuiScalePreset currentGuiScalePreset = Scale100;
    std::function<void (GuiScalePreset)> onGuiScalePresetChanged;

private:
    MenuBarLookAndFeel menuLookAndFeel;
    DialogLookAndFeel dialogLookAndFeel;
    juce::Colour backgroundColour { 0xff0a0b0c };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MenuBar)
};
