#include "UserPreferences.h"

UserPreferences::UserPreferences() = default;
UserPreferences::~UserPreferences() = default;

juce::PropertiesFile::Options UserPreferences::makeOptions (const AppInfo& info)
{
    juce::PropertiesFile::Options options;
    options.applicationName = info.productName;
    options.filenameSuffix = ".settings";
    options.folderName = info.getVersionFolderTail();
    options.osxLibrarySubFolder = "Application Support";
    options.commonToAllUsers = false;
    options.ignoreCaseOfKeyNames = false;
    options.doNotSave = false;
    options.millisecondsBeforeSaving = 3000;
    options.storageFormat = juce::PropertiesFile::storeAsXML;
    options.processLock = nullptr;
    return options;
}

juce::File UserPreferences::getSettingsFile (const AppInfo& info)
{
   #if JUCE_MAC
    return makeOptions (info).getDefaultFile();
   #else
    // The framework's own default on Linux is a folder straight under the
    // home folder (~/QuilletAudio/...), which is not where Linux users look;
    // keep the file beside the user presets instead.
    return info.getUserVersionFolder().getChildFile (info.productName + makeOptions (info).filenameSuffix);
   #endif
}

void UserPreferences::initialise (const AppInfo& info)
{
    appInfo = info;
    properties = std::make_unique<juce::PropertiesFile> (getSettingsFile (appInfo), makeOptions (appInfo));
    isInitialised = true;
}

bool UserPreferences::isAvailable() const
{
    return isInitialised && properties != nullptr;
}

juce::String UserPreferences::sanitizeGuiScalePreset (const juce::String& text) const
{
    const auto cleaned = text.trim().toLowerCase();

    for (auto* known : { "50", "75", "100", "125", "150" })
        if (cleaned == known)
            return cleaned;

    return "100";
}

void UserPreferences::saveDefaultGuiScalePreset (const juce::String& text)
{
    if (! isAvailable())
        return;

    properties->setValue (defaultGuiScalePresetKey, sanitizeGuiScalePreset (text));
    properties->saveIfNeeded();
}

void UserPreferences::saveGuiScaleAutoSaveEnabled (bool enabled)
{
    if (! isAvailable())
        return;

    properties->setValue (guiScaleAutoSaveEnabledKey, enabled);
    properties->saveIfNeeded();
}

juce::String UserPreferences::loadDefaultGuiScalePreset() const
{
    const auto fallback = sanitizeGuiScalePreset ("100");

    if (! isAvailable())
        return fallback;

    return sanitizeGuiScalePreset (properties->getValue (defaultGuiScalePresetKey, fallback));
}

bool UserPreferences::loadGuiScaleAutoSaveEnabled() const
{
    if (! isAvailable())
        return false;

    return properties->getBoolValue (guiScaleAutoSaveEnabledKey, false);
}
