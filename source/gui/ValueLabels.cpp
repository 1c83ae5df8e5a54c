#include "ValueLabels.h"

#include "UndoGestures.h"

#include <cmath>

namespace
{
enum class ReadoutKind
{
    decibels,
    ratio,
    milliseconds,
    hertz,
    percent,
    plain
};

ReadoutKind kindForName (const juce::String& lowerCaseName)
{
    static const juce::StringArray decibelNames { "input", "output", "threshold", "makeup", "low",
                                                  "mid",   "high",   "air",       "drive" };
    static const juce::StringArray percentNames { "mix", "width", "size", "damp", "amount" };

    if (decibelNames.contains (lowerCaseName))
        return ReadoutKind::decibels;
    if (lowerCaseName == "ratio")
        return ReadoutKind::ratio;
    if (lowerCaseName == "attack" || lowerCaseName == "release")
        return ReadoutKind::milliseconds;
    if (lowerCaseName == "freq" || lowerCaseName == "hpf" || lowerCaseName == "lpf")
        return ReadoutKind::hertz;
    if (percentNames.contains (lowerCaseName))
        return ReadoutKind::percent;
    return ReadoutKind::plain;
}

// Fixed notation, so a small negative value keeps its sign ("-0.0").
juce::String oneDecimal (double v) { return juce::String (v, 1); }

// Decimal places of a step such as 0.01 (2); none for no step.
int decimalPlacesOf (double interval)
{
    if (! (interval > 0.0))
        return -1;

    auto scaled = std::llabs (std::llround (interval * 1.0e7));
    int places = 7;

    while (places > 0 && scaled % 10 == 0)
    {
        scaled /= 10;
        --places;
    }

    return places;
}

// Halves away from zero, of the value as the dial's step states it: the
// parameters hold single-precision values, so a legal 2.5 ms is stored as
// 2.49999976 and would otherwise tip down to 2. Frequencies stay in hertz
// however large.
juce::String wholeNumber (double v, double interval)
{
    if (const auto places = decimalPlacesOf (interval); places >= 0)
    {
        const auto scale = std::pow (10.0, places);
        v = std::round (v * scale) / scale;
    }

    return juce::String ((juce::int64) std::llround (v));
}
} // namespace

juce::String formatSliderValue (const juce::Slider& slider)
{
    const auto v = slider.getValue();
    const auto step = slider.getInterval();

    switch (kindForName (slider.getName().toLowerCase()))
    {
        case ReadoutKind::decibels:     return (v > 0.0 ? "+" : "") + oneDecimal (v) + " dB";
        case ReadoutKind::ratio:        return oneDecimal (v) + " : 1";
        case ReadoutKind::milliseconds: return wholeNumber (v, step) + " ms";
        case ReadoutKind::hertz:        return wholeNumber (v, step) + " Hz";
        case ReadoutKind::percent:      return wholeNumber (v, step) + " %";
        case ReadoutKind::plain:        break;
    }

    return juce::String (v, juce::jmax (slider.getNumDecimalPlacesToDisplay(), 1));
}

std::optional<double> readEnteredNumber (const juce::String& text)
{
    const auto trimmed = text.trim();

    if (trimmed.isEmpty())
        return std::nullopt;

    const auto x = trimmed.getDoubleValue();

    if (! std::isfinite (x))
        return std::nullopt;

    return x;
}

void commitLabelToSlider (juce::Label& label, juce::Slider& slider)
{
    if (const auto x = readEnteredNumber (label.getText()))
        slider.setValue (juce::jlimit (slider.getMinimum(), slider.getMaximum(), *x), juce::sendNotificationSync);

    label.setText (formatSliderValue (slider), juce::dontSendNotification);
}

void bindEditableValueLabel (juce::Label& label, juce::Slider& slider, UndoGestures& undo)
{
    label.onEditorShow = [&label, &slider, &undo]
    {
        undo.begin ("Edit " + slider.getName());

        if (auto* editor = label.getCurrentTextEditor())
            editor->setJustification (juce::Justification::centred);
    };

    label.onEditorHide = [&label, &slider, &undo]
    {
        commitLabelToSlider (label, slider);
        undo.commit();
    };
}
