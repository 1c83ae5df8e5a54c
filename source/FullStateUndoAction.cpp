#include "FullStateUndoAction.h"

#include "PluginProcessor.h"

FullStateUndoAction::FullStateUndoAction (OndrelAudioProcessor& p, const juce::ValueTree& before, const juce::ValueTree& after)
    : processor (p), beforeState (before.createCopy()), afterState (after.createCopy())
{
}

bool FullStateUndoAction::restore (const juce::ValueTree& state)
{
    const bool previous = processor.isApplyingState.exchange (true);
    processor.restoreFullState (state, true);
    processor.isApplyingState = previous;
    return true;
}

bool FullStateUndoAction::perform()
{
    // The undo manager performs a new action at once; the state is already
    // there, so the first perform only confirms it.
    if (firstPerformPending)
    {
        firstPerformPending = false;
        if (afterState.isValid() && processor.createFullState().isEquivalentTo (afterState))
            return true;
    }

    if (! afterState.isValid())
        return false;

    return restore (afterState);
}

bool FullStateUndoAction::undo()
{
    if (! beforeState.isValid())
        return false;

    return restore (beforeState);
}
