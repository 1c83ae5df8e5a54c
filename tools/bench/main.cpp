// ondrel-bench: drives the real processor in memory, single thread, and prints
// one JSON line per case with min and median over repeated runs.
#include <juce_audio_processors/juce_audio_processors.h>

#include "ParameterIDs.h"
#include "PluginProcessor.h"
#include "../common/Options.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace
{
struct Case
{
    std::string name;
    int channels = 2;
    double sampleRate = 48000.0;
    int blockSize = 512;
    double seconds = 10.0;
    std::function<void (OndrelAudioProcessor&)> setup;
    // Called before each block with the block index and the time in seconds;
    // used for switch toggling. Runs outside the timed region of the block.
    std::function<void (OndrelAudioProcessor&, double)> perBlock;
    // Input level per block (1 = signal, 0 = digital silence).
    std::function<float (double)> level;
};

void setReal (OndrelAudioProcessor& p, const char* id, float v)
{
    auto* param = p.apvts.getParameter (id);
    param->setValueNotifyingHost (param->convertTo0to1 (v));
}

void everyStage (OndrelAudioProcessor& p)
{
    p.applyFactoryPreset ("Rock");
    setReal (p, ParamIDs::satDrive, 12.0f);
    setReal (p, ParamIDs::satMix, 40.0f);
    setReal (p, ParamIDs::deEssAmount, 60.0f);
    setReal (p, ParamIDs::width, 160.0f);
    setReal (p, ParamIDs::reverbMix, 30.0f);
}

void onlySection (OndrelAudioProcessor& p, const char* keep)
{
    everyStage (p);
    for (auto* id : { ParamIDs::toneBypass, ParamIDs::compBypass, ParamIDs::characterBypass, ParamIDs::spaceBypass })
        setReal (p, id, juce::String (id) == keep ? 0.0f : 1.0f);
}

struct Timing
{
    double wallSeconds;
};

// A voice-like test signal: a few harmonics with vibrato plus noise, so every
// stage (de-esser, compressor, width) has work to do.
void fillSignal (juce::AudioBuffer<float>& b, double sr, juce::int64 startSample, float level, std::mt19937& rng)
{
    std::uniform_real_distribution<float> noise (-0.05f, 0.05f);
    for (int i = 0; i < b.getNumSamples(); ++i)
    {
        const double t = (double) (startSample + i) / sr;
        const double f0 = 180.0 * (1.0 + 0.01 * std::sin (2.0 * juce::MathConstants<double>::pi * 5.0 * t));
        double v = 0.0;
        for (int h = 1; h <= 4; ++h)
            v += std::sin (2.0 * juce::MathConstants<double>::pi * f0 * h * t) / h;
        for (int ch = 0; ch < b.getNumChannels(); ++ch)
            b.setSample (ch, i, level * (float) (0.3 * v * (ch == 0 ? 1.0 : 0.9)) + level * noise (rng));
    }
}

double runOnce (const Case& c, double* silentPart = nullptr, double* signalPart = nullptr)
{
    OndrelAudioProcessor proc;
    const auto set = c.channels == 1 ? juce::AudioChannelSet::mono() : juce::AudioChannelSet::stereo();
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (set);
    layout.outputBuses.add (set);
    proc.setBusesLayout (layout);
    if (c.setup)
        c.setup (proc);
    proc.setRateAndBufferSizeDetails (c.sampleRate, c.blockSize);
    proc.prepareToPlay (c.sampleRate, c.blockSize);

    // Pre-render the input so that signal generation is not timed.
    const auto total = (juce::int64) (c.seconds * c.sampleRate);
    const int numBlocks = (int) ((total + c.blockSize - 1) / c.blockSize);
    std::mt19937 rng (1);
    std::vector<juce::AudioBuffer<float>> inputs;
    const int distinct = std::min (numBlocks, 64);
    for (int i = 0; i < distinct; ++i)
    {
        inputs.emplace_back (c.channels, c.blockSize);
        fillSignal (inputs.back(), c.sampleRate, (juce::int64) i * c.blockSize, 1.0f, rng);
    }

    juce::AudioBuffer<float> block (c.channels, c.blockSize);
    juce::MidiBuffer midi;
    double wall = 0.0, silent = 0.0, signal = 0.0;

    for (int b = 0; b < numBlocks; ++b)
    {
        const double t = (double) b * c.blockSize / c.sampleRate;
        const float level = c.level ? c.level (t) : 1.0f;
        for (int ch = 0; ch < c.channels; ++ch)
        {
            if (level == 0.0f)
                block.clear (ch, 0, c.blockSize);
            else
                block.copyFrom (ch, 0, inputs[(size_t) (b % distinct)], ch, 0, c.blockSize);
        }
        if (c.perBlock)
            c.perBlock (proc, t);

        const auto start = std::chrono::steady_clock::now();
        proc.processBlock (block, midi);
        const double dt = std::chrono::duration<double> (std::chrono::steady_clock::now() - start).count();
        wall += dt;
        (level == 0.0f ? silent : signal) += dt;
    }

    if (silentPart != nullptr) *silentPart = silent;
    if (signalPart != nullptr) *signalPart = signal;
    return wall;
}

void report (const Case& c, int repeats)
{
    std::vector<double> walls;
    std::vector<double> ratios;
    for (int r = 0; r < repeats; ++r)
    {
        double silent = 0, signal = 0;
        walls.push_back (runOnce (c, &silent, &signal));
        if (c.level && signal > 0 && silent > 0)
            ratios.push_back (silent / signal); // equal durations by construction
    }
    std::sort (walls.begin(), walls.end());
    const double minWall = walls.front();
    const double median = walls[walls.size() / 2];
    const double frames = c.seconds * c.sampleRate;

    std::printf ("{\"case\":\"%s\",\"channels\":%d,\"sampleRate\":%.0f,\"blockSize\":%d,\"audioSeconds\":%.1f,"
                 "\"runs\":%d,\"wallSecondsMin\":%.6f,\"wallSecondsMedian\":%.6f,\"timesRealTimeMedian\":%.1f,"
                 "\"timesRealTimeBest\":%.1f,\"nsPerFrameMedian\":%.2f,\"nsPerFrameMin\":%.2f",
                 c.name.c_str(), c.channels, c.sampleRate, c.blockSize, c.seconds, repeats, minWall, median,
                 c.seconds / median, c.seconds / minWall, 1e9 * median / frames, 1e9 * minWall / frames);
    if (! ratios.empty())
    {
        std::sort (ratios.begin(), ratios.end());
        std::printf (",\"silenceToSignalCostMedian\":%.3f", ratios[ratios.size() / 2]);
    }
    std::printf ("}\n");
    std::fflush (stdout);
}
} // namespace

