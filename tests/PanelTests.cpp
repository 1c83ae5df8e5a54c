// The channel-strip panel: its controls and their parameters, the gestures
// that become undo steps, the timer's refresh and the shared dial look.
//
// Gestures are driven through the components' own mouse handlers; what they
// did is read back from the processor (parameter values, the undo history)
// and from the step names the panel hands on.
#include <gtest/gtest.h>

#include "GuiTestHelpers.h"
#include "TestHelpers.h"
#include "editor/PluginEditor.h"
#include "gui/GUI.h"

#include <vector>

namespace
{
// The panel's face as the product defines it: label, name, parameter and
// the parameter's range and default.
struct DialRow
{
    int index;
    const char* labelText;
    const char* name;
    const char* parameterID;
    double min, max, def;
};

const DialRow kDialRows[] = {
    { OndrelGUI::inputDial,       "Input",     "input",     ParamIDs::inputGain,     -48.0,  48.0,    0.0 },
    { OndrelGUI::hpfDial,         "HPF",       "hpf",       ParamIDs::hpfFreq,       20.0,   500.0,   80.0 },
    { OndrelGUI::lowDial,         "Low",       "low",       ParamIDs::lowGain,       -18.0,  18.0,    0.0 },
    { OndrelGUI::midDial,         "Mid",       "mid",       ParamIDs::midGain,       -18.0,  18.0,    0.0 },
    { OndrelGUI::highDial,        "High",      "high",      ParamIDs::highGain,      -18.0,  18.0,    0.0 },
    { OndrelGUI::airDial,         "Air",       "air",       ParamIDs::airGain,       -18.0,  18.0,    0.0 },
    { OndrelGUI::lpfDial,         "LPF",       "lpf",       ParamIDs::lpfFreq,       4000.0, 20000.0, 20000.0 },
    { OndrelGUI::thresholdDial,   "Threshold", "threshold", ParamIDs::compThresh,    -60.0,  0.0,     -18.0 },
    { OndrelGUI::ratioDial,       "Ratio",     "ratio",     ParamIDs::compRatio,     1.0,    20.0,    3.0 },
    { OndrelGUI::attackDial,      "Attack",    "attack",    ParamIDs::compAttack,    0.1,    100.0,   10.0 },
    { OndrelGUI::releaseDial,     "Release",   "release",   ParamIDs::compRelease,   5.0,    500.0,   80.0 },
    { OndrelGUI::makeupDial,      "Makeup",    "makeup",    ParamIDs::compMakeup,    0.0,    24.0,    0.0 },
    { OndrelGUI::deEssFreqDial,   "Freq",      "freq",      ParamIDs::deEssFreq,     3000.0, 10000.0, 6000.0 },
    { OndrelGUI::deEssAmountDial, "Amount",    "amount",    ParamIDs::deEssAmount,   0.0,    100.0,   20.0 },
    { OndrelGUI::driveDial,       "Drive",     "drive",     ParamIDs::satDrive,      0.0,    24.0,    0.0 },
    { OndrelGUI::satMixDial,      "Mix",       "mix",       ParamIDs::satMix,        0.0,    100.0,   0.0 },
    { OndrelGUI::widthDial,       "Width",     "width",     ParamIDs::width,         0.0,    200.0,   100.0 },
    { OndrelGUI::sizeDial,        "Size",      "size",      ParamIDs::reverbSize,    0.0,    100.0,   18.0 },
    { OndrelGUI::dampDial,        "Damp",      "damp",      ParamIDs::reverbDamping, 0.0,    100.0,   35.0 },
    { OndrelGUI::reverbMixDial,   "Mix",       "mix",       ParamIDs::reverbMix,     0.0,    100.0,   0.0 },
    { OndrelGUI::outputDial,      "Output",    "output",    ParamIDs::outputGain,    -48.0,  48.0,    0.0 },
};

struct ButtonRow
{
    OndrelGUI::Section section;
    const char* buttonName;
    const char* tooltip;
    const char* parameterID;
    const char* stepName;
};

const ButtonRow kButtonRows[] = {
    { OndrelGUI::mainSection,      "Main Power",        "Ondrel main power",         ParamIDs::mainBypass,      "Ondrel Power" },
    { OndrelGUI::toneSection,      "Tone Power",        "Tone section power",        ParamIDs::toneBypass,      "Tone Power" },
    { OndrelGUI::compSection,      "Compression Power", "Compression section power", ParamIDs::compBypass,      "Compression Power" },
    { OndrelGUI::characterSection, "Character Power",   "Character section power",   ParamIDs::characterBypass, "Character Power" },
    { OndrelGUI::spaceSection,     "Space Power",       "Space section power",       ParamIDs::spaceBypass,     "Space Power" },
};

// A processor with a panel laid out at the size a 925 x 500 editor gives it,
// and a record of the undo steps the panel's gestures open and close.
struct OpenPanel
{
    OndrelAudioProcessor proc;
    std::unique_ptr<OndrelGUI> panel;
    std::vector<juce::String> stepsBegun;
    int commits = 0;

