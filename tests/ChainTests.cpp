// The chain frame: gain stages, main and section crossfades, makeup, blocks
// of every size. Expected values are worked out by hand from the ramp rules.
#include <gtest/gtest.h>

#include "TestHelpers.h"

using namespace test;

namespace
{
// All four sections bypassed: the chain is only gains and crossfades.
void bypassAllSections (Harness& h)
{
    for (auto* id : { ParamIDs::toneBypass, ParamIDs::compBypass, ParamIDs::characterBypass, ParamIDs::spaceBypass })
        h.set (id, 1.0f);
    h.prepare();
}
} // namespace

TEST (Chain, FirstBlockRampsUpFromSilenceOver20ms)
{
    Harness h (48000.0, 512);
    bypassAllSections (h);

    auto out = h.render (constant (2, 2048, 0.5f));
    // Input and output stages both ramp 0 -> 1 over 960 samples.
    for (int i : { 0, 1, 100, 479, 958 })
    {
        const double g = (i + 1) / 960.0;
        EXPECT_NEAR (out.getSample (0, i), 0.5 * g * g, 1e-5) << i;
    }
    for (int i : { 959, 960, 1500, 2047 })
        EXPECT_FLOAT_EQ (out.getSample (1, i), 0.5f) << i;
}

TEST (Chain, GainsAreDecibels)
{
    struct Case { float inDb, outDb; double expected; };
    const Case cases[] = { { 6.0f, 0.0f, 1.9952623 }, { 0.0f, -48.0f, 0.0039810717 }, { 48.0f, -48.0f, 1.0 }, { -12.0f, 6.0f, 0.5011872 } };
    for (const auto& c : cases)
    {
        Harness h (48000.0, 512);
        h.set (ParamIDs::inputGain, c.inDb);
        h.set (ParamIDs::outputGain, c.outDb);
        bypassAllSections (h);
        auto out = h.render (constant (2, 4096, 0.25f));
        EXPECT_NEAR (out.getSample (0, 4000) / 0.25, c.expected, 1e-5 * c.expected) << c.inDb << " " << c.outDb;
    }
}

TEST (Chain, MainBypassCrossfadesThenPassesThroughExactly)
{
    Harness h (48000.0, 256);
    h.set (ParamIDs::inputGain, 6.02f); // processed = about 2 x input
    bypassAllSections (h);

    auto warm = h.render (constant (2, 4096, 0.25f));
    const float g = juce::Decibels::decibelsToGain (6.02f);
    ASSERT_NEAR (warm.getSample (0, 4095), 0.25f * g, 1e-6);

    h.set (ParamIDs::mainBypass, 1.0f);
    auto in = noise (2, 4096, 0.5f, 7);
    auto out = h.render (in);

    for (int k : { 0, 100, 359, 718 })
    {
        const float v = 1.0f - (float) (k + 1) / 720.0f;
        const float dry = in.getSample (0, k);
        EXPECT_NEAR (out.getSample (0, k), dry + v * (g * dry - dry), 1e-5) << k;
    }
    // From the end of the fade: sample for sample the input.
    for (int ch = 0; ch < 2; ++ch)
        EXPECT_EQ (maxAbsDiff (out, in, ch, 719, 4096 - 719), 0.0f);

    EXPECT_EQ (h.proc->inputLevelLeft.load(), 0.0f);
    EXPECT_EQ (h.proc->outputLevelRight.load(), 0.0f);

    // Back on: a fade in from dry to processed over 720 samples.
    h.set (ParamIDs::mainBypass, 0.0f);
    auto back = h.render (constant (2, 1024, 0.25f));
    EXPECT_NEAR (back.getSample (0, 359), 0.25f + (360.0f / 720.0f) * (0.25f * g - 0.25f), 1e-6);
    EXPECT_NEAR (back.getSample (0, 1000), 0.25f * g, 1e-6);
}

TEST (Chain, MainBypassClearsEveryStateOnce)
{
    Harness h (48000.0, 512);
    h.set (ParamIDs::reverbMix, 100.0f);
    h.set (ParamIDs::reverbSize, 90.0f);
    h.prepare();
    auto loud = noise (2, 24000, 0.8f);
    h.process (loud);

    h.set (ParamIDs::mainBypass, 1.0f);
    auto silence = constant (2, 4096, 0.0f);
    h.process (silence);

    // Returning from bypass into silence: no reverb tail, no filter memory.
    h.set (ParamIDs::mainBypass, 0.0f);
    auto after = h.render (constant (2, 8192, 0.0f));
    for (int ch = 0; ch < 2; ++ch)
        EXPECT_EQ (after.getMagnitude (ch, 0, 8192), 0.0f);
}

