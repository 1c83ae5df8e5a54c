#pragma once

#include "../PluginProcessor.h"

#include <functional>

// The panel's road into the processor's whole-state undo history: a gesture
// (a dial drag, a text edit, a power-button press) opens a step with a name
// when it starts and commits it when it ends.
class UndoGestures
{
public:
    explicit UndoGestures (OndrelAudioProcessor& p) : processor (p) {}

    void begin (const juce::String& stepName)
    {
        if (onBegin)
            onBegin (stepName);

        processor.beginUndoTransaction (stepName);
    }

    void commit()
    {
        if (onCommit)
            onCommit();

        processor.commitUndoTransactionIfNeeded();
    }

    // Told of every step a gesture opens or closes, just before the
    // processor is. The processor keeps the step names to itself, so this is
    // the one place that can see which gesture asked for which step.
    std::function<void (const juce::String& stepName)> onBegin;
    std::function<void()> onCommit;

private:
    OndrelAudioProcessor& processor;

    JUCE_DECLARE_NON_COPYABLE (UndoGestures)
};