    OpenPanel() { open(); }

    void open()
    {
        panel = std::make_unique<OndrelGUI> (proc);
        panel->setBounds (0, 0, 925, 455);
        panel->getUndoGestures().onBegin = [this] (const juce::String& name) { stepsBegun.push_back (name); };
        panel->getUndoGestures().onCommit = [this] { ++commits; };
    }

    juce::Slider& dial (int i) { return panel->getDial (i); }
    float value (const char* id) { return test::real (proc, id); }
    void set (const char* id, float v) { test::setReal (proc, id, v); }
};

std::vector<juce::String> steps (std::initializer_list<const char*> names)
{
    std::vector<juce::String> v;
    for (auto* n : names)
        v.emplace_back (n);
    return v;
}
} // namespace

//==============================================================================
TEST (Panel, EveryDialIsBoundToItsParameterBothWays)
{
    OpenPanel p;

    for (const auto& row : kDialRows)
    {
        SCOPED_TRACE (row.name);
        auto& dial = p.dial (row.index);

        EXPECT_EQ (dial.getName(), row.name);
        EXPECT_EQ (p.panel->getNameLabel (row.index).getText(), row.labelText);
        EXPECT_DOUBLE_EQ (dial.getMinimum(), (double) (float) row.min);
        EXPECT_DOUBLE_EQ (dial.getMaximum(), (double) (float) row.max);
        EXPECT_NEAR (dial.getInterval(), 0.01, 1e-9);
        EXPECT_NEAR (dial.getValue(), row.def, 1e-4);

        // Host to dial ...
        const auto fromHost = (float) (row.min + 0.3 * (row.max - row.min));
        p.set (row.parameterID, fromHost);
        EXPECT_NEAR (dial.getValue(), fromHost, 0.006);

        // ... and dial to host.
        const auto fromDial = row.min + 0.8 * (row.max - row.min);
        dial.setValue (fromDial, juce::sendNotificationSync);
        EXPECT_NEAR (p.value (row.parameterID), fromDial, 0.006);
    }
}

TEST (Panel, PowerButtonsToggleTheirSwitches)
{
    for (const auto& row : kButtonRows)
    {
        SCOPED_TRACE (row.buttonName);
        OpenPanel p;
        auto& button = p.panel->getPowerButton (row.section);

        EXPECT_EQ (button.getName(), row.buttonName);
        EXPECT_EQ (button.getTooltip(), row.tooltip);
        EXPECT_FALSE (button.getWantsKeyboardFocus());

        test::click (button);
        EXPECT_TRUE (button.getToggleState());
        EXPECT_EQ (p.value (row.parameterID), 1.0f); // toggled on means bypassed

        test::click (button);
        EXPECT_FALSE (button.getToggleState());
        EXPECT_EQ (p.value (row.parameterID), 0.0f);

        // And the other way: the host's switch shows on the button.
        p.set (row.parameterID, 1.0f);
        EXPECT_TRUE (button.getToggleState());
    }
}

