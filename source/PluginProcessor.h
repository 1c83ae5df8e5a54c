#pragma once

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_dsp/juce_dsp.h>

#include <array>
#include <atomic>
#include <vector>

#include "PresetManager.h"
#include "PresettableProcessor.h"

// The channel strip: input gain, Tone, Compression, Character, Space, makeup
// and output gain, with crossfaded main and section switches. Owns the
// parameters, every DSP object, the meters, the preset record and the undo
// history.
class OndrelAudioProcessor : public juce::AudioProcessor,
                             public PresettableProcessor,
                             public juce::AudioProcessorValueTreeState::Listener
{
public:
    OndrelAudioProcessor();
    ~OndrelAudioProcessor() override;

    static juce::AudioProcessorValueTreeState::ParameterLayout createParameterLayout();

    //==============================================================================
    const juce::String getName() const override { return "Ondrel"; }

    void prepareToPlay (double sampleRate, int samplesPerBlock) override;
    void releaseResources() override {}
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;

    using AudioProcessor::processBlock;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&) override;

    double getTailLengthSeconds() const override { return 1.5; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    bool isMidiEffect() const override { return false; }

    bool hasEditor() const override { return true; }
    juce::AudioProcessorEditor* createEditor() override;

    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int) override {}
    const juce::String getProgramName (int) override { return {}; }
    void changeProgramName (int, const juce::String&) override {}

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    //==============================================================================
    // Full state: parameters, current-preset record and saved window size.
    juce::ValueTree createFullState();
    void restoreFullState (const juce::ValueTree& state, bool restorePresetInfo);
    void setCurrentPresetInfo (const juce::String& name, bool isUser, bool isModified);

    // Undo: one step per gesture, each a pair of whole states.
    void beginUndoTransaction (const juce::String& name);
    void commitUndoTransactionIfNeeded();

    void setParamValue (const juce::String& parameterID, float realValue);

    //==============================================================================
    // PresettableProcessor
    juce::StringArray getFactoryPresetNames() const override;
    juce::StringArray getUserPresetNames() const override;
    void applyFactoryPreset (const juce::String& name) override;
    bool saveUserPreset (const juce::String& name) override;
    bool loadUserPreset (const juce::String& name) override;
    bool deleteUserPreset (const juce::String& name) override;
    bool renameUserPreset (const juce::String& oldName, const juce::String& newName) override;
    juce::String getCurrentPresetName() const override;
    juce::String getCurrentPresetDisplayName() const override;
    bool isCurrentPresetUser() const override;
    bool canUndo() const override;
    bool canRedo() const override;
    void performUndo() override;
    void performRedo() override;

    // Loads any preset file with the rules of a user preset (used by the
    // renderer's --preset-file and by loadUserPreset).
    bool loadPresetFile (const juce::File& file, const juce::String& name);

    void parameterChanged (const juce::String& parameterID, float newValue) override;

    //==============================================================================
    juce::AudioProcessorValueTreeState apvts;

    // Smoothed peak levels for the editor's meters (linear, 1 = full scale).
    std::atomic<float> inputLevelLeft { 0.0f }, inputLevelRight { 0.0f };
    std::atomic<float> outputLevelLeft { 0.0f }, outputLevelRight { 0.0f };

    // The editor's saved window size (read and written by the editor).
    std::atomic<float> savedWindowWidth { 1200.0f };
    std::atomic<float> savedWindowHeight { 600.0f };
    std::atomic<bool> savedWindowSizeSet { false };

    std::atomic<bool> isApplyingState { false };

    PresetManager presetManager;

    int getPreparedBlockSize() const noexcept { return preparedBlockSize; }
    int getPreparedNumChannels() const noexcept { return preparedNumChannels; }
    int getWidthDelayLength() const noexcept { return widthDelayLength; }
    int getCrossfadeRampSteps() const noexcept { return crossfadeSteps; }
    int getGainRampSteps() const noexcept { return gainRampSteps; }
    int getWidthRampSteps() const noexcept { return widthRampSteps; }