TEST (Chain, SectionCrossfadeIsLinearBetweenItsInputAndItsOutput)
{
    // Three instances share the input: one with Tone on throughout, one with
    // Tone off throughout, one switching Tone off mid-stream.
    auto make = [] (bool toneOff)
    {
        auto h = std::make_unique<Harness> (48000.0, 512);
        h->set (ParamIDs::midGain, 12.0f);
        h->set (ParamIDs::hpfFreq, 300.0f);
        for (auto* id : { ParamIDs::compBypass, ParamIDs::characterBypass, ParamIDs::spaceBypass })
            h->set (id, 1.0f); // nothing downstream remembers what Tone did
        h->set (ParamIDs::toneBypass, toneOff ? 1.0f : 0.0f);
        h->prepare();
        return h;
    };
    auto on = make (false), off = make (true), switching = make (false);

    auto in = noise (2, 16384, 0.3f, 3);
    auto outOn = on->render (in), outOff = off->render (in);

    juce::AudioBuffer<float> first (in.getArrayOfWritePointers(), 2, 0, 8192);
    auto head = switching->render (first);
    switching->set (ParamIDs::toneBypass, 1.0f);
    juce::AudioBuffer<float> rest (2, 8192);
    for (int ch = 0; ch < 2; ++ch)
        rest.copyFrom (ch, 0, in, ch, 8192, 8192);
    auto tail = switching->render (rest);

    for (int k : { 0, 200, 500, 718 })
    {
        const float v = 1.0f - (float) (k + 1) / 720.0f;
        const float a = outOff.getSample (0, 8192 + k), b = outOn.getSample (0, 8192 + k);
        EXPECT_NEAR (tail.getSample (0, k), a + v * (b - a), 2e-5) << k;
    }
    for (int i = 719; i < 8192; ++i)
        ASSERT_NEAR (tail.getSample (1, i), outOff.getSample (1, 8192 + i), 1e-5) << i;
}

TEST (Chain, SectionFadeInStartsFromClearedState)
{
    Harness h (48000.0, 512);
    h.set (ParamIDs::midGain, 18.0f);
    h.set (ParamIDs::hpfFreq, 500.0f);
    h.onlySection (ParamIDs::toneBypass);

    auto loud = sine (2, 8192, 2500.0, 48000.0, 0.9f);
    h.process (loud);

    h.set (ParamIDs::toneBypass, 1.0f);
    auto silence = constant (2, 2048, 0.0f);
    h.process (silence);

    // Leftover filter memory would ring out here; cleared filters stay silent.
    h.set (ParamIDs::toneBypass, 0.0f);
    auto after = h.render (constant (2, 2048, 0.0f));
    EXPECT_EQ (after.getMagnitude (0, 0, 2048), 0.0f);
    EXPECT_EQ (after.getMagnitude (1, 0, 2048), 0.0f);
}

TEST (Chain, SectionSwitchesDuringMainBypassTakeEffectWithoutFade)
{
    Harness h (48000.0, 512);
    h.set (ParamIDs::inputGain, 6.02f);
    bypassAllSections (h);
    h.render (constant (2, 2048, 0.25f));

    h.set (ParamIDs::mainBypass, 1.0f);
    h.render (constant (2, 2048, 0.25f));
    h.set (ParamIDs::compBypass, 0.0f);
    h.set (ParamIDs::compRatio, 1.0f);
    h.set (ParamIDs::compMakeup, 6.02f);
    h.render (constant (2, 512, 0.25f));

    // Leaving main bypass: the makeup is already at its new target (x2),
    // only the main crossfade moves.
    h.set (ParamIDs::mainBypass, 0.0f);
    auto out = h.render (constant (2, 2048, 0.25f));
    const float g = juce::Decibels::decibelsToGain (6.02f);
    const float processed = 0.25f * g * g;
    EXPECT_NEAR (out.getSample (0, 359), 0.25f + (360.0f / 720.0f) * (processed - 0.25f), 3e-6);
    EXPECT_NEAR (out.getSample (0, 2000), processed, 1e-6);
}

TEST (Chain, MakeupFollowsCompBypassAndLandsAtTheEnd)
{
    Harness h (48000.0, 512);
    h.set (ParamIDs::compMakeup, 12.0f);
    h.set (ParamIDs::compRatio, 1.0f); // transparent compressor
    bypassAllSections (h);

    auto out = h.render (constant (2, 4096, 0.1f));
    EXPECT_NEAR (out.getSample (0, 4000), 0.1f, 1e-6); // no boost while bypassed

    h.set (ParamIDs::compBypass, 0.0f);
    out = h.render (constant (2, 4096, 0.1f));
    const float target = juce::Decibels::decibelsToGain (12.0f);
    for (int k : { 0, 359, 718 })
        EXPECT_NEAR (out.getSample (0, k), 0.1f * (1.0f + (target - 1.0f) * (k + 1) / 720.0f), 1e-5) << k;
    EXPECT_NEAR (out.getSample (1, 3000), 0.1f * target, 1e-5);
}

TEST (Chain, BlockSizeDoesNotChangeTheSound)
{
    // Host blocks beyond the prepared size are processed in chunks, so a
    // 16384-sample block sounds like 512-sample blocks.
    Harness small (48000.0, 512), big (48000.0, 512);
    for (auto* h : { &small, &big })
    {
        h->proc->applyFactoryPreset ("Airy");
        h->prepare();
    }
    auto in = noise (2, 16384, 0.4f, 11);
    auto a = small.render (in, 512);
    auto b = big.render (in, 16384);
    for (int ch = 0; ch < 2; ++ch)
        EXPECT_LT (maxAbsDiff (a, b, ch, 0, 16384), 1e-6f);
    EXPECT_GT (b.getMagnitude (0, 0, 16384), 0.01f);
}

