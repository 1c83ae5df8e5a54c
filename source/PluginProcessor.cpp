#include "PluginProcessor.h"

#include "ParameterIDs.h"
#include "editor/PluginEditor.h"

namespace
{
constexpr float kFullyOn = 0.999999f;
constexpr float kFullyOff = 1.0e-6f;

// An order-2 pass-through with coefficient storage for every later design, so
// that redesigning a band on the audio thread never allocates.
void makeSecondOrder (juce::dsp::IIR::Filter<float>& filter)
{
    filter.coefficients = new juce::dsp::IIR::Coefficients<float> (1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f);
    filter.reset();
}
} // namespace

//==============================================================================
juce::AudioProcessorValueTreeState::ParameterLayout OndrelAudioProcessor::createParameterLayout()
{
    using namespace ParamIDs;
    juce::AudioProcessorValueTreeState::ParameterLayout layout;

    auto addSwitch = [&layout] (const char* id, const char* name)
    {
        layout.add (std::make_unique<juce::AudioParameterBool> (juce::ParameterID { id, 1 }, name, false));
    };
    auto addFloat = [&layout] (const char* id, const char* name, float min, float max, float skew, float def)
    {
        layout.add (std::make_unique<juce::AudioParameterFloat> (juce::ParameterID { id, 1 }, name,
                                                                 juce::NormalisableRange<float> (min, max, 0.01f, skew),
                                                                 def));
    };

    addSwitch (mainBypass, "Main Bypass");
    addFloat (inputGain, "Input Gain", -48.0f, 48.0f, 1.0f, 0.0f);
    addFloat (outputGain, "Output Gain", -48.0f, 48.0f, 1.0f, 0.0f);

    addSwitch (toneBypass, "Tone Bypass");
    addFloat (hpfFreq, "HPF", 20.0f, 500.0f, 0.35f, 80.0f);
    addFloat (lpfFreq, "LPF", 4000.0f, 20000.0f, 0.35f, 20000.0f);
    addFloat (lowGain, "Low", -18.0f, 18.0f, 1.0f, 0.0f);
    addFloat (midGain, "Mid", -18.0f, 18.0f, 1.0f, 0.0f);
    addFloat (highGain, "High", -18.0f, 18.0f, 1.0f, 0.0f);
    addFloat (airGain, "Air", -18.0f, 18.0f, 1.0f, 0.0f);

    addSwitch (compBypass, "Compression Bypass");
    addFloat (compThresh, "Comp Threshold", -60.0f, 0.0f, 1.0f, -18.0f);
    addFloat (compRatio, "Comp Ratio", 1.0f, 20.0f, 1.0f, 3.0f);
    addFloat (compAttack, "Comp Attack", 0.1f, 100.0f, 0.35f, 10.0f);
    addFloat (compRelease, "Comp Release", 5.0f, 500.0f, 0.35f, 80.0f);
    addFloat (compMakeup, "Comp Makeup", 0.0f, 24.0f, 1.0f, 0.0f);

    addSwitch (characterBypass, "Character Bypass");
    addFloat (deEssFreq, "De-Esser Freq", 3000.0f, 10000.0f, 0.35f, 6000.0f);
    addFloat (deEssAmount, "De-Esser Amount", 0.0f, 100.0f, 1.0f, 20.0f);
    addFloat (satDrive, "Saturation Drive", 0.0f, 24.0f, 1.0f, 0.0f);
    addFloat (satMix, "Saturation Mix", 0.0f, 100.0f, 1.0f, 0.0f);

    addSwitch (spaceBypass, "Space Bypass");
    addFloat (width, "Width", 0.0f, 200.0f, 1.0f, 100.0f);
    addFloat (reverbSize, "Reverb Size", 0.0f, 100.0f, 1.0f, 18.0f);
    addFloat (reverbDamping, "Reverb Damping", 0.0f, 100.0f, 1.0f, 35.0f);
    addFloat (reverbMix, "Reverb Mix", 0.0f, 100.0f, 1.0f, 0.0f);

    return layout;
}

