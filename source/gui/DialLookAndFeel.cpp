#include "DialLookAndFeel.h"

#include "PanelStyle.h"

#include <cmath>

DialLookAndFeel& getDialLnf()
{
    static DialLookAndFeel instance;
    return instance;
}

juce::Font DialLookAndFeel::getLabelFont (juce::Label&)
{
    return juce::Font (gSliderValueFontHeight, juce::Font::plain);
}

void DialLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height,
                                        float sliderPos, float startAngle, float endAngle, juce::Slider& slider)
{
    const bool lit = slider.getProperties().getWithDefault (litProperty, true);

    const auto w = (float) width, h = (float) height;
    const auto D = juce::jmin (w, h);
    const juce::Rectangle<float> square ((float) x + w * 0.5f - D * 0.5f, (float) y + h * 0.5f - D * 0.5f, D, D);
    const auto centre = square.getCentre();
    const auto ring = square.reduced (0.1f * D);
    const auto face = square.reduced (0.22f * D);

    g.setColour (juce::Colour (0xff080a0d));
    g.fillEllipse (ring);
    g.setColour (juce::Colour (0xff313b47));
    g.drawEllipse (ring, juce::jmax (0.01f * D, 1.0f));

    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff283039), face.getTopLeft(),
                                             juce::Colour (0xff0e1218), face.getBottomRight(), false));
    g.fillEllipse (face);

    const auto radius = juce::jmax (ring.getWidth() - 2.0f * (0.05f * D), 0.0f) * 0.5f;
    const juce::PathStrokeType stroke (gRotaryStrokeWidth, juce::PathStrokeType::curved, juce::PathStrokeType::rounded);

    juce::Path track;
    track.addCentredArc (centre.x, centre.y, radius, radius, 0.0f, startAngle, endAngle, true);
    g.setColour (juce::Colour (0xff222930));
    g.strokePath (track, stroke);

    const auto valueAngle = startAngle + sliderPos * (endAngle - startAngle);

    if (lit)
    {
        juce::Path arc;
        arc.addCentredArc (centre.x, centre.y, radius, radius, 0.0f, startAngle, valueAngle, true);
        g.setColour (withAlphaByte (kAccent, 0x21));
        g.strokePath (arc, juce::PathStrokeType (gRotaryGlowWidth1 * 1.42f, juce::PathStrokeType::curved,
                                                 juce::PathStrokeType::rounded));
        g.setColour (kAccent);
        g.strokePath (arc, juce::PathStrokeType (gRotaryStrokeWidth * 1.48f, juce::PathStrokeType::curved,
                                                 juce::PathStrokeType::rounded));
    }

    const auto pw = juce::jmax (0.026f * D, 2.0f);
    const auto pl = 0.27f * D;
    juce::Path pointer;
    pointer.addRoundedRectangle (-pw * 0.5f, -pl, pw, pl, 0.45f * pw);
    g.setColour (lit ? kAccentHot : withAlphaByte (kTextMuted, 0x9e));
    g.fillPath (pointer, juce::AffineTransform::rotation (valueAngle).translated (centre));

    const auto cap = juce::jmax (0.07f * D, 8.0f);
    g.setColour (juce::Colour (0xff06080a));
    g.fillEllipse (juce::Rectangle<float> (cap, cap).withCentre (centre));
}
