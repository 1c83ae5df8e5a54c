#include "MenuBar.h"

#include "../PresettableProcessor.h"

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

    // The preset menu (factory presets, user presets with load, rename and
    // delete) goes here.
}

void MenuBar::showSavePresetDialog()
{
    if (processor == nullptr)
        return;

    // The save dialog (name prompt, overwrite question, success message)
    // goes here.
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
