#include "ToolSettings.h"

#include "ParameterIDs.h"
#include "PluginProcessor.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tool
{
void fail (const juce::String& message)
{
    throw Failure { message };
}

double parseNumber (const juce::String& text, const juce::String& what)
{
    const auto s = text.trim();
    char* end = nullptr;
    const double v = std::strtod (s.toRawUTF8(), &end);
    if (s.isEmpty() || end == nullptr || *end != '\0' || ! std::isfinite (v))
        fail (what + " is not a number: '" + text + "'");
    return v;
}

juce::String formatNumber (float v)
{
    auto s = juce::String (v, 2);
    while (s.containsChar ('.') && (s.endsWithChar ('0') || s.endsWithChar ('.')))
        s = s.dropLastCharacters (1);
    return s;
}

juce::String describeParameter (juce::RangedAudioParameter& p)
{
    const auto& r = p.getNormalisableRange();
    const bool isSwitch = dynamic_cast<juce::AudioParameterBool*> (&p) != nullptr;
    return isSwitch ? juce::String ("0 or 1 (switch, 1 = bypassed)")
                    : formatNumber (r.start) + " .. " + formatNumber (r.end);
}

juce::String validIDs()
{
    juce::StringArray ids;
    for (auto* id : ParamIDs::all)
        ids.add (id);
    return ids.joinIntoString (", ");
}

void applySet (OndrelAudioProcessor& proc, const juce::String& assignment)
{
    const auto id = assignment.upToFirstOccurrenceOf ("=", false, false).trim();
    if (! assignment.containsChar ('=') || id.isEmpty())
        fail ("--set expects ID=VALUE, got '" + assignment + "'");

    auto* p = proc.apvts.getParameter (id);
    if (p == nullptr)
        fail ("unknown parameter '" + id + "'; valid IDs: " + validIDs());

    const auto value = (float) parseNumber (assignment.fromFirstOccurrenceOf ("=", false, false), id);
    const auto& r = p->getNormalisableRange();
    if (value < r.start || value > r.end)
        fail ("value " + formatNumber (value) + " for " + id + " is outside its range " + describeParameter (*p));

    p->setValueNotifyingHost (p->convertTo0to1 (value));
}

void applyPreset (OndrelAudioProcessor& proc, const juce::String& name, bool quiet)
{
    if (proc.getFactoryPresetNames().contains (name))
    {
        proc.applyFactoryPreset (name);
        if (! quiet)
            std::fprintf (stderr, "preset: factory preset '%s'\n", name.toRawUTF8());
        return;
    }

    if (proc.getUserPresetNames().contains (name))
    {
        if (! proc.loadUserPreset (name))
            fail ("user preset '" + name + "' could not be read: " + proc.presetManager.getPresetFile (name).getFullPathName());
        if (! quiet)
            std::fprintf (stderr, "preset: user preset '%s' (%s)\n", name.toRawUTF8(),
                          proc.presetManager.getPresetFile (name).getFullPathName().toRawUTF8());
        return;
    }

    auto valid = proc.getFactoryPresetNames();
    valid.addArray (proc.getUserPresetNames());
    fail ("unknown preset '" + name + "'; valid presets: " + valid.joinIntoString (", "));
}

} // namespace tool
