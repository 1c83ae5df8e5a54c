#include "MenuBarLookAndFeel.h"

void MenuBarLookAndFeel::drawPopupMenuBackground (juce::Graphics& g, int width, int height)
{
    const juce::Rectangle<float> outer (1.0f, 1.0f, (float) juce::jmax (0, width - 2), (float) juce::jmax (0, height - 2));
    const juce::Rectangle<float> inner (3.0f, 3.0f, (float) juce::jmax (0, width - 6), (float) juce::jmax (0, height - 6));

    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff101112), 0.0f, 0.0f,
                                             juce::Colour (0xff0f1011), 0.0f, (float) height, false));
    g.fillRect (outer);

    g.setColour (juce::Colour (0xff384452));
    g.drawRect (outer, 1.0f);

    g.setColour (juce::Colour (0xb44e4f51));
    g.drawRect (inner, 1.0f);
}

void MenuBarLookAndFeel::drawPopupMenuItem (juce::Graphics& g, const juce::Rectangle<int>& area,
                                            bool isSeparator, bool /*isActive*/, bool isHighlighted, bool isTicked,
                                            bool hasSubMenu, const juce::String& text,
                                            const juce::String& /*shortcutKeyText*/,
                                            const juce::Drawable* /*icon*/, const juce::Colour* /*textColour*/)
{
    if (isSeparator)
    {
        const auto x1 = area.getX() + 8;
        const auto x2 = area.getRight() - 8;

        if (x2 > x1)
        {
            g.setColour (juce::Colour (0xff2a333d));
            g.fillRect (x1, area.getY() + area.getHeight() / 2, x2 - x1, 1);
        }

        return;
    }

    const juce::Rectangle<int> r (area.getX() + 4, area.getY() + 1,
                                  juce::jmax (0, area.getWidth() - 8), juce::jmax (0, area.getHeight() - 2));

    auto textColour = juce::Colour (0xf0e6eef2);

    if (isHighlighted)
    {
        g.setColour (juce::Colour (0x28ffffff));
        g.fillRect (r);
        textColour = juce::Colours::white;
    }

    // Ticked items (the current display size, the current preset) are shown
    // in bold instead of getting a tick mark.
    const juce::Font font (popupFontHeight, isTicked ? juce::Font::bold : juce::Font::plain);

    auto textX = area.getX() + 16;
    auto textWidth = area.getWidth() - 8 < 25 ? 0 : area.getWidth() - 32;

    // The "Make Default" switch is drawn as a check box in front of its text.
    if (text.equalsIgnoreCase ("Make Default"))
    {
        const auto boxSize = juce::jmin (18.0f, 0.52f * (float) r.getHeight());
        const auto bx = (float) (area.getX() + 16);
        const auto by = (float) (r.getY() + r.getHeight() / 2) - 0.5f * boxSize;
        const juce::Rectangle<float> box (bx, by, boxSize, boxSize);

        g.setColour (juce::Colour (isTicked ? 0x34ffffffu : 0x14ffffffu));
        g.fillRoundedRectangle (box, 4.0f);

        g.setColour (juce::Colour (isTicked ? 0xdcb4c2d4u : 0x84b4c2d4u));
        g.drawRoundedRectangle (box, 4.0f, 1.1f);

        if (isTicked)
        {
            juce::Path tick;
            tick.startNewSubPath (bx + 0.22f * boxSize, by + 0.5f * boxSize);
            tick.lineTo (bx + 0.43f * boxSize, by + 0.78f * boxSize);
            tick.lineTo (bx + 0.82f * boxSize, by + 0.24f * boxSize);

            g.setColour (juce::Colour (0xf0f5faff));
            g.strokePath (tick, juce::PathStrokeType (1.8f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
        }

        const auto advance = juce::jmin (textWidth, juce::roundToInt (0.9f * (float) area.getHeight()));
        textX += advance;
        textWidth -= advance;
    }

    g.setColour (textColour);
    g.setFont (font);
    g.drawText (text, juce::Rectangle<int> (textX, r.getY(), textWidth, r.getHeight()),
                juce::Justification::centredLeft, true);

    if (hasSubMenu)
    {
        const auto ax = (float) (r.getRight() - 14);
        const auto ay = (float) (r.getY() + r.getHeight() / 2);

        juce::Path chevron;
        chevron.startNewSubPath (ax - 3.0f, ay - 4.0f);
        chevron.lineTo (ax + 1.5f, ay);
        chevron.lineTo (ax - 3.0f, ay + 4.0f);

        g.strokePath (chevron, juce::PathStrokeType (1.4f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt));
    }
}

void MenuBarLookAndFeel::drawPopupMenuSectionHeader (juce::Graphics& g, const juce::Rectangle<int>& area,
                                                     const juce::String& sectionName)
{
    g.setColour (juce::Colours::white);
    g.setFont (juce::Font (headerFontHeight, juce::Font::bold));
    g.drawText (sectionName.toUpperCase(),
                juce::Rectangle<int> (area.getX() + 10, area.getY(), juce::jmax (0, area.getWidth() - 20), area.getHeight()),
                juce::Justification::centredLeft, true);
}

juce::Font MenuBarLookAndFeel::getPopupMenuFont()
{
    return juce::Font (popupFontHeight, juce::Font::plain);
}

void MenuBarLookAndFeel::getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator, int standardMenuItemHeight,
                                                    int& idealWidth, int& idealHeight)
{
    // The width as the framework measures it; the height is ours alone, so
    // the menu's standard item height does not matter.
    juce::LookAndFeel_V4::getIdealPopupMenuItemSize (text, isSeparator, standardMenuItemHeight, idealWidth, idealHeight);
    idealHeight = isSeparator ? 6 : itemHeight;
}
