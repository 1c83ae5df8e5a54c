#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Draws the panel's rotary dials: a dark knob in a ring, a track, a green
// value arc and a pointer. A dial whose component property "ondrelLit" is
// false (its section is switched off) is drawn unlit: no value arc, muted
// pointer. A dial without the property draws lit.
class DialLookAndFeel : public juce::LookAndFeel_V4
{
public:
    DialLookAndFeel() = default;

    static constexpr const char* litProperty = "ondrelLit";

    juce::Font getLabelFont (juce::Label&) override;

    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height,
                           float sliderPosProportional, float rotaryStartAngle, float rotaryEndAngle,
                           juce::Slider&) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DialLookAndFeel)
};

// The one DialLookAndFeel of the process, shared by every dial of every open
// panel. Created on first use and destroyed at program exit, so it outlives
// any panel: a panel hands its dials back to the default look before it goes.
DialLookAndFeel& getDialLnf();
