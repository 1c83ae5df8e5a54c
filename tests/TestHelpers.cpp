#include "TestHelpers.h"

#include <random>

namespace test
{
Harness::Harness (double sr, int block, int numChannels, bool doPrepare)
    : proc (std::make_unique<OndrelAudioProcessor>()), sampleRate (sr), blockSize (block), channels (numChannels)
{
    const auto set = numChannels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (set);
    layout.outputBuses.add (set);
    proc->setBusesLayout (layout);

    if (doPrepare)
        prepare();
}

void Harness::prepare()
{
    proc->setRateAndBufferSizeDetails (sampleRate, blockSize);
    proc->prepareToPlay (sampleRate, blockSize);
}

void Harness::set (const char* id, float realValue)
{
    setReal (*proc, id, realValue);
}

float Harness::get (const char* id) const
{
    return proc->apvts.getRawParameterValue (id)->load();
}

void Harness::everyStage (float width)
{
    proc->applyFactoryPreset ("Rock");
    set (ParamIDs::satDrive, 12.0f);
    set (ParamIDs::satMix, 40.0f);
    set (ParamIDs::deEssAmount, 60.0f);
    set (ParamIDs::width, width);
    set (ParamIDs::reverbMix, 30.0f);
    prepare();
}

void Harness::onlySection (const char* keep)
{
    for (auto* id : { ParamIDs::toneBypass, ParamIDs::compBypass, ParamIDs::characterBypass, ParamIDs::spaceBypass })
        set (id, juce::String (id) == keep ? 0.0f : 1.0f);
    prepare();
}

void Harness::process (juce::AudioBuffer<float>& audio, int block)
{
    if (block <= 0)
        block = blockSize;
    juce::MidiBuffer midi;
    for (int start = 0; start < audio.getNumSamples(); start += block)
    {
        const int n = juce::jmin (block, audio.getNumSamples() - start);
        juce::AudioBuffer<float> view (audio.getArrayOfWritePointers(), audio.getNumChannels(), start, n);
        proc->processBlock (view, midi);
    }
}

juce::AudioBuffer<float> Harness::render (const juce::AudioBuffer<float>& input, int block)
{
    juce::AudioBuffer<float> out (input);
    process (out, block);
    return out;
}

juce::AudioBuffer<float> constant (int channels, int numSamples, float value)
{
    juce::AudioBuffer<float> b (channels, numSamples);
    for (int ch = 0; ch < channels; ++ch)
        juce::FloatVectorOperations::fill (b.getWritePointer (ch), value, numSamples);
    return b;
}

void setReal (OndrelAudioProcessor& p, const char* id, float realValue)
{
    auto* param = p.apvts.getParameter (id);
    param->setValueNotifyingHost (param->convertTo0to1 (realValue));
}

float real (OndrelAudioProcessor& p, const char* id)
{
    return p.apvts.getRawParameterValue (id)->load();
}

juce::AudioBuffer<float> sine (int channels, int numSamples, double freq, double sampleRate, float amplitude)
{
    juce::AudioBuffer<float> b (channels, numSamples);
    for (int i = 0; i < numSamples; ++i)
    {
        const auto v = (float) (amplitude * std::sin (2.0 * juce::MathConstants<double>::pi * freq * i / sampleRate));
        for (int ch = 0; ch < channels; ++ch)
            b.setSample (ch, i, v);
    }
    return b;
}

juce::AudioBuffer<float> noise (int channels, int numSamples, float amplitude, int seed)
{
    std::mt19937 rng ((unsigned) seed);
    std::uniform_real_distribution<float> dist (-amplitude, amplitude);
    juce::AudioBuffer<float> b (channels, numSamples);
    for (int ch = 0; ch < channels; ++ch)
        for (int i = 0; i < numSamples; ++i)
            b.setSample (ch, i, dist (rng));
    return b;
}

double toneAmplitude (const float* x, int start, int n, double freq, double sampleRate)
{
    // Solve the 2x2 normal equations for a*sin + b*cos.
    double ss = 0, cc = 0, sc = 0, xs = 0, xc = 0;
    for (int i = start; i < start + n; ++i)
    {
        const double w = 2.0 * juce::MathConstants<double>::pi * freq * i / sampleRate;
        const double s = std::sin (w), c = std::cos (w);
        ss += s * s; cc += c * c; sc += s * c; xs += x[i] * s; xc += x[i] * c;
    }
    const double det = ss * cc - sc * sc;
    const double a = (xs * cc - xc * sc) / det;
    const double b = (xc * ss - xs * sc) / det;
    return std::sqrt (a * a + b * b);
}

double dB (double gain)
{
    return 20.0 * std::log10 (gain);
}

float maxAbsDiff (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b, int channel, int start, int n)
{
    float m = 0.0f;
    for (int i = start; i < start + n; ++i)
        m = std::max (m, std::abs (a.getSample (channel, i) - b.getSample (channel, i)));
    return m;
}
} // namespace test
