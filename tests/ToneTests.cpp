// Tone responses measured on rendered sines against the analytic magnitude of
// the designs (double precision, written out here from the textbook formulas).
#include <gtest/gtest.h>

#include "TestHelpers.h"

#include <complex>

using namespace test;

namespace
{
using cd = std::complex<double>;
constexpr double pi = juce::MathConstants<double>::pi;

struct Biquad
{
    double b0, b1, b2, a0, a1, a2;

    // The designs run in single precision; at low frequencies and high rates
    // that rounding moves the response by a few hundredths of a dB, so the
    // model rounds its normalised coefficients the same way.
    double magnitude (double f, double fs) const
    {
        const double n0 = (float) (b0 / a0), n1 = (float) (b1 / a0), n2 = (float) (b2 / a0);
        const double d1 = (float) (a1 / a0), d2 = (float) (a2 / a0);
        const cd z1 = std::exp (cd (0.0, -2.0 * pi * f / fs));
        return std::abs ((n0 + n1 * z1 + n2 * z1 * z1) / (1.0 + d1 * z1 + d2 * z1 * z1));
    }
};

Biquad highPass (double f, double fs)
{
    const double K = std::tan (pi * f / fs), n = 1.0 / (1.0 + std::sqrt (2.0) * K + K * K);
    return { n, -2 * n, n, 1, 2 * n * (K * K - 1), n * (1 - std::sqrt (2.0) * K + K * K) };
}

Biquad lowPass (double f, double fs)
{
    const double K = std::tan (pi * f / fs), n = 1.0 / (1.0 + std::sqrt (2.0) * K + K * K);
    return { n * K * K, 2 * n * K * K, n * K * K, 1, 2 * n * (K * K - 1), n * (1 - std::sqrt (2.0) * K + K * K) };
}

Biquad shelf (bool high, double f0, double dB, double fs)
{
    const double A = std::pow (10.0, dB / 40.0), w = 2 * pi * f0 / fs, c = std::cos (w);
    const double J = std::sqrt (A) * std::sin (w) / 0.707;
    if (! high)
        return { A * ((A + 1) - (A - 1) * c + J), 2 * A * ((A - 1) - (A + 1) * c), A * ((A + 1) - (A - 1) * c - J),
                 (A + 1) + (A - 1) * c + J, -2 * ((A - 1) + (A + 1) * c), (A + 1) + (A - 1) * c - J };
    return { A * ((A + 1) + (A - 1) * c + J), -2 * A * ((A - 1) + (A + 1) * c), A * ((A + 1) + (A - 1) * c - J),
             (A + 1) - (A - 1) * c + J, 2 * ((A - 1) - (A + 1) * c), (A + 1) - (A - 1) * c - J };
}

Biquad peak (double f0, double dB, double fs)
{
    const double A = std::pow (10.0, dB / 40.0), w = 2 * pi * f0 / fs, c = std::cos (w), al = std::sin (w) / 1.8;
    return { 1 + al * A, -2 * c, 1 - al * A, 1 + al / A, -2 * c, 1 - al / A };
}

struct ToneSettings
{
    double hpf = 80, lpf = 20000, low = 0, mid = 0, high = 0, air = 0;
};

double analyticDb (const ToneSettings& s, double f, double fs)
{
    const Biquad stages[] = { highPass (s.hpf, fs), lowPass (s.lpf, fs), shelf (false, 120, s.low, fs),
                              peak (2500, s.mid, fs), shelf (true, 6500, s.high, fs), shelf (true, 12000, s.air, fs) };
    double m = 1.0;
    for (const auto& b : stages)
        m *= b.magnitude (f, fs);
    return dB (m);
}

double measuredDb (const ToneSettings& s, double f, double fs)
{
    Harness h (fs, 512);
    h.set (ParamIDs::hpfFreq, (float) s.hpf);
    h.set (ParamIDs::lpfFreq, (float) s.lpf);
    h.set (ParamIDs::lowGain, (float) s.low);
    h.set (ParamIDs::midGain, (float) s.mid);
    h.set (ParamIDs::highGain, (float) s.high);
    h.set (ParamIDs::airGain, (float) s.air);
    h.onlySection (ParamIDs::toneBypass);

    const int n = (int) (fs * 0.6);
    auto out = h.render (sine (2, n, f, fs, 0.25f));
    const int settle = (int) (fs * 0.3);
    return dB (toneAmplitude (out.getReadPointer (0), settle, n - settle, f, fs) / 0.25);
}
} // namespace

