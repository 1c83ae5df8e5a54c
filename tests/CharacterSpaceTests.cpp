#include <gtest/gtest.h>

#include "TestHelpers.h"

using namespace test;

namespace
{
Harness characterOnly (float deEssAmount, float drive = 0.0f, float mix = 0.0f, int channels = 2)
{
    Harness h (48000.0, 512, channels);
    h.set (ParamIDs::deEssAmount, deEssAmount);
    h.set (ParamIDs::deEssFreq, 6000.0f);
    h.set (ParamIDs::satDrive, drive);
    h.set (ParamIDs::satMix, mix);
    h.onlySection (ParamIDs::characterBypass);
    return h;
}

Harness spaceOnly (float width, float reverbMix = 0.0f, int channels = 2)
{
    Harness h (48000.0, 512, channels);
    h.set (ParamIDs::width, width);
    h.set (ParamIDs::reverbMix, reverbMix);
    h.onlySection (ParamIDs::spaceBypass);
    return h;
}

constexpr int kSettled = 4800; // gain ramps and the reverb's own 10 ms smoothing are over
} // namespace

//==============================================================================
TEST (DeEsser, AmountZeroLeavesSignalAndStateAlone)
{
    auto h = characterOnly (0.0f);
    auto sibilant = sine (2, 24000, 8000.0, 48000.0, 0.5f);
    auto out = h.render (sibilant);
    EXPECT_EQ (maxAbsDiff (out, sibilant, 0, 960, 24000 - 960), 0.0f);

    // Had the detector or the envelope moved, the next block would differ from
    // that of an instance that never heard the sibilant.
    auto fresh = characterOnly (0.0f);
    fresh.render (constant (2, 24000, 0.0f));
    for (auto* x : { &h, &fresh })
        x->set (ParamIDs::deEssAmount, 100.0f);
    auto next = sine (2, 4096, 7000.0, 48000.0, 0.5f);
    EXPECT_EQ (maxAbsDiff (h.render (next), fresh.render (next), 0, 0, 4096), 0.0f);
}

TEST (DeEsser, SibilanceSettlesAtTheFloorWhileLowTonesPass)
{
    auto h = characterOnly (100.0f);
    auto out = h.render (sine (2, 48000, 8000.0, 48000.0, 0.5f));
    EXPECT_NEAR (toneAmplitude (out.getReadPointer (0), 24000, 24000, 8000.0, 48000.0) / 0.5, 0.35, 0.004);

    auto low = characterOnly (100.0f);
    out = low.render (sine (2, 48000, 200.0, 48000.0, 0.5f));
    EXPECT_NEAR (dB (toneAmplitude (out.getReadPointer (0), 24000, 24000, 200.0, 48000.0) / 0.5), 0.0, 0.01);
}

TEST (DeEsser, IsLinkedAcrossChannels)
{
    auto h = characterOnly (100.0f);
    juce::AudioBuffer<float> in (2, 48000);
    auto ess = sine (1, 48000, 8000.0, 48000.0, 0.5f);
    auto voice = sine (1, 48000, 300.0, 48000.0, 0.3f);
    in.copyFrom (0, 0, ess, 0, 0, 48000);
    in.copyFrom (1, 0, voice, 0, 0, 48000);

    auto out = h.render (in);
    // The sibilant on the left turns the right channel down by the same gain.
    for (int i = 30000; i < 30200; ++i)
    {
        if (std::abs (in.getSample (0, i)) < 0.05f || std::abs (in.getSample (1, i)) < 0.05f)
            continue;
        const float gl = out.getSample (0, i) / in.getSample (0, i);
        const float gr = out.getSample (1, i) / in.getSample (1, i);
        ASSERT_NEAR (gl, gr, 1e-5f) << i;
        ASSERT_LT (gr, 0.5f);
    }
}

