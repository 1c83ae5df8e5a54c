#include <gtest/gtest.h>

#include "TestHelpers.h"

using namespace test;

namespace
{
Harness gainsOnly (int channels = 2, float inputGain = 0.0f)
{
    Harness h (48000.0, 1024, channels);
    h.set (ParamIDs::inputGain, inputGain);
    for (auto* id : { ParamIDs::toneBypass, ParamIDs::compBypass, ParamIDs::characterBypass, ParamIDs::spaceBypass })
        h.set (id, 1.0f);
    h.prepare();
    return h;
}
} // namespace

TEST (Meters, FastAttackSlowDecayPerBlock)
{
    auto h = gainsOnly();
    // 1024-sample blocks: the start-up ramp (960 samples) ends inside the first.
    const float attack[] = { 0.55f, 0.7975f, 0.908875f };
    for (float expected : attack)
    {
        auto block = constant (2, 1024, 1.0f);
        h.process (block);
        for (auto* m : { &h.proc->inputLevelLeft, &h.proc->inputLevelRight, &h.proc->outputLevelLeft, &h.proc->outputLevelRight })
            EXPECT_NEAR (m->load(), expected, 1e-6f);
    }

    float v = 0.908875f;
    for (int i = 0; i < 3; ++i)
    {
        auto silence = constant (2, 1024, 0.0f);
        h.process (silence);
        v *= 0.92f;
        EXPECT_NEAR (h.proc->outputLevelLeft.load(), v, 1e-6f);
        EXPECT_NEAR (h.proc->inputLevelRight.load(), v, 1e-6f);
    }
}

TEST (Meters, InputPairIsTakenAfterTheInputGain)
{
    auto h = gainsOnly (2, 12.0f);
    h.set (ParamIDs::outputGain, -24.0f);
    for (int i = 0; i < 30; ++i)
    {
        auto block = constant (2, 1024, juce::Decibels::decibelsToGain (-12.0f));
        h.process (block);
    }
    EXPECT_NEAR (h.proc->inputLevelLeft.load(), 1.0f, 1e-3f);
    EXPECT_NEAR (h.proc->outputLevelLeft.load(), juce::Decibels::decibelsToGain (-24.0f), 1e-3f);
}

TEST (Meters, MonoReadsTheSameOnBothSidesAndOverloadsReadAboveOne)
{
    auto h = gainsOnly (1);
    for (int i = 0; i < 30; ++i)
    {
        auto block = constant (1, 1024, 1.5f);
        h.process (block);
    }
    EXPECT_EQ (h.proc->inputLevelLeft.load(), h.proc->inputLevelRight.load());
    EXPECT_EQ (h.proc->outputLevelLeft.load(), h.proc->outputLevelRight.load());
    EXPECT_GT (h.proc->outputLevelLeft.load(), 1.45f);
}
