#include "IconButton.h"

#include <cmath>

namespace
{
int roundHalfAwayFromZero (float v) { return (int) std::lround (v); }

const juce::Colour kTextFace { 0xff181e24 };
const juce::Colour kTextOutline { 0xff384452 };
const juce::Colour kGlyph { 0xffdce6f0 };
const juce::Colour kHighlightRing { 0xff8296af };
const juce::Colour kCapInnerOutline { 0xff445260 };
} // namespace

IconButton::IconButton (const juce::String& buttonName)
    : juce::Button (buttonName)
{
}

IconButton::~IconButton() = default;

float IconButton::enabledFactor() const
{
    // Component::isEnabled() already folds in every parent.
    return isEnabled() ? 1.0f : 0.35f;
}

juce::uint8 IconButton::scaledAlpha (float alpha) const
{
    return (juce::uint8) juce::jlimit (0, 255, juce::roundToInt (alpha * enabledFactor()));
}

void IconButton::paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    if (text.isNotEmpty())
        paintTextStyle (g, shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown);
    else
        paintIconStyle (g, shouldDrawButtonAsHighlighted, shouldDrawButtonAsDown);
}

void IconButton::paintTextStyle (juce::Graphics& g, bool over, bool down)
{
    const auto w = (float) getWidth();
    const auto h = (float) getHeight();
    const juce::Rectangle<float> face (0.5f, 0.5f, juce::jmax (0.0f, w - 1.0f), juce::jmax (0.0f, h - 1.0f));

    auto faceColour = kTextFace;
    if (down)
        faceColour = faceColour.brighter (0.18f);
    else if (over)
        faceColour = faceColour.brighter (0.12f);

    g.setColour (faceColour.withAlpha (scaledAlpha (255.0f)));
    g.fillRoundedRectangle (face, 5.0f);

    g.setColour (kTextOutline.withAlpha (scaledAlpha (255.0f)));
    g.drawRoundedRectangle (face, 5.0f, 1.0f);

    const juce::Font font (juce::jmax (0.5f * (h - 1.0f), 11.0f), juce::Font::bold);

    // Centre the label inside the padded face. A label wider than the face
    // starts left of the padding and is squeezed or cut by the fitted-text
    // drawing below, never wrapped.
    const auto pad = 0.1f * (w - 1.0f);
    const auto innerWidth = (w - 1.0f) - 2.0f * pad;
    const auto textWidth = font.getStringWidthFloat (text);
    const auto x = roundHalfAwayFromZero (pad + 0.5f + 0.5f * innerWidth - 0.5f * textWidth);

    g.setColour (kGlyph.withAlpha (scaledAlpha (255.0f)));
    g.setFont (font);
    g.drawFittedText (text,
                      juce::Rectangle<int> (x, 0, juce::jmax (0, getWidth() - x - 6), getHeight()),
                      juce::Justification::centredLeft,
                      1);
}

void IconButton::paintIconStyle (juce::Graphics& g, bool over, bool down)
{
    const auto bounds = getLocalBounds().toFloat();
    const auto area = bounds.reduced (0.03f * bounds.getWidth(), 0.03f * bounds.getHeight());

    if ((over || down) && isEnabled() && showHighlight)
    {
        const auto ring = area.reduced (0.08f * area.getWidth(), 0.08f * area.getHeight());

        g.setColour (juce::Colours::white.withAlpha ((juce::uint8) (down ? 60 : 40)));
        g.fillEllipse (ring);

        g.setColour (kHighlightRing.withAlpha ((juce::uint8) (down ? 120 : 82)));
        g.drawEllipse (ring, juce::jmax (1.0f, 0.03f * (float) getHeight()));
    }

    if (icon != nullptr)
    {
        juce::Rectangle<float> box;

        if (useCustomIconSize)
            box = { juce::jlimit (0.0f, area.getWidth(), iconWidth), juce::jlimit (0.0f, area.getHeight(), iconHeight) };
        else
            box = { 0.62f * juce::jmin (area.getWidth(), area.getHeight()), 0.62f * juce::jmin (area.getWidth(), area.getHeight()) };

        icon->drawWithin (g, box.withCentre (area.getCentre()), juce::RectanglePlacement::centred, 1.0f);
        return;
    }

    switch (iconKind)
    {
        case Gear: paintGearGlyph (g, area); break;
        case Undo: paintArrowGlyph (g, area, over, down, true); break;
        case Redo: paintArrowGlyph (g, area, over, down, false); break;
        case None:
        default:   break;
    }
}