TEST (Panel, PowerButtonClickIsOneStepNamedAfterItsSection)
{
    for (const auto& row : kButtonRows)
    {
        SCOPED_TRACE (row.buttonName);
        OpenPanel p;

        test::click (p.panel->getPowerButton (row.section));

        EXPECT_EQ (p.stepsBegun, steps ({ row.stepName }));
        EXPECT_EQ (p.commits, 1);
        EXPECT_EQ (p.value (row.parameterID), 1.0f);

        // Exactly one step, holding the switch change.
        ASSERT_TRUE (p.proc.canUndo());
        p.proc.performUndo();
        EXPECT_EQ (p.value (row.parameterID), 0.0f);
        EXPECT_FALSE (p.proc.canUndo());

        p.proc.performRedo();
        EXPECT_EQ (p.value (row.parameterID), 1.0f);
    }
}

TEST (Panel, PressReleasedOutsideAButtonTogglesAndRecordsNothing)
{
    for (const auto& row : kButtonRows)
    {
        SCOPED_TRACE (row.buttonName);
        OpenPanel p;
        auto& button = p.panel->getPowerButton (row.section);
        const auto centre = button.getLocalBounds().toFloat().getCentre();

        test::mouseGesture (button, centre, centre + juce::Point<float> (60.0f, 40.0f));

        EXPECT_FALSE (button.getToggleState());
        EXPECT_EQ (p.value (row.parameterID), 0.0f);
        EXPECT_FALSE (p.proc.canUndo());
        EXPECT_EQ (p.commits, 1); // the step opened by the press is closed, empty
    }
}

TEST (Panel, DialDragIsOneStepNamedAfterTheDial)
{
    struct Case
    {
        int index;
        const char* id;
        const char* stepName;
        float before, after; // a drag of 50 pixels up moves 50/250 of the travel
        const char* readoutAfter;
        const char* readoutBefore;
    };

    const Case cases[] = {
        { OndrelGUI::thresholdDial, ParamIDs::compThresh, "Adjust threshold", -18.0f, -6.0f, "-6.0 dB", "-18.0 dB" },
        { OndrelGUI::reverbMixDial, ParamIDs::reverbMix,  "Adjust mix",       0.0f,   20.0f, "20 %",    "0 %" },
        { OndrelGUI::satMixDial,    ParamIDs::satMix,     "Adjust mix",       0.0f,   20.0f, "20 %",    "0 %" },
        { OndrelGUI::inputDial,     ParamIDs::inputGain,  "Adjust input",     0.0f,   19.2f, "+19.2 dB", "0.0 dB" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.stepName);
        OpenPanel p;
        auto& dial = p.dial (c.index);
        const auto centre = dial.getLocalBounds().toFloat().getCentre();

        test::mouseGesture (dial, centre, centre - juce::Point<float> (0.0f, 50.0f));

        EXPECT_EQ (p.stepsBegun, steps ({ c.stepName }));
        EXPECT_EQ (p.commits, 1);
        EXPECT_NEAR (p.value (c.id), c.after, 0.006);
        p.panel->timerCallback();
        EXPECT_EQ (p.panel->getValueLabel (c.index).getText(), c.readoutAfter);

        ASSERT_TRUE (p.proc.canUndo());
        p.proc.performUndo();
        EXPECT_NEAR (p.value (c.id), c.before, 1e-6);
        EXPECT_FALSE (p.proc.canUndo());

        // The dial and, on the next tick, its read-out follow the undo.
        EXPECT_NEAR (dial.getValue(), c.before, 1e-6);
        p.panel->timerCallback();
        EXPECT_EQ (p.panel->getValueLabel (c.index).getText(), c.readoutBefore);
    }
}

TEST (Panel, ClickOnADialWithoutMovingItRecordsNoStep)
{
    OpenPanel p;
    test::click (p.dial (OndrelGUI::hpfDial));

    EXPECT_EQ (p.stepsBegun, steps ({ "Adjust hpf" }));
    EXPECT_EQ (p.commits, 1);
    EXPECT_FALSE (p.proc.canUndo());
    EXPECT_FLOAT_EQ (p.value (ParamIDs::hpfFreq), 80.0f);
}

