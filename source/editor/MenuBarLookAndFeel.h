#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The dark style of the popup menus opened from the menu bar (the display
// size menu and the preset menu). The menu bar writes the three metrics from
// its own height before each menu is shown, so menus scale with the window.
class MenuBarLookAndFeel : public juce::LookAndFeel_V4
{
public:
    MenuBarLookAndFeel() = default;

    float popupFontHeight = 14.0f;
    float headerFontHeight = 13.0f;
    int itemHeight = 30;

    void drawPopupMenuBackground (juce::Graphics&, int width, int height) override;

    void drawPopupMenuItem (juce::Graphics&, const juce::Rectangle<int>& area,
                            bool isSeparator, bool isActive, bool isHighlighted, bool isTicked, bool hasSubMenu,
                            const juce::String& text, const juce::String& shortcutKeyText,
                            const juce::Drawable* icon, const juce::Colour* textColour) override;

    void drawPopupMenuSectionHeader (juce::Graphics&, const juce::Rectangle<int>& area,
                                     const juce::String& sectionName) override;

    juce::Font getPopupMenuFont() override;

    void getIdealPopupMenuItemSize (const juce::String& text, bool isSeparator, int standardMenuItemHeight,
                                    int& idealWidth, int& idealHeight) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MenuBarLookAndFeel)
};
