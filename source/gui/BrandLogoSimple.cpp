#include "BrandLogoSimple.h"

// A slate disc with the brand mark cut out of it: a geometric Q (a ring
// round a dot, with a slanted tail), on a 100-unit view box.
const char* const BrandLogoSimple::svgDocument =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 100 100\""
    " shape-rendering=\"geometricPrecision\" text-rendering=\"geometricPrecision\">"
    "<path transform=\"translate(0 0.152567)\" fill=\"#27374D\" fill-rule=\"evenodd\""
    " d=\"M5 50a45 45 0 1 0 90 0a45 45 0 1 0 -90 0z"
    "M28 50a22 22 0 1 0 44 0a22 22 0 1 0 -44 0z"
    "M40 50a10 10 0 1 0 20 0a10 10 0 1 0 -20 0z"
    "M62 70l6 -6l14 14l-6 6z\"/>"
    "</svg>";

BrandLogoSimple::BrandLogoSimple() : BrandLogoSimple (juce::String (svgDocument)) {}

BrandLogoSimple::BrandLogoSimple (const juce::String& document)
{
    setDocument (document);
}

void BrandLogoSimple::setDocument (const juce::String& document)
{
    logo.reset();

    if (auto xml = juce::parseXML (document))
        logo = juce::Drawable::createFromSVG (*xml);

    repaint();
}

void BrandLogoSimple::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::transparentBlack);

    if (logo != nullptr)
        logo->drawWithin (g, getLocalBounds().toFloat(),
                          juce::RectanglePlacement::centred | juce::RectanglePlacement::onlyReduceInSize, 1.0f);
}
