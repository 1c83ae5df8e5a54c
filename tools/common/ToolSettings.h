#pragma once

// What the command-line tools share: failing with a one-line message, and
// applying presets and parameter settings given on the command line.
#include <juce_audio_processors/juce_audio_processors.h>

class OndrelAudioProcessor;

namespace tool
{
// Thrown by fail(); main catches it, prints the message and exits non-zero.
struct Failure
{
    juce::String message;
};

[[noreturn]] void fail (const juce::String& message);

// A finite number, the whole text; anything else fails naming `what`.
double parseNumber (const juce::String& text, const juce::String& what);

// At most two decimals, trailing zeros dropped.
juce::String formatNumber (float);

juce::String describeParameter (juce::RangedAudioParameter&);

// The parameter IDs, comma-separated.
juce::String validIDs();

// "ID=VALUE" in real units; unknown IDs and values outside the range fail.
void applySet (OndrelAudioProcessor&, const juce::String& assignment);

// A factory preset of that name, or else a user preset; says which on
// stderr unless quiet. Unknown names fail listing the valid ones.
void applyPreset (OndrelAudioProcessor&, const juce::String& name, bool quiet);
} // namespace tool
