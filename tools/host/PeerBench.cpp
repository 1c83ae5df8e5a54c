// The comparison benchmark: the built Ondrel LV2 against a chain of Debian
// LV2 plug-ins doing the same work (EQ, compressor, de-esser, saturation,
// stereo width, reverb), all hosted the same way, on the same stereo signal in
// 512-sample blocks. Prints one JSON line per run and the ratio.
#include "HostHelpers.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

namespace
{
struct Setting
{
    const char* name;  // the parameter's name as the plug-in publishes it
    const char* value; // in the parameter's own text units
};

struct Peer
{
    const char* role;
    const char* uri;
    std::vector<Setting> settings;
};

// Settings that make every stage work on a voice, close to the "every stage"
// case of ondrel-bench (Rock, drive 12 dB at 40 %, de-esser 60 %, width 160 %,
// reverb 30 %).
const std::vector<Peer>& peers()
{
    static const std::vector<Peer> list {
        { "eq", "http://gareus.org/oss/lv2/fil4#stereo",
          { { "Highpass", "On" }, { "Highpass Frequency", "95" }, { "Lowpass", "On" }, { "Lowpass Frequency", "16500" },
            { "Lowshelf Frequency", "120" }, { "Lowshelf Gain", "0.5" }, { "Frequency 4", "2500" }, { "Gain 4", "2.2" },
            { "Highshelf Frequency", "6500" }, { "Highshelf Gain", "1.8" }, { "Frequency 3", "9000" }, { "Gain 3", "0.8" } } },
        { "compressor", "http://calf.sourceforge.net/plugins/Compressor",
          { { "Threshold", "0.063" }, { "Ratio", "5" }, { "Attack", "4" }, { "Release", "55" }, { "Makeup Gain", "1.78" },
            { "Detection", "Peak" } } },
        { "de-esser", "http://calf.sourceforge.net/plugins/Deesser",
          { { "Threshold", "0.06" }, { "Ratio", "4" }, { "Split", "6500" } } },
        { "saturation", "http://calf.sourceforge.net/plugins/Saturator",
          { { "Input Gain", "4" }, { "Mix", "0.4" }, { "Saturation", "5" } } },
        { "width", "http://calf.sourceforge.net/plugins/StereoTools", { { "Stereo Base", "0.6" }, { "Delay", "7" } } },
        { "reverb", "http://calf.sourceforge.net/plugins/Reverb", { { "Wet Amount", "0.3" }, { "Decay time", "1.2" } } },
    };
    return list;
}

double threadCpuSeconds()
{
    timespec ts {};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &ts);
    return (double) ts.tv_sec + 1e-9 * (double) ts.tv_nsec;
}

// Sets a parameter from the text a host shows for it, by bisection over the
// normalised value (the hosted parameter only knows 0..1 and its text).
bool setByText (juce::AudioProcessorParameter& p, const juce::String& text)
{
    // Switches and choices: find the normalised value that shows this text.
    if (! text.containsOnly ("0123456789.-"))
    {
        for (int i = 0; i <= 1000; ++i)
        {
            if (p.getText ((float) i / 1000.0f, 64) == text)
            {
                p.setValueNotifyingHost ((float) i / 1000.0f);
                return true;
            }
        }
        return false;
    }

    const float target = text.getFloatValue();
    float lo = 0.0f, hi = 1.0f;
    const bool rising = p.getText (1.0f, 64).getFloatValue() >= p.getText (0.0f, 64).getFloatValue();
    for (int i = 0; i < 40; ++i)
    {
        const float mid = 0.5f * (lo + hi);
        const float v = p.getText (mid, 64).getFloatValue();
        if ((v < target) == rising)
            lo = mid;
        else
            hi = mid;
    }
    p.setValueNotifyingHost (0.5f * (lo + hi));
    return true;
}

juce::AudioProcessorParameter* byName (juce::AudioPluginInstance& p, const juce::String& name)
{
    for (auto* param : p.getParameters())
        if (param->getName (128) == name)
            return param;
    return nullptr;
}

double runChain (std::vector<std::unique_ptr<juce::AudioPluginInstance>>& chain, const juce::AudioBuffer<float>& input)
{
    for (auto& p : chain)
    {
        p->setRateAndBufferSizeDetails (48000.0, 512);
        p->prepareToPlay (48000.0, 512);
    }
    juce::AudioBuffer<float> audio (input);
    juce::MidiBuffer midi;
    const double start = threadCpuSeconds();
    for (int pos = 0; pos < audio.getNumSamples(); pos += 512)
    {
        const int n = juce::jmin (512, audio.getNumSamples() - pos);
        juce::AudioBuffer<float> view (audio.getArrayOfWritePointers(), 2, pos, n);
        for (auto& p : chain)
        {
            // Plug-ins with extra (side-chain) inputs get silence there.
            const int needed = juce::jmax (p->getTotalNumInputChannels(), p->getTotalNumOutputChannels());
            if (needed > 2)
            {
                juce::AudioBuffer<float> wide (needed, n);
                wide.clear();
                wide.copyFrom (0, 0, view, 0, 0, n);
                wide.copyFrom (1, 0, view, 1, 0, n);
                p->processBlock (wide, midi);
                view.copyFrom (0, 0, wide, 0, 0, n);
                view.copyFrom (1, 0, wide, 1, 0, n);
            }
            else
            {
                p->processBlock (view, midi);
            }
        }
    }
    const double cpu = threadCpuSeconds() - start;
    for (auto& p : chain)
        p->releaseResources();
    if (! host::allFinite (audio))
        std::fprintf (stderr, "warning: non-finite output\n");
    return cpu;
}
} // namespace