void IconButton::paintGearGlyph (juce::Graphics& g, juce::Rectangle<float> area)
{
    const auto size = useCustomIconSize
                          ? juce::jmin (juce::jlimit (0.0f, area.getWidth(), iconWidth),
                                        juce::jlimit (0.0f, area.getHeight(), iconHeight))
                          : 0.64f * juce::jmin (area.getWidth(), area.getHeight());
    const auto centre = area.getCentre();
    const auto r = 0.42f * size;

    g.setColour (kGlyph.withAlpha (scaledAlpha (255.0f)));
    g.drawEllipse (centre.x - r, centre.y - r, 2.0f * r, 2.0f * r, 1.6f);

    const auto hub = 0.46f * r;
    g.fillEllipse (centre.x - hub, centre.y - hub, 2.0f * hub, 2.0f * hub);

    for (int i = 0; i < 8; ++i)
    {
        const auto angle = juce::MathConstants<float>::pi * 0.25f * (float) i;
        const juce::Point<float> d (std::cos (angle), std::sin (angle));
        g.drawLine ({ centre + d * (0.76f * r), centre + d * (1.12f * r) }, 1.5f);
    }
}

void IconButton::paintArrowGlyph (juce::Graphics& g, juce::Rectangle<float> area, bool over, bool down, bool mirrored)
{
    const auto a = enabledFactor();

    // Key cap: a square centred in the icon area.
    const auto s0 = juce::jmin (area.getWidth(), area.getHeight());
    const auto m = 0.07f * s0;
    const auto side = juce::jmax (0.0f, s0 - 2.0f * m);
    const juce::Rectangle<float> cap (area.getX() + (area.getWidth() - s0) * 0.5f + m,
                                      area.getY() + (area.getHeight() - s0) * 0.5f + m,
                                      side,
                                      side);
    const auto corner = 0.18f * side;
    const auto thickness = 0.025f * side;

    const auto capColour = juce::Colours::white.withAlpha (scaledAlpha (down ? 60.0f : 40.0f));
    float innerOutlineStrength = 0.54f;

    if (over)
    {
        g.setColour (capColour);
        g.fillRoundedRectangle (cap, corner);
        innerOutlineStrength = 0.78f;
    }

    g.setColour (capColour);
    g.drawRoundedRectangle (cap, corner, thickness);

    g.setColour (kCapInnerOutline.withAlpha (scaledAlpha (255.0f * innerOutlineStrength)));
    g.drawRoundedRectangle (cap.reduced (0.5f * thickness), corner, thickness);

    g.setColour (juce::Colours::white.withAlpha (0.065f * a));
    g.fillRoundedRectangle ({ cap.getX() + 0.13f * side, cap.getY() + 0.045f * side, side - 0.26f * side, 0.018f * side },
                            0.009f * side);

    // The arrow, drawn in a box of its own on the unit square; undo is the
    // redo arrow mirrored about the box's vertical centre line.
    const auto glyphSize = useCustomIconSize
                               ? juce::jmin (juce::jlimit (0.0f, side, iconWidth), juce::jlimit (0.0f, side, iconHeight))
                               : 0.57f * side;
    const auto origin = cap.getCentre() - juce::Point<float> (0.5f * glyphSize, 0.5f * glyphSize);

    auto pt = [&] (float u, float v)
    {
        return origin + juce::Point<float> ((mirrored ? 1.0f - u : u) * glyphSize, v * glyphSize);
    };

    juce::Path shaft;
    shaft.startNewSubPath (pt (0.14f, 0.76f));
    shaft.cubicTo (pt (0.12f, 0.54f), pt (0.23f, 0.34f), pt (0.45f, 0.30f));
    shaft.cubicTo (pt (0.52f, 0.29f), pt (0.58f, 0.30f), pt (0.63f, 0.34f));

    juce::Path head;
    head.startNewSubPath (pt (0.64f, 0.15f));
    head.lineTo (pt (0.85f, 0.35f));
    head.lineTo (pt (0.64f, 0.55f));

    const juce::PathStrokeType stroke (0.095f * glyphSize, juce::PathStrokeType::curved, juce::PathStrokeType::rounded);
    const auto shadowOffset = juce::AffineTransform::translation (0.0f, 0.025f * glyphSize);

    g.setColour (juce::Colours::black.withAlpha (0.3f * a));
    g.strokePath (shaft, stroke, shadowOffset);
    g.strokePath (head, stroke, shadowOffset);

    g.setColour (kGlyph.withAlpha (scaledAlpha (255.0f)));
    g.strokePath (shaft, stroke);
    g.strokePath (head, stroke);
}