TEST (Saturation, SkippedAtZeroDriveOrMix)
{
    for (auto [drive, mix] : { std::pair { 0.0f, 100.0f }, std::pair { 24.0f, 0.0f } })
    {
        auto h = characterOnly (0.0f, drive, mix);
        auto in = noise (2, 8192, 0.9f);
        EXPECT_EQ (maxAbsDiff (h.render (in), in, 0, 960, 8192 - 960), 0.0f);
    }
}

TEST (Saturation, FullDriveLimitsLoudAndLiftsQuiet)
{
    auto loud = characterOnly (0.0f, 24.0f, 100.0f);
    auto out = loud.render (constant (2, 4096, 1.0f));
    // comp * tanh (driveGain): 10^(-15.6/20) * tanh (15.85)
    EXPECT_NEAR (out.getSample (0, 4000), 0.16596, 1e-4);

    auto quiet = characterOnly (0.0f, 24.0f, 100.0f);
    out = quiet.render (constant (2, 4096, 1.0e-4f));
    EXPECT_NEAR (dB (out.getSample (1, 4000) / 1.0e-4), 0.35 * 24.0, 0.01);
}

//==============================================================================
TEST (Width, HundredIsTransparentAndZeroIsMono)
{
    auto in = noise (2, 16384, 0.5f);

    auto unity = spaceOnly (100.0f);
    auto out = unity.render (in);
    for (int ch = 0; ch < 2; ++ch)
        EXPECT_LT (maxAbsDiff (out, in, ch, kSettled, 16384 - kSettled), 1e-6f);

    auto mono = spaceOnly (0.0f);
    out = mono.render (in);
    for (int i = kSettled; i < 16384; i += 97)
    {
        const float mid = 0.5f * (in.getSample (0, i) + in.getSample (1, i));
        EXPECT_NEAR (out.getSample (0, i), mid, 1e-6f);
        EXPECT_NEAR (out.getSample (1, i), mid, 1e-6f);
    }
}

TEST (Width, WideningAMonoSourceAddsSyntheticSide)
{
    auto h = spaceOnly (200.0f);
    auto in = noise (1, 16384, 0.5f);
    juce::AudioBuffer<float> dual (2, 16384);
    dual.copyFrom (0, 0, in, 0, 0, 16384);
    dual.copyFrom (1, 0, in, 0, 0, 16384);

    auto out = h.render (dual);
    float largestSide = 0.0f;
    for (int i = kSettled; i < 16384; ++i)
    {
        const float mid = in.getSample (0, i);
        ASSERT_NEAR (out.getSample (0, i) + out.getSample (1, i), 2.0f * 0.96f * mid, 1e-5f) << i;
        // side = 0.48 * (t7 - t13) * 0.96, from the mid signal 7 and 13 ms ago
        const float t7 = in.getSample (0, i - 336), t13 = in.getSample (0, i - 624);
        ASSERT_NEAR (0.5f * (out.getSample (0, i) - out.getSample (1, i)), 0.48f * (t7 - t13) * 0.96f, 1e-5f) << i;
        largestSide = std::max (largestSide, std::abs (out.getSample (0, i) - out.getSample (1, i)));
    }
    EXPECT_GT (largestSide, 0.1f);
}

TEST (Width, WideningAWideSourceDoublesSideAndKeepsEnergy)
{
    auto h = spaceOnly (200.0f);
    auto in = noise (2, 48000, 0.5f); // independent channels: side energy = mid energy
    auto out = h.render (in);

    double inEnergy = 0, outEnergy = 0;
    for (int i = 24000; i < 48000; ++i)
    {
        const float mid = 0.5f * (in.getSample (0, i) + in.getSample (1, i));
        const float side = 0.5f * (in.getSample (0, i) - in.getSample (1, i));
        const float oMid = 0.5f * (out.getSample (0, i) + out.getSample (1, i));
        const float oSide = 0.5f * (out.getSample (0, i) - out.getSample (1, i));
        if (std::abs (mid) > 0.05f)
        {
            ASSERT_NEAR (oSide / oMid, 2.0f * side / mid, 1e-3f * std::max (1.0f, std::abs (2.0f * side / mid)));
        }
        inEnergy += mid * mid + side * side;
        outEnergy += oMid * oMid + oSide * oSide;
    }
    EXPECT_NEAR (outEnergy / inEnergy, 1.0, 0.05);
}

