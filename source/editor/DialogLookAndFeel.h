#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The dark style of the alert windows opened from the menu bar (the preset
// save, rename, delete and message dialogs): colours set once at
// construction, its own button faces, fonts and box.
class DialogLookAndFeel : public juce::LookAndFeel_V4
{
public:
    DialogLookAndFeel();

    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;

    void drawAlertBox (juce::Graphics&, juce::AlertWindow&, const juce::Rectangle<int>& textArea,
                       juce::TextLayout&) override;

    juce::Font getAlertWindowTitleFont() override;
    juce::Font getAlertWindowMessageFont() override;

    // The alert's own buttons in the order they were added. JUCE 7 has no
    // AlertWindow::getButton (int), so they are found among its children.
    static juce::Array<juce::TextButton*> getAlertButtons (juce::AlertWindow&);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DialogLookAndFeel)
};