int runPeerBench (int argc, char** argv)
{
    const juce::ArgumentList args (argc, argv);
    host::Loader loader;
    juce::String error;

    if (args.containsOption ("--list"))
    {
        // ondrel-host bench --list URI: the parameter names of a plug-in.
        const auto uri = args[args.indexOfOption ("--list") + 1].text;
        auto p = loader.loadLV2 (uri, {}, 48000.0, 512, error);
        if (p == nullptr)
        {
            std::fprintf (stderr, "%s\n", error.toRawUTF8());
            return 1;
        }
        for (auto* param : p->getParameters())
            std::printf ("%-40s %s .. %s (now %s)\n", param->getName (128).toRawUTF8(), param->getText (0.0f, 64).toRawUTF8(),
                         param->getText (1.0f, 64).toRawUTF8(), param->getCurrentValueAsText().toRawUTF8());
        return 0;
    }

    const double seconds = 20.0;
    const int runs = 5;
    const auto input = host::voiceLike ((int) (48000.0 * seconds), 48000.0);

    // Ondrel, every stage working, from a state chunk the renderer wrote.
    std::vector<std::unique_ptr<juce::AudioPluginInstance>> ours;
    ours.push_back (loader.loadLV2 (ONDREL_LV2_URI, ONDREL_LV2_FOLDER, 48000.0, 512, error));
    if (ours[0] == nullptr)
    {
        std::fprintf (stderr, "cannot load Ondrel: %s\n", error.toRawUTF8());
        return 1;
    }
    {
        // The every-stage settings (Rock, then drive 12 dB at 40 %, de-esser
        // 60 %, width 160 %, reverb 30 %), through the host's parameters.
        const Setting every[] = {
            { "HPF", "95" }, { "LPF", "16500" }, { "Low", "0" }, { "Mid", "2.2" }, { "High", "1.8" }, { "Air", "0.8" },
            { "Comp Threshold", "-24" }, { "Comp Ratio", "5" }, { "Comp Attack", "4" }, { "Comp Release", "55" },
            { "Comp Makeup", "5" }, { "De-Esser Freq", "6500" }, { "De-Esser Amount", "60" }, { "Saturation Drive", "12" },
            { "Saturation Mix", "40" }, { "Width", "160" }, { "Reverb Size", "12" }, { "Reverb Damping", "42" },
            { "Reverb Mix", "30" } };
        for (const auto& s : every)
        {
            auto* param = byName (*ours[0], s.name);
            if (param == nullptr || ! setByText (*param, s.value))
                std::fprintf (stderr, "note: Ondrel: cannot set '%s'\n", s.name);
        }
    }

    std::vector<std::unique_ptr<juce::AudioPluginInstance>> chain;
    juce::StringArray names;
    for (const auto& peer : peers())
    {
        auto p = loader.loadLV2 (peer.uri, {}, 48000.0, 512, error);
        if (p == nullptr)
        {
            std::fprintf (stderr, "cannot load %s (%s): %s; install the peers with scripts/setup --bench\n", peer.role, peer.uri,
                          error.toRawUTF8());
            return 1;
        }
        for (const auto& s : peer.settings)
        {
            auto* param = byName (*p, s.name);
            if (param == nullptr || ! setByText (*param, s.value))
                std::fprintf (stderr, "note: %s: cannot set '%s' to %s\n", peer.uri, s.name, s.value);
        }
        names.add (juce::String (peer.role) + "=" + peer.uri);
        chain.push_back (std::move (p));
    }

    std::vector<double> oursCpu, peersCpu;
    for (int r = 0; r < runs; ++r)
    {
        oursCpu.push_back (runChain (ours, input));
        peersCpu.push_back (runChain (chain, input));
    }
    std::sort (oursCpu.begin(), oursCpu.end());
    std::sort (peersCpu.begin(), peersCpu.end());
    const double o = oursCpu[runs / 2], q = peersCpu[runs / 2];

    std::printf ("{\"case\":\"ondrel-lv2\",\"audioSeconds\":%.1f,\"runs\":%d,\"cpuSecondsMin\":%.4f,\"cpuSecondsMedian\":%.4f,\"timesRealTime\":%.1f}\n",
                 seconds, runs, oursCpu.front(), o, seconds / o);
    std::printf ("{\"case\":\"peer-chain-lv2\",\"audioSeconds\":%.1f,\"runs\":%d,\"cpuSecondsMin\":%.4f,\"cpuSecondsMedian\":%.4f,\"timesRealTime\":%.1f,\"chain\":\"%s\"}\n",
                 seconds, runs, peersCpu.front(), q, seconds / q, names.joinIntoString (" ").toRawUTF8());
    std::printf ("{\"case\":\"ratio\",\"peerCpuOverOndrelCpu\":%.2f}\n", q / o);
    return 0;
}
