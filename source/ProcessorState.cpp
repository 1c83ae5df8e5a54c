// Full state, host chunk, undo and redo, factory and user presets.
#include "PluginProcessor.h"

#include "FactoryPresets.h"
#include "FullStateUndoAction.h"
#include "ParameterIDs.h"
#include "XmlLimits.h"

namespace StateKeys
{
static const juce::Identifier presetName { "uiCurrentPresetName" };
static const juce::Identifier presetIsUser { "uiCurrentPresetIsUser" };
static const juce::Identifier presetModified { "uiCurrentPresetModified" };
static const juce::Identifier windowWidth { "uiSavedWindowWidth" };
static const juce::Identifier windowHeight { "uiSavedWindowHeight" };
static const juce::Identifier windowSizeSet { "uiSavedWindowSizeSet" };
} // namespace StateKeys

//==============================================================================
juce::ValueTree OndrelAudioProcessor::createFullState()
{
    auto state = apvts.copyState();

    {
        const juce::ScopedLock sl (presetInfoLock);
        state.setProperty (StateKeys::presetName, currentPresetName, nullptr);
        state.setProperty (StateKeys::presetIsUser, currentPresetIsUser, nullptr);
    }

    state.setProperty (StateKeys::presetModified, currentPresetModified.load(), nullptr);
    state.setProperty (StateKeys::windowWidth, (double) savedWindowWidth.load(), nullptr);
    state.setProperty (StateKeys::windowHeight, (double) savedWindowHeight.load(), nullptr);
    state.setProperty (StateKeys::windowSizeSet, savedWindowSizeSet.load(), nullptr);
    return state;
}

void OndrelAudioProcessor::restoreFullState (const juce::ValueTree& state, bool restorePresetInfo)
{
    if (! state.isValid())
        return;

    // No block may run on a half-applied state.
    const juce::ScopedLock audioLock (getCallbackLock());

    const auto name = state.getProperty (StateKeys::presetName, "Presets").toString();
    const bool isUser = state.getProperty (StateKeys::presetIsUser, false);
    const bool modified = state.getProperty (StateKeys::presetModified, false);
    const bool sizeSet = state.getProperty (StateKeys::windowSizeSet, false);
    const double w = state.getProperty (StateKeys::windowWidth, (double) savedWindowWidth.load());
    const double h = state.getProperty (StateKeys::windowHeight, (double) savedWindowHeight.load());

    // A parameter the tree does not mention keeps its current value (the
    // framework would otherwise reset it to its default).
    auto copy = state.createCopy();
    for (auto* id : ParamIDs::all)
    {
        if (! copy.getChildWithProperty ("id", juce::String (id)).isValid())
        {
            juce::ValueTree node ("PARAM");
            node.setProperty ("id", juce::String (id), nullptr);
            node.setProperty ("value", apvts.getRawParameterValue (id)->load(), nullptr);
            copy.appendChild (node, nullptr);
        }
    }

    const bool previous = isApplyingState.exchange (true);
    apvts.replaceState (copy);
    isApplyingState = previous;

    if (restorePresetInfo)
        setCurrentPresetInfo (name, isUser, modified);

    if (sizeSet)
    {
        savedWindowWidth = (float) w;
        savedWindowHeight = (float) h;
        savedWindowSizeSet = true;
    }
    else
    {
        savedWindowSizeSet = false;
    }

    resetLastAppliedValues();
    updateFiltersIfNeeded();
    updateCompressorIfNeeded();
    updateReverbIfNeeded();
}

void OndrelAudioProcessor::setCurrentPresetInfo (const juce::String& name, bool isUser, bool isModified)
{
    {
        const juce::ScopedLock sl (presetInfoLock);
        currentPresetName = name.isEmpty() ? juce::String ("Presets") : name;
        currentPresetIsUser = isUser;
    }
    currentPresetModified = isModified;
}

void OndrelAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    if (auto xml = createFullState().createXml())
        copyXmlToBinary (*xml, destData);
}

void OndrelAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    // The framework's chunk layout, read with a guard against nesting that
    // would exhaust the stack and against the reader stepping past the end.
    auto xml = XmlLimits::parseChunk (data, sizeInBytes);
    if (xml == nullptr)
        return;

    const auto tree = juce::ValueTree::fromXml (*xml);
    if (! tree.isValid())
        return;

    restoreFullState (tree, true);

    pendingUndoState = {};
    undoTransactionOpen = false;
    undoManager.clearUndoHistory();
}

//==============================================================================
void OndrelAudioProcessor::beginUndoTransaction (const juce::String& name)
{
    if (isUndoRedoInProgress || undoTransactionOpen)
        return;

    undoManager.beginNewTransaction (name);
    pendingUndoState = createFullState().createCopy();
    undoTransactionOpen = true;
}

void OndrelAudioProcessor::commitUndoTransactionIfNeeded()
{
    if (! undoTransactionOpen)
        return;

    const auto before = pendingUndoState.createCopy();
    pendingUndoState = {};
    undoTransactionOpen = false;

    if (! before.isValid())
        return;

    const auto after = createFullState().createCopy();
    if (before == after || before.isEquivalentTo (after))
        return;

    undoManager.perform (new FullStateUndoAction (*this, before, after));
}