TEST (Tone, RenderedResponseMatchesTheDesigns)
{
    struct Case
    {
        const char* what;
        ToneSettings s;
        double freq;
        double landmarkDb; // an independent figure the design must give, or NAN
    };
    const Case cases[] = {
        { "HPF corner", { 200, 20000 }, 200, -3.0103 },
        { "LPF corner", { 20, 8000 }, 8000, -3.0103 },
        { "Mid +18 centre", { 20, 20000, 0, 18 }, 2500, 18.0 },
        { "Mid -18 centre", { 20, 20000, 0, -18 }, 2500, -18.0 },
        { "Low +6 deep", { 20, 20000, 6 }, 30, NAN },
        { "Low +6 at 120 Hz", { 20, 20000, 6 }, 120, 3.0 },
        { "Air +6 high", { 20, 20000, 0, 0, 0, 6 }, 18000, NAN },
        { "High -9", { 20, 20000, 0, 0, -9 }, 9000, NAN },
        { "all flat mid band", { 20, 20000 }, 1000, 0.0 },
        { "defaults", {}, 440, NAN },
    };

    for (double fs : { 44100.0, 96000.0 })
    {
        for (const auto& c : cases)
        {
            SCOPED_TRACE (juce::String (c.what) + " at " + juce::String (fs));
            const double expected = analyticDb (c.s, c.freq, fs);
            EXPECT_NEAR (measuredDb (c.s, c.freq, fs), expected, 0.05);
            if (! std::isnan (c.landmarkDb))
            {
                EXPECT_NEAR (expected, c.landmarkDb, 0.12); // the other bands and corners add a little
            }
        }
    }

    // "About" figures, the shelf alone (boosted minus flat, so the corners
    // cancel): +6 dB well below the Low shelf, +6 dB well above Air.
    EXPECT_NEAR (measuredDb ({ 20, 20000, 6 }, 30, 96000.0) - measuredDb ({ 20, 20000 }, 30, 96000.0), 6.0, 0.3);
    EXPECT_NEAR (measuredDb ({ 20, 20000, 0, 0, 0, 6 }, 30000, 96000.0) - measuredDb ({ 20, 20000 }, 30000, 96000.0), 6.0, 0.3);
}

TEST (Tone, RedesignOnlyWhenAValueMovesMoreThanAThousandth)
{
    // The host can only set 0.01 steps, so the raw value is written directly
    // to move it by less.
    auto renderWithRawMid = [] (float first, float second)
    {
        Harness h (48000.0, 512);
        h.onlySection (ParamIDs::toneBypass);
        h.proc->apvts.getRawParameterValue (ParamIDs::midGain)->store (first);
        h.prepare();
        auto in = noise (2, 8192, 0.3f, 2);
        h.process (in);
        h.proc->apvts.getRawParameterValue (ParamIDs::midGain)->store (second);
        return h.render (noise (2, 4096, 0.3f, 4));
    };

    const auto stay = renderWithRawMid (6.0f, 6.0f);
    const auto tiny = renderWithRawMid (6.0f, 6.0005f);
    const auto small = renderWithRawMid (6.0f, 6.002f);
    const auto direct = renderWithRawMid (6.002f, 6.002f);

    EXPECT_EQ (maxAbsDiff (stay, tiny, 0, 0, 4096), 0.0f);   // not redesigned
    EXPECT_GT (maxAbsDiff (stay, small, 0, 0, 4096), 0.0f);  // redesigned ...
    EXPECT_LT (maxAbsDiff (direct, small, 0, 2048, 2048), 1e-6f); // ... to the new value, once the switch transient is over
}

TEST (Tone, StereoChannelsShareCoefficientsNotState)
{
    Harness stereo (48000.0, 512), mono (48000.0, 512, 1);
    for (auto* h : { &stereo, &mono })
    {
        h->set (ParamIDs::midGain, 9.0f);
        h->set (ParamIDs::hpfFreq, 250.0f);
        h->onlySection (ParamIDs::toneBypass);
    }

    auto in = noise (2, 8192, 0.3f);
    in.clear (1, 0, 8192);
    juce::AudioBuffer<float> monoIn (1, 8192);
    monoIn.copyFrom (0, 0, in, 0, 0, 8192);

    auto out = stereo.render (in);
    auto monoOut = mono.render (monoIn);

    EXPECT_EQ (out.getMagnitude (1, 0, 8192), 0.0f);                 // nothing leaks into the silent channel
    EXPECT_LT (maxAbsDiff (out, monoOut, 0, 0, 8192), 1e-6f);        // the left channel as in mono
    EXPECT_GT (maxAbsDiff (out, in, 0, 0, 8192), 0.01f);             // and it was filtered
}

TEST (Tone, StableAndFiniteAtEveryRate)
{
    // Bands at or beyond Nyquist are held just below it.
    for (double fs : { 8000.0, 22050.0, 32000.0, 44100.0, 384000.0 })
    {
        SCOPED_TRACE (fs);
        Harness h (fs, 512);
        h.set (ParamIDs::lpfFreq, 20000.0f);
        h.set (ParamIDs::airGain, 18.0f);
        h.set (ParamIDs::highGain, 18.0f);
        h.set (ParamIDs::deEssFreq, 10000.0f);
        h.set (ParamIDs::deEssAmount, 100.0f);
        h.set (ParamIDs::hpfFreq, 500.0f);
        h.prepare();

        auto out = h.render (noise (2, (int) fs, 0.25f));
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < out.getNumSamples(); ++i)
                ASSERT_TRUE (std::isfinite (out.getSample (ch, i)));
        // +18 dB of shelving on a -12 dBFS noise stays well below +24 dBFS
        EXPECT_LT (out.getMagnitude (0, 0, out.getNumSamples()), 16.0f);
        EXPECT_GT (out.getMagnitude (0, 0, out.getNumSamples()), 0.01f);
    }

    // At 32 kHz the 20 kHz low-pass sits just below Nyquist: 1 kHz passes.
    ToneSettings s { 20, 20000 };
    EXPECT_NEAR (measuredDb (s, 1000, 32000.0), 0.0, 0.1);
}
