#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// The maker's logo in the panel header, drawn from an embedded SVG document.
// A document that does not parse leaves the component empty.
class BrandLogoSimple : public juce::Component
{
public:
    BrandLogoSimple();
    explicit BrandLogoSimple (const juce::String& svgDocument);

    // Builds the logo from another document (the panel's is the embedded one);
    // one that does not parse leaves the component empty.
    void setDocument (const juce::String& svgDocument);

    bool hasDrawable() const noexcept { return logo != nullptr; }

    void paint (juce::Graphics&) override;

    static const char* const svgDocument;

private:
    std::unique_ptr<juce::Drawable> logo;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BrandLogoSimple)
};
