#include "GUI.h"

#include <cmath>

OndrelGUI::MeterComponent::MeterComponent (const juce::String& caption, std::function<float()> left,
                                           std::function<float()> right)
    : leftLevel (std::move (left)), rightLevel (std::move (right)), label (caption)
{
}

float OndrelGUI::MeterComponent::levelInDb (float v) const
{
    if (v > 0.000001f)
        return juce::jlimit (-60.0f, maxDb, juce::jmax (20.0f * std::log10 (v), -100.0f));

    return -60.0f;
}

float OndrelGUI::MeterComponent::positionForDb (float d) const
{
    // More than half the height for the range from -24 dB up.
    if (d <= -24.0f) return (d + 60.0f) * 0.42f / 36.0f;
    if (d <= -12.0f) return 0.42f + (d + 24.0f) * 0.2f / 12.0f;
    if (d <= 0.0f)   return 0.62f + (d + 12.0f) * 0.22f / 12.0f;
    return 0.84f + d * 0.16f / maxDb;
}

void OndrelGUI::MeterComponent::paint (juce::Graphics& g)
{
    const auto W = (float) getWidth();
    const auto H = (float) getHeight();
    const auto x0 = 0.15f * W;

    g.setColour (withAlphaByte (kTextSecondary, isActive ? 0xfa : 0x57));
    g.setFont (juce::Font (0.05f * H, juce::Font::bold));
    g.drawText (label, juce::roundToInt (x0), 0, juce::roundToInt (0.70f * W), juce::roundToInt (0.085f * H),
                juce::Justification::centredTop, true);

    static constexpr int marks[] = { -48, -36, -24, -18, -12, -6, -3, 0, 3, 6, 12 };
    auto isMajor = [] (int mark) { return mark == -24 || mark == -12 || mark == 0 || mark == 6 || mark == 12; };
    auto markPosition = [this] (int mark) { return positionForDb (juce::jlimit (-60.0f, maxDb, (float) mark)); };
    const juce::Font numberFont (juce::jmax (0.036f * H, 8.0f), juce::Font::plain);

    auto drawBar = [&] (juce::Rectangle<float> r, float v)
    {
        const auto rw = r.getWidth();

        g.setGradientFill (juce::ColourGradient (juce::Colour (0xff161c23u), r.getX(), r.getY(),
                                                 juce::Colour (0xff080a0cu), r.getX(), r.getBottom(), false));
        g.fillRoundedRectangle (r, 0.24f * rw);
        g.setColour (juce::Colour (0x0cffffffu));
        g.fillRoundedRectangle ({ r.getX() + 0.04f * rw, r.getY() + 0.04f * rw, juce::jmax (rw - 0.08f * rw, 0.0f),
                                  juce::jmax (r.getHeight() - 0.08f * rw, 0.0f) },
                                0.2f * rw);
        g.setColour (juce::Colour (0xff384452u));
        g.drawRoundedRectangle (r, 0.24f * rw, 1.1f);

        const juce::Rectangle<float> I (r.getX() + 0.08f * rw, r.getY() + 0.08f * rw, juce::jmax (rw - 0.16f * rw, 0.0f),
                                        juce::jmax (r.getHeight() - 0.16f * rw, 0.0f));
        const auto iw = I.getWidth(), ih = I.getHeight(), top = I.getY(), bottom = I.getBottom();

        g.setGradientFill (juce::ColourGradient (juce::Colour (0xff05070au), I.getX(), top,
                                                 juce::Colour (0xff10141au), I.getX(), bottom, false));
        g.fillRoundedRectangle (I, 0.18f * iw);

        if (iw > 2.0f)
        {
            for (auto mark : marks)
            {
                const juce::uint8 alpha = isActive ? (isMajor (mark) ? 0x1c : 0x0e) : (isMajor (mark) ? 0x0a : 0x05);
                g.setColour (juce::Colours::white.withAlpha (alpha));
                g.fillRect (juce::Rectangle<float> (I.getX() + 1.0f, std::round (bottom - markPosition (mark) * ih), iw - 2.0f, 1.0f));
            }
        }

        if (isActive)
        {
            const auto d = levelInDb (v);
            auto lt = juce::jlimit (top, bottom, bottom - positionForDb (d) * ih);

            // A live signal always shows.
            if (v > 0.000001f && bottom - lt < 2.0f)
                lt = bottom - 2.0f;

            const auto lh = bottom - lt;

            if (lh > 0.0f)
            {
                const auto c = d > 3.0f ? juce::Colour (0xffff2626u)
                             : d > -3.0f ? juce::Colour (0xffff7612u)
                             : d > -9.0f ? juce::Colour (0xffffe828u)
                                         : juce::Colour (0xff00ff6eu);

                g.setColour (c.withAlpha ((juce::uint8) 0x14));
                g.fillRoundedRectangle ({ I.getX() - 0.34f * iw, lt, juce::jmax (iw + 0.68f * iw, 0.0f), lh }, 0.24f * iw);
                g.setColour (c.withAlpha ((juce::uint8) 0x1a));
                g.fillRoundedRectangle ({ I.getX() - 0.18f * iw, lt, juce::jmax (iw + 0.36f * iw, 0.0f), lh }, 0.19f * iw);

                // The body's gradient spans the whole well, so a higher bar shows more colours.
                juce::ColourGradient body (juce::Colour (0xff00ff54u), I.getCentreX(), bottom,
                                           juce::Colour (0xffff2626u), I.getCentreX(), top, false);
                body.addColour (0.48, juce::Colour (0xff46ff22u));
                body.addColour (0.77, juce::Colour (0xffffe824u));
                body.addColour (0.91, juce::Colour (0xffff700cu));
                g.setGradientFill (body);
                g.fillRoundedRectangle ({ I.getX(), lt, iw, lh }, 0.16f * iw);

                const auto sx = I.getX() + 0.24f * iw;
                const auto sw = juce::jmax (iw - 0.48f * iw, 0.0f);
                g.setGradientFill (juce::ColourGradient (c.brighter (0.28f).withAlpha ((juce::uint8) 0x52), sx + sw * 0.5f, lt,
                                                         c.brighter (0.1f).withAlpha ((juce::uint8) 0x14), sx + sw * 0.5f, lt + lh, false));
                g.fillRoundedRectangle ({ sx, lt, sw, lh }, 0.16f * sw);

                const auto t = juce::jmax (0.01f * ih, 2.0f);
                const auto ty = juce::jlimit (top, bottom - t, lt - t * 0.5f);
                g.setColour (c.brighter (0.3f).withAlpha ((juce::uint8) 0xf2));
                g.fillRoundedRectangle ({ I.getX(), ty, iw, t }, t * 0.5f);
            }
        }

        // Glass highlight, in both states.
        {
            const juce::Rectangle<float> glass (I.getX() + 0.1f * iw, I.getY() + 0.03f * ih, 0.22f * iw, 0.92f * ih);
            g.setGradientFill (juce::ColourGradient (juce::Colour (0x0cffffffu), glass.getX(), glass.getY(),
                                                     juce::Colour (0x00ffffffu), I.getX() + 0.32f * iw, glass.getY(), false));
            g.fillRoundedRectangle (glass, 0.25f * (0.22f * iw));
        }

        g.setFont (numberFont);

        for (auto mark : marks)
        {
            g.setColour ((isMajor (mark) ? kTextSecondary : kTextMuted).withAlpha ((juce::uint8) (isActive ? 0xff : 0x57)));
            g.drawText (juce::String (mark),
                        juce::Rectangle<float> (std::round (I.getX()), std::round (bottom - markPosition (mark) * ih - 0.012f * H),
                                                std::round (iw), std::round (0.028f * H)),
                        juce::Justification::centred, false);
        }
    };

    // Both sources are read on every paint: the smoothing is the processor's.
    drawBar ({ x0, 0.085f * H, 0.29f * W, 0.84f * H }, leftLevel ? leftLevel() : 0.0f);
    drawBar ({ x0 + 0.29f * W + 0.12f * W, 0.085f * H, 0.29f * W, 0.84f * H }, rightLevel ? rightLevel() : 0.0f);
}
