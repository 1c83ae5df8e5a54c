#include "PluginEditor.h"

#include "../PluginProcessor.h"
#include "WindowSizing.h"

OndrelAudioProcessorEditor::OndrelAudioProcessorEditor (OndrelAudioProcessor& p)
    : AudioProcessorEditor (p),
      ondrelProcessor (p),
      panel (p)
{
    setResizable (true, true);

    menuBar.setPresettableProcessor (&ondrelProcessor);
    menuBar.setAppInfo (appInfo);

    currentGuiScalePreset = menuBar.getSavedDefaultGuiScalePreset();
    menuBar.currentGuiScalePreset = currentGuiScalePreset;
    menuBar.onGuiScalePresetChanged = [this] (MenuBar::GuiScalePreset preset) { guiScalePresetChanged (preset); };

    addAndMakeVisible (panel);
    addAndMakeVisible (menuBar);

    applyWindowSizing();
}

OndrelAudioProcessorEditor::~OndrelAudioProcessorEditor() = default;

void OndrelAudioProcessorEditor::paint (juce::Graphics&)
{
    // The menu bar and the panel cover the whole window.
}

juce::Rectangle<int> OndrelAudioProcessorEditor::getAvailableArea() const
{
    return WindowSizing::availableArea (juce::Desktop::getInstance().getDisplays(), getScreenBounds());
}

juce::Rectangle<int> OndrelAudioProcessorEditor::getAppWindowBounds() const
{
    const auto area = getAvailableArea();
    const auto size = WindowSizing::defaultSize (area.getWidth(), area.getHeight(), currentGuiScalePreset, appInfo);
    return { size.width, size.height };
}

void OndrelAudioProcessorEditor::applyWindowSizing()
{
    const juce::ScopedValueSetter<bool> applying (isApplyingWindowSizing, true);

    const auto defaultBounds = getAppWindowBounds();
    const auto area = getAvailableArea();
    const auto limits = WindowSizing::limitsFor (area.getWidth(), area.getHeight(), appInfo);

    setResizable (true, true);
    setResizeLimits (limits.minWidth, limits.minHeight, limits.maxWidth, limits.maxHeight);

    if (auto* c = getConstrainer())
        c->setFixedAspectRatio (limits.aspect);

    if (ondrelProcessor.savedWindowSizeSet.load())
    {
        if (const auto restored = WindowSizing::restoredSize (ondrelProcessor.savedWindowWidth.load(),
                                                              ondrelProcessor.savedWindowHeight.load(), limits))
        {
            setSize (restored->width, restored->height);
            return;
        }
    }

    // Without any display (the LV2 build step, a headless host) the default
    // is a 1 x 1 placeholder; kept as the saved size it would open the next
    // real window at the smallest size instead of the default.
    if (! area.isEmpty())
    {
        ondrelProcessor.savedWindowWidth.store ((float) defaultBounds.getWidth());
        ondrelProcessor.savedWindowHeight.store ((float) defaultBounds.getHeight());
        ondrelProcessor.savedWindowSizeSet.store (true);
    }

    setSize (defaultBounds.getWidth(), defaultBounds.getHeight());
}

void OndrelAudioProcessorEditor::resized()
{
    const auto w = getWidth();
    const auto h = getHeight();
    const auto bh = WindowSizing::menuBarHeight (h, appInfo);

    menuBar.setBounds (0, 0, w, bh);
    panel.setBounds (0, bh, w, h - bh);

    if (! isApplyingWindowSizing && ! WindowSizing::isTooSmallToSave (w, h, appInfo))
    {
        ondrelProcessor.savedWindowWidth.store ((float) w);
        ondrelProcessor.savedWindowHeight.store ((float) h);
        ondrelProcessor.savedWindowSizeSet.store (true);
    }
}

void OndrelAudioProcessorEditor::guiScalePresetChanged (MenuBar::GuiScalePreset preset)
{
    currentGuiScalePreset = preset;
    menuBar.currentGuiScalePreset = preset;

    // A chosen display size always wins over a size the user dragged to.
    ondrelProcessor.savedWindowSizeSet.store (false);
    applyWindowSizing();
    resized();
    repaint();
}
