#include "MenuBar.h"

#include "../PresettableProcessor.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <cmath>

namespace
{
int roundHalfAwayFromZero (float v) { return (int) std::lround (v); }

// The settings gear, drawn on a 24 x 24 view box.
const char* const kGearSvg =
    "\n<svg focusable=\"false\" fill=\"#D1D1D1\" aria-hidden=\"true\" viewBox=\"0 0 24 24\">"
    "<path d=\"M19.14 12.94c.04-.3.06-.61.06-.94 0-.32-.02-.64-.07-.94l2.03-1.58c.18-.14.23-.41.12-.61l-1.92-3.32"
    "c-.12-.22-.37-.29-.59-.22l-2.39.96c-.5-.38-1.03-.7-1.62-.94l-.36-2.54c-.04-.24-.24-.41-.48-.41h-3.84c-.24 0-.43.17"
    "-.47.41l-.36 2.54c-.59.24-1.13.57-1.62.94l-2.39-.96c-.22-.08-.47 0-.59.22L2.74 8.87c-.12.21-.08.47.12.61l2.03 1.58"
    "c-.05.3-.09.63-.09.94s.02.64.07.94l-2.03 1.58c-.18.14-.23.41-.12.61l1.92 3.32c.12.22.37.29.59.22l2.39-.96c.5.38 1.03.7"
    " 1.62.94l.36 2.54c.05.24.24.41.48.41h3.84c.24 0 .44-.17.47-.41l.36-2.54c.59-.24 1.13-.56 1.62-.94l2.39.96c.22.08.47 0"
    " .59-.22l1.92-3.32c.12-.22.07-.47-.12-.61zM12 15.6c-1.98 0-3.6-1.62-3.6-3.6s1.62-3.6 3.6-3.6 3.6 1.62 3.6 3.6-1.62"
    " 3.6-3.6 3.6\"/></svg>\n";

// Text in double quotes, as the preset messages show names.
juce::String quoted (const juce::String& text)
{
    return "\"" + text + "\"";
}

juce::String overwriteMessage (const juce::String& name)
{
    return "A preset named " + quoted (name) + " already exists.\nDo you want to overwrite it?";
}

juce::String renamedMessage (const juce::String& oldName, const juce::String& newName)
{
    return "Preset " + quoted (oldName) + " was renamed to " + quoted (newName) + ".";
}

juce::AlertWindow* createDialog (const juce::String& title, const juce::String& message,
                                 juce::MessageBoxIconType icon, juce::LookAndFeel& lookAndFeel)
{
    auto* dialog = new juce::AlertWindow (title, message, icon);
    dialog->setLookAndFeel (&lookAndFeel);
    return dialog;
}

// The confirming button answers 1 and the return key, "Cancel" 0 and escape.
void addConfirmButtons (juce::AlertWindow& dialog, const juce::String& confirmText)
{
    dialog.addButton (confirmText, 1, juce::KeyPress (juce::KeyPress::returnKey));
    dialog.addButton ("Cancel", 0, juce::KeyPress (juce::KeyPress::escapeKey));
}

// The success message. Its timer belongs to the window, so a message that
// was dismissed (and deleted) first is never touched by it.
class SelfClosingAlertWindow final : public juce::AlertWindow,
                                     private juce::Timer
{
public:
    SelfClosingAlertWindow (const juce::String& title, const juce::String& message)
        : juce::AlertWindow (title, message, juce::MessageBoxIconType::NoIcon)
    {
    }

    void closeAfter (int milliseconds) { startTimer (milliseconds); }

private:
    // As if the user had closed it; does nothing once it is no longer modal.
    void timerCallback() override
    {
        stopTimer();
        exitModalState (0);
    }
};

std::unique_ptr<juce::Drawable> createGearDrawable()
{
    if (auto svg = juce::parseXML (juce::String (kGearSvg)))
        return juce::Drawable::createFromSVG (*svg);

    return {};
}
} // namespace

juce::String MenuBar::getStoredText (GuiScalePreset preset)
{
    switch (preset)
    {
        case Scale50:  return "50";
        case Scale75:  return "75";
        case Scale125: return "125";
        case Scale150: return "150";
        case Scale100:
        default:       return "100";
    }
}

