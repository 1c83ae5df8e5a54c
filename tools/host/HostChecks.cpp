// The built VST3 and LV2 binaries in a real host: what a strict plug-in
// validator checks, run against the bundles on disk.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "HostHelpers.h"

#include <random>

namespace
{
struct ParamRow
{
    const char* name;
    float min, max, skew, def;
};

// What the host must see, in host order.
const ParamRow expectedParams[] = {
    { "Main Bypass", 0, 1, 1, 0 }, { "Input Gain", -48, 48, 1, 0 }, { "Output Gain", -48, 48, 1, 0 },
    { "Tone Bypass", 0, 1, 1, 0 }, { "HPF", 20, 500, 0.35f, 80 }, { "LPF", 4000, 20000, 0.35f, 20000 },
    { "Low", -18, 18, 1, 0 }, { "Mid", -18, 18, 1, 0 }, { "High", -18, 18, 1, 0 }, { "Air", -18, 18, 1, 0 },
    { "Compression Bypass", 0, 1, 1, 0 }, { "Comp Threshold", -60, 0, 1, -18 }, { "Comp Ratio", 1, 20, 1, 3 },
    { "Comp Attack", 0.1f, 100, 0.35f, 10 }, { "Comp Release", 5, 500, 0.35f, 80 }, { "Comp Makeup", 0, 24, 1, 0 },
    { "Character Bypass", 0, 1, 1, 0 }, { "De-Esser Freq", 3000, 10000, 0.35f, 6000 }, { "De-Esser Amount", 0, 100, 1, 20 },
    { "Saturation Drive", 0, 24, 1, 0 }, { "Saturation Mix", 0, 100, 1, 0 }, { "Space Bypass", 0, 1, 1, 0 },
    { "Width", 0, 200, 1, 100 }, { "Reverb Size", 0, 100, 1, 18 }, { "Reverb Damping", 0, 100, 1, 35 },
    { "Reverb Mix", 0, 100, 1, 0 },
};

// A VST3 host sees the plug-in's own skewed 0..1 values; an LV2 host maps the
// real range of each control linearly.
float normalised (const ParamRow& r, float v, bool skewed = true)
{
    const float linear = (v - r.min) / (r.max - r.min);
    return skewed ? std::pow (linear, r.skew) : linear;
}

juce::File tempDir()
{
    static juce::File dir = []
    {
        auto d = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("ondrel-host", "");
        d.createDirectory();
        return d;
    }();
    return dir;
}

// Hosts order parameters their own way (LV2 hosts sort them), so they are
// found by name.
juce::AudioProcessorParameter* param (juce::AudioPluginInstance& p, const juce::String& name)
{
    for (auto* q : p.getParameters())
        if (q->getName (100) == name)
            return q;
    ADD_FAILURE() << "no parameter " << name;
    static juce::AudioParameterFloat dummy ({ "dummy", 1 }, "dummy", 0.0f, 1.0f, 0.0f);
    return &dummy;
}

class Hosted : public ::testing::TestWithParam<const char*>
{
protected:
    host::Loader loader;

    std::unique_ptr<juce::AudioPluginInstance> load (double sr = 48000.0, int block = 512)
    {
        juce::String error;
        // The bundle path comes with ".." parts; hosts want it plain.
        const auto vst3 = juce::File::getCurrentWorkingDirectory().getChildFile (ONDREL_VST3_BUNDLE).getFullPathName();
        auto p = juce::String (GetParam()) == "VST3" ? loader.loadVST3 (vst3, sr, block, error)
                                                     : loader.loadLV2 (ONDREL_LV2_URI, ONDREL_LV2_FOLDER, sr, block, error);
        EXPECT_NE (p, nullptr) << error;
        return p;
    }

    static void prepare (juce::AudioPluginInstance& p, double sr, int block)
    {
        p.setRateAndBufferSizeDetails (sr, block);
        p.prepareToPlay (sr, block);
    }

    bool isVST3() const { return juce::String (GetParam()) == "VST3"; }

    // Sets a parameter in real units, the way this format's host maps it.
    void setReal (juce::AudioPluginInstance& p, const char* name, float value) const
    {
        for (const auto& r : expectedParams)
            if (juce::String (r.name) == name)
                param (p, name)->setValueNotifyingHost (normalised (r, value, isVST3()));
    }
};
} // namespace

