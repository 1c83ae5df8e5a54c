#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// The menu bar's one button class. A non-empty label gives a text button with
// a dark rounded face; an empty label gives a bare icon (a drawable from
// outside, or one of the glyphs below drawn from vector paths) with a
// translucent ring-and-disc highlight. Every measure follows the button's
// current size, so the buttons scale with the window without bitmaps.
//
// The fields are plain data: whoever changes one repaints the button.
class IconButton : public juce::Button
{
public:
    // Glyphs the button can draw itself. Int-valued on purpose: a value
    // outside the list simply draws no glyph.
    enum IconKind : int
    {
        None = 0,
        Gear,
        Undo,
        Redo
    };

    explicit IconButton (const juce::String& buttonName);
    ~IconButton() override;

    juce::String text;                    // non-empty selects the text style
    std::unique_ptr<juce::Drawable> icon; // takes precedence over iconKind
    IconKind iconKind = None;
    bool useCustomIconSize = false;       // iconWidth and iconHeight cap the icon box
    float iconWidth = 0.0f;
    float iconHeight = 0.0f;
    bool showHighlight = true;            // icon style: ring-and-disc on hover and press

    // Public so that the drawing can be exercised with any combination of
    // the two flags; the framework calls it from paint() with the button's state.
    void paintButton (juce::Graphics&, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

private:
    // 1.0 when the button and all its parents are enabled, 0.35 otherwise.
    float enabledFactor() const;
    juce::uint8 scaledAlpha (float alpha) const;

    void paintTextStyle (juce::Graphics&, bool over, bool down);
    void paintIconStyle (juce::Graphics&, bool over, bool down);
    void paintGearGlyph (juce::Graphics&, juce::Rectangle<float> area);
    void paintArrowGlyph (juce::Graphics&, juce::Rectangle<float> area, bool over, bool down, bool mirrored);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (IconButton)
};
