#include "PluginEditor.h"

#include "../PluginProcessor.h"

OndrelAudioProcessorEditor::OndrelAudioProcessorEditor (OndrelAudioProcessor& p)
    : AudioProcessorEditor (p)
{
    setSize (925, 510);
}

void OndrelAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff1b2330));
    g.setColour (juce::Colours::white);
    g.setFont (24.0f);
    g.drawText ("Ondrel", getLocalBounds(), juce::Justification::centred);
}