juce::String MenuBar::getMenuText (GuiScalePreset preset)
{
    return getStoredText (preset) + "%";
}

MenuBar::MenuBar()
{
    undoButton.iconKind = IconButton::Undo;
    undoButton.showHighlight = false;
    redoButton.iconKind = IconButton::Redo;
    redoButton.showHighlight = false;
    presetButton.text = juce::String ("Presets  ") + juce::String::charToString ((juce::juce_wchar) 0x25be);
    saveButton.text = "Save";

    settingsButton.icon = createGearDrawable();
    if (settingsButton.icon == nullptr)
        settingsButton.iconKind = IconButton::Gear;

    for (auto* b : { &undoButton, &redoButton, &presetButton, &saveButton, &settingsButton })
        addAndMakeVisible (b);

    // Hidden until the preferences behind it can be read.
    settingsButton.setVisible (false);

    undoButton.onClick = [this]
    {
        if (processor != nullptr)
            processor->performUndo();
    };
    redoButton.onClick = [this]
    {
        if (processor != nullptr)
            processor->performRedo();
    };
    presetButton.onClick = [this] { showPresetMenu(); };
    saveButton.onClick = [this] { showSavePresetDialog(); };
    settingsButton.onClick = [this] { showSettingsMenu(); };

    startTimer (125);
}

MenuBar::~MenuBar() = default;

void MenuBar::setPresettableProcessor (PresettableProcessor* newProcessor)
{
    processor = newProcessor;
    refreshPresetButtonText();
    undoButton.setEnabled (processor != nullptr && processor->canUndo());
    redoButton.setEnabled (processor != nullptr && processor->canRedo());
}

void MenuBar::setAppInfo (const AppInfo& info)
{
    appInfo = info;
    userPreferences.initialise (appInfo);
    currentGuiScalePreset = getSavedDefaultGuiScalePreset();
    settingsButton.setVisible (true);
    resized();
    repaint();
}

MenuBar::GuiScalePreset MenuBar::getSavedDefaultGuiScalePreset() const
{
    const auto text = userPreferences.loadDefaultGuiScalePreset().trim().toLowerCase();

    if (text == "50")  return Scale50;
    if (text == "75")  return Scale75;
    if (text == "125") return Scale125;
    if (text == "150") return Scale150;
    return Scale100;
}

void MenuBar::updatePopupMetrics()
{
    const auto h = (float) getHeight();
    menuLookAndFeel.popupFontHeight = 0.28f * h;
    menuLookAndFeel.headerFontHeight = 0.32f * h;
    menuLookAndFeel.itemHeight = roundHalfAwayFromZero (0.33f * h);
}

juce::PopupMenu MenuBar::createSettingsMenu()
{
    juce::PopupMenu menu;
    menu.setLookAndFeel (&menuLookAndFeel);
    menu.addSectionHeader ("Display Size");

    for (int i = Scale50; i <= Scale150; ++i)
    {
        const auto preset = static_cast<GuiScalePreset> (i);
        menu.addItem (firstScaleMenuItemId + i, getMenuText (preset), true, preset == currentGuiScalePreset);
    }

    menu.addSeparator();
    menu.addItem (makeDefaultMenuItemId, "Make Default", true, userPreferences.loadGuiScaleAutoSaveEnabled());
    return menu;
}

void MenuBar::showSettingsMenu()
{
    if (! onGuiScalePresetChanged)
        return;

    updatePopupMetrics();

    const auto h = (float) getHeight();
    const auto options = juce::PopupMenu::Options()
                             .withTargetComponent (&settingsButton)
                             .withMinimumWidth (roundHalfAwayFromZero (juce::jmax (2.8f * h, 130.0f)))
                             .withStandardItemHeight (menuLookAndFeel.itemHeight);

    createSettingsMenu().showMenuAsync (options, [safeThis = juce::Component::SafePointer<MenuBar> (this)] (int result)
    {
        if (safeThis != nullptr)
            safeThis->handleSettingsMenuResult (result);
    });
}

