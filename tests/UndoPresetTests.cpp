// Whole-state undo and the factory presets.
#include <gtest/gtest.h>

#include "FactoryPresets.h"
#include "TestHelpers.h"

using test::real;
using test::setReal;

namespace
{

void gesture (OndrelAudioProcessor& p, const char* id, float v)
{
    p.beginUndoTransaction (juce::String ("Adjust ") + id);
    setReal (p, id, v);
    p.commitUndoTransactionIfNeeded();
}
} // namespace

TEST (Undo, OneStepPerGestureWithThePresetMark)
{
    OndrelAudioProcessor p;
    p.applyFactoryPreset ("Warm");
    gesture (p, ParamIDs::midGain, 3.0f);
    EXPECT_EQ (p.getCurrentPresetDisplayName(), "Warm *");
    ASSERT_TRUE (p.canUndo());

    p.performUndo();
    EXPECT_NEAR (real (p, ParamIDs::midGain), 0.6f, 1e-5);
    EXPECT_EQ (p.getCurrentPresetDisplayName(), "Warm");
    ASSERT_TRUE (p.canRedo());

    p.performRedo();
    EXPECT_FLOAT_EQ (real (p, ParamIDs::midGain), 3.0f);
    EXPECT_EQ (p.getCurrentPresetDisplayName(), "Warm *");

    // Undo twice: back before the factory preset, to the defaults.
    p.performUndo();
    p.performUndo();
    EXPECT_FLOAT_EQ (real (p, ParamIDs::midGain), 0.0f);
    EXPECT_EQ (p.getCurrentPresetDisplayName(), "Presets");
    EXPECT_FALSE (p.canUndo());
    p.performUndo(); // nothing to undo: harmless
}

TEST (Undo, TransactionRules)
{
    OndrelAudioProcessor p;

    // A click that moves nothing records nothing.
    p.beginUndoTransaction ("Adjust hpf");
    p.commitUndoTransactionIfNeeded();
    EXPECT_FALSE (p.canUndo());

    // A nested begin is ignored; one commit closes the step, a second does nothing.
    p.beginUndoTransaction ("Adjust hpf");
    setReal (p, ParamIDs::hpfFreq, 150.0f);
    p.beginUndoTransaction ("Adjust lpf");
    setReal (p, ParamIDs::lpfFreq, 9000.0f);
    p.commitUndoTransactionIfNeeded();
    p.commitUndoTransactionIfNeeded();
    p.performUndo();
    EXPECT_FLOAT_EQ (real (p, ParamIDs::hpfFreq), 80.0f);
    EXPECT_FLOAT_EQ (real (p, ParamIDs::lpfFreq), 20000.0f);
    EXPECT_FALSE (p.canUndo());

    // A new step after an undo discards the redo step.
    EXPECT_TRUE (p.canRedo());
    gesture (p, ParamIDs::lowGain, 2.0f);
    EXPECT_FALSE (p.canRedo());

    // A drag that comes back to its start records a step only when the
    // modified flag changed on the way.
    p.setCurrentPresetInfo ("Clean", false, false);
    p.performUndo(); // drop the lowGain step so only the next one counts
    p.setCurrentPresetInfo ("Clean", false, false);
    p.beginUndoTransaction ("Adjust hpf");
    setReal (p, ParamIDs::hpfFreq, 200.0f);
    setReal (p, ParamIDs::hpfFreq, 80.0f);
    p.commitUndoTransactionIfNeeded();
    EXPECT_TRUE (p.canUndo());
    p.performUndo();
    EXPECT_EQ (p.getCurrentPresetDisplayName(), "Clean");

    p.setCurrentPresetInfo ("Clean", false, true);
    OndrelAudioProcessor q;
    q.setCurrentPresetInfo ("Clean", false, true);
    q.beginUndoTransaction ("Adjust hpf");
    setReal (q, ParamIDs::hpfFreq, 200.0f);
    setReal (q, ParamIDs::hpfFreq, 80.0f);
    q.commitUndoTransactionIfNeeded();
    EXPECT_FALSE (q.canUndo());
}

TEST (Undo, ModifiedFlagRule)
{
    OndrelAudioProcessor p;
    p.applyFactoryPreset ("Rap");

    setReal (p, ParamIDs::mainBypass, 1.0f); // the host switches the plug-in off
    setReal (p, ParamIDs::mainBypass, 0.0f);
    EXPECT_EQ (p.getCurrentPresetDisplayName(), "Rap");

    for (auto* id : ParamIDs::all)
    {
        if (juce::String (id) == ParamIDs::mainBypass)
            continue;
        SCOPED_TRACE (id);
        p.applyFactoryPreset ("Rap");
        auto* param = p.apvts.getParameter (id);
        param->setValueNotifyingHost (param->getValue() > 0.5f ? 0.1f : 0.9f); // host automation, no step open
        EXPECT_EQ (p.getCurrentPresetDisplayName(), "Rap *");
    }
}