TEST_P (Hosted, IdentityAndParameters)
{
    auto p = load();
    ASSERT_NE (p, nullptr);
    EXPECT_EQ (p->getName(), "Ondrel");
    EXPECT_EQ (p->getLatencySamples(), 0);
    if (isVST3())
    {
        EXPECT_NEAR (p->getTailLengthSeconds(), 1.5, 1e-9);
    }

    const auto& params = p->getParameters();
    ASSERT_GE (params.size(), 26);
    for (int i = 0; i < 26; ++i)
    {
        const auto& e = expectedParams[i];
        SCOPED_TRACE (e.name);
        // A VST3 host keeps the plug-in's order; an LV2 host sorts by its own rule.
        auto* q = isVST3() ? params[i] : param (*p, e.name);
        EXPECT_EQ (q->getName (100), juce::String (e.name));
        EXPECT_NEAR (q->getDefaultValue(), normalised (e, e.def, isVST3()), 1e-5);
        EXPECT_NEAR (q->getValue(), normalised (e, e.def, isVST3()), 1e-5);
        EXPECT_TRUE (q->isAutomatable());
    }
    // Beyond ours, at most the wrapper's own host bypass.
    EXPECT_LE (params.size(), 27);
}

TEST_P (Hosted, BusLayouts)
{
    auto p = load();
    ASSERT_NE (p, nullptr);
    using S = juce::AudioChannelSet;
    auto supports = [&p] (S in, S out)
    {
        juce::AudioProcessor::BusesLayout l;
        l.inputBuses.add (in);
        l.outputBuses.add (out);
        return p->checkBusesLayoutSupported (l);
    };
    EXPECT_TRUE (supports (S::stereo(), S::stereo()));
    if (isVST3()) // an LV2 bundle publishes its stereo ports only
    {
        EXPECT_TRUE (supports (S::mono(), S::mono()));
    }
    EXPECT_FALSE (supports (S::mono(), S::stereo()));
    EXPECT_FALSE (supports (S::stereo(), S::mono()));
    EXPECT_FALSE (supports (S::create5point1(), S::create5point1()));
}

TEST_P (Hosted, ProcessesAtEveryRateAndBlockSize)
{
    for (double sr : { 22050.0, 44100.0, 48000.0, 96000.0, 192000.0 })
    {
        for (int block : { 1, 17, 512, 4096, 16384 })
        {
            SCOPED_TRACE (juce::String (sr) + " Hz, block " + juce::String (block));
            auto p = load (sr, block);
            ASSERT_NE (p, nullptr);
            prepare (*p, sr, block);
            auto audio = host::voiceLike (juce::jmax (block * 2, (int) (sr * 0.1)), sr);
            const auto in = audio;
            host::process (*p, audio, block);
            EXPECT_TRUE (host::allFinite (audio));
            EXPECT_GT (host::maxAbsDiff (audio, in), 1.0e-4f); // processed, not passed through
            EXPECT_LT (audio.getMagnitude (0, audio.getNumSamples()), 4.0f);
        }
    }
}

TEST_P (Hosted, StateRoundTripGivesTheSameSound)
{
    auto a = load();
    ASSERT_NE (a, nullptr);
    const std::pair<const char*, float> moves[] = { { "HPF", 0.4f }, { "Mid", 0.8f }, { "Saturation Drive", 0.5f },
                                                    { "Saturation Mix", 0.3f }, { "Reverb Mix", 0.25f } };
    for (auto [name, v] : moves)
        param (*a, name)->setValueNotifyingHost (v);
    prepare (*a, 48000.0, 512);
    auto warm = host::voiceLike (24000, 48000.0);
    host::process (*a, warm, 512);

    juce::MemoryBlock state;
    a->getStateInformation (state);
    ASSERT_GT (state.getSize(), 100u);

    auto b = load();
    ASSERT_NE (b, nullptr);
    b->setStateInformation (state.getData(), (int) state.getSize());
    if (isVST3()) // an LV2 host learns restored values only from later plug-in messages
    {
        for (auto [name, v] : moves)
            EXPECT_NEAR (param (*b, name)->getValue(), v, 1e-3) << name;
    }

    // Read back and saved again: byte for byte the same.
    juce::MemoryBlock again;
    b->getStateInformation (again);
    EXPECT_EQ (again, state);

    // Both fresh from a prepare: identical output.
    auto c = load();
    ASSERT_NE (c, nullptr);
    c->setStateInformation (state.getData(), (int) state.getSize());
    prepare (*b, 48000.0, 512);
    prepare (*c, 48000.0, 512);
    auto x = host::voiceLike (48000, 48000.0), y = x;
    host::process (*b, x, 512);
    host::process (*c, y, 512);
    EXPECT_EQ (host::maxAbsDiff (x, y), 0.0f);
}