//==============================================================================
OndrelAudioProcessor::OndrelAudioProcessor()
    : AudioProcessor (BusesProperties()
                          .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                          .withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      apvts (*this, nullptr, "PARAMETERS", createParameterLayout())
{
    for (auto* pair : { &hpfFilters, &lpfFilters, &lowShelfFilters, &midPeakFilters,
                        &highShelfFilters, &airShelfFilters, &deEssDetectorFilters })
        for (auto& f : *pair)
            makeSecondOrder (f);

    reverbParams = juce::Reverb::Parameters();
    reverb.setParameters (reverbParams);
    reverb.setEnabled (true);

    presetManager.appInfo = AppInfo();

    std::atomic<float>** pointers[ParamIDs::count] = {
        &mainBypassParam, &inputGainParam, &outputGainParam,
        &toneBypassParam, &hpfFreqParam, &lpfFreqParam, &lowGainParam, &midGainParam, &highGainParam, &airGainParam,
        &compBypassParam, &compThreshParam, &compRatioParam, &compAttackParam, &compReleaseParam, &compMakeupParam,
        &characterBypassParam, &deEssFreqParam, &deEssAmountParam, &satDriveParam, &satMixParam,
        &spaceBypassParam, &widthParam, &reverbSizeParam, &reverbDampingParam, &reverbMixParam
    };

    for (int i = 0; i < ParamIDs::count; ++i)
        *pointers[i] = apvts.getRawParameterValue (ParamIDs::all[i]);

    for (auto* id : ParamIDs::all)
        apvts.addParameterListener (id, this);
}

OndrelAudioProcessor::~OndrelAudioProcessor()
{
    for (auto* id : ParamIDs::all)
        apvts.removeParameterListener (id, this);
}

juce::AudioProcessorEditor* OndrelAudioProcessor::createEditor()
{
    return new OndrelAudioProcessorEditor (*this);
}

bool OndrelAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    const auto out = layouts.getMainOutputChannelSet();

    if (out != juce::AudioChannelSet::mono() && out != juce::AudioChannelSet::stereo())
        return false;

    return layouts.getMainInputChannelSet() == out;
}

//==============================================================================
float OndrelAudioProcessor::makeupTarget() const noexcept
{
    if (readSwitch (compBypassParam) || compMakeupParam == nullptr)
        return 1.0f;

    return juce::Decibels::decibelsToGain (readFloat (compMakeupParam));
}

float OndrelAudioProcessor::widthTarget() const noexcept
{
    return juce::jlimit (0.0f, 200.0f, readFloat (widthParam));
}

void OndrelAudioProcessor::resetLastAppliedValues()
{
    lastHpfFreq = lastLpfFreq = lastDeEssFreq = -1.0f;
    lastLowGain = lastMidGain = lastHighGain = lastAirGain = -1000.0f;
    lastCompThresh = lastCompRatio = lastCompAttack = lastCompRelease = 999.0f;
    lastReverbSize = lastReverbDamping = lastReverbMix = -1.0f;
}

