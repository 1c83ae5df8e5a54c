#include "PresetManager.h"

#include "XmlLimits.h"

#include <filesystem>
#include <system_error>

juce::File PresetManager::getBaseDirectory() const
{
    return appInfo.getUserVersionFolder();
}

juce::String PresetManager::sanitiseName (const juce::String& name)
{
    auto cleaned = name.trim().retainCharacters ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 _-");
    return cleaned.isEmpty() ? juce::String ("Preset") : cleaned;
}

juce::File PresetManager::getPresetFile (const juce::String& name) const
{
    return getPresetDirectory().getChildFile (sanitiseName (name) + ".xml");
}

juce::StringArray PresetManager::getUserPresetNames() const
{
    juce::StringArray names;
    const auto dir = getPresetDirectory();

    if (! dir.isDirectory())
        return names;

    for (const auto& f : dir.findChildFiles (juce::File::findFiles, false, "*.xml"))
        names.add (f.getFileNameWithoutExtension());

    names.sort (true);
    return names;
}

bool PresetManager::savePreset (const juce::String& name, const juce::ValueTree& tree)
{
    const auto dir = getPresetDirectory();
    if (! dir.isDirectory())
        (void) dir.createDirectory();

    const auto file = getPresetFile (name);
    if (! tree.isValid())
        return false;

    auto xml = tree.createXml();
    return xml != nullptr && xml->writeTo (file);
}

juce::ValueTree PresetManager::readPresetFile (const juce::File& file)
{
    std::error_code ec;
    const std::filesystem::path path (file.getFullPathName().toStdString());

    // status() follows links, so a link to a FIFO or a device is refused too.
    if (! std::filesystem::is_regular_file (std::filesystem::status (path, ec)) || ec)
        return {};

    const auto size = std::filesystem::file_size (path, ec);
    if (ec || size > (std::uintmax_t) maxPresetFileBytes)
        return {};

    juce::FileInputStream in (file);
    if (! in.openedOk())
        return {};

    return parsePresetText (in.readString());
}

juce::ValueTree PresetManager::parsePresetText (const juce::String& text)
{
    auto xml = XmlLimits::parseWithPadding (text);
    if (xml == nullptr)
        return {};

    return juce::ValueTree::fromXml (*xml);
}
