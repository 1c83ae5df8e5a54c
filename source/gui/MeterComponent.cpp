#include "GUI.h"

#include <cmath>

OndrelGUI::MeterComponent::MeterComponent (const juce::String& caption, std::function<float()> left,
                                           std::function<float()> right)
    : leftLevel (std::move (left)), rightLevel (std::move (right)), label (caption)
{
}

float OndrelGUI::MeterComponent::positionForLevel (float v) const
{
    float d = -60.0f;

    if (v > 0.000001f)
        d = juce::jlimit (-60.0f, maxDb, juce::jmax (20.0f * std::log10 (v), -100.0f));

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

    g.setColour (withAlphaByte (kTextSecondary, isActive ? 0xfa : 0x57));
    g.setFont (juce::Font (0.05f * H, juce::Font::bold));
    const auto x0 = 0.15f * W;
    g.drawText (label, juce::roundToInt (x0), 0, juce::roundToInt (0.70f * W), juce::roundToInt (0.085f * H),
                juce::Justification::centredTop, true);

    auto drawBar = [&] (juce::Rectangle<float> r, float level)
    {
        const auto rw = r.getWidth();
        g.setColour (juce::Colour (0xff10141a));
        g.fillRoundedRectangle (r, 0.24f * rw);
        g.setColour (juce::Colour (0xff384452));
        g.drawRoundedRectangle (r, 0.24f * rw, 1.1f);

        if (! isActive)
            return;

        const auto well = r.reduced (0.08f * rw);
        auto top = well.getBottom() - positionForLevel (level) * well.getHeight();

        if (level > 0.000001f && well.getBottom() - top < 2.0f)
            top = well.getBottom() - 2.0f;

        if (level > 0.000001f)
        {
            const auto db = 20.0f * std::log10 (level);
            const auto colour = db > 3.0f ? juce::Colour (0xffff2626)
                              : db > -3.0f ? juce::Colour (0xffff7612)
                              : db > -9.0f ? juce::Colour (0xffffe828)
                                           : juce::Colour (0xff00ff6e);
            g.setColour (colour);
            g.fillRect (well.withTop (juce::jlimit (well.getY(), well.getBottom(), top)));
        }
    };

    drawBar ({ x0, 0.085f * H, 0.29f * W, 0.84f * H }, leftLevel ? leftLevel() : 0.0f);
    drawBar ({ x0 + 0.29f * W + 0.12f * W, 0.085f * H, 0.29f * W, 0.84f * H }, rightLevel ? rightLevel() : 0.0f);
}
