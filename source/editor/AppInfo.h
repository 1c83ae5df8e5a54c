#pragma once

#include <juce_core/juce_core.h>

// Product identity for the per-user folders and the window-sizing constants.
// Every owner keeps its own copy; copies are never shared or changed.
struct AppInfo
{
    juce::String productName { "Ondrel" };
    juce::String version { "2.0.0" };
    juce::String companyFolderName { "QuilletAudio" };

    float defaultHeightFraction = 0.7f;
    float aspectRatio = 1.85f;
    float menuBarHeightFraction = 0.09f;
    float minWidth = 500.0f;
    float maxWidth = 1600.0f;

    // QuilletAudio/Ondrel/version_2.0.0: each product version keeps its own
    // presets and preferences.
    juce::String getVersionFolderTail() const
    {
        return companyFolderName + "/" + productName + "/version_" + version;
    }

    // The per-user folder of this version. On macOS it is literally
    // ~/Library/Application Support/...; elsewhere the platform's own per-user
    // application-data folder (~/.config on Linux) with the same tail.
    juce::File getUserVersionFolder() const
    {
       #if JUCE_MAC
        auto base = juce::File::getSpecialLocation (juce::File::userHomeDirectory)
                        .getChildFile ("Library").getChildFile ("Application Support");
       #else
        auto base = juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory);
       #endif
        return base.getChildFile (companyFolderName)
                   .getChildFile (productName)
                   .getChildFile ("version_" + version);
    }
};
