#pragma once

#include <juce_core/juce_core.h>

namespace tool
{
// The value of an option given as "--name value" or "--name=value", or the
// fallback when it is not given.
inline juce::String optionValue (const juce::ArgumentList& args, const juce::String& name, const juce::String& fallback)
{
    for (int i = 0; i < args.size(); ++i)
    {
        if (args[i].text == name && i + 1 < args.size())
            return args[i + 1].text;
        if (args[i].text.startsWith (name + "="))
            return args[i].text.fromFirstOccurrenceOf ("=", false, false);
    }
    return fallback;
}
} // namespace tool