TEST_P (Hosted, MatchesTheOfflineRenderer)
{
    // The same settings given to the renderer (--set) and to the hosted
    // plug-in (its host parameters), the same file, the same 512-sample blocks.
    const std::pair<const char*, const char*> settings[] = {
        { "hpfFreq", "HPF" }, { "midGain", "Mid" }, { "compRatio", "Comp Ratio" }, { "compMakeup", "Comp Makeup" },
        { "deEssAmount", "De-Esser Amount" }, { "satDrive", "Saturation Drive" }, { "satMix", "Saturation Mix" },
        { "width", "Width" }, { "reverbMix", "Reverb Mix" } };
    const float values[] = { 120.0f, 6.0f, 5.0f, 4.0f, 60.0f, 12.0f, 40.0f, 160.0f, 30.0f };

    const auto dir = tempDir();
    const auto input = dir.getChildFile ("input.wav"), rendered = dir.getChildFile ("rendered.wav");
    const auto source = host::voiceLike (3 * 48000, 48000.0);
    {
        input.deleteFile();
        juce::WavAudioFormat wav;
        std::unique_ptr<juce::AudioFormatWriter> w (wav.createWriterFor (new juce::FileOutputStream (input), 48000.0, 2, 32, {}, 0));
        ASSERT_NE (w, nullptr);
        w->writeFromAudioSampleBuffer (source, 0, source.getNumSamples());
    }
    juce::StringArray cmd { ONDREL_RENDER_EXE, "--quiet", "--tail", "0", "--bits", "32" };
    for (size_t i = 0; i < std::size (settings); ++i)
        cmd.addArray ({ "--set", juce::String (settings[i].first) + "=" + juce::String (values[i]) });
    cmd.addArray ({ input.getFullPathName(), rendered.getFullPathName() });
    juce::ChildProcess render;
    ASSERT_TRUE (render.start (cmd));
    render.readAllProcessOutput();
    ASSERT_EQ (render.getExitCode(), 0u);

    juce::AudioFormatManager fm;
    fm.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader (fm.createReaderFor (rendered));
    ASSERT_NE (reader, nullptr);
    juce::AudioBuffer<float> expected (2, (int) reader->lengthInSamples);
    reader->read (&expected, 0, expected.getNumSamples(), 0, true, true);

    auto p = load();
    ASSERT_NE (p, nullptr);
    for (size_t i = 0; i < std::size (settings); ++i)
        setReal (*p, settings[i].second, values[i]);
    prepare (*p, 48000.0, 512);
    auto audio = source;
    host::process (*p, audio, 512);

    if (! isVST3())
    {
        // An LV2 host delivers parameter changes with the first run, after
        // activation, so the first moments glide from the defaults (width,
        // makeup) where the renderer starts from the settings; once those
        // transients have died away the two are the same to float rounding.
        juce::AudioBuffer<float> a (audio.getArrayOfWritePointers(), 2, 2 * 48000, 48000);
        juce::AudioBuffer<float> e (expected.getArrayOfWritePointers(), 2, 2 * 48000, 48000);
        EXPECT_LT (host::maxAbsDiff (a, e), 1.0e-5f);
        return;
    }
    EXPECT_LT (host::maxAbsDiff (audio, expected), 1.0e-5f);
    EXPECT_GT (host::maxAbsDiff (audio, source), 0.01f);
}

TEST_P (Hosted, AutomationEvery32SamplesWhileProcessing)
{
    auto p = load();
    ASSERT_NE (p, nullptr);
    prepare (*p, 48000.0, 512);
    std::vector<juce::AudioProcessorParameter*> automated;
    for (int i = 1; i < 26; ++i) // never the main switch: keep the chain running
        automated.push_back (param (*p, expectedParams[i].name));
    std::mt19937 rng (3);
    std::uniform_real_distribution<float> unit (0.0f, 1.0f);
    juce::MidiBuffer midi;
    auto audio = host::voiceLike (48000 * 4, 48000.0);

    for (int start = 0; start < audio.getNumSamples(); start += 32)
    {
        for (int k = 0; k < 3; ++k)
        {
            const auto i = (size_t) (unit (rng) * 24.99f);
            automated[i]->setValueNotifyingHost (unit (rng));
        }
        juce::AudioBuffer<float> view (audio.getArrayOfWritePointers(), 2, start, 32);
        const juce::ScopedLock sl (p->getCallbackLock());
        p->processBlock (view, midi);
    }
    EXPECT_TRUE (host::allFinite (audio));
    // +48 dB input, up to +36 dB of EQ, makeup, +8.4 dB saturation, +48 dB output:
    // finite and far below what a runaway filter would give.
    EXPECT_LT (audio.getMagnitude (0, audio.getNumSamples()), 1.0e6f);
}