void OndrelAudioProcessor::prepareToPlay (double sampleRate, int samplesPerBlock)
{
    currentSampleRate = sampleRate;

    const auto maxBlock = (juce::uint32) juce::jmax (samplesPerBlock, 8192);
    const juce::dsp::ProcessSpec stereoSpec { sampleRate, maxBlock, (juce::uint32) juce::jmax (1, getTotalNumOutputChannels()) };
    const juce::dsp::ProcessSpec monoSpec { sampleRate, maxBlock, 1 };

    for (auto* stage : { &inputGainStage, &outputGainStage })
    {
        stage->prepare (stereoSpec);
        stage->setRampDurationSeconds (0.02);
    }
    gainRampSteps = (int) std::floor (0.02 * sampleRate);

    for (auto& c : compressors)
        c.prepare (monoSpec);

    for (auto* pair : { &hpfFilters, &lpfFilters, &lowShelfFilters, &midPeakFilters,
                        &highShelfFilters, &airShelfFilters, &deEssDetectorFilters })
        for (auto& f : *pair)
            f.prepare (monoSpec);
    for (auto& stage : toneStates)
        stage.fill ({});
    deEssDetectorStates.fill ({});

    resetLastAppliedValues();
    deEssEnvelope = 0.0f;
    const auto fs = (float) sampleRate;
    deEssAttackCoeff = std::exp (-1.0f / (0.0015f * fs));
    deEssReleaseCoeff = std::exp (-1.0f / (0.08f * fs));

    updateFiltersIfNeeded();
    updateCompressorIfNeeded();
    updateReverbIfNeeded();

    // The reverb takes the sample rate after its parameters: that snaps its
    // internal level smoothing to them, so a fresh instance does not glide
    // from the framework's default levels over its first 10 ms.
    reverb.prepare (stereoSpec);
    reverb.reset();

    widthDelayLength = (int) std::round (0.016 * sampleRate);
    if (widthDelayLength < 3)
        widthDelayLength = 2;
    widthDelayLine.assign ((size_t) widthDelayLength, 0.0f);
    widthDelayWritePos = 0;
    widthRampSteps = (int) std::floor (0.025 * sampleRate);
    widthSmoothed.reset (widthRampSteps);
    widthSmoothed.setCurrentAndTargetValue (readFloat (widthParam));
    widthEnergyCoeff = (float) std::exp (-1.0 / (0.06 * sampleRate));
    midEnergy = sideEnergy = 0.0f;

    crossfadeSteps = (int) std::floor (0.015 * sampleRate);
    auto prepareMix = [this] (juce::LinearSmoothedValue<float>& s, float target)
    {
        s.reset (crossfadeSteps);
        s.setCurrentAndTargetValue (target);
    };
    prepareMix (mainMix, readSwitch (mainBypassParam) ? 0.0f : 1.0f);
    prepareMix (toneMix, readSwitch (toneBypassParam) ? 0.0f : 1.0f);
    prepareMix (compMix, readSwitch (compBypassParam) ? 0.0f : 1.0f);
    prepareMix (characterMix, readSwitch (characterBypassParam) ? 0.0f : 1.0f);
    prepareMix (spaceMix, readSwitch (spaceBypassParam) ? 0.0f : 1.0f);
    prepareMix (makeupGain, makeupTarget());

    preparedBlockSize = (int) maxBlock;
    preparedNumChannels = juce::jmax (getTotalNumOutputChannels(), 1);
    sectionScratchBuffer.setSize (preparedNumChannels, preparedBlockSize, false, false, true);
    dryBuffer.setSize (preparedNumChannels, preparedBlockSize, false, false, true);

    mainResetDone = toneResetDone = compResetDone = characterResetDone = spaceResetDone = false;
}

//==============================================================================
void OndrelAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    juce::ScopedNoDenormals noDenormals;

    const int numSamples = buffer.getNumSamples();
    const int numChannels = buffer.getNumChannels();

    for (int ch = getTotalNumInputChannels(); ch < juce::jmin (getTotalNumOutputChannels(), numChannels); ++ch)
        buffer.clear (ch, 0, numSamples);

    if (numSamples == 0)
        return;

    // A host block longer than the prepared size is processed in consecutive
    // chunks rather than passed through: the effect must never drop out.
    if (preparedBlockSize > 0 && numSamples > preparedBlockSize && numChannels <= preparedNumChannels)
    {
        for (int start = 0; start < numSamples; start += preparedBlockSize)
        {
            const int len = juce::jmin (preparedBlockSize, numSamples - start);
            juce::AudioBuffer<float> chunk (buffer.getArrayOfWritePointers(), numChannels, start, len);
            processChunk (chunk);
        }
        return;
    }

    processChunk (buffer);
}