TEST (Width, ChangeGlidesOver25ms)
{
    auto h = spaceOnly (100.0f);
    auto in = noise (2, 8192, 0.5f, 9);
    h.process (in);
    h.set (ParamIDs::width, 200.0f);

    auto next = noise (2, 2048, 0.5f, 10);
    auto out = h.render (next);
    for (int k : { 0, 299, 599, 1198, 1199, 1500 })
    {
        const float mid = 0.5f * (next.getSample (0, k) + next.getSample (1, k));
        const float side = 0.5f * (next.getSample (0, k) - next.getSample (1, k));
        if (std::abs (mid) < 0.05f || std::abs (side) < 0.05f)
            continue;
        const float oMid = 0.5f * (out.getSample (0, k) + out.getSample (1, k));
        const float oSide = 0.5f * (out.getSample (0, k) - out.getSample (1, k));
        const float x = (oSide * mid) / (oMid * side) - 1.0f;
        EXPECT_NEAR (x, juce::jmin (1.0f, (k + 1) / 1200.0f), 2e-3f) << k;
    }
}

TEST (Width, MonoLayoutSkipsTheStage)
{
    auto h = spaceOnly (0.0f, 0.0f, 1);
    auto in = noise (1, 16384, 0.5f);
    EXPECT_LT (maxAbsDiff (h.render (in), in, 0, kSettled, 16384 - kSettled), 1e-6f);
}

//==============================================================================
TEST (Reverb, MixFollowsTheConstantPowerLaw)
{
    struct Row { float mix; double wet, dry; };
    const Row table[] = { { 0, 0, 1 }, { 25, 0.1224, 0.9925 }, { 50, 0.2631, 0.9648 }, { 100, 0.5692, 0.8222 } };

    auto impulseResponse = [] (float mix)
    {
        auto h = spaceOnly (100.0f, mix);
        h.render (constant (2, kSettled, 0.0f));
        auto impulse = constant (2, 48000, 0.0f);
        impulse.setSample (0, 0, 1.0f);
        impulse.setSample (1, 0, 1.0f);
        return h.render (impulse);
    };

    auto full = impulseResponse (100.0f);
    double fullTail = 0;
    for (int i = 1; i < 48000; ++i)
        fullTail += std::abs (full.getSample (0, i));

    for (const auto& row : table)
    {
        SCOPED_TRACE (row.mix);
        auto ir = impulseResponse (row.mix);
        // The reverb's comb delays are far longer than one sample, so the
        // first output sample is the dry path alone.
        EXPECT_NEAR (ir.getSample (0, 0), row.dry, 1e-4);
        double tail = 0;
        for (int i = 1; i < 48000; ++i)
            tail += std::abs (ir.getSample (0, i));
        EXPECT_NEAR (tail / fullTail, row.wet / 0.5692, 2e-3);
    }
}

TEST (Reverb, TailAndDelayLineStartFromSilenceAfterAFade)
{
    auto h = spaceOnly (200.0f, 100.0f);
    h.set (ParamIDs::reverbSize, 95.0f);
    auto loud = noise (2, 24000, 0.8f);
    h.process (loud);

    h.set (ParamIDs::spaceBypass, 1.0f);
    auto silence = constant (2, 4096, 0.0f);
    h.process (silence);
    h.set (ParamIDs::spaceBypass, 0.0f);

    auto after = h.render (constant (2, 8192, 0.0f));
    EXPECT_EQ (after.getMagnitude (0, 0, 8192), 0.0f);
    EXPECT_EQ (after.getMagnitude (1, 0, 8192), 0.0f);
}