TEST_P (Hosted, NewRateWithoutReleaseAndBlocksTwiceThePreparedSize)
{
    auto p = load (44100.0, 512);
    ASSERT_NE (p, nullptr);
    prepare (*p, 44100.0, 512);
    auto a = host::voiceLike (8192, 44100.0);
    host::process (*p, a, 512);
    prepare (*p, 96000.0, 256); // no releaseResources in between
    auto b = host::voiceLike (16384, 96000.0);
    const auto bIn = b;
    host::process (*p, b, 256);
    EXPECT_TRUE (host::allFinite (b));
    EXPECT_GT (host::maxAbsDiff (b, bIn), 1.0e-4f);

    // LV2 hosts may run blocks up to twice the size they announced. (The
    // framework's VST3 host sizes its own buffers at prepare time, so the
    // check is for LV2.) A double-size block sounds as two blocks do.
    if (isVST3())
        return;
    auto q = load (96000.0, 256);
    ASSERT_NE (q, nullptr);
    prepare (*q, 96000.0, 256);
    auto c = bIn;
    host::process (*q, c, 256);
    auto r = load (96000.0, 256);
    ASSERT_NE (r, nullptr);
    prepare (*r, 96000.0, 256);
    auto d = bIn;
    host::process (*r, d, 512);
    EXPECT_TRUE (host::allFinite (d));
    EXPECT_LT (host::maxAbsDiff (c, d), 1.0e-6f);
}

TEST_P (Hosted, StateFromAnotherThreadWhileProcessing)
{
    auto p = load();
    ASSERT_NE (p, nullptr);
    prepare (*p, 48000.0, 512);
    juce::MemoryBlock state;
    p->getStateInformation (state);

    {
        const host::AudioThread audio (*p, 512);
        for (int i = 0; i < 100; ++i)
        {
            juce::MemoryBlock m;
            p->getStateInformation (m);
            p->setStateInformation (state.getData(), (int) state.getSize());
        }
    }
    juce::MemoryBlock last;
    p->getStateInformation (last);
    EXPECT_GT (last.getSize(), 100u);
}

// Opens the plug-in's own editor in a window, as a host does, while audio
// runs on another thread: shown, resized by the host, closed, ten times over.
TEST_P (Hosted, EditorOpensResizesAndClosesWhileProcessing)
{
    if (juce::SystemStats::getEnvironmentVariable ("DISPLAY", {}).isEmpty())
        GTEST_SKIP() << "needs a display; scripts/test runs the suite under xvfb-run";

    auto p = load();
    ASSERT_NE (p, nullptr);
    prepare (*p, 48000.0, 512);
    ASSERT_TRUE (p->hasEditor());

    auto audio = std::make_unique<host::AudioThread> (*p, 512, 2);
    auto pump = [] (int ms) { juce::MessageManager::getInstance()->runDispatchLoopUntil (ms); };

    for (int round = 0; round < 10; ++round)
    {
        std::unique_ptr<juce::AudioProcessorEditor> editor (p->createEditorIfNeeded());
        ASSERT_NE (editor, nullptr) << round;
        editor->addToDesktop (juce::ComponentPeer::windowIsResizable);
        editor->setVisible (true);
        pump (60);

        const auto before = editor->getBounds();
        EXPECT_GT (before.getWidth(), 100) << round;
        EXPECT_GT (before.getHeight(), 50) << round;

        // The host makes the window bigger, then smaller again.
        editor->setSize (before.getWidth() + 185, before.getHeight() + 100);
        pump (60);
        EXPECT_GT (editor->getWidth(), before.getWidth()) << round;
        editor->setSize (before.getWidth(), before.getHeight());
        pump (60);

        // Closed as a host closes it: the window first, then the editor once
        // the window's last events have been handled. (The framework's X11
        // embedding posts a call with a raw pointer on each configure event;
        // deleting the editor before it runs would crash the host itself.)
        editor->setVisible (false);
        editor->removeFromDesktop();
        pump (100);
        editor.reset();
        pump (20);
    }

    EXPECT_GT (audio->blocks(), 20);
    EXPECT_TRUE (audio->allOutputFinite());
    audio.reset();
}

INSTANTIATE_TEST_SUITE_P (Formats, Hosted, ::testing::Values ("VST3", "LV2"),
                          [] (const auto& testInfo) { return std::string (testInfo.param); });
