#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

class OndrelAudioProcessor;

// The plug-in's window. Needs no display to be constructed: hosts and the LV2
// build step create and destroy it headless.
class OndrelAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    explicit OndrelAudioProcessorEditor (OndrelAudioProcessor&);

    void paint (juce::Graphics&) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OndrelAudioProcessorEditor)
};
