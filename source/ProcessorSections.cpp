// The four sections of the strip: Tone, Compression, Character and Space.
#include "PluginProcessor.h"

namespace
{
using Coeffs = std::array<float, 6>; // b0, b1, b2, a0, a1, a2

constexpr float kChangeThreshold = 0.001f;
constexpr float kSqrt2 = juce::MathConstants<float>::sqrt2;
constexpr float kPi = juce::MathConstants<float>::pi;

bool moved (float value, float lastApplied) noexcept
{
    return std::abs (value - lastApplied) > kChangeThreshold;
}

// The bilinear designs run past pi/2 in tan() and leave the unit circle once a
// band sits at or above Nyquist (the Air band at 22.05 kHz, the low-pass near
// 20 kHz at 32 kHz). Every band is therefore held just below Nyquist.
float limitToNyquist (float f, float fs) noexcept
{
    return juce::jmin (f, 0.49f * fs);
}

Coeffs designHighPass (float f, float fs) noexcept
{
    const float K = std::tan (kPi * limitToNyquist (f, fs) / fs);
    const float n = 1.0f / (1.0f + kSqrt2 * K + K * K);
    return { n, -2.0f * n, n, 1.0f, 2.0f * n * (K * K - 1.0f), n * (1.0f - kSqrt2 * K + K * K) };
}

Coeffs designLowPass (float f, float fs) noexcept
{
    const float D = 1.0f / std::tan (kPi * limitToNyquist (f, fs) / fs);
    const float E = 1.0f / (1.0f + kSqrt2 * D + D * D);
    return { E, 2.0f * E, E, 1.0f, 2.0f * E * (1.0f - D * D), E * (1.0f - kSqrt2 * D + D * D) };
}

float shelfA (float dB) noexcept
{
    return std::sqrt (juce::jmax (juce::Decibels::decibelsToGain (dB), 1.0e-15f));
}

// w0 of a fixed band: the constant 2*pi*f0 divided by fs, unless the band would
// sit above the Nyquist limit.
float bandAngle (float twoPiF0, float f0, float fs) noexcept
{
    const float limit = limitToNyquist (f0, fs);
    return limit < f0 ? 2.0f * kPi * limit / fs : twoPiF0 / fs;
}

Coeffs designLowShelf (float w0, float dB) noexcept
{
    const float A = shelfA (dB), c = std::cos (w0), J = std::sqrt (A) * std::sin (w0) / 0.707f;
    return { A * ((A + 1) - (A - 1) * c + J), 2 * A * ((A - 1) - (A + 1) * c), A * ((A + 1) - (A - 1) * c - J),
             (A + 1) + (A - 1) * c + J, -2 * ((A - 1) + (A + 1) * c), (A + 1) + (A - 1) * c - J };
}

Coeffs designHighShelf (float w0, float dB) noexcept
{
    const float A = shelfA (dB), c = std::cos (w0), J = std::sqrt (A) * std::sin (w0) / 0.707f;
    return { A * ((A + 1) + (A - 1) * c + J), -2 * A * ((A - 1) + (A + 1) * c), A * ((A + 1) + (A - 1) * c - J),
             (A + 1) - (A - 1) * c + J, 2 * ((A - 1) - (A + 1) * c), (A + 1) - (A - 1) * c - J };
}

Coeffs designPeak (float w0, float dB) noexcept
{
    const float A = shelfA (dB), c = std::cos (w0), alpha = std::sin (w0) / 1.8f;
    return { 1 + alpha * A, -2 * c, 1 - alpha * A, 1 + alpha / A, -2 * c, 1 - alpha / A };
}

// Writes into the coefficient objects the filters already own: no allocation.
void assign (std::array<juce::dsp::IIR::Filter<float>, 2>& pair, const Coeffs& c) noexcept
{
    for (auto& f : pair)
        *f.coefficients = c;
}

float dBToGain (float dB) noexcept
{
    return juce::Decibels::decibelsToGain (dB);
}
} // namespace

