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
    const auto faceSize = face.getWidth();

    g.setColour (juce::Colour (0xff080a0du));
    g.fillEllipse (ring);
    g.setColour (juce::Colour (0xff313b47u));
    g.drawEllipse (ring, juce::jmax (0.01f * D, 1.0f));

    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff283039u), face.getTopLeft(),
                                             juce::Colour (0xff0e1218u), face.getBottomRight(), false));
    g.fillEllipse (face);

    // A soft sheen on the upper part of the knob.
    {
        const auto inset = 0.16f * faceSize;
        const auto hs = juce::jmax (faceSize - 2.0f * inset, 0.0f);
        const juce::Rectangle<float> sheen (face.getX() + inset, face.getY() + inset, hs, hs);
        g.setGradientFill (juce::ColourGradient (juce::Colour (lit ? 0x16ffffffu : 0x09ffffffu), sheen.getCentreX(), sheen.getY(),
                                                 juce::Colours::transparentBlack, sheen.getCentreX(), sheen.getBottom(), false));
        g.fillEllipse (sheen);
    }

    const auto radius = juce::jmax (ring.getWidth() - 2.0f * (0.05f * D), 0.0f) * 0.5f;
    auto arcStroke = [] (float thickness)
    {
        return juce::PathStrokeType (thickness, juce::PathStrokeType::curved, juce::PathStrokeType::rounded);
    };

    juce::Path track;
    track.addCentredArc (centre.x, centre.y, radius, radius, 0.0f, startAngle, endAngle, true);
    g.setColour (juce::Colour (0xff222930u));
    g.strokePath (track, arcStroke (gRotaryStrokeWidth));

    // Eleven ticks outside the track, the ends and the middle longer.
    for (int i = 0; i <= 10; ++i)
    {
        const bool major = i % 5 == 0;
        const auto t = startAngle + ((float) i / 10.0f) * (endAngle - startAngle);
        const juce::Point<float> direction (std::cos (t - juce::MathConstants<float>::halfPi),
                                            std::sin (t - juce::MathConstants<float>::halfPi));
        const auto inner = radius + 0.06f * D;
        const auto length = major ? gTickLengthMajor : gTickLengthMinor;
        const juce::uint8 alpha = lit ? (major ? 0xa8 : 0x88) : (major ? 0x4b : 0x37);

        g.setColour (juce::Colour (0x00c8c8c8u).withAlpha (alpha));
        g.drawLine ({ centre + direction * inner, centre + direction * (inner + length) },
                    major ? gTickThicknessMajor : gTickThicknessMinor);
    }

    const auto valueAngle = startAngle + sliderPos * (endAngle - startAngle);

    if (lit)
    {
        juce::Path arc;
        arc.addCentredArc (centre.x, centre.y, radius, radius, 0.0f, startAngle, valueAngle, true);

        // Outer glow to hot centre line.
        const std::pair<juce::Colour, float> layers[] = {
            { withAlphaByte (kAccent, 0x21), gRotaryGlowWidth1 * 1.42f },
            { withAlphaByte (kAccentDeep, 0xf5), gRotaryGlowWidth2 * 1.14f },
            { kAccent, gRotaryStrokeWidth * 1.48f },
            { withAlphaByte (kAccentBright, 0xfc), gRotaryStrokeWidth * 0.88f },
            { withAlphaByte (kAccentHot, 0xeb), gRotaryStrokeWidth * 0.34f },
        };

        for (const auto& [colour, thickness] : layers)
        {
            g.setColour (colour);
            g.strokePath (arc, arcStroke (thickness));
        }
    }

    const auto pw = juce::jmax (0.026f * D, 2.0f);
    const auto pl = 0.27f * D;
    juce::Path pointer;
    pointer.addRoundedRectangle (-pw * 0.5f, -pl, pw, pl, 0.45f * pw);
    g.setColour (lit ? kAccentHot : withAlphaByte (kTextMuted, 0x9e));
    g.fillPath (pointer, juce::AffineTransform::rotation (valueAngle).translated (centre));

    const auto cap = juce::jmax (0.07f * D, 8.0f);
    g.setColour (juce::Colour (0xff06080au));
    g.fillEllipse (juce::Rectangle<float> (cap, cap).withCentre (centre));

    g.setColour (juce::Colour (lit ? 0x1affffffu : 0x0affffffu));
    g.drawEllipse ({ face.getX() + 1.5f, face.getY() + 1.5f, juce::jmax (faceSize - 3.0f, 0.0f), juce::jmax (faceSize - 3.0f, 0.0f) },
                   1.0f);
}
