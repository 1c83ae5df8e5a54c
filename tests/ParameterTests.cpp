#include <gtest/gtest.h>

#include "TestHelpers.h"

namespace
{
struct Expected
{
    const char* id;
    const char* name;
    bool isSwitch;
    float min, max, skew, def;
};

// The host-facing parameter table, in host order.
const Expected table[] = {
    { "mainBypass", "Main Bypass", true, 0, 1, 1, 0 },
    { "inputGain", "Input Gain", false, -48, 48, 1, 0 },
    { "outputGain", "Output Gain", false, -48, 48, 1, 0 },
    { "toneBypass", "Tone Bypass", true, 0, 1, 1, 0 },
    { "hpfFreq", "HPF", false, 20, 500, 0.35f, 80 },
    { "lpfFreq", "LPF", false, 4000, 20000, 0.35f, 20000 },
    { "lowGain", "Low", false, -18, 18, 1, 0 },
    { "midGain", "Mid", false, -18, 18, 1, 0 },
    { "highGain", "High", false, -18, 18, 1, 0 },
    { "airGain", "Air", false, -18, 18, 1, 0 },
    { "compBypass", "Compression Bypass", true, 0, 1, 1, 0 },
    { "compThresh", "Comp Threshold", false, -60, 0, 1, -18 },
    { "compRatio", "Comp Ratio", false, 1, 20, 1, 3 },
    { "compAttack", "Comp Attack", false, 0.1f, 100, 0.35f, 10 },
    { "compRelease", "Comp Release", false, 5, 500, 0.35f, 80 },
    { "compMakeup", "Comp Makeup", false, 0, 24, 1, 0 },
    { "characterBypass", "Character Bypass", true, 0, 1, 1, 0 },
    { "deEssFreq", "De-Esser Freq", false, 3000, 10000, 0.35f, 6000 },
    { "deEssAmount", "De-Esser Amount", false, 0, 100, 1, 20 },
    { "satDrive", "Saturation Drive", false, 0, 24, 1, 0 },
    { "satMix", "Saturation Mix", false, 0, 100, 1, 0 },
    { "spaceBypass", "Space Bypass", true, 0, 1, 1, 0 },
    { "width", "Width", false, 0, 200, 1, 100 },
    { "reverbSize", "Reverb Size", false, 0, 100, 1, 18 },
    { "reverbDamping", "Reverb Damping", false, 0, 100, 1, 35 },
    { "reverbMix", "Reverb Mix", false, 0, 100, 1, 0 },
};
} // namespace

TEST (Parameters, HostSeesTheTableInOrder)
{
    OndrelAudioProcessor proc;
    const auto& params = proc.getParameters();
    ASSERT_EQ (params.size(), 26);

    for (int i = 0; i < 26; ++i)
    {
        const auto& e = table[i];
        SCOPED_TRACE (e.id);
        auto* p = dynamic_cast<juce::RangedAudioParameter*> (params[i]);
        ASSERT_NE (p, nullptr);
        EXPECT_EQ (p->paramID, e.id);
        EXPECT_EQ (p->getName (100), e.name);
        EXPECT_EQ (p->getVersionHint(), 1);
        EXPECT_TRUE (p->isAutomatable());
        EXPECT_FALSE (p->isMetaParameter());
        EXPECT_EQ (p->getLabel(), "");
        EXPECT_EQ (dynamic_cast<juce::AudioParameterBool*> (p) != nullptr, e.isSwitch);

        const auto& r = p->getNormalisableRange();
        EXPECT_FLOAT_EQ (r.start, e.min);
        EXPECT_FLOAT_EQ (r.end, e.max);
        if (! e.isSwitch)
        {
            EXPECT_FLOAT_EQ (r.interval, 0.01f);
            EXPECT_FLOAT_EQ (r.skew, e.skew);
            EXPECT_FALSE (r.symmetricSkew);
        }
        EXPECT_FLOAT_EQ (p->convertFrom0to1 (p->getDefaultValue()), e.def);
        EXPECT_FLOAT_EQ (proc.apvts.getRawParameterValue (e.id)->load(), e.def);

        // Values outside the range cannot be set.
        EXPECT_FLOAT_EQ (p->convertFrom0to1 (p->convertTo0to1 (e.max + 1000.0f)), e.max);
        EXPECT_FLOAT_EQ (p->convertFrom0to1 (p->convertTo0to1 (e.min - 1000.0f)), e.min);
    }
}