//==============================================================================
// Tone
void OndrelAudioProcessor::updateFiltersIfNeeded()
{
    const float hpf = readFloat (hpfFreqParam), lpf = readFloat (lpfFreqParam);
    const float low = readFloat (lowGainParam), mid = readFloat (midGainParam);
    const float high = readFloat (highGainParam), air = readFloat (airGainParam);
    const float deEss = readFloat (deEssFreqParam);
    const float fs = (float) currentSampleRate;

    if (moved (hpf, lastHpfFreq))
    {
        assign (hpfFilters, designHighPass (hpf, fs));
        lastHpfFreq = hpf;
    }
    if (moved (lpf, lastLpfFreq))
    {
        assign (lpfFilters, designLowPass (lpf, fs));
        lastLpfFreq = lpf;
    }
    if (moved (low, lastLowGain))
    {
        assign (lowShelfFilters, designLowShelf (bandAngle (753.98224f, 120.0f, fs), low));
        lastLowGain = low;
    }
    if (moved (mid, lastMidGain))
    {
        assign (midPeakFilters, designPeak (bandAngle (15707.964f, 2500.0f, fs), mid));
        lastMidGain = mid;
    }
    if (moved (high, lastHighGain))
    {
        assign (highShelfFilters, designHighShelf (bandAngle (40840.707f, 6500.0f, fs), high));
        lastHighGain = high;
    }
    if (moved (air, lastAirGain))
    {
        assign (airShelfFilters, designHighShelf (bandAngle (75398.23f, 12000.0f, fs), air));
        lastAirGain = air;
    }
    if (moved (deEss, lastDeEssFreq))
    {
        assign (deEssDetectorFilters, designHighPass (deEss, fs));
        lastDeEssFreq = deEss;
    }
}

void OndrelAudioProcessor::toneSectionProcessor (juce::AudioBuffer<float>& buffer)
{
    const int numSamples = buffer.getNumSamples();
    const int n = juce::jmin (buffer.getNumChannels(), 2);
    if (n == 0)
        return;

    // The cascade is linear, so running it stage by stage over the block gives
    // each filter exactly the samples it would get sample by sample. Within a
    // stage the two channels are independent chains, run side by side so that
    // one channel's arithmetic fills the other's latency.
    const FilterPair* stages[6] = { &hpfFilters, &lpfFilters, &lowShelfFilters, &midPeakFilters, &highShelfFilters, &airShelfFilters };
    float* left = buffer.getWritePointer (0);
    float* right = n > 1 ? buffer.getWritePointer (1) : nullptr;

    for (size_t k = 0; k < 6; ++k)
    {
        const float* c = (*stages[k])[0].coefficients->getRawCoefficients();
        const float b0 = c[0], b1 = c[1], b2 = c[2], a1 = c[3], a2 = c[4];
        auto& st = toneStates[k];
        float l1 = st[0].s1, l2 = st[0].s2;

        if (right == nullptr)
        {
            for (int i = 0; i < numSamples; ++i)
            {
                const float x = left[i];
                const float y = b0 * x + l1;
                l1 = b1 * x - a1 * y + l2;
                l2 = b2 * x - a2 * y;
                left[i] = y;
            }
        }
        else
        {
            float r1 = st[1].s1, r2 = st[1].s2;
            for (int i = 0; i < numSamples; ++i)
            {
                const float xl = left[i], xr = right[i];
                const float yl = b0 * xl + l1;
                const float yr = b0 * xr + r1;
                l1 = b1 * xl - a1 * yl + l2;
                r1 = b1 * xr - a1 * yr + r2;
                l2 = b2 * xl - a2 * yl;
                r2 = b2 * xr - a2 * yr;
                left[i] = yl;
                right[i] = yr;
            }
            st[1].s1 = r1;
            st[1].s2 = r2;
        }
        st[0].s1 = l1;
        st[0].s2 = l2;
    }
}

//==============================================================================
// Compression
void OndrelAudioProcessor::updateCompressorIfNeeded()
{
    const float thresh = readFloat (compThreshParam), ratio = readFloat (compRatioParam);
    const float attack = readFloat (compAttackParam), release = readFloat (compReleaseParam);

    if (! (moved (thresh, lastCompThresh) || moved (ratio, lastCompRatio)
           || moved (attack, lastCompAttack) || moved (release, lastCompRelease)))
        return;

    for (auto& c : compressors)
    {
        c.setThreshold (thresh);
        c.setRatio (ratio);
        c.setAttack (attack);
        c.setRelease (release);
    }

    lastCompThresh = thresh;
    lastCompRatio = ratio;
    lastCompAttack = attack;
    lastCompRelease = release;
}