void MenuBar::handleSettingsMenuResult (int result)
{
    if (result >= firstScaleMenuItemId && result <= firstScaleMenuItemId + Scale150)
    {
        const auto preset = static_cast<GuiScalePreset> (result - firstScaleMenuItemId);
        currentGuiScalePreset = preset;

        if (userPreferences.isAvailable() && userPreferences.loadGuiScaleAutoSaveEnabled())
            userPreferences.saveDefaultGuiScalePreset (getStoredText (preset));

        if (onGuiScalePresetChanged)
            onGuiScalePresetChanged (preset);

        return;
    }

    if (result == makeDefaultMenuItemId)
    {
        if (userPreferences.isAvailable())
        {
            // Switching on makes the current size the default at once;
            // switching off leaves the stored default as it is.
            const auto wasOn = userPreferences.loadGuiScaleAutoSaveEnabled();
            userPreferences.saveGuiScaleAutoSaveEnabled (! wasOn);

            if (! wasOn)
                userPreferences.saveDefaultGuiScalePreset (getStoredText (currentGuiScalePreset));
        }
        else
        {
            // Without a preferences file both calls do nothing.
            userPreferences.saveGuiScaleAutoSaveEnabled (true);
            userPreferences.saveDefaultGuiScalePreset (getStoredText (currentGuiScalePreset));
        }

        // Show the menu again with the new tick, once the closing menu has
        // finished.
        juce::MessageManager::callAsync ([safeThis = juce::Component::SafePointer<MenuBar> (this)]
        {
            if (safeThis != nullptr)
                safeThis->showSettingsMenu();
        });
    }
}

void MenuBar::refreshPresetButtonText()
{
    juce::String label ("Presets");

    if (processor != nullptr)
    {
        label = processor->getCurrentPresetDisplayName().trim();
        if (label.isEmpty())
            label = "Presets";
    }

    if (label == "Preset")
        label = "Presets";

    presetButton.text = label + "  " + juce::String::charToString ((juce::juce_wchar) 0x25be);
    presetButton.repaint();
}

void MenuBar::showPresetMenu()
{
    if (processor == nullptr)
        return;

    updatePopupMetrics();

    const auto h = (float) getHeight();
    const auto options = juce::PopupMenu::Options()
                             .withTargetComponent (&presetButton)
                             .withMinimumWidth (roundHalfAwayFromZero (juce::jmax (180.0f, 4.0f * h)))
                             .withStandardItemHeight (menuLookAndFeel.itemHeight);

    createPresetMenu().showMenuAsync (options, [safeThis = juce::Component::SafePointer<MenuBar> (this)] (int result)
    {
        if (safeThis != nullptr)
            safeThis->handlePresetMenuResult (result);
    });
}

juce::PopupMenu MenuBar::createPresetMenu()
{
    juce::PopupMenu menu;
    menu.setLookAndFeel (&menuLookAndFeel);

    if (processor == nullptr)
        return menu;

    const auto current = processor->getCurrentPresetName();
    const auto isUser = processor->isCurrentPresetUser();

    menu.addSectionHeader ("Factory Presets");
    const auto factoryNames = processor->getFactoryPresetNames();

    for (int i = 0; i < factoryNames.size(); ++i)
        menu.addItem (factoryPresetMenuIdBase + i, factoryNames[i], true, ! isUser && factoryNames[i] == current);

    const auto userNames = processor->getUserPresetNames();

    if (userNames.isEmpty())
        return menu;

    menu.addSeparator();
    menu.addSectionHeader ("User Presets");

    for (int i = 0; i < userNames.size(); ++i)
    {
        const auto late = i - userPresetsPerIdBlock;
        const auto id = [&] (int blockBase, int offset)
        {
            return late < 0 ? blockBase + i : latePresetMenuIdBase + 3 * late + offset;
        };

        juce::PopupMenu presetMenu;
        presetMenu.setLookAndFeel (&menuLookAndFeel);
        presetMenu.addItem (id (loadPresetMenuIdBase, 0), "Load");
        presetMenu.addItem (id (renamePresetMenuIdBase, 1), "Rename");
        presetMenu.addItem (id (deletePresetMenuIdBase, 2), "Delete");
        menu.addSubMenu (userNames[i], presetMenu);
    }

    return menu;
}

