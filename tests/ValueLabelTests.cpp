// The read-outs under the dials and the text typed into them.
//
// Read-outs are checked against the texts the product shows for given
// parameter values; an edit is driven the way a user makes it (a click on
// the read-out opens its editor, a key closes it) and judged by the
// parameter, the read-out and the undo history afterwards.
#include <gtest/gtest.h>

#include "GuiTestHelpers.h"
#include "TestHelpers.h"
#include "gui/GUI.h"
#include "gui/ValueLabels.h"

#include <cmath>
#include <vector>

namespace
{
struct OpenPanel
{
    OndrelAudioProcessor proc;
    OndrelGUI panel { proc };
    std::vector<juce::String> stepsBegun;

    OpenPanel()
    {
        panel.setBounds (0, 0, 925, 455);
        panel.getUndoGestures().onBegin = [this] (const juce::String& name) { stepsBegun.push_back (name); };
    }

    ~OpenPanel()
    {
        // A test that failed half-way must not leave a modal editor behind
        // for the next one.
        for (int i = 0; i < OndrelGUI::numDials; ++i)
            panel.getValueLabel (i).hideEditor (true);
    }

    juce::Label& readout (int i) { return panel.getValueLabel (i); }
    float value (const char* id) { return test::real (proc, id); }
    void set (const char* id, float v) { test::setReal (proc, id, v); }

    // What the user sees after the host has set a value: the next tick.
    juce::String shownAfterSetting (int dial, const char* id, float v)
    {
        set (id, v);
        panel.timerCallback();
        return readout (dial).getText();
    }

    // Opens the read-out's editor as a click does, and puts the typed text
    // in it. Off screen a click cannot do it itself (the label's click
    // handler first asks whether the window contains the point), and the
    // editor's own change message would close it at once, as if focus had
    // gone; so the editor is shown directly and the text put in without that
    // message, as typing into a focused editor leaves it.
    juce::TextEditor* startEditing (int dial, const juce::String& typed)
    {
        readout (dial).showEditor();
        auto* editor = readout (dial).getCurrentTextEditor();

        if (editor != nullptr)
            editor->setText (typed, false);

        return editor;
    }

    void press (int dial, int keyCode)
    {
        if (auto* editor = readout (dial).getCurrentTextEditor())
            editor->keyPressed (juce::KeyPress (keyCode));

        test::dispatchPendingMessages();
    }

    void type (int dial, const juce::String& typed)
    {
        ASSERT_NE (startEditing (dial, typed), nullptr);
        press (dial, juce::KeyPress::returnKey);
        ASSERT_FALSE (readout (dial).isBeingEdited());
    }
};
} // namespace

//==============================================================================
TEST (ValueReadout, DefaultsOfAFreshInstance)
{
    struct Case
    {
        int dial;
        const char* shown;
    };

    const Case cases[] = {
        { OndrelGUI::inputDial, "0.0 dB" },       { OndrelGUI::hpfDial, "80 Hz" },
        { OndrelGUI::lpfDial, "20000 Hz" },       { OndrelGUI::thresholdDial, "-18.0 dB" },
        { OndrelGUI::ratioDial, "3.0 : 1" },      { OndrelGUI::attackDial, "10 ms" },
        { OndrelGUI::releaseDial, "80 ms" },      { OndrelGUI::makeupDial, "0.0 dB" },
        { OndrelGUI::deEssFreqDial, "6000 Hz" },  { OndrelGUI::deEssAmountDial, "20 %" },
        { OndrelGUI::driveDial, "0.0 dB" },       { OndrelGUI::satMixDial, "0 %" },
        { OndrelGUI::widthDial, "100 %" },        { OndrelGUI::sizeDial, "18 %" },
        { OndrelGUI::dampDial, "35 %" },          { OndrelGUI::reverbMixDial, "0 %" },
        { OndrelGUI::lowDial, "0.0 dB" },         { OndrelGUI::midDial, "0.0 dB" },
        { OndrelGUI::highDial, "0.0 dB" },        { OndrelGUI::airDial, "0.0 dB" },
        { OndrelGUI::outputDial, "0.0 dB" },
    };

    OpenPanel p;

    for (const auto& c : cases)
        EXPECT_EQ (p.readout (c.dial).getText(), c.shown) << c.dial;
}

