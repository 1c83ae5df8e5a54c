#pragma once

#include <juce_data_structures/juce_data_structures.h>

class OndrelAudioProcessor;

// One undo step: the whole state before and after a gesture.
class FullStateUndoAction : public juce::UndoableAction
{
public:
    FullStateUndoAction (OndrelAudioProcessor& processor, const juce::ValueTree& before, const juce::ValueTree& after);

    bool perform() override;
    bool undo() override;
    int getSizeInUnits() override { return 1; }

private:
    OndrelAudioProcessor& processor;
    juce::ValueTree beforeState, afterState;
    bool firstPerformPending = true;

    bool restore (const juce::ValueTree& state);
};