void MenuBar::handlePresetMenuResult (int result)
{
    if (result == 0 || processor == nullptr)
        return;

    if (result >= factoryPresetMenuIdBase && result < loadPresetMenuIdBase)
    {
        const auto names = processor->getFactoryPresetNames();
        const auto index = result - factoryPresetMenuIdBase;

        if (index < names.size())
        {
            processor->applyFactoryPreset (names[index]);
            refreshPresetButtonText();
        }

        return;
    }

    // Which user preset and what to do with it.
    enum class Action { load, rename, remove };
    Action action;
    int index;

    if (result >= loadPresetMenuIdBase && result < renamePresetMenuIdBase)
    {
        action = Action::load;
        index = result - loadPresetMenuIdBase;
    }
    else if (result >= renamePresetMenuIdBase && result < deletePresetMenuIdBase)
    {
        action = Action::rename;
        index = result - renamePresetMenuIdBase;
    }
    else if (result >= deletePresetMenuIdBase && result <= lastDeletePresetMenuId)
    {
        // The block reaches 910000 as it always has; the menu itself only
        // hands out its first 3000 IDs.
        action = Action::remove;
        index = result - deletePresetMenuIdBase;
    }
    else if (result >= latePresetMenuIdBase)
    {
        const auto offset = result - latePresetMenuIdBase;
        action = static_cast<Action> (offset % 3);
        index = userPresetsPerIdBlock + offset / 3;
    }
    else
    {
        return;
    }

    // Fetched again: a file that vanished while the menu was open only
    // shifts or drops the choice.
    const auto names = processor->getUserPresetNames();
    if (index >= names.size())
        return;

    const auto name = names[index];

    switch (action)
    {
        case Action::load:
            if (processor->loadUserPreset (name))
                refreshPresetButtonText();
            break;
        case Action::rename:
            showRenamePresetDialog (name);
            break;
        case Action::remove:
            confirmDeletePreset (name);
            break;
    }
}

juce::String MenuBar::createDefaultPresetName() const
{
    if (processor->isCurrentPresetUser())
    {
        const auto current = processor->getCurrentPresetName().trim();
        if (current.isNotEmpty())
            return current;
    }

    const juce::String base ("MyPreset");
    const auto names = processor->getUserPresetNames();

    if (! names.contains (base, true))
        return base;

    for (int n = 1; n <= 9999; ++n)
    {
        const auto candidate = base + juce::String (n);
        if (! names.contains (candidate, true))
            return candidate;
    }

    return base + "_New";
}

void MenuBar::showSavePresetDialog()
{
    if (processor == nullptr)
        return;

    auto* dialog = createDialog ("Save Preset", "Enter a name:", juce::MessageBoxIconType::NoIcon, dialogLookAndFeel);
    dialog->addTextEditor ("presetName", createDefaultPresetName(), "Preset Name:");
    addConfirmButtons (*dialog, "Save");
    centerDialogInWindow (*dialog);

    dialog->enterModalState (true, juce::ModalCallbackFunction::create (
        [safeThis = juce::Component::SafePointer<MenuBar> (this), dialog] (int result)
        {
            // The window is ours to delete, whatever the result and also
            // when the bar has gone meanwhile.
            const std::unique_ptr<juce::AlertWindow> owned (dialog);

            if (result != 1 || safeThis == nullptr || safeThis->processor == nullptr)
                return;

            const auto name = owned->getTextEditorContents ("presetName").trim();
            if (name.isEmpty())
                return;

            if (safeThis->userPresetExists (name))
                safeThis->saveUserPresetWithOverwritePrompt (name);
            else
                safeThis->saveAndReport (name);
        }), false);
}

void MenuBar::saveUserPresetWithOverwritePrompt (const juce::String& name)
{
    auto* dialog = createDialog ("Overwrite Preset?", overwriteMessage (name), juce::MessageBoxIconType::WarningIcon,
                                 dialogLookAndFeel);
    addConfirmButtons (*dialog, "Overwrite");
    centerDialogInWindow (*dialog);

    dialog->enterModalState (true, juce::ModalCallbackFunction::create (
        [safeThis = juce::Component::SafePointer<MenuBar> (this), name] (int result)
        {
            if (result == 1 && safeThis != nullptr && safeThis->processor != nullptr)
                safeThis->saveAndReport (name);
        }), true);
}