TEST (ValueReadout, ParameterValuesAsShown)
{
    struct Case
    {
        int dial;
        const char* id;
        float value;
        const char* shown;
    };

    const Case cases[] = {
        { OndrelGUI::attackDial,    ParamIDs::compAttack,  0.1f,      "0 ms" },
        // Halves away from zero: the parameter holds 2.5 as 2.49999976 (its
        // nearest legal single-precision value), still the half it stands for.
        { OndrelGUI::attackDial,    ParamIDs::compAttack,  2.5f,      "3 ms" },
        { OndrelGUI::attackDial,    ParamIDs::compAttack,  3.5f,      "4 ms" },
        { OndrelGUI::releaseDial,   ParamIDs::compRelease, 10.5f,     "11 ms" },
        { OndrelGUI::sizeDial,      ParamIDs::reverbSize,  12.5f,     "13 %" },
        { OndrelGUI::hpfDial,       ParamIDs::hpfFreq,     80.5f,     "81 Hz" },
        { OndrelGUI::releaseDial,   ParamIDs::compRelease, 500.0f,    "500 ms" },
        { OndrelGUI::lowDial,       ParamIDs::lowGain,     -0.04f,    "-0.0 dB" }, // keeps its sign
        { OndrelGUI::lowDial,       ParamIDs::lowGain,     0.04f,     "+0.0 dB" },
        { OndrelGUI::lowDial,       ParamIDs::lowGain,     3.04f,     "+3.0 dB" },
        { OndrelGUI::thresholdDial, ParamIDs::compThresh,  -60.0f,    "-60.0 dB" },
        { OndrelGUI::inputDial,     ParamIDs::inputGain,   48.0f,     "+48.0 dB" },
        { OndrelGUI::driveDial,     ParamIDs::satDrive,    12.5f,     "+12.5 dB" },
        { OndrelGUI::ratioDial,     ParamIDs::compRatio,   20.0f,     "20.0 : 1" },
        { OndrelGUI::lpfDial,       ParamIDs::lpfFreq,     12345.67f, "12346 Hz" }, // hertz, never kilohertz
        { OndrelGUI::deEssFreqDial, ParamIDs::deEssFreq,   10000.0f,  "10000 Hz" },
        { OndrelGUI::hpfDial,       ParamIDs::hpfFreq,     20.0f,     "20 Hz" },
        { OndrelGUI::widthDial,     ParamIDs::width,       200.0f,    "200 %" },
        { OndrelGUI::reverbMixDial, ParamIDs::reverbMix,   99.5f,     "100 %" },
        { OndrelGUI::sizeDial,      ParamIDs::reverbSize,  0.49f,     "0 %" },
    };

    OpenPanel p;

    for (const auto& c : cases)
        EXPECT_EQ (p.shownAfterSetting (c.dial, c.id, c.value), c.shown) << c.id << " = " << c.value;
}

TEST (ValueReadout, FormatFollowsTheLowerCasedDialName)
{
    struct Case
    {
        const char* name;
        double value;
        int decimals;
        const char* shown;
    };

    const Case cases[] = {
        { "HPF",    12345.5,  1, "12346 Hz" },
        { "Freq",   9999.5,   1, "10000 Hz" },
        { "INPUT",  0.0,      1, "0.0 dB" },   // zero has no sign
        { "air",    -17.96,   1, "-18.0 dB" },
        { "Attack", -2.5,     1, "-3 ms" },    // away from zero on both sides
        { "amount", 20.4,     1, "20 %" },
        { "Ratio",  3.04,     1, "3.0 : 1" },
        { "gain",   1.234,    1, "1.2" },      // any other name: no unit
        { "gain",   1.234,    3, "1.234" },
        { "gain",   1.234,    0, "1.2" },      // at least one decimal place
        { "",       -7.0,     1, "-7.0" },
    };

    for (const auto& c : cases)
    {
        juce::Slider s;
        s.setRange (-100000.0, 100000.0, 0.0);
        s.setName (c.name);
        s.setNumDecimalPlacesToDisplay (c.decimals);
        s.setValue (c.value, juce::dontSendNotification);
        EXPECT_EQ (formatSliderValue (s), c.shown) << c.name << " " << c.value;
    }
}