bool OndrelAudioProcessor::canUndo() const { return undoManager.canUndo(); }
bool OndrelAudioProcessor::canRedo() const { return undoManager.canRedo(); }

void OndrelAudioProcessor::performUndo() { stepHistory (false); }
void OndrelAudioProcessor::performRedo() { stepHistory (true); }

void OndrelAudioProcessor::stepHistory (bool redo)
{
    if (! (redo ? canRedo() : canUndo()) || isUndoRedoInProgress.exchange (true))
        return;

    // An open step is abandoned, not recorded.
    pendingUndoState = {};
    undoTransactionOpen = false;

    isApplyingState = true;
    if (redo)
        undoManager.redo();
    else
        undoManager.undo();
    isApplyingState = false;

    isUndoRedoInProgress = false;
}

void OndrelAudioProcessor::parameterChanged (const juce::String& parameterID, float)
{
    // Switching the whole plug-in off and on is not an edit of the preset.
    if (parameterID == ParamIDs::mainBypass || isApplyingState)
        return;

    currentPresetModified = true;
}

//==============================================================================
void OndrelAudioProcessor::setParamValue (const juce::String& parameterID, float realValue)
{
    if (auto* p = apvts.getParameter (parameterID))
        p->setValueNotifyingHost (p->convertTo0to1 (realValue));
}

juce::StringArray OndrelAudioProcessor::getFactoryPresetNames() const
{
    juce::StringArray names;
    for (const auto& p : FactoryPresets::presets)
        names.add (p.name);
    return names;
}

void OndrelAudioProcessor::applyFactoryPreset (const juce::String& name)
{
    beginUndoTransaction ("Factory Preset");

    isApplyingState = true;
    for (const auto& preset : FactoryPresets::presets)
    {
        if (name == preset.name)
        {
            for (size_t i = 0; i < FactoryPresets::parameterIDs.size(); ++i)
                setParamValue (FactoryPresets::parameterIDs[i], preset.values[i]);
            break;
        }
    }
    isApplyingState = false;

    setCurrentPresetInfo (name, false, false);
    commitUndoTransactionIfNeeded();
}

//==============================================================================
juce::StringArray OndrelAudioProcessor::getUserPresetNames() const
{
    return presetManager.getUserPresetNames();
}

bool OndrelAudioProcessor::saveUserPreset (const juce::String& name)
{
    const bool ok = presetManager.savePreset (name, createFullState());
    if (ok)
        setCurrentPresetInfo (name, true, false);
    return ok;
}

bool OndrelAudioProcessor::loadUserPreset (const juce::String& name)
{
    return loadPresetFile (presetManager.getPresetFile (name), name);
}

bool OndrelAudioProcessor::loadPresetFile (const juce::File& file, const juce::String& name)
{
    auto tree = PresetManager::readPresetFile (file);
    if (! tree.isValid())
        return false;

    // A preset never changes the input and output gains. They are written into
    // the tree before it is applied, so that no audio block ever runs with the
    // gains stored in the file (a preset saved at +48 dB would be a burst).
    for (auto* id : { ParamIDs::inputGain, ParamIDs::outputGain })
    {
        const float current = readFloat (apvts.getRawParameterValue (id));
        for (auto node : tree)
            if (node.getProperty ("id").toString() == id)
                node.setProperty ("value", current, nullptr);
    }

    beginUndoTransaction ("Load User Preset");

    const bool previous = isApplyingState.exchange (true);
    restoreFullState (tree, false);
    isApplyingState = previous;

    setCurrentPresetInfo (name, true, false);
    commitUndoTransactionIfNeeded();
    return true;
}

bool OndrelAudioProcessor::deleteUserPreset (const juce::String& name)
{
    const auto file = presetManager.getPresetFile (name);
    const bool ok = file.existsAsFile() && file.deleteFile();

    if (ok && isCurrentPresetUser() && getCurrentPresetName() == name)
        setCurrentPresetInfo ("Presets", false, false);

    return ok;
}

bool OndrelAudioProcessor::renameUserPreset (const juce::String& oldName, const juce::String& newName)
{
    const auto source = presetManager.getPresetFile (oldName);
    const auto target = presetManager.getPresetFile (newName);

    bool ok = false;
    if (source.existsAsFile() && newName.trim().isNotEmpty() && ! target.existsAsFile())
        ok = source.moveFileTo (target);

    if (ok && getCurrentPresetName() == oldName && isCurrentPresetUser())
        setCurrentPresetInfo (newName, true, false);

    return ok;
}

juce::String OndrelAudioProcessor::getCurrentPresetName() const
{
    const juce::ScopedLock sl (presetInfoLock);
    return currentPresetName;
}

bool OndrelAudioProcessor::isCurrentPresetUser() const
{
    const juce::ScopedLock sl (presetInfoLock);
    return currentPresetIsUser;
}

juce::String OndrelAudioProcessor::getCurrentPresetDisplayName() const
{
    const bool modified = currentPresetModified.load();
    juce::String name;
    {
        const juce::ScopedLock sl (presetInfoLock);
        name = currentPresetName;
    }
    if (name.isEmpty())
        name = "Presets";
    return modified ? name + " *" : name;
}