void MenuBar::saveAndReport (const juce::String& name)
{
    if (! processor->saveUserPreset (name))
        return;

    refreshPresetButtonText();
    showSuccessMessage ("Success", "Preset " + quoted (name) + " has been saved.");
}

void MenuBar::showRenamePresetDialog (const juce::String& name)
{
    if (processor == nullptr)
        return;

    auto* dialog = createDialog ("Rename Preset", "Enter a new name:", juce::MessageBoxIconType::NoIcon, dialogLookAndFeel);
    dialog->addTextEditor ("presetName", name, "Preset Name:");
    addConfirmButtons (*dialog, "Rename");
    centerDialogInWindow (*dialog);

    dialog->enterModalState (true, juce::ModalCallbackFunction::create (
        [safeThis = juce::Component::SafePointer<MenuBar> (this), dialog, name] (int result)
        {
            const std::unique_ptr<juce::AlertWindow> owned (dialog);

            if (result != 1 || safeThis == nullptr || safeThis->processor == nullptr)
                return;

            const auto oldName = name.trim();
            const auto newName = owned->getTextEditorContents ("presetName").trim();

            // A change of letter case alone would name the same preset.
            if (oldName.isEmpty() || newName.isEmpty() || oldName.equalsIgnoreCase (newName))
                return;

            if (safeThis->userPresetExists (newName))
                safeThis->renamePresetWithOverwritePrompt (oldName, newName);
            else
                safeThis->renameAndReport (oldName, newName);
        }), false);
}

void MenuBar::renameAndReport (const juce::String& oldName, const juce::String& newName)
{
    if (! processor->renameUserPreset (oldName, newName))
        return;

    refreshPresetButtonText();
    showSuccessMessage ("Success", renamedMessage (oldName, newName));
}

void MenuBar::renamePresetWithOverwritePrompt (const juce::String& oldName, const juce::String& newName)
{
    auto* dialog = createDialog ("Overwrite Preset?", overwriteMessage (newName), juce::MessageBoxIconType::WarningIcon,
                                 dialogLookAndFeel);
    addConfirmButtons (*dialog, "Overwrite");
    centerDialogInWindow (*dialog);

    dialog->enterModalState (true, juce::ModalCallbackFunction::create (
        [safeThis = juce::Component::SafePointer<MenuBar> (this), oldName, newName] (int result)
        {
            if (result == 1 && safeThis != nullptr && safeThis->processor != nullptr)
                safeThis->replaceByRename (oldName, newName);
        }), true);
}

void MenuBar::replaceByRename (const juce::String& oldName, const juce::String& newName)
{
    // Renaming never replaces a file, so the preset in the way is moved
    // aside first and only deleted once the rename has worked; otherwise it
    // goes back under its name.
    const auto names = processor->getUserPresetNames();
    auto backupName = newName + "__backup";

    for (int n = 1; names.contains (backupName, true); ++n)
        backupName = newName + "__backup" + juce::String (n);

    if (! processor->renameUserPreset (newName, backupName))
        return;

    if (processor->renameUserPreset (oldName, newName))
    {
        processor->deleteUserPreset (backupName);
        refreshPresetButtonText();
        showSuccessMessage ("Success", renamedMessage (oldName, newName));
    }
    else
    {
        processor->renameUserPreset (backupName, newName);
    }
}

void MenuBar::confirmDeletePreset (const juce::String& name)
{
    if (processor == nullptr)
        return;

    auto* dialog = createDialog ("Delete Preset?", "Are you sure you want to delete " + quoted (name) + "?",
                                 juce::MessageBoxIconType::WarningIcon, dialogLookAndFeel);
    addConfirmButtons (*dialog, "Delete");
    centerDialogInWindow (*dialog);

    dialog->enterModalState (true, juce::ModalCallbackFunction::create (
        [safeThis = juce::Component::SafePointer<MenuBar> (this), name] (int result)
        {
            if (result != 1 || safeThis == nullptr || safeThis->processor == nullptr)
                return;

            if (safeThis->processor->deleteUserPreset (name))
            {
                safeThis->refreshPresetButtonText();
                safeThis->showSuccessMessage ("Success", "Preset " + quoted (name) + " has been deleted.");
            }
        }), true);
}

