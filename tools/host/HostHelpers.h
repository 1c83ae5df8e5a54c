#pragma once

#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <memory>
#include <thread>

// Loads plug-ins from disk the way a host does, through the framework's VST3
// and LV2 hosting, without linking any of the plug-in's own code.
namespace host
{
struct Loader
{
    juce::AudioPluginFormatManager formats;
    Loader();

    // A built VST3 bundle, or an LV2 URI found in a folder of bundles.
    std::unique_ptr<juce::AudioPluginInstance> loadVST3 (const juce::String& bundlePath, double sr, int block, juce::String& error);
    std::unique_ptr<juce::AudioPluginInstance> loadLV2 (const juce::String& uri, const juce::String& searchFolder, double sr, int block, juce::String& error);

private:
    std::unique_ptr<juce::AudioPluginInstance> load (juce::AudioPluginFormat& format, const juce::String& identifier,
                                                     double sr, int block, juce::String& error);
};

// Processes in place in blocks of the given size.
void process (juce::AudioPluginInstance& p, juce::AudioBuffer<float>& audio, int block);

bool allFinite (const juce::AudioBuffer<float>& b);
float maxAbsDiff (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b);

// A voice-like deterministic stereo test signal.
juce::AudioBuffer<float> voiceLike (int numSamples, double sampleRate, juce::uint32 seed = 0x2468ace1u);

// A host's audio thread: processes a voice-like stereo block again and again
// under the plug-in's callback lock, pausing between blocks if asked, until
// it is destroyed.
class AudioThread
{
public:
    AudioThread (juce::AudioPluginInstance&, int blockSize, int pauseMs = 0);
    ~AudioThread();

    int blocks() const noexcept { return processed.load(); }
    bool allOutputFinite() const noexcept { return finite.load(); }

private:
    std::atomic<bool> stop { false }, finite { true };
    std::atomic<int> processed { 0 };
    std::thread thread;
};

} // namespace host