TEST (FactoryPresets, TableIsAppliedExactly)
{
    // The published table, one row per parameter, presets in menu order.
    const char* rows[] = {
        "toneBypass 0 0 0 0 0 0 0 0 0 0 0", "compBypass 0 0 0 0 0 0 0 0 0 0 0",
        "characterBypass 0 0 0 0 0 0 0 0 0 0 0", "spaceBypass 0 0 0 0 0 0 0 0 0 0 0",
        "hpfFreq 90 85 80 70 75 85 80 95 95 75 85",
        "lpfFreq 20000 18500 20000 14500 17000 15000 19000 17500 16500 16500 19000",
        "lowGain -1 -1 0 1.5 1 0.5 -0.5 -0.5 0 1 -0.5", "midGain -0.5 1 0 -1.5 1.2 1.5 2.5 2 2.2 0.6 0.8",
        "highGain 2.5 3 1.5 -2.5 -0.8 -0.5 1.5 2.5 1.8 -1 1.5", "airGain 5.5 3 2 -4 -1 0.5 1 1 0.8 -1.8 2",
        "compThresh -19 -20 -18 -17 -22 -24 -20 -26 -24 -18 -20", "compRatio 3 3.5 3 2.8 4 4.5 3.8 6 5 2.6 3.2",
        "compAttack 12 8 12 16 10 6 8 3 4 14 10", "compRelease 95 80 85 110 75 70 72 45 55 95 80",
        "compMakeup 3 3.5 3 2 4 5 4 5 5 2.5 3", "deEssFreq 7000 6800 6200 5600 6100 6200 6500 6800 6500 5800 6500",
        "deEssAmount 28 24 25 14 20 18 22 28 20 14 22", "satDrive 3.5 5 4 6 4.5 2 6 10 12 6.5 4",
        "satMix 15 18 18 20 16 10 20 35 40 24 18", "width 118 108 105 98 92 100 106 110 108 102 140",
        "reverbSize 22 16 12 10 8 0 10 14 12 9 20", "reverbDamping 32 35 40 52 48 35 38 40 42 50 36",
        "reverbMix 14 8 6 4 4 0 5 5 6 4 10",
    };
    const juce::StringArray names { "Airy", "Bright", "Clean", "Dark", "Intimate", "Podcast", "Presence", "Rap", "Rock", "Warm", "Wide" };

    OndrelAudioProcessor p;
    EXPECT_EQ (p.getFactoryPresetNames(), names);

    for (int col = 0; col < names.size(); ++col)
    {
        SCOPED_TRACE (names[col]);
        // Everything bypassed and the gains moved beforehand: the preset turns
        // the sections on and leaves the gains and the main switch alone.
        for (auto* id : { ParamIDs::toneBypass, ParamIDs::compBypass, ParamIDs::characterBypass, ParamIDs::spaceBypass, ParamIDs::mainBypass })
            setReal (p, id, 1.0f);
        setReal (p, ParamIDs::inputGain, 5.0f);
        setReal (p, ParamIDs::outputGain, -3.0f);

        p.applyFactoryPreset (names[col]);
        for (auto* row : rows)
        {
            auto tokens = juce::StringArray::fromTokens (row, " ", "");
            EXPECT_NEAR (real (p, tokens[0].toRawUTF8()), tokens[col + 1].getFloatValue(), 1e-4) << tokens[0];
        }
        EXPECT_FLOAT_EQ (real (p, ParamIDs::inputGain), 5.0f);
        EXPECT_FLOAT_EQ (real (p, ParamIDs::outputGain), -3.0f);
        EXPECT_FLOAT_EQ (real (p, ParamIDs::mainBypass), 1.0f);
        EXPECT_EQ (p.getCurrentPresetDisplayName(), names[col]);
        EXPECT_FALSE (p.isCurrentPresetUser());
    }
}

TEST (FactoryPresets, OneUndoStepAndTheNameRules)
{
    OndrelAudioProcessor p;
    p.applyFactoryPreset ("Podcast");
    gesture (p, ParamIDs::satDrive, 9.0f);
    const auto before = p.createFullState();

    p.applyFactoryPreset ("Wide");
    EXPECT_FLOAT_EQ (real (p, ParamIDs::width), 140.0f);
    p.performUndo();
    EXPECT_TRUE (p.createFullState().isEquivalentTo (before));
    EXPECT_EQ (p.getCurrentPresetDisplayName(), "Podcast *");

    // Re-applying the current, unchanged preset records nothing.
    p.applyFactoryPreset ("Wide");
    const int steps = p.canUndo() ? 1 : 0;
    ASSERT_EQ (steps, 1);
    p.performUndo();
    p.performRedo();
    EXPECT_FALSE (p.canRedo());
    p.applyFactoryPreset ("Wide");
    EXPECT_FALSE (p.canRedo());
    p.performUndo();
    EXPECT_EQ (p.getCurrentPresetDisplayName(), "Podcast *"); // the no-op left no step on top

    // An unknown name (here another letter case) changes no parameter but
    // becomes the current name, as one step.
    p.performRedo();
    const auto values = p.createFullState();
    p.applyFactoryPreset ("wide");
    EXPECT_EQ (p.getCurrentPresetDisplayName(), "wide");
    EXPECT_FLOAT_EQ (real (p, ParamIDs::width), 140.0f);
    p.performUndo();
    EXPECT_EQ (p.getCurrentPresetDisplayName(), "Wide");
    EXPECT_TRUE (p.createFullState().isEquivalentTo (values));
}