void OndrelAudioProcessor::processChunk (juce::AudioBuffer<float>& buffer)
{
    const int numSamples = buffer.getNumSamples();
    const int numChannels = buffer.getNumChannels();

    const bool mainOff = readSwitch (mainBypassParam);
    const bool toneOff = readSwitch (toneBypassParam);
    const bool compOff = readSwitch (compBypassParam);
    const bool characterOff = readSwitch (characterBypassParam);
    const bool spaceOff = readSwitch (spaceBypassParam);

    mainMix.setTargetValue (mainOff ? 0.0f : 1.0f);

    if (mainOff && ! mainMix.isSmoothing() && mainMix.getCurrentValue() <= kFullyOff)
    {
        toneMix.setCurrentAndTargetValue (toneOff ? 0.0f : 1.0f);
        compMix.setCurrentAndTargetValue (compOff ? 0.0f : 1.0f);
        characterMix.setCurrentAndTargetValue (characterOff ? 0.0f : 1.0f);
        spaceMix.setCurrentAndTargetValue (spaceOff ? 0.0f : 1.0f);
        makeupGain.setCurrentAndTargetValue (makeupTarget());

        if (! mainResetDone)
        {
            resetAllProcessingDSP();
            mainResetDone = true;
        }

        for (auto* m : { &inputLevelLeft, &inputLevelRight, &outputLevelLeft, &outputLevelRight })
            m->store (0.0f);
        return;
    }

    mainResetDone = false;

    if (numChannels > preparedNumChannels || numSamples > preparedBlockSize)
    {
        updateMeters (buffer, inputLevelLeft, inputLevelRight);
        updateMeters (buffer, outputLevelLeft, outputLevelRight);
        return;
    }

    const bool haveDry = mainMix.isSmoothing() || mainMix.getCurrentValue() < kFullyOn;
    if (haveDry)
        for (int ch = 0; ch < numChannels; ++ch)
            dryBuffer.copyFrom (ch, 0, buffer, ch, 0, numSamples);

    updateFiltersIfNeeded();
    updateCompressorIfNeeded();
    updateReverbIfNeeded();

    inputGainStage.setGainDecibels (readFloat (inputGainParam));
    outputGainStage.setGainDecibels (readFloat (outputGainParam));

    juce::dsp::AudioBlock<float> block (buffer);
    juce::dsp::ProcessContextReplacing<float> context (block);
    inputGainStage.process (context);

    updateMeters (buffer, inputLevelLeft, inputLevelRight);

    runSection (buffer, toneOff, toneMix, toneResetDone,
                [this] (auto& b) { toneSectionProcessor (b); }, [this] { resetToneDSP(); });
    runSection (buffer, compOff, compMix, compResetDone,
                [this] (auto& b) { compressionSectionProcessor (b); }, [this] { resetCompressionDSP(); });
    runSection (buffer, characterOff, characterMix, characterResetDone,
                [this] (auto& b) { characterSectionProcessor (b); }, [this] { resetCharacterDSP(); });
    runSection (buffer, spaceOff, spaceMix, spaceResetDone,
                [this] (auto& b) { spaceSectionProcessor (b); }, [this] { resetSpaceDSP(); });

    // Makeup follows compBypass through its own smoother and lands after Space.
    makeupGain.setTargetValue (makeupTarget());
    if (! makeupGain.isSmoothing())
    {
        const float g = makeupGain.getCurrentValue();
        if (std::abs (g - 1.0f) > 1.0e-6f)
            buffer.applyGain (g);
    }
    else
    {
        auto* const* data = buffer.getArrayOfWritePointers();
        for (int i = 0; i < numSamples; ++i)
        {
            const float g = makeupGain.getNextValue();
            for (int ch = 0; ch < numChannels; ++ch)
                data[ch][i] *= g;
        }
    }

    outputGainStage.process (context);

    if (haveDry)
    {
        auto* const* data = buffer.getArrayOfWritePointers();
        auto* const* dry = dryBuffer.getArrayOfReadPointers();
        for (int i = 0; i < numSamples; ++i)
        {
            const float v = mainMix.getNextValue();
            if (v >= kFullyOn)
                continue;
            for (int ch = 0; ch < numChannels; ++ch)
            {
                const float d = dry[ch][i];
                data[ch][i] = v <= kFullyOff ? d : d + v * (data[ch][i] - d);
            }
        }
    }

    clearIfNotFinite (buffer);
    updateMeters (buffer, outputLevelLeft, outputLevelRight);
}

