#include "DialogLookAndFeel.h"

#include <cmath>

namespace
{
int roundHalfAwayFromZero (float v) { return (int) std::lround (v); }
} // namespace

DialogLookAndFeel::DialogLookAndFeel()
{
    setColour (juce::AlertWindow::backgroundColourId, juce::Colour (0xff12161b));
    setColour (juce::AlertWindow::textColourId, juce::Colour (0xdcd2e1eb));
    setColour (juce::TextEditor::backgroundColourId, juce::Colour (0xff161c22));
    setColour (juce::TextEditor::textColourId, juce::Colour (0xffeff5ff));
    setColour (juce::TextEditor::highlightedTextColourId, juce::Colour (0xffffffff));
    setColour (juce::TextEditor::outlineColourId, juce::Colour (0xff384452));
    setColour (juce::TextEditor::focusedOutlineColourId, juce::Colour (0xff4eff24));
    setColour (juce::TextButton::buttonColourId, juce::Colour (0xff1c232b));
    setColour (juce::TextButton::buttonOnColourId, juce::Colour (0xff26303a));
    setColour (juce::TextButton::textColourOffId, juce::Colour (0xffeff5ff));
    setColour (juce::TextButton::textColourOnId, juce::Colour (0xffeff5ff));
}

void DialogLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& /*backgroundColour*/,
                                              bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    auto face = juce::Colour (0xff181e24);

    if (shouldDrawButtonAsDown)
        face = face.brighter (0.18f);
    else if (shouldDrawButtonAsHighlighted)
        face = face.brighter (0.12f);

    const juce::Rectangle<float> r (0.5f, 0.5f,
                                    juce::jmax (0.0f, (float) button.getWidth() - 1.0f),
                                    juce::jmax (0.0f, (float) button.getHeight() - 1.0f));

    g.setColour (face);
    g.fillRoundedRectangle (r, 5.0f);

    g.setColour (juce::Colour (0xff384452));
    g.drawRoundedRectangle (r, 5.0f, 1.0f);
}

juce::Font DialogLookAndFeel::getTextButtonFont (juce::TextButton&, int buttonHeight)
{
    return juce::Font (juce::jmin (0.9f * (float) buttonHeight, 16.0f), juce::Font::bold);
}

juce::Array<juce::TextButton*> DialogLookAndFeel::getAlertButtons (juce::AlertWindow& alert)
{
    // The alert brings its buttons to the front in the order they were added
    // every time it lays itself out, so they are its last children; a text
    // button added as a custom component sits further back and is skipped.
    juce::Array<juce::TextButton*> found;

    for (auto* child : alert.getChildren())
        if (auto* b = dynamic_cast<juce::TextButton*> (child))
            found.add (b);

    const auto extra = found.size() - alert.getNumButtons();
    if (extra > 0)
        found.removeRange (0, extra);

    return found;
}

void DialogLookAndFeel::drawAlertBox (juce::Graphics& g, juce::AlertWindow& alert, const juce::Rectangle<int>& textArea,
                                      juce::TextLayout& textLayout)
{
    const auto W = (float) alert.getWidth();
    const auto H = (float) alert.getHeight();

    // Wide buttons in the lower part of the box, in place of the framework's
    // row of narrow ones.
    const auto buttons = getAlertButtons (alert);

    if (buttons.size() >= 2)
    {
        const auto bw = 0.3f * W;
        const auto gap = 0.03f * W;
        const auto y = roundHalfAwayFromZero (0.72f * H);
        const auto bh = roundHalfAwayFromZero (0.18f * H);

        buttons[0]->setBounds (roundHalfAwayFromZero (0.5f * W - bw - 0.5f * gap), y, roundHalfAwayFromZero (bw), bh);
        buttons[1]->setBounds (roundHalfAwayFromZero (0.5f * W + 0.5f * gap), y, roundHalfAwayFromZero (bw), bh);
    }
    else if (buttons.size() == 1)
    {
        const auto bw = 0.34f * W;
        buttons[0]->setBounds (roundHalfAwayFromZero ((W - bw) * 0.5f), roundHalfAwayFromZero (0.72f * H),
                               roundHalfAwayFromZero (bw), roundHalfAwayFromZero (0.18f * H));
    }

    for (auto* b : buttons)
        b->setColour (juce::TextButton::buttonColourId, juce::Colour (0xff27374d));

    const juce::Rectangle<float> box (0.0f, 0.0f, W, H);

    g.setGradientFill (juce::ColourGradient (juce::Colour (0xff131415), 0.0f, 0.0f,
                                             juce::Colour (0xff0e0f10), 0.0f, H, false));
    g.fillRoundedRectangle (box, 5.0f);

    g.setColour (juce::Colour (0xffd2e1eb));
    g.drawRoundedRectangle (box, 5.0f, 1.0f);

    // The message centred horizontally, a tenth of the way down the text area.
    textLayout.draw (g, { (float) textArea.getX() + ((float) textArea.getWidth() - textLayout.getWidth()) * 0.5f,
                          (float) textArea.getY() + 0.1f * (float) textArea.getHeight(),
                          textLayout.getWidth(),
                          textLayout.getHeight() });
}

juce::Font DialogLookAndFeel::getAlertWindowTitleFont()
{
    return juce::Font (20.0f, juce::Font::bold);
}

juce::Font DialogLookAndFeel::getAlertWindowMessageFont()
{
    return juce::Font (16.0f, juce::Font::plain);
}
