// Locks the sound of the whole chain before any optimisation: a fixed render
// with every stage working (and every switch crossfading once) must stay within
// float rounding (1e-6, -120 dBFS) of the stored samples. Regenerate after an
// intended change of the sound with ONDREL_REGENERATE_GOLDEN=1.
#include <gtest/gtest.h>

#include "TestHelpers.h"

using namespace test;

namespace
{
juce::File goldenFile()
{
    return juce::File (ONDREL_SOURCE_DIR).getChildFile ("tests/golden/every-stage.txt");
}

// A voice-like signal that every build reproduces bit for bit: harmonics, a
// burst of high-frequency "sibilance" and xorshift noise.
juce::AudioBuffer<float> voiceLike (int numSamples, double sr)
{
    juce::AudioBuffer<float> b (2, numSamples);
    juce::uint32 state = 0x12345678u;
    for (int i = 0; i < numSamples; ++i)
    {
        state ^= state << 13; state ^= state >> 17; state ^= state << 5;
        const float n = ((float) (state & 0xffffff) / 8388608.0f - 1.0f) * 0.03f;
        const double t = i / sr;
        double v = 0.0;
        for (int h = 1; h <= 5; ++h)
            v += std::sin (2.0 * juce::MathConstants<double>::pi * 165.0 * h * t) / (h * 2.0);
        const double ess = (t > 0.6 && t < 0.9) ? 0.25 * std::sin (2.0 * juce::MathConstants<double>::pi * 7300.0 * t) : 0.0;
        b.setSample (0, i, (float) (0.4 * v + ess) + n);
        b.setSample (1, i, (float) (0.36 * v + 0.8 * ess) - n);
    }
    return b;
}

juce::AudioBuffer<float> renderEveryStage()
{
    Harness h (48000.0, 512);
    h.everyStage();

    const int n = 512 * 190; // about two seconds
    auto audio = voiceLike (n, 48000.0);
    const char* switches[] = { ParamIDs::toneBypass, ParamIDs::compBypass, ParamIDs::characterBypass,
                               ParamIDs::spaceBypass, ParamIDs::mainBypass };
    juce::MidiBuffer midi;
    for (int block = 0; block * 512 < n; ++block)
    {
        // Each switch goes off and back on once, so every crossfade path runs.
        if (block >= 40 && block < 140 && block % 20 == 0)
            h.set (switches[(block - 40) / 20], 1.0f);
        if (block >= 50 && block < 150 && block % 20 == 10)
            h.set (switches[(block - 50) / 20], 0.0f);
        if (block == 160)
            h.set (ParamIDs::width, 60.0f);
        juce::AudioBuffer<float> view (audio.getArrayOfWritePointers(), 2, block * 512, 512);
        h.proc->processBlock (view, midi);
    }
    return audio;
}
} // namespace

TEST (Golden, EveryStageRenderIsUnchanged)
{
    const auto out = renderEveryStage();
    constexpr int stride = 61;

    if (juce::SystemStats::getEnvironmentVariable ("ONDREL_REGENERATE_GOLDEN", {}).isNotEmpty())
    {
        juce::String text;
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < out.getNumSamples(); i += stride)
                text << juce::String (out.getSample (ch, i), 9) << "\n";
        ASSERT_TRUE (goldenFile().replaceWithText (text));
        GTEST_SKIP() << "golden samples written to " << goldenFile().getFullPathName();
    }

    auto lines = juce::StringArray::fromLines (goldenFile().loadFileAsString().trim());
    const int perChannel = (out.getNumSamples() + stride - 1) / stride;
    ASSERT_EQ (lines.size(), 2 * perChannel) << "missing or stale " << goldenFile().getFullPathName();

    float worst = 0.0f, peak = 0.0f;
    int k = 0;
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < out.getNumSamples(); i += stride, ++k)
        {
            worst = std::max (worst, std::abs (out.getSample (ch, i) - lines[k].getFloatValue()));
            peak = std::max (peak, std::abs (out.getSample (ch, i)));
        }
    EXPECT_LT (worst, 1.0e-6f) << "largest difference " << dB (worst) << " dBFS";
    EXPECT_GT (peak, 0.1f); // the render is not silence
}