template <typename Process, typename Reset>
void OndrelAudioProcessor::runSection (juce::AudioBuffer<float>& buffer, bool bypassed,
                                       juce::LinearSmoothedValue<float>& mix, bool& resetDone,
                                       Process&& process, Reset&& reset)
{
    mix.setTargetValue (bypassed ? 0.0f : 1.0f);

    if (bypassed && ! mix.isSmoothing() && mix.getCurrentValue() <= kFullyOff)
    {
        if (! resetDone)
        {
            reset();
            resetDone = true;
        }
        return;
    }

    resetDone = false;

    if (! mix.isSmoothing() && mix.getCurrentValue() >= kFullyOn)
    {
        process (buffer);
        return;
    }

    const int numSamples = buffer.getNumSamples();
    const int numChannels = buffer.getNumChannels();

    sectionScratchBuffer.setSize (numChannels, numSamples, false, false, true);
    for (int ch = 0; ch < numChannels; ++ch)
        sectionScratchBuffer.copyFrom (ch, 0, buffer, ch, 0, numSamples);

    process (sectionScratchBuffer);

    auto* const* data = buffer.getArrayOfWritePointers();
    auto* const* wet = sectionScratchBuffer.getArrayOfReadPointers();
    for (int i = 0; i < numSamples; ++i)
    {
        const float v = mix.getNextValue();
        if (v <= kFullyOff)
            continue;
        for (int ch = 0; ch < numChannels; ++ch)
        {
            const float in = data[ch][i];
            data[ch][i] = v >= kFullyOn ? wet[ch][i] : in + v * (wet[ch][i] - in);
        }
    }
}

//==============================================================================
void OndrelAudioProcessor::resetAllProcessingDSP()
{
    resetToneDSP();
    resetCompressionDSP();
    resetCharacterDSP();
    resetSpaceDSP();

    toneResetDone = compResetDone = characterResetDone = spaceResetDone = true;
    makeupGain.setCurrentAndTargetValue (makeupGain.getTargetValue());
}

void OndrelAudioProcessor::resetToneDSP()
{
    for (auto* pair : { &hpfFilters, &lpfFilters, &lowShelfFilters, &midPeakFilters, &highShelfFilters, &airShelfFilters })
        for (auto& f : *pair)
            f.reset();
    for (auto& stage : toneStates)
        stage.fill ({});
}

void OndrelAudioProcessor::resetCompressionDSP()
{
    for (auto& c : compressors)
        c.reset();
}

void OndrelAudioProcessor::resetCharacterDSP()
{
    for (auto& f : deEssDetectorFilters)
        f.reset();
    deEssDetectorStates.fill ({});
    deEssEnvelope = 0.0f;
}

void OndrelAudioProcessor::resetSpaceDSP()
{
    reverb.reset();
    std::fill (widthDelayLine.begin(), widthDelayLine.end(), 0.0f);
    widthDelayWritePos = 0;
    midEnergy = sideEnergy = 0.0f;
    widthSmoothed.setCurrentAndTargetValue (widthTarget());
}

//==============================================================================
void OndrelAudioProcessor::updateMeters (const juce::AudioBuffer<float>& buffer,
                                         std::atomic<float>& left, std::atomic<float>& right)
{
    const int numChannels = buffer.getNumChannels();
    const int numSamples = buffer.getNumSamples();

    float p0 = numChannels > 0 ? buffer.getMagnitude (0, 0, numSamples) : 0.0f;
    float p1 = numChannels > 1 ? buffer.getMagnitude (1, 0, numSamples) : p0;

    auto follow = [] (std::atomic<float>& meter, float peak)
    {
        // A non-finite level would stick in the meter forever.
        if (! std::isfinite (peak))
            peak = 0.0f;
        float v = meter.load (std::memory_order_relaxed);
        if (! std::isfinite (v))
            v = 0.0f;
        meter.store (v < peak ? v + (peak - v) * 0.55f : v * 0.92f);
    };

    follow (left, p0);
    follow (right, p1);
}

// A NaN or infinity that got into the chain (from the host's input or from
// anywhere else) would otherwise live on in the filter, compressor, reverb and
// width states and turn every later block into noise or silence-with-NaN. The
// bad block comes out silent and every state that could carry it is cleared.
bool OndrelAudioProcessor::clearIfNotFinite (juce::AudioBuffer<float>& buffer)
{
    const int numSamples = buffer.getNumSamples();
    float probe = 0.0f;
    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
    {
        const float* d = buffer.getReadPointer (ch);
        for (int i = 0; i < numSamples; ++i)
            probe += d[i] * 0.0f;
    }

    if (probe == 0.0f)
        return false;

    buffer.clear();
    resetToneDSP();
    resetCompressionDSP();
    resetCharacterDSP();
    resetSpaceDSP();
    return true;
}

//==============================================================================
// The plug-in client's factory: one new instance per use in the host.
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new OndrelAudioProcessor();
}
