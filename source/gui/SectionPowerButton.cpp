#include "GUI.h"

OndrelGUI::SectionPowerButton::SectionPowerButton (const juce::String& buttonName)
    : juce::Button (buttonName)
{
    setClickingTogglesState (true);
    setWantsKeyboardFocus (false);
}

void OndrelGUI::SectionPowerButton::mouseDown (const juce::MouseEvent& e)
{
    if (onPress)
        onPress();

    juce::Button::mouseDown (e);
}

void OndrelGUI::SectionPowerButton::mouseUp (const juce::MouseEvent& e)
{
    // The framework flips the toggle (and the attachment writes the switch)
    // only when the mouse comes up over the button; the step closes after that.
    juce::Button::mouseUp (e);

    if (onRelease)
        onRelease();
}

void OndrelGUI::SectionPowerButton::paintButton (juce::Graphics& g, bool over, bool down)
{
    const bool lampAllowed = getProperties().getWithDefault (lampAllowedProperty, true);
    const bool lit = lampAllowed && ! getToggleState();

    auto base = lit ? juce::Colour (0xff48ff24) : juce::Colour (0xff5c6772);
    if (over)
        base = base.brighter (0.12f);
    if (down)
        base = base.darker (0.14f);

    const auto area = juce::Rectangle<float> (1.0f, 1.0f, juce::jmax ((float) getWidth() - 2.0f, 0.0f),
                                              juce::jmax ((float) getHeight() - 2.0f, 0.0f));
    g.setColour (juce::Colour (0xb905080b));
    g.fillEllipse (area);

    const auto centre = area.getCentre();
    const auto r = 0.29f * juce::jmin (area.getWidth(), area.getHeight());
    const auto t = juce::jmax (0.075f * area.getWidth(), 1.25f);

    juce::Path symbol;
    symbol.addCentredArc (centre.x, centre.y, r, r, 0.0f, 0.23f * juce::MathConstants<float>::pi,
                          1.77f * juce::MathConstants<float>::pi, true);
    g.setColour (base);
    g.strokePath (symbol, juce::PathStrokeType (t, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    g.drawLine (centre.x, centre.y - 1.2f * r, centre.x, centre.y - 0.12f * r, t);

    g.setColour (juce::Colour (0x28ffffff));
    g.drawEllipse (area, juce::jmax (0.035f * area.getWidth(), 1.0f));
}
