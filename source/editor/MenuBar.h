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

    // Preset menu item IDs. The first 3000 user presets use three blocks of
    // 3000 (load, rename, delete at base + index). Presets beyond them get
    // IDs above every block, three in a row per preset (load, rename,
    // delete), so that no item of a long list lands in another block.
    static constexpr int factoryPresetMenuIdBase = 1000;
    static constexpr int loadPresetMenuIdBase = 2000;
    static constexpr int renamePresetMenuIdBase = 5000;
    static constexpr int deletePresetMenuIdBase = 8000;
    static constexpr int lastDeletePresetMenuId = 910000;
    static constexpr int userPresetsPerIdBlock = 3000;
    static constexpr int latePresetMenuIdBase = 1000000;

    // The preset button's click handler: the preset menu under the button.
    void showPresetMenu();

    // The preset menu's content and its result handling, kept apart from
    // showing the menu so that each can be driven on its own. Results are
    // resolved against the preset lists as they are when the result comes.
    juce::PopupMenu createPresetMenu();
    void handlePresetMenuResult (int result);

    // The preset dialogs. Each returns at once; the rest of its flow runs in
    // the dialog's completion callback, which does nothing once the bar has
    // been deleted.
    void showSavePresetDialog();
    void saveUserPresetWithOverwritePrompt (const juce::String& name);
    void showRenamePresetDialog (const juce::String& name);
    void renamePresetWithOverwritePrompt (const juce::String& oldName, const juce::String& newName);
    void confirmDeletePreset (const juce::String& name);

    // A message with an "OK" button that closes itself after three seconds.
    void showSuccessMessage (const juce::String& title, const juce::String& message);

    // Whether a listed user preset has this name (trimmed, ignoring case).
    bool userPresetExists (const juce::String& name) const;

    // Fits the dialog to the editor (at most its size, at least 175 high)
    // and centres it over the editor.
    void centerDialogInWindow (juce::AlertWindow& dialog);

    MenuBarLookAndFeel& getMenuLookAndFeel() noexcept { return menuLookAndFeel; }

    void paint (juce::Graphics&) override;
    void resized() override;
    void timerCallback() override;

private:
    // Popup fonts and item height from the bar height.
    void updatePopupMetrics();

    // The name the save dialog offers: the current user preset's, else the
    // first free one of MyPreset, MyPreset1, MyPreset2, ...
    juce::String createDefaultPresetName() const;

    // The steps after a confirmed dialog.
    void saveAndReport (const juce::String& name);
    void renameAndReport (const juce::String& oldName, const juce::String& newName);
    void replaceByRename (const juce::String& oldName, const juce::String& newName);

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