TEST (Chain, BlocksBeforePrepareOrWithExtraChannelsPassThrough)
{
    Harness h (48000.0, 512, 2, false);
    auto in = noise (2, 512, 0.5f);
    auto out = h.render (in);
    EXPECT_EQ (maxAbsDiff (in, out, 0, 0, 512), 0.0f);
    EXPECT_GT (h.proc->inputLevelLeft.load(), 0.0f);

    h.prepare();
    auto wide = noise (3, 512, 0.5f);
    auto wideOut = h.render (wide);
    for (int ch = 0; ch < 3; ++ch)
        EXPECT_EQ (maxAbsDiff (wide, wideOut, ch, 0, 512), 0.0f);
}

TEST (Chain, NonFiniteInputIsSilencedAndForgotten)
{
    Harness h (48000.0, 512);
    h.proc->applyFactoryPreset ("Wide");
    h.set (ParamIDs::reverbMix, 50.0f);
    h.prepare();
    auto warm = noise (2, 4096, 0.3f);
    h.process (warm);

    for (float bad : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity() })
    {
        auto block = noise (2, 512, 0.3f, 5);
        block.setSample (0, 100, bad);
        h.process (block);
        EXPECT_EQ (block.getMagnitude (0, 0, 512), 0.0f);
        EXPECT_EQ (block.getMagnitude (1, 0, 512), 0.0f);

        auto next = noise (2, 512, 0.3f, 6);
        h.process (next);
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < 512; ++i)
                ASSERT_TRUE (std::isfinite (next.getSample (ch, i)));
        EXPECT_GT (next.getMagnitude (0, 0, 512), 0.0f);
        EXPECT_TRUE (std::isfinite (h.proc->inputLevelLeft.load()));
        EXPECT_TRUE (std::isfinite (h.proc->outputLevelLeft.load()));
    }
}

TEST (Chain, SwitchIsOnFromHalfWay)
{
    // The host may write any raw value; 0.5 and above count as on.
    for (auto [raw, bypassed] : { std::pair { 0.49f, false }, std::pair { 0.5f, true }, std::pair { 1.0f, true } })
    {
        Harness h (48000.0, 512);
        h.set (ParamIDs::inputGain, 6.02f);
        h.proc->apvts.getRawParameterValue (ParamIDs::mainBypass)->store (raw);
        auto in = noise (2, 4096, 0.3f);
        auto out = h.render (in);
        EXPECT_EQ (maxAbsDiff (in, out, 0, 1024, 3072) == 0.0f, bypassed) << raw;
    }
}

TEST (Chain, NoClicksWhenAnySwitchMoves)
{
    // A steady tone through every stage; each switch is flipped off and on.
    // The largest sample-to-sample step while a crossfade runs must stay
    // close to the largest step of the steady signal on either side of it.
    const char* switches[] = { ParamIDs::mainBypass, ParamIDs::toneBypass, ParamIDs::compBypass,
                               ParamIDs::characterBypass, ParamIDs::spaceBypass };
    for (auto* id : switches)
    {
        SCOPED_TRACE (id);
        Harness h (48000.0, 256);
        // Widening is left at 100 here: after a reset its 7 and 13 ms taps
        // restart from silence, and on a pure tone their arrival is a step of
        // its own (the stage's defined behaviour, not the crossfade's).
        h.everyStage (100.0f);

        auto in = sine (2, 256 * 560, 220.0, 48000.0, 0.5f);
        juce::MidiBuffer midi;
        float steadyOn = 0.0f, steadyOff = 0.0f, switchStep = 0.0f, previous = 0.0f;
        int worst = -1;
        for (int start = 0, block = 0; start < in.getNumSamples(); start += 256, ++block)
        {
            if (block == 240 || block == 400)
                h.set (id, block == 240 ? 1.0f : 0.0f);
            juce::AudioBuffer<float> view (in.getArrayOfWritePointers(), 2, start, 256);
            h.proc->processBlock (view, midi);
            for (int i = 0; i < 256; ++i)
            {
                const float x = view.getSample (0, i);
                const float step = std::abs (x - previous);
                previous = x;
                if (block > 100 && block < 240)
                    steadyOn = std::max (steadyOn, step);
                if (block > 300 && block < 400)
                    steadyOff = std::max (steadyOff, step);
                const bool nearSwitch = (block >= 240 && block < 250) || (block >= 400 && block < 410);
                if (nearSwitch && step > switchStep)
                {
                    switchStep = step;
                    worst = start + i;
                }
            }
        }
        EXPECT_GT (steadyOn, 0.0f);
        EXPECT_LT (switchStep, 1.5f * std::max (steadyOn, steadyOff)) << "at sample " << worst;
    }
}
