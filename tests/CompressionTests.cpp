#include <gtest/gtest.h>

#include "TestHelpers.h"

using namespace test;

namespace
{
Harness compressorOnly (float thresh, float ratio, double fs = 48000.0)
{
    Harness h (fs, 512);
    h.set (ParamIDs::compThresh, thresh);
    h.set (ParamIDs::compRatio, ratio);
    h.set (ParamIDs::compAttack, 1.0f);
    h.set (ParamIDs::compRelease, 50.0f);
    h.onlySection (ParamIDs::compBypass);
    return h;
}
} // namespace

TEST (Compression, RatioOneIsTransparent)
{
    auto h = compressorOnly (-60.0f, 1.0f);
    auto in = noise (2, 16384, 0.9f);
    auto out = h.render (in);
    for (int ch = 0; ch < 2; ++ch)
        EXPECT_LT (maxAbsDiff (in, out, ch, 960, 16384 - 960), 1e-6f); // after the start-up gain ramp
}

TEST (Compression, ThresholdZeroOnlyTouchesSignalAboveFullScale)
{
    auto h = compressorOnly (0.0f, 8.0f);
    auto below = sine (2, 24000, 1000.0, 48000.0, 0.95f);
    auto out = h.render (below);
    EXPECT_LT (maxAbsDiff (below, out, 0, 960, 24000 - 960), 1e-6f);

    auto above = sine (2, 24000, 1000.0, 48000.0, 2.0f);
    out = h.render (above);
    EXPECT_LT (toneAmplitude (out.getReadPointer (0), 12000, 12000, 1000.0, 48000.0), 1.6);
}

TEST (Compression, ChannelsAreCompressedIndependently)
{
    auto h = compressorOnly (-18.0f, 4.0f);
    juce::AudioBuffer<float> in (2, 48000);
    auto loud = sine (1, 48000, 440.0, 48000.0, 0.9f);
    auto quiet = sine (1, 48000, 440.0, 48000.0, 0.05f); // -26 dBFS, below the threshold
    in.copyFrom (0, 0, loud, 0, 0, 48000);
    in.copyFrom (1, 0, quiet, 0, 0, 48000);

    auto out = h.render (in);
    const double left = toneAmplitude (out.getReadPointer (0), 24000, 24000, 440.0, 48000.0);
    const double right = toneAmplitude (out.getReadPointer (1), 24000, 24000, 440.0, 48000.0);
    EXPECT_LT (dB (left / 0.9), -6.0);              // 17 dB over a 4:1 threshold loses about 12 dB
    EXPECT_NEAR (dB (right / 0.05), 0.0, 0.01);     // untouched

    // Mono uses only the first compressor and behaves like the left channel.
    Harness mono (48000.0, 512, 1);
    mono.set (ParamIDs::compThresh, -18.0f);
    mono.set (ParamIDs::compRatio, 4.0f);
    mono.set (ParamIDs::compAttack, 1.0f);
    mono.set (ParamIDs::compRelease, 50.0f);
    mono.onlySection (ParamIDs::compBypass);
    auto monoOut = mono.render (loud);
    EXPECT_LT (maxAbsDiff (monoOut, out, 0, 0, 48000), 1e-6f);
}

TEST (Compression, StaticGainFollowsThresholdAndRatio)
{
    // A steady tone far above the threshold settles where the hard-knee law
    // puts it: threshold + (level - threshold) / ratio, with peak detection.
    auto h = compressorOnly (-30.0f, 5.0f);
    auto in = sine (2, 96000, 200.0, 48000.0, 0.5f); // peak -6.02 dBFS
    auto out = h.render (in);
    const double level = dB (toneAmplitude (out.getReadPointer (0), 72000, 24000, 200.0, 48000.0));
    EXPECT_NEAR (level, -30.0 + (-6.0206 + 30.0) / 5.0, 1.0);
}
