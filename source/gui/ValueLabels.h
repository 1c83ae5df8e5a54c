#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <optional>

class UndoGestures;

// The read-out under each dial: the dial's value as text with its unit, and
// a small text field that applies a typed number to the dial.

// The read-out text for the dial's current value, chosen by the dial's
// component name (in lower case): "+3.0 dB", "3.0 : 1", "10 ms", "80 Hz",
// "20 %". Whole-number read-outs round halves away from zero, taking the
// value to the dial's step first so that single-precision noise on a legal
// value (2.5 stored as 2.49999976) does not decide the rounding.
juce::String formatSliderValue (const juce::Slider&);

// The number at the start of an entry, read as the framework's
// String::getDoubleValue reads it (so "-3.5 dB" is -3.5 and "12k" is 12).
// Nothing for an empty entry, and nothing for one that reads as not-a-number
// or infinity ("nan", "inf", "1e999"): such text must never reach a dial.
std::optional<double> readEnteredNumber (const juce::String& text);

// Installs the label's editor callbacks: opening the editor opens an undo
// step named "Edit " + the dial's name; closing it applies the text to the
// dial and commits the step.
void bindEditableValueLabel (juce::Label&, juce::Slider&, UndoGestures&);

// Applies the label's text to the dial (limited to the dial's range), then
// shows the dial's read-out again. An entry without a usable number changes
// nothing.
void commitLabelToSlider (juce::Label&, juce::Slider&);
