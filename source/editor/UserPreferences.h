#pragma once

#include "AppInfo.h"

#include <juce_data_structures/juce_data_structures.h>

#include <memory>

// The per-user preferences file "Ondrel.settings": the default display size
// and whether every display size choice becomes the default. It sits in the
// same per-user, per-version folder as the user presets, so each product
// version has its own.
//
// Until initialise() has been called, or when the file cannot be opened,
// every read gives its default and every write quietly does nothing.
class UserPreferences
{
public:
    static constexpr const char* defaultGuiScalePresetKey = "defaultGuiScalePreset";
    static constexpr const char* guiScaleAutoSaveEnabledKey = "guiScaleAutoSaveEnabled";

    UserPreferences();
    ~UserPreferences();

    // Opens the preferences file for this product version and marks the
    // preferences usable.
    void initialise (const AppInfo&);

    // Initialised and the user-settings file is open.
    bool isAvailable() const;

    // Trimmed and lower-cased, the text if it is one of "50", "75", "100",
    // "125" or "150", otherwise "100".
    juce::String sanitizeGuiScalePreset (const juce::String&) const;

    void saveDefaultGuiScalePreset (const juce::String&);
    void saveGuiScaleAutoSaveEnabled (bool);

    // The stored default, sanitised; "100" when there is none.
    juce::String loadDefaultGuiScalePreset() const;
    // The stored flag; false when there is none.
    bool loadGuiScaleAutoSaveEnabled() const;

    // Where the file lives for a product version: on macOS exactly
    // ~/Library/Application Support/QuilletAudio/Ondrel/version_2.0.0/Ondrel.settings,
    // elsewhere the platform's per-user application-data folder with the same tail.
    static juce::File getSettingsFile (const AppInfo&);
    static juce::PropertiesFile::Options makeOptions (const AppInfo&);

private:
    AppInfo appInfo;
    std::unique_ptr<juce::PropertiesFile> properties;
    bool isInitialised = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (UserPreferences)
};