//==============================================================================
TEST (ValueEntry, TypedNumbersReachTheDialAndTheParameter)
{
    struct Case
    {
        int dial;
        const char* id;
        const char* typed;
        float expected;
        const char* shown;
    };

    const Case cases[] = {
        { OndrelGUI::hpfDial,       ParamIDs::hpfFreq,    "250",       250.0f,    "250 Hz" },
        { OndrelGUI::hpfDial,       ParamIDs::hpfFreq,    "1000",      500.0f,    "500 Hz" },   // the range end
        { OndrelGUI::deEssFreqDial, ParamIDs::deEssFreq,  "6k",        3000.0f,   "3000 Hz" },  // 6, no kilo suffix
        { OndrelGUI::lowDial,       ParamIDs::lowGain,    "+4.5dB",    4.5f,      "+4.5 dB" },
        { OndrelGUI::lowDial,       ParamIDs::lowGain,    "-3.5 dB",   -3.5f,     "-3.5 dB" },
        { OndrelGUI::hpfDial,       ParamIDs::hpfFreq,    "abc",       20.0f,     "20 Hz" },    // reads as 0
        { OndrelGUI::thresholdDial, ParamIDs::compThresh, "  -12  ",   -12.0f,    "-12.0 dB" },
        { OndrelGUI::ratioDial,     ParamIDs::compRatio,  "1e1",       10.0f,     "10.0 : 1" },
        { OndrelGUI::attackDial,    ParamIDs::compAttack, "2.5",       2.5f,      "3 ms" },
        { OndrelGUI::lpfDial,       ParamIDs::lpfFreq,    "12345.678", 12345.68f, "12346 Hz" }, // the 0.01 step
        { OndrelGUI::outputDial,    ParamIDs::outputGain, "-100",      -48.0f,    "-48.0 dB" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.typed);
        OpenPanel p;
        const auto before = p.value (c.id);

        p.type (c.dial, c.typed);

        EXPECT_NEAR (p.value (c.id), c.expected, 1e-3);
        EXPECT_NEAR (p.panel.getDial (c.dial).getValue(), c.expected, 1e-3);
        EXPECT_EQ (p.readout (c.dial).getText(), c.shown);

        ASSERT_EQ (p.stepsBegun.size(), 1u);
        EXPECT_EQ (p.stepsBegun[0], "Edit " + p.panel.getDial (c.dial).getName());

        // One step, which takes the edit back.
        ASSERT_TRUE (p.proc.canUndo());
        p.proc.performUndo();
        EXPECT_FLOAT_EQ (p.value (c.id), before);
        EXPECT_FALSE (p.proc.canUndo());
    }
}

TEST (ValueEntry, NothingChangesWhileTyping)
{
    OpenPanel p;
    auto& label = p.readout (OndrelGUI::hpfDial);
    EXPECT_TRUE (label.isEditableOnSingleClick());
    EXPECT_TRUE (label.isEditableOnDoubleClick());

    auto* editor = p.startEditing (OndrelGUI::hpfDial, "300");
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (p.stepsBegun, std::vector<juce::String> { "Edit hpf" });

    // The host moves the value meanwhile; the tick leaves the field alone.
    p.set (ParamIDs::hpfFreq, 90.0f);
    p.panel.timerCallback();
    EXPECT_EQ (editor->getText(), "300");
    EXPECT_EQ (p.readout (OndrelGUI::hpfDial).getText(), "80 Hz");
    EXPECT_FLOAT_EQ (p.value (ParamIDs::hpfFreq), 90.0f);

    p.press (OndrelGUI::hpfDial, juce::KeyPress::returnKey);
    EXPECT_FLOAT_EQ (p.value (ParamIDs::hpfFreq), 300.0f);
    EXPECT_EQ (p.readout (OndrelGUI::hpfDial).getText(), "300 Hz");
}

TEST (ValueEntry, EscapeAppliesTheValueAsItWasShown)
{
    OpenPanel p;
    ASSERT_EQ (p.shownAfterSetting (OndrelGUI::lowDial, ParamIDs::lowGain, 3.04f), "+3.0 dB");

    ASSERT_NE (p.startEditing (OndrelGUI::lowDial, "9"), nullptr);
    p.press (OndrelGUI::lowDial, juce::KeyPress::escapeKey);

    EXPECT_FALSE (p.readout (OndrelGUI::lowDial).isBeingEdited());
    EXPECT_NEAR (p.value (ParamIDs::lowGain), 3.0f, 1e-5);
    EXPECT_EQ (p.readout (OndrelGUI::lowDial).getText(), "+3.0 dB");
    EXPECT_EQ (p.stepsBegun, std::vector<juce::String> { "Edit low" });

    // 3.04 to 3.0 is a change, and one step.
    ASSERT_TRUE (p.proc.canUndo());
    p.proc.performUndo();
    EXPECT_NEAR (p.value (ParamIDs::lowGain), 3.04f, 1e-5);
    EXPECT_FALSE (p.proc.canUndo());
}