TEST (Panel, DoubleClickReturnsADialToItsParameterDefault)
{
    struct Case
    {
        int index;
        const char* id;
        float moved, def;
    };

    const Case cases[] = {
        { OndrelGUI::hpfDial,    ParamIDs::hpfFreq,    250.0f, 80.0f },
        { OndrelGUI::lpfDial,    ParamIDs::lpfFreq,    5000.0f, 20000.0f },
        { OndrelGUI::ratioDial,  ParamIDs::compRatio,  8.0f, 3.0f },
        { OndrelGUI::widthDial,  ParamIDs::width,      150.0f, 100.0f },
        { OndrelGUI::sizeDial,   ParamIDs::reverbSize, 70.0f, 18.0f },
        { OndrelGUI::outputDial, ParamIDs::outputGain, -12.0f, 0.0f },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.id);
        OpenPanel p;
        p.set (c.id, c.moved);

        test::doubleClick (p.dial (c.index));
        EXPECT_NEAR (p.value (c.id), c.def, 1e-3);

        // One step, which brings the moved value back.
        ASSERT_TRUE (p.proc.canUndo());
        p.proc.performUndo();
        EXPECT_NEAR (p.value (c.id), c.moved, 1e-3);
        EXPECT_FALSE (p.proc.canUndo());
    }
}

TEST (Panel, NewPanelShowsTheCurrentStateBeforeItsFirstTick)
{
    OpenPanel p;
    p.panel.reset();

    p.set (ParamIDs::hpfFreq, 250.0f);
    p.set (ParamIDs::compRatio, 8.0f);
    p.set (ParamIDs::compBypass, 1.0f);
    p.open();

    EXPECT_TRUE (p.panel->isTimerRunning());
    EXPECT_EQ (p.panel->getTimerInterval(), 22);

    EXPECT_EQ (p.panel->getValueLabel (OndrelGUI::hpfDial).getText(), "250 Hz");
    EXPECT_EQ (p.panel->getValueLabel (OndrelGUI::ratioDial).getText(), "8.0 : 1");
    EXPECT_TRUE (p.panel->getPowerButton (OndrelGUI::compSection).getToggleState());

    // The switched-off section's dials are unlit and their read-outs hidden;
    // the others are not.
    for (int i : { OndrelGUI::thresholdDial, OndrelGUI::ratioDial, OndrelGUI::attackDial, OndrelGUI::releaseDial,
                   OndrelGUI::makeupDial })
    {
        EXPECT_FALSE ((bool) p.dial (i).getProperties()[DialLookAndFeel::litProperty]);
        EXPECT_FALSE (p.panel->getValueLabel (i).isVisible());
    }

    EXPECT_TRUE ((bool) p.dial (OndrelGUI::hpfDial).getProperties()[DialLookAndFeel::litProperty]);
    EXPECT_TRUE (p.panel->getValueLabel (OndrelGUI::hpfDial).isVisible());
}

TEST (Panel, EachTickFollowsHostChangesOfValuesAndSwitches)
{
    OpenPanel p;
    auto lit = [&p] (int i) { return (bool) p.dial (i).getProperties()[DialLookAndFeel::litProperty]; };
    auto shown = [&p] (int i) { return p.panel->getValueLabel (i).isVisible(); };

    p.set (ParamIDs::lowGain, 4.5f);
    p.set (ParamIDs::toneBypass, 1.0f);
    p.panel->timerCallback();

    EXPECT_EQ (p.panel->getValueLabel (OndrelGUI::lowDial).getText(), "+4.5 dB");

    for (int i = OndrelGUI::hpfDial; i <= OndrelGUI::lpfDial; ++i)
    {
        EXPECT_FALSE (lit (i)) << i;
        EXPECT_FALSE (shown (i)) << i;
    }

    EXPECT_TRUE (lit (OndrelGUI::thresholdDial));
    EXPECT_TRUE (shown (OndrelGUI::inputDial));
    EXPECT_TRUE (p.panel->getInputMeter().isActive);

    // With the whole plug-in off every dial is unlit, the meters are dim and
    // no section lamp may light.
    p.set (ParamIDs::mainBypass, 1.0f);
    p.panel->timerCallback();

    for (const auto& row : kDialRows)
    {
        EXPECT_FALSE (lit (row.index)) << row.name;
        EXPECT_FALSE (shown (row.index)) << row.name;
    }

    EXPECT_FALSE (p.panel->getInputMeter().isActive);
    EXPECT_FALSE (p.panel->getOutputMeter().isActive);
    EXPECT_FALSE ((bool) p.panel->getPowerButton (OndrelGUI::spaceSection)
                      .getProperties()[OndrelGUI::SectionPowerButton::lampAllowedProperty]);

    p.set (ParamIDs::mainBypass, 0.0f);
    p.set (ParamIDs::toneBypass, 0.0f);
    p.panel->timerCallback();

    for (const auto& row : kDialRows)
        EXPECT_TRUE (lit (row.index) && shown (row.index)) << row.name;

    EXPECT_TRUE (p.panel->getOutputMeter().isActive);
}