void OndrelAudioProcessor::compressionSectionProcessor (juce::AudioBuffer<float>& buffer)
{
    const int numSamples = buffer.getNumSamples();
    const int n = juce::jmin (buffer.getNumChannels(), 2);

    for (int c = 0; c < n; ++c)
    {
        auto* d = buffer.getWritePointer (c);
        auto& comp = compressors[(size_t) c];
        for (int i = 0; i < numSamples; ++i)
            d[i] = comp.processSample (0, d[i]);
    }
}

//==============================================================================
// Character
void OndrelAudioProcessor::characterSectionProcessor (juce::AudioBuffer<float>& buffer)
{
    processDeEsser (buffer);
    processSaturation (buffer);
}

void OndrelAudioProcessor::processDeEsser (juce::AudioBuffer<float>& buffer)
{
    const int numChannels = buffer.getNumChannels();
    const int numSamples = buffer.getNumSamples();

    if (numChannels == 0 || deEssAmountParam == nullptr || numSamples == 0)
        return;

    const float amount = readFloat (deEssAmountParam);
    if (amount <= 0.01f)
        return;

    const float k = amount / 100.0f;
    const int n = juce::jmin (numChannels, 2);
    const float invN = 1.0f / (float) n;
    float* x0 = buffer.getWritePointer (0);
    float* x1 = numChannels > 1 ? buffer.getWritePointer (1) : nullptr;
    // Both detector filters hold the same coefficients.
    const float* coeffs = deEssDetectorFilters[0].coefficients->getRawCoefficients();
    const float b0 = coeffs[0], b1 = coeffs[1], b2 = coeffs[2], a1 = coeffs[3], a2 = coeffs[4];
    auto& d0 = deEssDetectorStates[0];
    auto& d1 = deEssDetectorStates[1];
    float env = deEssEnvelope;

    for (int i = 0; i < numSamples; ++i)
    {
        const float in0 = x0[i];
        const float y0 = b0 * in0 + d0.s1;
        d0.s1 = b1 * in0 - a1 * y0 + d0.s2;
        d0.s2 = b2 * in0 - a2 * y0;
        float s = std::abs (y0);
        if (n > 1)
        {
            const float in1 = x1[i];
            const float y1 = b0 * in1 + d1.s1;
            d1.s1 = b1 * in1 - a1 * y1 + d1.s2;
            d1.s2 = b2 * in1 - a2 * y1;
            s += std::abs (y1);
        }

        const float level = s * invN;
        const float c = level > env ? deEssAttackCoeff : deEssReleaseCoeff;
        env = c * env + (1.0f - c) * level;

        const float gain = juce::jlimit (0.35f, 1.0f, 1.0f / (1.0f + 35.0f * k * juce::jmax (env - 0.03f, 0.0f)));
        x0[i] *= gain;
        if (x1 != nullptr)
            x1[i] *= gain;
    }

    deEssEnvelope = env;
}

void OndrelAudioProcessor::processSaturation (juce::AudioBuffer<float>& buffer)
{
    if (satMixParam == nullptr)
        return;

    const float drive = readFloat (satDriveParam);
    const float mix = readFloat (satMixParam);
    if (drive <= 0.01f || mix <= 0.01f)
        return;

    const float driveGain = dBToGain (drive);
    const float wet = mix / 100.0f;
    const float comp = dBToGain (-0.65f * drive);
    const int numSamples = buffer.getNumSamples();

    for (int ch = 0; ch < buffer.getNumChannels(); ++ch)
    {
        auto* d = buffer.getWritePointer (ch);
        for (int i = 0; i < numSamples; ++i)
        {
            const float x = d[i];
            d[i] = x + (comp * std::tanh (driveGain * x) - x) * wet;
        }
    }
}

