#include "HostHelpers.h"

namespace host
{
Loader::Loader()
{
    formats.addFormat (new juce::VST3PluginFormat());
    formats.addFormat (new juce::LV2PluginFormat());
}

std::unique_ptr<juce::AudioPluginInstance> Loader::load (juce::AudioPluginFormat& format, const juce::String& identifier,
                                                         double sr, int block, juce::String& error)
{
    juce::OwnedArray<juce::PluginDescription> types;
    format.findAllTypesForFile (types, identifier);
    if (types.isEmpty())
    {
        error = "no plug-in found at " + identifier;
        return nullptr;
    }
    return formats.createPluginInstance (*types[0], sr, block, error);
}

std::unique_ptr<juce::AudioPluginInstance> Loader::loadVST3 (const juce::String& bundlePath, double sr, int block, juce::String& error)
{
    for (auto* f : formats.getFormats())
        if (f->getName() == "VST3")
            return load (*f, bundlePath, sr, block, error);
    error = "no VST3 hosting";
    return nullptr;
}

std::unique_ptr<juce::AudioPluginInstance> Loader::loadLV2 (const juce::String& uri, const juce::String& searchFolder,
                                                            double sr, int block, juce::String& error)
{
    for (auto* f : formats.getFormats())
    {
        if (f->getName() == "LV2")
        {
            if (searchFolder.isNotEmpty())
                f->searchPathsForPlugins (juce::FileSearchPath (searchFolder), true, false);
            return load (*f, uri, sr, block, error);
        }
    }
    error = "no LV2 hosting";
    return nullptr;
}

void process (juce::AudioPluginInstance& p, juce::AudioBuffer<float>& audio, int block)
{
    juce::MidiBuffer midi;
    for (int start = 0; start < audio.getNumSamples(); start += block)
    {
        const int n = juce::jmin (block, audio.getNumSamples() - start);
        juce::AudioBuffer<float> view (audio.getArrayOfWritePointers(), audio.getNumChannels(), start, n);
        const juce::ScopedLock sl (p.getCallbackLock());
        p.processBlock (view, midi);
    }
}

bool allFinite (const juce::AudioBuffer<float>& b)
{
    for (int ch = 0; ch < b.getNumChannels(); ++ch)
        for (int i = 0; i < b.getNumSamples(); ++i)
            if (! std::isfinite (b.getSample (ch, i)))
                return false;
    return true;
}

float maxAbsDiff (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    float m = 0.0f;
    for (int ch = 0; ch < juce::jmin (a.getNumChannels(), b.getNumChannels()); ++ch)
        for (int i = 0; i < juce::jmin (a.getNumSamples(), b.getNumSamples()); ++i)
            m = juce::jmax (m, std::abs (a.getSample (ch, i) - b.getSample (ch, i)));
    return m;
}

juce::AudioBuffer<float> voiceLike (int numSamples, double sr, juce::uint32 state)
{
    juce::AudioBuffer<float> b (2, numSamples);
    for (int i = 0; i < numSamples; ++i)
    {
        state ^= state << 13; state ^= state >> 17; state ^= state << 5;
        const float n = ((float) (state & 0xffffff) / 8388608.0f - 1.0f) * 0.03f;
        const double t = i / sr;
        const double f0 = 170.0 * (1.0 + 0.01 * std::sin (2.0 * juce::MathConstants<double>::pi * 5.0 * t));
        double v = 0.0;
        for (int h = 1; h <= 5; ++h)
            v += std::sin (2.0 * juce::MathConstants<double>::pi * f0 * h * t) / (h * 2.0);
        const double ess = std::fmod (t, 1.0) > 0.7 ? 0.2 * std::sin (2.0 * juce::MathConstants<double>::pi * 7100.0 * t) : 0.0;
        b.setSample (0, i, (float) (0.4 * v + ess) + n);
        b.setSample (1, i, (float) (0.36 * v + 0.8 * ess) - n);
    }
    return b;
}

AudioThread::AudioThread (juce::AudioPluginInstance& p, int blockSize, int pauseMs)
{
    thread = std::thread ([this, &p, blockSize, pauseMs]
    {
        auto buffer = voiceLike (blockSize, p.getSampleRate() > 0.0 ? p.getSampleRate() : 48000.0);
        juce::MidiBuffer midi;

        while (! stop)
        {
            {
                const juce::ScopedLock sl (p.getCallbackLock());
                p.processBlock (buffer, midi);
            }

            if (! allFinite (buffer))
                finite = false;

            ++processed;

            if (pauseMs > 0)
                std::this_thread::sleep_for (std::chrono::milliseconds (pauseMs));
        }
    });
}

AudioThread::~AudioThread()
{
    stop = true;
    thread.join();
}
} // namespace host