TEST (Panel, MetersReadTheProcessorLevels)
{
    OpenPanel p;
    p.proc.inputLevelLeft = 0.25f;
    p.proc.inputLevelRight = 0.5f;
    p.proc.outputLevelLeft = 0.125f;
    p.proc.outputLevelRight = 1.0f;

    auto& in = p.panel->getInputMeter();
    auto& out = p.panel->getOutputMeter();

    EXPECT_EQ (in.label, "Input");
    EXPECT_EQ (out.label, "Output");
    EXPECT_FLOAT_EQ (in.maxDb, 12.0f);
    EXPECT_FLOAT_EQ (in.leftLevel(), 0.25f);
    EXPECT_FLOAT_EQ (in.rightLevel(), 0.5f);
    EXPECT_FLOAT_EQ (out.leftLevel(), 0.125f);
    EXPECT_FLOAT_EQ (out.rightLevel(), 1.0f);

    // Sources, not copies: a new level is read on the next paint.
    p.proc.inputLevelLeft = 0.75f;
    EXPECT_FLOAT_EQ (in.leftLevel(), 0.75f);
}

TEST (Panel, ValueLabelsLieAboveTheDialsAndNameLabels)
{
    OpenPanel p;
    auto& panel = *p.panel;
    std::vector<juce::Component*> expected { &panel.getBrandLogo(), &panel.getInputMeter(), &panel.getOutputMeter() };

    for (const auto& row : kButtonRows)
        expected.push_back (&panel.getPowerButton (row.section));

    for (int i = 0; i < OndrelGUI::numDials; ++i)
    {
        expected.push_back (&panel.getDial (i));
        expected.push_back (&panel.getNameLabel (i));
    }

    for (int i = 0; i < OndrelGUI::numDials; ++i)
        expected.push_back (&panel.getValueLabel (i));

    ASSERT_EQ (panel.getNumChildComponents(), (int) expected.size());

    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ (panel.getChildComponent ((int) i), expected[i]) << i;
}

TEST (Panel, TwoEditorsShareOneDialLookAndFeelAndOutliveEachOther)
{
    test::ScopedDisplayList displays ({ test::ScopedDisplayList::makeDisplay ({ 0, 0, 1920, 1055 }, true) });

    OndrelAudioProcessor first, second;
    auto firstEditor = std::make_unique<OndrelAudioProcessorEditor> (first);
    auto secondEditor = std::make_unique<OndrelAudioProcessorEditor> (second);

    for (int i = 0; i < OndrelGUI::numDials; ++i)
    {
        EXPECT_EQ (&firstEditor->getPanel().getDial (i).getLookAndFeel(), &getDialLnf());
        EXPECT_EQ (&secondEditor->getPanel().getDial (i).getLookAndFeel(), &getDialLnf());
    }

    test::setReal (second, ParamIDs::compThresh, -30.0f);
    auto& dial = secondEditor->getPanel().getDial (OndrelGUI::thresholdDial);
    const auto before = test::paintToImage (dial);

    firstEditor.reset();

    EXPECT_EQ (&dial.getLookAndFeel(), &getDialLnf());
    const auto after = test::paintToImage (dial);
    ASSERT_EQ (after.getBounds(), before.getBounds());

    int differing = 0;
    for (int y = 0; y < before.getHeight(); ++y)
        for (int x = 0; x < before.getWidth(); ++x)
            differing += before.getPixelAt (x, y) != after.getPixelAt (x, y) ? 1 : 0;

    EXPECT_EQ (differing, 0);

    // The drawing shows something: the ring is there.
    EXPECT_NE (before.getPixelAt (before.getWidth() / 2, before.getHeight() / 2).getAlpha(), 0);
}