//==============================================================================
// Space
void OndrelAudioProcessor::updateReverbIfNeeded()
{
    const float size = readFloat (reverbSizeParam);
    const float damping = readFloat (reverbDampingParam);
    const float mixValue = readFloat (reverbMixParam);

    if (! (moved (size, lastReverbSize) || moved (damping, lastReverbDamping) || moved (mixValue, lastReverbMix)))
        return;

    // Constant-power balance: the reverb scales wet by 3 and dry by 2 inside,
    // so the effective gains are w*h and d*h with squares adding up to 1.
    const float m = juce::jlimit (0.0f, 1.0f, mixValue / 100.0f);
    const float w = 0.45f * m;
    const float d = 1.0f - 0.35f * m;
    const float h = 1.0f / std::sqrt (juce::jmax (w * w + d * d, 1.0e-6f));

    reverbParams.roomSize = juce::jlimit (0.0f, 1.0f, size / 100.0f);
    reverbParams.damping = juce::jlimit (0.0f, 1.0f, damping / 100.0f);
    reverbParams.wetLevel = w * h / 3.0f;
    reverbParams.dryLevel = d * h * 0.5f;
    reverbParams.width = 1.0f;
    reverbParams.freezeMode = 0.0f;
    reverb.setParameters (reverbParams);

    lastReverbSize = size;
    lastReverbDamping = damping;
    lastReverbMix = mixValue;
}

void OndrelAudioProcessor::spaceSectionProcessor (juce::AudioBuffer<float>& buffer)
{
    processStereoWidth (buffer);

    juce::dsp::AudioBlock<float> block (buffer);
    reverb.process (juce::dsp::ProcessContextReplacing<float> (block));
}

void OndrelAudioProcessor::processStereoWidth (juce::AudioBuffer<float>& buffer)
{
    const int numSamples = buffer.getNumSamples();

    if (buffer.getNumChannels() < 2 || numSamples == 0 || widthDelayLength < 2 || widthDelayLine.empty())
        return;

    widthSmoothed.setTargetValue (widthTarget());

    const int len = widthDelayLength;
    const int d7 = juce::jlimit (1, len - 1, (int) std::round (0.007 * currentSampleRate));
    const int d13 = juce::jlimit (1, len - 1, (int) std::round (0.013 * currentSampleRate));

    float* left = buffer.getWritePointer (0);
    float* right = buffer.getWritePointer (1);
    float* line = widthDelayLine.data();
    const float a = widthEnergyCoeff;
    int pos = widthDelayWritePos;
    float mE = midEnergy, sE = sideEnergy;

    const bool smoothing = widthSmoothed.isSmoothing();
    const float steadyW = widthSmoothed.getCurrentValue();
    const float steadyPow = std::pow (juce::jlimit (0.0f, 1.0f, (steadyW - 100.0f) / 100.0f), 0.78f);

    for (int i = 0; i < numSamples; ++i)
    {
        const float mid = 0.5f * (left[i] + right[i]);
        const float side = 0.5f * (left[i] - right[i]);

        mE = a * mE + (1.0f - a) * mid * mid;
        sE = a * sE + (1.0f - a) * side * side;

        int i7 = pos - d7;
        if (i7 < 0)
            i7 += len;
        int i13 = pos - d13;
        if (i13 < 0)
            i13 += len;
        const float t7 = line[i7];
        const float t13 = line[i13];

        line[pos] = mid;
        if (++pos >= len)
            pos = 0;

        const float W = smoothing ? widthSmoothed.getNextValue() : steadyW;

        if (W <= 100.0f)
        {
            const float s = juce::jlimit (0.0f, 1.0f, W / 100.0f);
            left[i] = mid + s * side;
            right[i] = mid - s * side;
        }
        else
        {
            const float ratio = std::sqrt (juce::jmax (sE, 1.0e-14f) / juce::jmax (mE, 1.0e-14f)) / 0.35f;
            const float x = juce::jlimit (0.0f, 1.0f, (W - 100.0f) / 100.0f);
            const float narrow = 1.0f - juce::jmin (ratio, 1.0f);
            // The power only changes while the width glides.
            const float xPow = smoothing ? std::pow (x, 0.78f) : steadyPow;
            const float enhancedSide = side * (1.0f + x) + (t7 - t13) * 0.48f * xPow * narrow;
            const float norm = (1.0f - 0.04f * x * narrow)
                               * std::sqrt ((mE + sE + 1.0e-9f) / (sE * (1.0f + x) * (1.0f + x) + mE + 1.0e-9f));
            left[i] = (mid + enhancedSide) * norm;
            right[i] = (mid - enhancedSide) * norm;
        }
    }

    widthDelayWritePos = pos;
    midEnergy = mE;
    sideEnergy = sE;
}