TEST (ValueEntry, AClickElsewhereAppliesTheTextLikeReturn)
{
    OpenPanel p;
    ASSERT_NE (p.startEditing (OndrelGUI::hpfDial, "120"), nullptr);

    // While the field is open it holds the input; a click on any other
    // component reaches it as an input attempt, as the framework delivers it.
    auto* modal = juce::Component::getCurrentlyModalComponent();
    ASSERT_EQ (modal, &p.readout (OndrelGUI::hpfDial));
    modal->inputAttemptWhenModal();
    test::dispatchPendingMessages();

    EXPECT_FALSE (p.readout (OndrelGUI::hpfDial).isBeingEdited());
    EXPECT_EQ (juce::Component::getNumCurrentlyModalComponents(), 0);
    EXPECT_FLOAT_EQ (p.value (ParamIDs::hpfFreq), 120.0f);
    EXPECT_EQ (p.readout (OndrelGUI::hpfDial).getText(), "120 Hz");
    EXPECT_TRUE (p.proc.canUndo());
}

TEST (ValueEntry, AnEditIsAtMostOneStep)
{
    OpenPanel p;

    // The value as it stands: the step opens and closes empty.
    p.type (OndrelGUI::hpfDial, "80");
    EXPECT_FALSE (p.proc.canUndo());

    p.type (OndrelGUI::hpfDial, "250");
    p.type (OndrelGUI::ratioDial, "5");
    EXPECT_EQ (p.stepsBegun, (std::vector<juce::String> { "Edit hpf", "Edit hpf", "Edit ratio" }));

    p.proc.performUndo();
    EXPECT_FLOAT_EQ (p.value (ParamIDs::compRatio), 3.0f);
    EXPECT_FLOAT_EQ (p.value (ParamIDs::hpfFreq), 250.0f);

    p.proc.performUndo();
    EXPECT_FLOAT_EQ (p.value (ParamIDs::hpfFreq), 80.0f);
    EXPECT_FALSE (p.proc.canUndo());
}

TEST (ValueEntry, TextWithoutAUsableNumberChangesNothing)
{
    // Empty entries, and entries the number reader takes for not-a-number or
    // infinity, which the range limit would otherwise pass on (NaN) or turn
    // into an end point (infinity).
    const char* const texts[] = { "", "   ", "nan", "NaN", "-nan", "+nan Hz", "inf", "-inf", "+INF",
                                  "infinity", "1e999", "-1e999" };

    for (const auto* text : texts)
    {
        SCOPED_TRACE (text);
        OpenPanel p;
        ASSERT_EQ (p.shownAfterSetting (OndrelGUI::hpfDial, ParamIDs::hpfFreq, 250.0f), "250 Hz");

        p.type (OndrelGUI::hpfDial, text);

        EXPECT_FLOAT_EQ (p.value (ParamIDs::hpfFreq), 250.0f);
        EXPECT_DOUBLE_EQ (p.panel.getDial (OndrelGUI::hpfDial).getValue(), 250.0);
        EXPECT_EQ (p.readout (OndrelGUI::hpfDial).getText(), "250 Hz");
        EXPECT_FALSE (p.proc.canUndo());
    }
}

TEST (ValueEntry, EnteredNumberReading)
{
    EXPECT_FALSE (readEnteredNumber ("").has_value());
    EXPECT_FALSE (readEnteredNumber (" \t ").has_value());
    EXPECT_FALSE (readEnteredNumber ("nan").has_value());
    EXPECT_FALSE (readEnteredNumber ("-inf").has_value());
    EXPECT_EQ (readEnteredNumber (" -3.5 dB"), -3.5);
    EXPECT_EQ (readEnteredNumber ("12k"), 12.0);
    EXPECT_EQ (readEnteredNumber ("dB 3"), 0.0);
    EXPECT_EQ (readEnteredNumber ("2.5e2ms"), 250.0);
}
