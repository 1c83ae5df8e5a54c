#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include "ParameterIDs.h"
#include "PluginProcessor.h"

#include <memory>

namespace test
{
// A processor prepared the way a host prepares it.
struct Harness
{
    std::unique_ptr<OndrelAudioProcessor> proc;
    double sampleRate;
    int blockSize;
    int channels;

    explicit Harness (double sr = 48000.0, int block = 512, int numChannels = 2, bool prepare = true);

    void set (const char* id, float realValue);
    float get (const char* id) const;
    void prepare();

    // Only the named section stays active; the others are switched off
    // before preparing, so they start fully bypassed.
    void onlySection (const char* bypassIdToKeep);

    // The "every stage working" settings: Rock, drive 12 dB at 40 %, de-esser
    // 60 %, width 160 %, reverb 30 %; then prepared.
    void everyStage (float width = 160.0f);

    // Processes in place in host-sized blocks.
    void process (juce::AudioBuffer<float>& audio, int block = 0);
    juce::AudioBuffer<float> render (const juce::AudioBuffer<float>& input, int block = 0);
};

juce::AudioBuffer<float> constant (int channels, int numSamples, float value);
void setReal (OndrelAudioProcessor& p, const char* id, float realValue); // as the host does
float real (OndrelAudioProcessor& p, const char* id);

juce::AudioBuffer<float> sine (int channels, int numSamples, double freq, double sampleRate, float amplitude);
juce::AudioBuffer<float> noise (int channels, int numSamples, float amplitude, int seed = 1);

// Amplitude of the component at freq, by least squares over [start, start+n).
double toneAmplitude (const float* x, int start, int n, double freq, double sampleRate);

double dB (double gain);
float maxAbsDiff (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b, int channel, int start, int n);

// Counts heap allocations made by the calling thread while enabled.
struct AllocationCounter
{
    AllocationCounter();
    ~AllocationCounter();
    long count() const;
};
} // namespace test
