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

    auto base = lit ? juce::Colour (0xff48ff24u) : juce::Colour (0xff5c6772u);
    const juce::uint8 glowAlpha = lit ? 0x38 : 0x17;
    auto wash = juce::Colour (0x00ffffffu);

    if (over)
    {
        base = base.brighter (0.12f);
        wash = juce::Colour (0x19ffffffu);
    }

    if (down)
        base = base.darker (0.14f);

    const juce::Rectangle<float> a (1.0f, 1.0f, juce::jmax ((float) getWidth() - 2.0f, 0.0f),
                                    juce::jmax ((float) getHeight() - 2.0f, 0.0f));
    const auto aw = a.getWidth(), ah = a.getHeight();

    g.setColour (juce::Colour (0xb905080bu));
    g.fillEllipse (a);
    g.setColour (wash);
    g.fillEllipse (a);

    // Both insets of the glow follow the width.
    g.setColour (base.withAlpha (glowAlpha));
    g.fillEllipse (1.0f + 0.14f * aw, 1.0f + 0.14f * aw, juce::jmax (aw - 0.28f * aw, 0.0f), juce::jmax (ah - 0.28f * aw, 0.0f));

    const juce::Point<float> centre (1.0f + aw * 0.5f, 1.0f + ah * 0.5f);
    const auto r = 0.29f * juce::jmin (aw, ah);
    const auto t = juce::jmax (0.075f * aw, 1.25f);

    // The power symbol: an arc open at the top and the stem standing in the gap.
    juce::Path arc;
    arc.addCentredArc (centre.x, centre.y, r, r, 0.0f, 0.23f * juce::MathConstants<float>::pi,
                       1.77f * juce::MathConstants<float>::pi, true);
    g.setColour (base);
    g.strokePath (arc, juce::PathStrokeType (t, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    g.drawLine (centre.x, centre.y - 1.2f * r, centre.x, centre.y - 0.12f * r, t);

    g.setColour (juce::Colour (0x28ffffffu));
    g.drawEllipse (a, juce::jmax (0.035f * aw, 1.0f));
}