void MenuBar::showSuccessMessage (const juce::String& title, const juce::String& message)
{
    auto* dialog = new SelfClosingAlertWindow (title, message);
    dialog->setLookAndFeel (&dialogLookAndFeel);
    dialog->addButton ("OK", 1, juce::KeyPress (juce::KeyPress::returnKey));
    centerDialogInWindow (*dialog);
    dialog->enterModalState (true, nullptr, true);
    dialog->closeAfter (3000);
}

bool MenuBar::userPresetExists (const juce::String& name) const
{
    return processor != nullptr && processor->getUserPresetNames().contains (name.trim(), true);
}

void MenuBar::centerDialogInWindow (juce::AlertWindow& dialog)
{
    juce::Component* editor = findParentComponentOfClass<juce::AudioProcessorEditor>();
    if (editor == nullptr)
        editor = getTopLevelComponent();

    // An editor without a size yet would squash the dialog to nothing and
    // leave a modal window that cannot be reached; it keeps its own size then.
    auto w = dialog.getWidth();
    auto h = dialog.getHeight();

    if (! editor->getLocalBounds().isEmpty())
    {
        w = juce::jmin (w, editor->getWidth());
        h = juce::jmin (juce::jmax (h, 175), editor->getHeight());
    }

    dialog.setSize (w, h);
    dialog.centreAroundComponent (editor, w, h);
}

void MenuBar::paint (juce::Graphics& g)
{
    g.fillAll (backgroundColour);
}

void MenuBar::resized()
{
    const auto W = (float) getWidth();
    const auto H = (float) getHeight();

    updatePopupMetrics();

    const auto pad = juce::jmax (0.12f * H, 6.0f);
    const auto size = juce::jmax (18.0f, 0.9f * H - 2.0f * pad);
    const auto s = roundHalfAwayFromZero (size);
    const auto gap = (int) std::trunc (juce::jmax (1.0f, 0.2f * size));
    const auto y = roundHalfAwayFromZero ((H - (float) s) * 0.5f);

    undoButton.setBounds (roundHalfAwayFromZero (0.01f * W + pad), y, s, s);

    // Measured without the undo button's 0.01 W margin: on wide bars the
    // redo box overlaps the undo box a little; the icons do not touch.
    redoButton.setBounds (gap + s + roundHalfAwayFromZero (pad), y, s, s);

    const auto pw = roundHalfAwayFromZero (0.24f * W);
    const auto px = 0.5f * W - 0.8f * (float) pw;
    presetButton.setBounds (roundHalfAwayFromZero (px), roundHalfAwayFromZero (pad), pw, s);

    saveButton.setBounds (roundHalfAwayFromZero (px + (float) pw + 0.01f * W), roundHalfAwayFromZero (pad),
                          roundHalfAwayFromZero (1.8f * H), s);

    const auto S = 0.8f * H;
    settingsButton.setBounds (roundHalfAwayFromZero (0.9f * W), (int) std::trunc ((H - S) * 0.5f),
                              (int) std::trunc (S), (int) std::trunc (S));

    for (auto* b : { &undoButton, &redoButton })
    {
        b->useCustomIconSize = true;
        b->iconWidth = b->iconHeight = 0.56f * S;
    }

    settingsButton.useCustomIconSize = true;
    settingsButton.iconWidth = settingsButton.iconHeight = 0.5f * S;

    for (auto* b : { &undoButton, &redoButton, &presetButton, &saveButton, &settingsButton })
        b->repaint();
}

void MenuBar::timerCallback()
{
    refreshPresetButtonText();

    undoButton.setVisible (true);
    redoButton.setVisible (true);

    undoButton.setEnabled (processor != nullptr && processor->canUndo());
    redoButton.setEnabled (processor != nullptr && processor->canRedo());
}