private:
    friend class FullStateUndoAction;

    void processChunk (juce::AudioBuffer<float>& buffer);
    template <typename Process, typename Reset>
    void runSection (juce::AudioBuffer<float>& buffer, bool bypassed,
                     juce::LinearSmoothedValue<float>& mix, bool& resetDone,
                     Process&& process, Reset&& reset);

    void stepHistory (bool redo);

    void updateFiltersIfNeeded();
    void updateCompressorIfNeeded();
    void updateReverbIfNeeded();
    void resetLastAppliedValues();

    void toneSectionProcessor (juce::AudioBuffer<float>& buffer);
    void compressionSectionProcessor (juce::AudioBuffer<float>& buffer);
    void characterSectionProcessor (juce::AudioBuffer<float>& buffer);
    void spaceSectionProcessor (juce::AudioBuffer<float>& buffer);
    void processDeEsser (juce::AudioBuffer<float>& buffer);
    void processSaturation (juce::AudioBuffer<float>& buffer);
    void processStereoWidth (juce::AudioBuffer<float>& buffer);

    void resetAllProcessingDSP();
    void resetToneDSP();
    void resetCompressionDSP();
    void resetCharacterDSP();
    void resetSpaceDSP();

    void updateMeters (const juce::AudioBuffer<float>& buffer, std::atomic<float>& left, std::atomic<float>& right);
    bool clearIfNotFinite (juce::AudioBuffer<float>& buffer);

    float readFloat (const std::atomic<float>* p) const noexcept { return p != nullptr ? p->load (std::memory_order_relaxed) : 0.0f; }
    bool readSwitch (const std::atomic<float>* p) const noexcept { return p != nullptr && p->load (std::memory_order_relaxed) >= 0.5f; }
    float makeupTarget() const noexcept;
    float widthTarget() const noexcept;

    //==============================================================================
    // Cached raw-value pointers, in host order.
    std::atomic<float>* mainBypassParam = nullptr;
    std::atomic<float>* inputGainParam = nullptr;
    std::atomic<float>* outputGainParam = nullptr;
    std::atomic<float>* toneBypassParam = nullptr;
    std::atomic<float>* hpfFreqParam = nullptr;
    std::atomic<float>* lpfFreqParam = nullptr;
    std::atomic<float>* lowGainParam = nullptr;
    std::atomic<float>* midGainParam = nullptr;
    std::atomic<float>* highGainParam = nullptr;
    std::atomic<float>* airGainParam = nullptr;
    std::atomic<float>* compBypassParam = nullptr;
    std::atomic<float>* compThreshParam = nullptr;
    std::atomic<float>* compRatioParam = nullptr;
    std::atomic<float>* compAttackParam = nullptr;
    std::atomic<float>* compReleaseParam = nullptr;
    std::atomic<float>* compMakeupParam = nullptr;
    std::atomic<float>* characterBypassParam = nullptr;
    std::atomic<float>* deEssFreqParam = nullptr;
    std::atomic<float>* deEssAmountParam = nullptr;
    std::atomic<float>* satDriveParam = nullptr;
    std::atomic<float>* satMixParam = nullptr;
    std::atomic<float>* spaceBypassParam = nullptr;
    std::atomic<float>* widthParam = nullptr;
    std::atomic<float>* reverbSizeParam = nullptr;
    std::atomic<float>* reverbDampingParam = nullptr;
    std::atomic<float>* reverbMixParam = nullptr;

    double currentSampleRate = 44100.0;

    juce::dsp::Gain<float> inputGainStage, outputGainStage;

    using FilterPair = std::array<juce::dsp::IIR::Filter<float>, 2>;
    FilterPair hpfFilters, lpfFilters, lowShelfFilters, midPeakFilters,
               highShelfFilters, airShelfFilters, deEssDetectorFilters;

    // The filters above hold the coefficients; the running state of each
    // (transposed direct form II, two values per channel) is kept here so that
    // the audio loops can run both channels of a stage side by side.
    struct BiquadState
    {
        float s1 = 0.0f, s2 = 0.0f;
    };
    std::array<std::array<BiquadState, 2>, 6> toneStates {};   // [stage][channel], hpf .. air
    std::array<BiquadState, 2> deEssDetectorStates {};          // [channel]

    std::array<juce::dsp::Compressor<float>, 2> compressors;

    juce::dsp::Reverb reverb;
    juce::Reverb::Parameters reverbParams;

    float deEssEnvelope = 0.0f;
    float deEssAttackCoeff = 0.0f;
    float deEssReleaseCoeff = 0.0f;

    float lastHpfFreq = -1.0f, lastLpfFreq = -1.0f;
    float lastLowGain = -1000.0f, lastMidGain = -1000.0f, lastHighGain = -1000.0f, lastAirGain = -1000.0f;
    float lastDeEssFreq = -1.0f;
    float lastCompThresh = 999.0f, lastCompRatio = 999.0f, lastCompAttack = 999.0f, lastCompRelease = 999.0f;
    float lastReverbSize = -1.0f, lastReverbDamping = -1.0f, lastReverbMix = -1.0f;

    std::vector<float> widthDelayLine;
    int widthDelayWritePos = 0;
    int widthDelayLength = 0;
    juce::LinearSmoothedValue<float> widthSmoothed;
    float midEnergy = 0.0f, sideEnergy = 0.0f, widthEnergyCoeff = 0.0f;

    juce::AudioBuffer<float> sectionScratchBuffer, dryBuffer;
    int preparedBlockSize = 0;
    int preparedNumChannels = 0;
    int crossfadeSteps = 0, gainRampSteps = 0, widthRampSteps = 0;

    juce::LinearSmoothedValue<float> mainMix, toneMix, compMix, characterMix, spaceMix, makeupGain;
    bool mainResetDone = false, toneResetDone = false, compResetDone = false,
         characterResetDone = false, spaceResetDone = false;

    //==============================================================================
    juce::String currentPresetName { "Presets" };
    bool currentPresetIsUser = false;
    std::atomic<bool> currentPresetModified { false };
    juce::CriticalSection presetInfoLock;

    juce::UndoManager undoManager;
    bool undoTransactionOpen = false;
    juce::ValueTree pendingUndoState;
    std::atomic<bool> isUndoRedoInProgress { false };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OndrelAudioProcessor)
};