int main (int argc, char* argv[])
{
    juce::ScopedJuceInitialiser_GUI juceInit;
    const juce::ArgumentList args (argc, argv);
        auto option = [&args] (const juce::String& name, const juce::String& fallback)
    {
        return tool::optionValue (args, name, fallback);
    };
    const int repeats = juce::jmax (1, option ("--runs", "7").getIntValue());
    const double seconds = juce::jmax (0.1, option ("--seconds", "10").getDoubleValue());
    const juce::String only = option ("--case", {});

    std::vector<Case> cases;
    auto add = [&] (Case c)
    {
        if (c.seconds == 10.0)
            c.seconds = seconds;
        if (only.isEmpty() || c.name.find (only.toStdString()) != std::string::npos)
            cases.push_back (std::move (c));
    };

    add ({ "defaults", 2, 48000.0, 512, 10.0, {}, {}, {} });
    add ({ "every-stage", 2, 48000.0, 512, 10.0, everyStage, {}, {} });
    add ({ "every-stage-mono", 1, 48000.0, 512, 10.0, everyStage, {}, {} });
    add ({ "main-bypass-off", 2, 48000.0, 512, 10.0, [] (OndrelAudioProcessor& p) { everyStage (p); setReal (p, ParamIDs::mainBypass, 1.0f); }, {}, {} });
    add ({ "tone-alone", 2, 48000.0, 512, 10.0, [] (OndrelAudioProcessor& p) { onlySection (p, ParamIDs::toneBypass); }, {}, {} });
    add ({ "compression-alone", 2, 48000.0, 512, 10.0, [] (OndrelAudioProcessor& p) { onlySection (p, ParamIDs::compBypass); }, {}, {} });
    add ({ "character-alone", 2, 48000.0, 512, 10.0, [] (OndrelAudioProcessor& p) { onlySection (p, ParamIDs::characterBypass); }, {}, {} });
    add ({ "space-alone", 2, 48000.0, 512, 10.0, [] (OndrelAudioProcessor& p) { onlySection (p, ParamIDs::spaceBypass); }, {}, {} });
    for (int bs : { 16, 64, 512, 4096, 8192 })
        add ({ "every-stage-block-" + std::to_string (bs), 2, 48000.0, bs, 10.0, everyStage, {}, {} });
    for (double sr : { 44100.0, 96000.0, 192000.0 })
        add ({ "every-stage-rate-" + std::to_string ((int) sr), 2, sr, 512, 10.0, everyStage, {}, {} });
    // Half signal, half digital silence: denormals would make the silent half dearer.
    add ({ "signal-then-silence", 2, 48000.0, 512, 10.0, everyStage, {}, [seconds] (double t) { return t < seconds / 2.0 ? 1.0f : 0.0f; } });
    add ({ "bypass-toggle-100ms", 2, 48000.0, 512, 10.0, everyStage,
           [] (OndrelAudioProcessor& p, double t) { setReal (p, ParamIDs::spaceBypass, ((int) (t * 10.0)) % 2 == 0 ? 0.0f : 1.0f); }, {} });

    for (const auto& c : cases)
        report (c, repeats);
    return 0;
}
