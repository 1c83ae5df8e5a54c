#pragma once

#include <juce_data_structures/juce_data_structures.h>

#include "editor/AppInfo.h"

// Maps user preset names to XML files in the per-user Presets folder. Keeps no
// list: every call looks at the folder anew, so files added by hand show up.
class PresetManager
{
public:
    AppInfo appInfo;

    juce::File getBaseDirectory() const;
    juce::File getPresetDirectory() const { return getBaseDirectory().getChildFile ("Presets"); }
    juce::File getPresetFile (const juce::String& name) const;
    juce::StringArray getUserPresetNames() const;
    bool savePreset (const juce::String& name, const juce::ValueTree& tree);

    // The file-name form of a preset name: trimmed, reduced to letters, digits,
    // space, underscore and hyphen, "Preset" when nothing is left.
    static juce::String sanitiseName (const juce::String& name);

    // Reads a preset file into a tree; an invalid tree for anything that is not
    // a regular file of sane size or does not parse.
    static juce::ValueTree readPresetFile (const juce::File& file);

    // The text of a preset file as a tree (invalid when it does not parse or
    // is nested implausibly deep).
    static juce::ValueTree parsePresetText (const juce::String& text);

    // Far above any real preset (a few kilobytes); guards against a huge file
    // or a device hanging the editor.
    static constexpr juce::int64 maxPresetFileBytes = 1 << 20;
};