TEST (Processor, HostFacingAnswers)
{
    OndrelAudioProcessor proc;
    EXPECT_EQ (proc.getName(), "Ondrel");
    EXPECT_DOUBLE_EQ (proc.getTailLengthSeconds(), 1.5);
    EXPECT_EQ (proc.getNumPrograms(), 1);
    EXPECT_EQ (proc.getCurrentProgram(), 0);
    EXPECT_EQ (proc.getProgramName (0), "");
    EXPECT_FALSE (proc.acceptsMidi());
    EXPECT_FALSE (proc.producesMidi());
    EXPECT_FALSE (proc.isMidiEffect());
    EXPECT_TRUE (proc.hasEditor());
    EXPECT_EQ (proc.getLatencySamples(), 0);
    EXPECT_EQ (proc.getBypassParameter(), nullptr);
    EXPECT_EQ (proc.getBus (true, 0)->getName(), "Input");
    EXPECT_EQ (proc.getBus (false, 0)->getName(), "Output");
}

TEST (Processor, BusLayouts)
{
    OndrelAudioProcessor proc;
    using S = juce::AudioChannelSet;
    struct Case { S in, out; bool ok; };
    const Case cases[] = {
        { S::mono(), S::mono(), true },
        { S::stereo(), S::stereo(), true },
        { S::mono(), S::stereo(), false },
        { S::stereo(), S::mono(), false },
        { S::disabled(), S::stereo(), false },
        { S::stereo(), S::disabled(), false },
        { S::create5point1(), S::create5point1(), false },
        { S::quadraphonic(), S::quadraphonic(), false },
    };
    for (const auto& c : cases)
    {
        juce::AudioProcessor::BusesLayout layout;
        layout.inputBuses.add (c.in);
        layout.outputBuses.add (c.out);
        EXPECT_EQ (proc.checkBusesLayoutSupported (layout), c.ok)
            << c.in.getDescription() << " -> " << c.out.getDescription();
    }
}

TEST (Processor, PrepareFixesSizes)
{
    test::Harness h (48000.0, 512);
    EXPECT_EQ (h.proc->getPreparedBlockSize(), 8192);
    EXPECT_EQ (h.proc->getPreparedNumChannels(), 2);
    EXPECT_EQ (h.proc->getWidthDelayLength(), 768);
    EXPECT_EQ (h.proc->getCrossfadeRampSteps(), 720);
    EXPECT_EQ (h.proc->getGainRampSteps(), 960);
    EXPECT_EQ (h.proc->getWidthRampSteps(), 1200);

    test::Harness big (44100.0, 16384);
    EXPECT_EQ (big.proc->getPreparedBlockSize(), 16384);
    EXPECT_EQ (big.proc->getWidthDelayLength(), 706);

    test::Harness mono (44100.0, 64, 1);
    EXPECT_EQ (mono.proc->getPreparedNumChannels(), 1);
}

TEST (Processor, PreparingTwiceKeepsParametersAndGivesTheSameSound)
{
    test::Harness a (48000.0, 512), b (48000.0, 512);
    for (auto* h : { &a, &b })
    {
        h->proc->applyFactoryPreset ("Rap");
        h->prepare();
    }
    // Prepared at another rate first: the second prepare must redesign every
    // filter, compressor and reverb setting for the new rate.
    a.prepare();
    b.sampleRate = 96000.0;
    b.prepare();
    b.sampleRate = 48000.0;
    b.prepare();
    EXPECT_FLOAT_EQ (b.get (ParamIDs::compRatio), 6.0f);

    const auto in = test::noise (2, 9000, 0.3f);
    const auto outA = a.render (in), outB = b.render (in);
    for (int ch = 0; ch < 2; ++ch)
        EXPECT_EQ (test::maxAbsDiff (outA, outB, ch, 0, 9000), 0.0f);
}
