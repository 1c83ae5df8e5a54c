// The renderer, run as a user runs it: a child process on real files.
#include <gtest/gtest.h>

#include <juce_audio_formats/juce_audio_formats.h>

#include "TestHelpers.h"

using namespace test;

namespace
{
struct Result
{
    int exitCode;
    juce::String output; // stdout and stderr together
};

Result runRenderer (const juce::StringArray& args)
{
    juce::StringArray cmd { ONDREL_RENDER_EXE };
    cmd.addArray (args);
    juce::ChildProcess child;
    if (! child.start (cmd, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
        return { -1, "could not start" };
    auto text = child.readAllProcessOutput();
    child.waitForProcessToFinish (60000);
    return { (int) child.getExitCode(), text };
}

struct TempDir
{
    juce::File dir = juce::File::createTempFile ("ondrel-render-test");
    TempDir() { dir.createDirectory(); }
    ~TempDir() { dir.deleteRecursively(); }
    juce::String path (const char* name) const { return dir.getChildFile (name).getFullPathName(); }
};

void writeWav (const juce::File& f, const juce::AudioBuffer<float>& audio, double sr, int bits = 24)
{
    f.deleteFile();
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> w (wav.createWriterFor (new juce::FileOutputStream (f), sr,
                                                                     (unsigned) audio.getNumChannels(), bits, {}, 0));
    ASSERT_NE (w, nullptr);
    w->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
}

struct Loaded
{
    juce::AudioBuffer<float> audio;
    double sampleRate = 0;
    int bits = 0;
};

Loaded readAudio (const juce::File& f)
{
    juce::AudioFormatManager m;
    m.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> r (m.createReaderFor (f));
    Loaded l;
    if (r == nullptr)
        return l;
    l.audio.setSize ((int) r->numChannels, (int) r->lengthInSamples);
    r->read (&l.audio, 0, (int) r->lengthInSamples, 0, true, true);
    l.sampleRate = r->sampleRate;
    l.bits = (int) r->bitsPerSample;
    return l;
}
} // namespace

TEST (Renderer, RendersLikeAHostAndSaysWhatItDid)
{
    TempDir t;
    const auto in = t.dir.getChildFile ("in.wav");
    writeWav (in, sine (2, 44100, 2500.0, 44100.0, 0.1f), 44100.0);

    auto r = runRenderer ({ "--set", "midGain=18", "--set", "toneBypass=0", in.getFullPathName(), t.path ("out.wav") });
    ASSERT_EQ (r.exitCode, 0) << r.output;
    EXPECT_TRUE (r.output.contains ("peak in")) << r.output;

    const auto out = readAudio (t.dir.getChildFile ("out.wav"));
    EXPECT_EQ (out.audio.getNumChannels(), 2);
    EXPECT_EQ (out.sampleRate, 44100.0);
    EXPECT_EQ (out.bits, 24);                                   // as the input
    EXPECT_EQ (out.audio.getNumSamples(), 44100 + 66150);       // plus the 1.5 s tail
    // +18 dB at 2.5 kHz, then the default compressor pulls it back some way.
    const double gain = toneAmplitude (out.audio.getReadPointer (0), 22050, 22050, 2500.0, 44100.0) / 0.1;
    EXPECT_GT (dB (gain), 6.0);

    // Same file through the processor in memory, 512-sample blocks: identical.
    Harness h (44100.0, 512);
    h.set (ParamIDs::midGain, 18.0f);
    h.prepare();
    auto expected = h.render (readAudio (in).audio); // the file's own 24-bit samples
    EXPECT_LT (maxAbsDiff (expected, out.audio, 1, 0, 44100), 2.0f / (1 << 23));

    // Mono, float output, another block size and tail.
    writeWav (in, sine (1, 8000, 440.0, 22050.0, 0.5f), 22050.0, 16);
    r = runRenderer ({ "--quiet", "--bits", "32", "--block-size", "17", "--tail", "0.5", in.getFullPathName(), t.path ("mono.wav") });
    ASSERT_EQ (r.exitCode, 0) << r.output;
    EXPECT_TRUE (r.output.isEmpty()) << r.output;
    const auto mono = readAudio (t.dir.getChildFile ("mono.wav"));
    EXPECT_EQ (mono.audio.getNumChannels(), 1);
    EXPECT_EQ (mono.bits, 32);
    EXPECT_EQ (mono.audio.getNumSamples(), 8000 + 11025);
}

TEST (Renderer, BadInputFailsClearlyAndLosesNothing)
{
    TempDir t;
    const auto in = t.dir.getChildFile ("in.wav");
    writeWav (in, sine (2, 4410, 440.0, 44100.0, 0.5f), 44100.0);
    const auto wide = t.dir.getChildFile ("wide.wav");
    writeWav (wide, sine (3, 4410, 440.0, 44100.0, 0.5f), 44100.0);
    const auto junk = t.dir.getChildFile ("junk.wav");
    junk.replaceWithText ("not audio");

    const auto out = t.dir.getChildFile ("out.wav");
    const auto inPath = in.getFullPathName(), outPath = out.getFullPathName();

    struct Case { juce::StringArray args; const char* mustSay; };
    const Case cases[] = {
        { { "--set", "hpfFreqq=100", inPath, outPath }, "valid IDs: mainBypass" },
        { { "--set", "hpfFreq=1000", inPath, outPath }, "20 .. 500" },
        { { "--set", "hpfFreq=abc", inPath, outPath }, "not a number" },
        { { "--preset", "Nope", inPath, outPath }, "Airy, Bright" },
        { { "--bits", "12", inPath, outPath }, "16, 24 or 32" },
        { { t.path ("missing.wav"), outPath }, "no such file" },
        { { junk.getFullPathName(), outPath }, "not a supported audio file" },
        { { wide.getFullPathName(), outPath }, "3 channels" },
        { { inPath, inPath }, "output path is the input path" },
        { { inPath }, "expected INPUT and OUTPUT" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.args.joinIntoString (" "));
        out.replaceWithText ("precious");
        const auto r = runRenderer (c.args);
        EXPECT_NE (r.exitCode, 0);
        EXPECT_TRUE (r.output.contains (c.mustSay)) << r.output;
        EXPECT_EQ (r.output.trim().indexOfChar ('\n'), -1) << r.output; // one line
        EXPECT_EQ (out.loadFileAsString(), "precious");
        EXPECT_EQ (t.dir.getNumberOfChildFiles (juce::File::findFiles), 4); // no temporary left behind
    }
    EXPECT_GT (in.getSize(), 1000);
}

TEST (Renderer, PresetsStateAndMeters)
{
    TempDir t;
    const auto in = t.dir.getChildFile ("in.wav");
    writeWav (in, noise (2, 22050, 0.3f), 44100.0);

    auto r = runRenderer ({ "--list-parameters" });
    ASSERT_EQ (r.exitCode, 0);
    EXPECT_EQ (juce::StringArray::fromLines (r.output.trim()).size(), 26);

    r = runRenderer ({ "--list-presets" });
    EXPECT_TRUE (r.output.contains ("factory  Wide"));

    // Preset, then --set, then the chunk: the saved chunk holds both.
    r = runRenderer ({ "--preset", "Podcast", "--set", "reverbMix=10", "--save-state", t.path ("a.state"), "--meters",
                       "--meters-csv", t.path ("m.csv"), in.getFullPathName(), t.path ("a.wav") });
    ASSERT_EQ (r.exitCode, 0) << r.output;
    EXPECT_TRUE (r.output.contains ("factory preset 'Podcast'")) << r.output;
    EXPECT_TRUE (r.output.contains ("meters: inputLeft ")) << r.output;

    const auto rows = juce::StringArray::fromLines (t.dir.getChildFile ("m.csv").loadFileAsString().trim());
    EXPECT_EQ (rows.size(), 1 + (22050 + 66150 + 511) / 512);
    EXPECT_EQ (rows[0], "block,time,inputLeft,inputRight,outputLeft,outputRight");

    OndrelAudioProcessor p;
    juce::MemoryBlock chunk;
    ASSERT_TRUE (t.dir.getChildFile ("a.state").loadFileAsData (chunk));
    p.setStateInformation (chunk.getData(), (int) chunk.getSize());
    EXPECT_FLOAT_EQ (p.apvts.getRawParameterValue (ParamIDs::reverbMix)->load(), 10.0f);
    EXPECT_FLOAT_EQ (p.apvts.getRawParameterValue (ParamIDs::compRatio)->load(), 4.5f);

    // Loading that chunk in a second run renders the same audio.
    r = runRenderer ({ "--load-state", t.path ("a.state"), "--save-state", t.path ("b.state"), in.getFullPathName(), t.path ("b.wav") });
    ASSERT_EQ (r.exitCode, 0) << r.output;
    const auto a = readAudio (t.dir.getChildFile ("a.wav")), b = readAudio (t.dir.getChildFile ("b.wav"));
    EXPECT_EQ (maxAbsDiff (a.audio, b.audio, 0, 0, a.audio.getNumSamples()), 0.0f);
    EXPECT_EQ (t.dir.getChildFile ("a.state").loadFileAsString(), t.dir.getChildFile ("b.state").loadFileAsString());
}

TEST (Renderer, FindsUserPresetsAndPresetFiles)
{
    TempDir t;
    const auto in = t.dir.getChildFile ("in.wav");
    writeWav (in, noise (2, 4410, 0.3f), 44100.0);

    // A user preset in the (temporary) home folder, saved at +12 dB input gain.
    OndrelAudioProcessor p;
    setReal (p, ParamIDs::inputGain, 12.0f);
    setReal (p, ParamIDs::reverbMix, 44.0f);
    ASSERT_TRUE (p.saveUserPreset ("My Vox"));
    const auto file = p.presetManager.getPresetFile ("My Vox");

    auto r = runRenderer ({ "--list-presets" });
    EXPECT_TRUE (r.output.contains ("user     My Vox")) << r.output;

    r = runRenderer ({ "--preset", "My Vox", "--save-state", t.path ("u.state"), in.getFullPathName(), t.path ("u.wav") });
    ASSERT_EQ (r.exitCode, 0) << r.output;
    EXPECT_TRUE (r.output.contains ("user preset 'My Vox'")) << r.output;

    r = runRenderer ({ "--preset-file", file.getFullPathName(), "--save-state", t.path ("f.state"), in.getFullPathName(), t.path ("f.wav") });
    ASSERT_EQ (r.exitCode, 0) << r.output;

    for (auto* name : { "u.state", "f.state" })
    {
        OndrelAudioProcessor q;
        juce::MemoryBlock chunk;
        ASSERT_TRUE (t.dir.getChildFile (name).loadFileAsData (chunk));
        q.setStateInformation (chunk.getData(), (int) chunk.getSize());
        EXPECT_FLOAT_EQ (real (q, ParamIDs::reverbMix), 44.0f) << name;
        EXPECT_FLOAT_EQ (real (q, ParamIDs::inputGain), 0.0f) << name; // kept, as a user preset does
    }
    file.deleteFile();
}
