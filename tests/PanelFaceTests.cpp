// The panel's face: the proportional layout, and pixels of the painted panel,
// dials, meters and lamps checked against colours and positions worked out by
// hand from the drawing rules (not against stored pictures of our own output).
#include <gtest/gtest.h>

#include "GuiTestHelpers.h"
#include "TestHelpers.h"
#include "gui/GUI.h"
#include "../tools/common/RepaintRecorder.h"

#include <cmath>
#include <vector>

namespace
{
using Rect = juce::Rectangle<int>;

struct Rgb
{
    int r, g, b;
};

Rgb rgb (const juce::Image& image, int x, int y)
{
    const auto c = image.getPixelAt (x, y);
    return { c.getRed(), c.getGreen(), c.getBlue() };
}

int maxChannel (Rgb c) { return juce::jmax (c.r, c.g, c.b); }
int maxDifference (Rgb a, Rgb b) { return juce::jmax (std::abs (a.r - b.r), std::abs (a.g - b.g), std::abs (a.b - b.b)); }

// Colour `top` with the given alpha composited over `under`, channel by channel.
Rgb over (juce::Colour top, juce::uint8 alpha, Rgb under)
{
    const auto a = alpha / 255.0;
    auto mix = [a] (int t, int u) { return (int) std::lround (u + (t - u) * a); };
    return { mix (top.getRed(), under.r), mix (top.getGreen(), under.g), mix (top.getBlue(), under.b) };
}

Rgb average (Rgb a, Rgb b) { return { (a.r + b.r) / 2, (a.g + b.g) / 2, (a.b + b.b) / 2 }; }

// Bright, strongly green pixels: the value arcs, a lit lamp.
int countGreen (const juce::Image& image)
{
    int n = 0;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
        {
            const auto c = rgb (image, x, y);
            if (c.g > 150 && c.g > c.r + 80 && c.g > c.b + 60)
                ++n;
        }
    return n;
}

int brightestIn (const juce::Image& image, Rect area)
{
    int best = 0;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            best = juce::jmax (best, maxChannel (rgb (image, x, y)));
    return best;
}

struct FacePanel
{
    OndrelAudioProcessor proc;
    OndrelGUI panel { proc };

    explicit FacePanel (int w = 925, int h = 455) { panel.setBounds (0, 0, w, h); }

    void set (const char* id, float v) { test::setReal (proc, id, v); }
    juce::Image paint() { return test::paintToImage (panel); }

    // Every rectangle the layout writes, in a fixed order.
    std::vector<Rect> allRectangles()
    {
        std::vector<Rect> r { panel.getHeaderArea().toNearestInt(), panel.getBrandLogo().getBounds(),
                              panel.getInputMeter().getBounds(), panel.getOutputMeter().getBounds() };
        for (int i = 0; i < OndrelGUI::numCards; ++i)
            r.push_back (panel.getCard (i).bounds);
        for (int s = 0; s < OndrelGUI::numSections; ++s)
            r.push_back (panel.getPowerButton ((OndrelGUI::Section) s).getBounds());
        for (int i = 0; i < OndrelGUI::numDials; ++i)
            for (juce::Component* c : { (juce::Component*) &panel.getDial (i), (juce::Component*) &panel.getNameLabel (i),
                                        (juce::Component*) &panel.getValueLabel (i) })
                r.push_back (c->getBounds());
        return r;
    }
};

// Where the title strip of a card lies and where its rule is drawn, on a
// 925 x 455 panel: padding round(0.013 W) = 12, strip height 22, the rule at
// roundToInt(y + 22 + 0.002 H) = y + 23.
Rect titleStripOf (const OndrelGUI::SectionCard& card)
{
    return { card.bounds.getX() + 12, card.bounds.getY(), card.bounds.getWidth() - 24, 22 };
}
} // namespace

//==============================================================================
TEST (PanelLayout, TheWholeTableAt925By455)
{
    FacePanel p;
    auto& panel = p.panel;

    struct Row
    {
        const char* what;
        Rect actual, expected;
    };

    auto dial = [&panel] (int i) { return panel.getDial (i).getBounds(); };
    auto name = [&panel] (int i) { return panel.getNameLabel (i).getBounds(); };
    auto value = [&panel] (int i) { return panel.getValueLabel (i).getBounds(); };
    auto card = [&panel] (int i) { return panel.getCard (i).bounds; };
    auto button = [&panel] (OndrelGUI::Section s) { return panel.getPowerButton (s).getBounds(); };

    const Row rows[] = {
        { "header", panel.getHeaderArea().toNearestInt(), { 23, 12, 879, 41 } },
        { "Input card", card (OndrelGUI::inputCard), { 23, 61, 116, 187 } },
        { "Tone card", card (OndrelGUI::toneCard), { 150, 61, 243, 187 } },
        { "Compression card", card (OndrelGUI::compCard), { 404, 61, 394, 187 } },
        { "Character card", card (OndrelGUI::characterCard), { 23, 257, 370, 187 } },
        { "Space card", card (OndrelGUI::spaceCard), { 404, 257, 267, 187 } },
        { "Output card", card (OndrelGUI::outputCard), { 683, 257, 116, 187 } },
        { "Levels card", card (OndrelGUI::levelsCard), { 809, 61, 93, 382 } },
        { "Tone power", button (OndrelGUI::toneSection), { 366, 64, 20, 20 } },
        { "Compression power", button (OndrelGUI::compSection), { 771, 64, 20, 20 } },
        { "Character power", button (OndrelGUI::characterSection), { 366, 260, 20, 20 } },
        { "Space power", button (OndrelGUI::spaceSection), { 644, 260, 20, 20 } },
        { "main power", button (OndrelGUI::mainSection), { 858, 19, 28, 28 } },
        { "logo", panel.getBrandLogo().getBounds(), { 42, 21, 23, 23 } },
        { "input meter", panel.getInputMeter().getBounds(), { 820, 93, 71, 163 } },
        { "output meter", panel.getOutputMeter().getBounds(), { 820, 270, 71, 163 } },
        { "Input name", name (OndrelGUI::inputDial), { 27, 110, 108, 13 } },
        { "Input dial", dial (OndrelGUI::inputDial), { 27, 117, 108, 86 } },
        { "Input value", value (OndrelGUI::inputDial), { 38, 197, 86, 16 } },
        { "Threshold name", name (OndrelGUI::thresholdDial), { 418, 110, 73, 13 } },
        { "Threshold dial", dial (OndrelGUI::thresholdDial), { 418, 117, 73, 86 } },
        { "Threshold value", value (OndrelGUI::thresholdDial), { 425, 197, 58, 16 } },
        { "Makeup name", name (OndrelGUI::makeupDial), { 711, 110, 73, 13 } },
        { "Makeup dial", dial (OndrelGUI::makeupDial), { 711, 117, 73, 86 } },
        { "Makeup value", value (OndrelGUI::makeupDial), { 718, 197, 58, 16 } },
        { "Freq name", name (OndrelGUI::deEssFreqDial), { 36, 306, 83, 13 } },
        { "Freq dial", dial (OndrelGUI::deEssFreqDial), { 36, 313, 83, 86 } },
        { "Freq value", value (OndrelGUI::deEssFreqDial), { 44, 393, 66, 16 } },
        { "Drive name", name (OndrelGUI::driveDial), { 208, 306, 86, 13 } },
        { "Drive dial", dial (OndrelGUI::driveDial), { 208, 313, 86, 86 } },
        { "Drive value", value (OndrelGUI::driveDial), { 217, 393, 69, 16 } },
        { "Width name", name (OndrelGUI::widthDial), { 413, 306, 62, 13 } },
        { "Width dial", dial (OndrelGUI::widthDial), { 413, 313, 62, 86 } },
        { "Width value", value (OndrelGUI::widthDial), { 420, 393, 50, 16 } },
        { "Output name", name (OndrelGUI::outputDial), { 687, 306, 108, 13 } },
        { "Output dial", dial (OndrelGUI::outputDial), { 687, 313, 108, 86 } },
        { "Output value", value (OndrelGUI::outputDial), { 698, 393, 86, 16 } },
        { "HPF name", name (OndrelGUI::hpfDial), { 211, 86, 52, 12 } },
        { "HPF dial", dial (OndrelGUI::hpfDial), { 211, 98, 52, 49 } },
        { "HPF value", value (OndrelGUI::hpfDial), { 204, 140, 65, 18 } },
        { "LPF name", name (OndrelGUI::lpfDial), { 280, 86, 52, 12 } },
        { "LPF dial", dial (OndrelGUI::lpfDial), { 280, 98, 52, 49 } },
        { "LPF value", value (OndrelGUI::lpfDial), { 274, 140, 65, 18 } },
        { "Low name", name (OndrelGUI::lowDial), { 163, 165, 48, 12 } },
        { "Low dial", dial (OndrelGUI::lowDial), { 163, 177, 48, 48 } },
        { "Low value", value (OndrelGUI::lowDial), { 157, 217, 59, 18 } },
        { "Air name", name (OndrelGUI::airDial), { 332, 165, 48, 12 } },
        { "Air dial", dial (OndrelGUI::airDial), { 332, 177, 48, 48 } },
        { "Air value", value (OndrelGUI::airDial), { 326, 217, 59, 18 } },
    };

    for (const auto& row : rows)
        EXPECT_EQ (row.actual, row.expected) << row.what;

    // The header is stored as floats but always holds whole numbers.
    EXPECT_EQ (panel.getHeaderArea(), panel.getHeaderArea().toNearestInt().toFloat());

    for (int i = 0; i < OndrelGUI::numDials; ++i)
    {
        EXPECT_NEAR (panel.getNameLabel (i).getFont().getHeight(), 11.5115f, 1e-4f) << i;
        EXPECT_NEAR (panel.getValueLabel (i).getFont().getHeight(), 9.7825f, 1e-4f) << i;
        EXPECT_FALSE (panel.getNameLabel (i).getFont().isBold()) << i;
    }

    EXPECT_NEAR (gRotaryStrokeWidth, 2.0475f, 1e-5f);
    EXPECT_NEAR (gSliderValueFontHeight, 0.021f * 455.0f, 1e-4f);
    EXPECT_NEAR (gTickLengthMajor, 0.0075f * 455.0f, 1e-5f);
}

TEST (PanelLayout, ScalesWithTheWindowAndTakesSizesFromTheSmallerSide)
{
    FacePanel base;
    const auto reference = base.allRectangles();

    // Every rectangle follows the window; the rounding of each step may move
    // an edge by a pixel or two, never more.
    for (const double factor : { 2.0, 1.5, 0.6 })
    {
        FacePanel scaled ((int) std::lround (925 * factor), (int) std::lround (455 * factor));
        const auto rects = scaled.allRectangles();
        ASSERT_EQ (rects.size(), reference.size());

        for (size_t i = 0; i < rects.size(); ++i)
        {
            const auto& a = rects[i];
            const auto& r = reference[i];
            EXPECT_NEAR (a.getX(), r.getX() * factor, 2.5) << i << " at " << factor;
            EXPECT_NEAR (a.getY(), r.getY() * factor, 2.5) << i << " at " << factor;
            EXPECT_NEAR (a.getWidth(), r.getWidth() * factor, 2.5) << i << " at " << factor;
            EXPECT_NEAR (a.getHeight(), r.getHeight() * factor, 2.5) << i << " at " << factor;
        }
    }

    // Taller than wide: fonts and strokes from the width.
    FacePanel tall (300, 600);
    EXPECT_NEAR (gRotaryStrokeWidth, 0.0045f * 300.0f, 1e-5f);
    EXPECT_NEAR (tall.panel.getNameLabel (0).getFont().getHeight(), 0.0253f * 300.0f, 1e-4f);
    EXPECT_NEAR (tall.panel.getValueLabel (0).getFont().getHeight(), 0.0215f * 300.0f, 1e-4f);
}

TEST (PanelLayout, TinyPanelsGiveNoNegativeSizes)
{
    for (const auto& size : { juce::Point<int> { 0, 0 }, { 1, 1 }, { 3, 2 }, { 12, 6 }, { 2, 40 }, { 40, 2 } })
    {
        FacePanel p (size.x, size.y);

        for (const auto& r : p.allRectangles())
        {
            EXPECT_GE (r.getWidth(), 0) << size.x << " x " << size.y;
            EXPECT_GE (r.getHeight(), 0) << size.x << " x " << size.y;
        }

        for (float g : { gRotaryStrokeWidth, gRotaryGlowWidth1, gTickLengthMajor, gSliderValueFontHeight })
            EXPECT_GE (g, 0.0f);

        if (size.x > 0 && size.y > 0)
            p.paint(); // and drawing at that size does not fail
    }
}

//==============================================================================
TEST (PanelPainting, CardCornersTitleStripsAndRules)
{
    FacePanel p;
    const auto image = p.paint();
    const auto& input = p.panel.getCard (OndrelGUI::inputCard);
    const auto x0 = input.bounds.getX(), y0 = input.bounds.getY();

    // The chassis is a vertical gradient, so a row of it has one colour; the
    // gap between the Input and Tone cards shows it.
    auto chassis = [&image] (int y) { return rgb (image, 144, y); };

    // Corner of 0.02 m = 9.1 px: on the diagonal from the card's corner, the
    // first pixel the card (with its rim) touches is the third. A 6 px corner
    // would reach the second, a 12 px one only the fourth.
    for (int d = 0; d <= 1; ++d)
        EXPECT_LE (maxDifference (rgb (image, x0 + d, y0 + d), chassis (y0 + d)), 1) << d;
    EXPECT_GE (maxDifference (rgb (image, x0 + 2, y0 + 2), chassis (y0 + 2)), 4);

    // The 1-pixel rule under the 22-pixel title strip, kCardEdge at 0xA3 over
    // the card (its neighbours above and below).
    const int ruleY = y0 + 23;
    for (int x : { x0 + 60, x0 + 90 })
    {
        const auto under = average (rgb (image, x, ruleY - 1), rgb (image, x, ruleY + 1));
        EXPECT_LE (maxDifference (rgb (image, x, ruleY), over (kCardEdge, 0xa3, under)), 2) << x;
    }

    // The rule spans the padded width only: none 12 px in from the card edge minus one.
    const auto outside = average (rgb (image, x0 + 11, ruleY - 1), rgb (image, x0 + 11, ruleY + 1));
    EXPECT_LE (maxDifference (rgb (image, x0 + 11, ruleY), outside), 2);
}

TEST (PanelPainting, TitlesRulesAndHeaderLinesFollowTheSwitches)
{
    FacePanel p;

    // Brightest pixel of each card's title (the left part of its strip, clear
    // of the lamps), and the rule's colour against the card under it.
    auto titleBrightness = [&p] (const juce::Image& image, int card)
    {
        auto strip = titleStripOf (p.panel.getCard (card));
        return brightestIn (image, strip.withWidth (strip.getWidth() * 6 / 10));
    };
    auto ruleIsDimmed = [&p] (const juce::Image& image, int card)
    {
        const auto strip = titleStripOf (p.panel.getCard (card));
        const int x = strip.getX() + 4, y = strip.getY() + 23;
        const auto under = average (rgb (image, x, y - 1), rgb (image, x, y + 1));
        const auto actual = rgb (image, x, y);
        const bool dim = maxDifference (actual, over (kCardEdge, 0x3d, under)) <= 2;
        const bool full = maxDifference (actual, over (kCardEdge, 0xa3, under)) <= 2;
        EXPECT_NE (dim, full) << card;
        return dim;
    };

    // Header accent lines: 1 px at y 43, the left one from x 366 to 420.
    auto headerLine = [] (const juce::Image& image)
    {
        const auto under = average (rgb (image, 390, 42), rgb (image, 390, 44));
        return std::make_pair (rgb (image, 390, 43), under);
    };

    struct Case
    {
        const char* what;
        bool mainBypass, compBypass;
    };

    for (const auto& c : { Case { "all on", false, false }, Case { "compression off", false, true },
                           Case { "plug-in off", true, false } })
    {
        p.set (ParamIDs::mainBypass, c.mainBypass ? 1.0f : 0.0f);
        p.set (ParamIDs::compBypass, c.compBypass ? 1.0f : 0.0f);
        const auto image = p.paint();

        for (int card = 0; card < OndrelGUI::numCards; ++card)
        {
            const bool dimmed = c.mainBypass || (c.compBypass && card == OndrelGUI::compCard);
            const auto bright = titleBrightness (image, card);

            // Full: kTextMain (0xea..) on a glyph stem; dimmed: 0x57 of it over the card.
            if (dimmed)
                EXPECT_LT (bright, 110) << c.what << ", card " << card;
            else
                EXPECT_GT (bright, 190) << c.what << ", card " << card;

            EXPECT_EQ (ruleIsDimmed (image, card), dimmed) << c.what << ", card " << card;
        }

        const auto [line, under] = headerLine (image);
        const auto expected = c.mainBypass ? over (kCardEdge, 0x6b, under) : over (kAccentBright, 0x8c, under);
        EXPECT_LE (maxDifference (line, expected), 3) << c.what;
    }
}

TEST (PanelPainting, LogoOnThePlateAndTheBrandTextBesideIt)
{
    FacePanel p;
    const auto withLogo = p.paint();

    // Logo (42, 21, 23 x 23): 0.23 px per unit, disc centre at (53.5, 32.5).
    // The ring of the disc (radius 35 units) and its centre dot are slate;
    // the ring cut out between them (17 units) shows the plate.
    const Rgb slate { 0x27, 0x37, 0x4d };
    EXPECT_LE (maxDifference (rgb (withLogo, 53, 24), slate), 3);
    EXPECT_LE (maxDifference (rgb (withLogo, 53, 32), slate), 3);
    EXPECT_GE (maxDifference (rgb (withLogo, 53, 28), slate), 15);

    // The brand text starts right of the logo (at 65 + 7 = 72).
    const Rect text { 66, 21, 80, 23 };
    EXPECT_LT (brightestIn (withLogo, text.withWidth (5)), 60);
    EXPECT_GT (brightestIn (withLogo, text.withX (72).withWidth (40)), 180);

    // A document that does not parse: nothing drawn on the plate, the text
    // exactly where it was.
    p.panel.getBrandLogo().setDocument ("<svg viewBox=\"0 0 100 100\"><path d=");
    EXPECT_FALSE (p.panel.getBrandLogo().hasDrawable());
    const auto without = p.paint();

    for (int y = 21; y < 44; ++y)
        EXPECT_LE (maxDifference (rgb (without, 53, y), rgb (without, 39, y)), 1) << y; // plate only

    for (int y = text.getY(); y < text.getBottom(); ++y)
        for (int x = text.getX(); x < text.getRight(); ++x)
            ASSERT_EQ (without.getPixelAt (x, y), withLogo.getPixelAt (x, y)) << x << ", " << y;
}

//==============================================================================
// The Threshold dial of a 925 x 455 panel: 73 x 86, so D = 73, the dial
// square centred at (36.5, 43), ring 58.4, face 40.88, pointer 2 x 19.71,
// cap 8 (its minimum). At the middle of its range the pointer stands upright.
TEST (DialDrawing, FiguresOfA73By86Dial)
{
    FacePanel p;
    auto& dial = p.panel.getDial (OndrelGUI::thresholdDial);
    ASSERT_EQ (dial.getWidth(), 73);
    ASSERT_EQ (dial.getHeight(), 86);

    p.set (ParamIDs::compThresh, -30.0f);
    ASSERT_NEAR (dial.valueToProportionOfLength (dial.getValue()), 0.5, 1e-6);

    // Unlit, so that no glow covers the ring.
    p.set (ParamIDs::compBypass, 1.0f);
    p.panel.timerCallback();
    const auto image = test::paintToImage (dial);
    auto alpha = [&image] (int x, int y) { return image.getPixelAt (x, y).getAlpha(); };

    // Non-square area: the square is centred and the extra rows stay empty.
    for (int y : { 0, 3, 6, 80, 85 })
        for (int x = 0; x < 73; ++x)
            ASSERT_EQ (alpha (x, y), 0) << x << ", " << y;

    // Ring from 7.3 to 65.7 across the middle row, down to 72.2 at the bottom.
    EXPECT_EQ (alpha (5, 43), 0);
    EXPECT_EQ (alpha (67, 43), 0);
    EXPECT_EQ (alpha (36, 74), 0);
    EXPECT_EQ (alpha (8, 43), 255);
    EXPECT_EQ (alpha (36, 71), 255);
    EXPECT_LE (maxDifference (rgb (image, 15, 43), { 0x08, 0x0a, 0x0d }), 1); // ring, inside the face
    EXPECT_GE (maxDifference (rgb (image, 19, 43), { 0x08, 0x0a, 0x0d }), 8); // face from 16.06

    // Cap of 8 px: dark to 4 px above the centre.
    EXPECT_LE (maxDifference (rgb (image, 36, 43), { 0x06, 0x08, 0x0a }), 1);
    EXPECT_LE (maxDifference (rgb (image, 36, 39), { 0x06, 0x08, 0x0a }), 2);

    // Pointer 2 px wide (35.5 to 37.5) reaching 19.71 px up (to y 23.3), in
    // kTextMuted at 0x9E while unlit.
    const auto face = rgb (image, 32, 30);
    const auto pointer = over (kTextMuted, 0x9e, face);
    EXPECT_LE (maxDifference (rgb (image, 36, 30), pointer), 6);
    EXPECT_LE (maxDifference (rgb (image, 36, 38), pointer), 6);
    EXPECT_LE (maxDifference (rgb (image, 36, 25), pointer), 6);
    EXPECT_GE (maxDifference (rgb (image, 36, 22), pointer), 20);
    EXPECT_GE (maxDifference (rgb (image, 34, 30), pointer), 20);
    EXPECT_GE (maxDifference (rgb (image, 38, 30), pointer), 20);
}

TEST (DialDrawing, UnlitDialKeepsEverythingButTheArc)
{
    FacePanel p;
    auto& dial = p.panel.getDial (OndrelGUI::thresholdDial);
    p.set (ParamIDs::compThresh, -30.0f);

    const auto lit = test::paintToImage (dial);
    p.set (ParamIDs::compBypass, 1.0f);
    p.panel.timerCallback();
    const auto unlit = test::paintToImage (dial);

    EXPECT_GT (countGreen (lit), 100);
    EXPECT_EQ (countGreen (unlit), 0);

    // The top (middle) major tick stands 29.9 to 33.3 px above the centre;
    // unlit it keeps 0x4B of the lit 0xA8.
    const auto litTick = lit.getPixelAt (36, 11).getAlpha();
    const auto unlitTick = unlit.getPixelAt (36, 11).getAlpha();
    ASSERT_GT (litTick, 40);
    EXPECT_NEAR ((double) unlitTick / litTick, (double) 0x4b / 0xa8, 0.06);

    // The lit pointer is kAccentHot.
    EXPECT_LE (maxDifference (rgb (lit, 36, 30), { 0xf6, 0xff, 0xf8 }), 2);

    // Lighting the section again gives exactly the lit picture back.
    p.set (ParamIDs::compBypass, 0.0f);
    p.panel.timerCallback();
    const auto again = test::paintToImage (dial);

    for (int y = 0; y < again.getHeight(); ++y)
        for (int x = 0; x < again.getWidth(); ++x)
            ASSERT_EQ (again.getPixelAt (x, y), lit.getPixelAt (x, y)) << x << ", " << y;

    // A dial that never had the property draws lit.
    dial.getProperties().remove (DialLookAndFeel::litProperty);
    EXPECT_GT (countGreen (test::paintToImage (dial)), 100);
}

//==============================================================================
namespace
{
// A meter alone, with the geometry of its left bar worked out from the rules:
// bar (0.15 W, 0.085 H, 0.29 W, 0.84 H), the well inset by 0.08 of the bar width.
struct MeterFixture
{
    float level = 0.0f;
    OndrelGUI::MeterComponent meter { "Input", [this] { return level; }, [this] { return level; } };

    float wellX, wellTop, wellWidth, wellHeight, wellBottom;

    MeterFixture (int w, int h)
    {
        meter.setBounds (0, 0, w, h);
        const auto rw = 0.29f * (float) w;
        wellX = 0.15f * (float) w + 0.08f * rw;
        wellTop = 0.085f * (float) h + 0.08f * rw;
        wellWidth = rw - 0.16f * rw;
        wellHeight = 0.84f * (float) h - 0.16f * rw;
        wellBottom = wellTop + wellHeight;
    }

    juce::Image paintAt (float v)
    {
        level = v;
        return test::paintToImage (meter.getWidth(), meter.getHeight(), [this] (juce::Graphics& g) { meter.paint (g); },
                                   juce::Colours::black);
    }

    // The first row, from the top of the well down, that is lit at column x.
    int firstBrightRow (const juce::Image& image, int x) const
    {
        for (int y = (int) wellTop; y < (int) wellBottom + 1; ++y)
            if (maxChannel (rgb (image, x, y)) > 120)
                return y;
        return -1;
    }
};

enum class Hue { red, orange, yellow, green, other };

// The top line of a bar is the level colour brightened by 0.3 at 0xF2:
// red (255, 88, 88), orange (255, 149, 72), yellow (255, 237, 70), green (58, 255, 143).
Hue hueOf (Rgb c)
{
    if (c.r > 220 && c.g < 120) return Hue::red;
    if (c.r > 220 && c.g < 200) return Hue::orange;
    if (c.r > 220) return Hue::yellow;
    if (c.r < 130 && c.g > 200) return Hue::green;
    return Hue::other;
}
} // namespace

TEST (MeterDisplay, BarHeightsAndColoursOnThePiecewiseScale)
{
    // A large meter, so that positions can be read to a pixel. The sample
    // column is 6 % into the well: clear of the scale numbers and the glass.
    MeterFixture m (200, 600);
    const int column = (int) (m.wellX + 0.06f * m.wellWidth);
    const auto t = juce::jmax (0.01f * m.wellHeight, 2.0f); // top line

    struct Case
    {
        float level, position; // position by hand from the scale's points
        Hue hue;
    };

    const Case cases[] = {
        { 1.0f, 0.84f, Hue::orange },                                                // 0 dB
        { 1.5f, 0.84f + 20.0f * std::log10 (1.5f) * 0.16f / 12.0f, Hue::red },       // +3.5 dB
        { 4.0f, 1.0f, Hue::red },                                                    // +12 dB: the whole well
        { 0.063f, (20.0f * std::log10 (0.063f) + 60.0f) * 0.42f / 36.0f, Hue::green }, // -24 dB: 42 %
        { 0.5f, 0.62f + (20.0f * std::log10 (0.5f) + 12.0f) * 0.22f / 12.0f, Hue::yellow }, // -6 dB
    };

    for (const auto& c : cases)
    {
        const auto image = m.paintAt (c.level);
        const auto lt = m.wellBottom - c.position * m.wellHeight;
        const auto lineTop = juce::jlimit (m.wellTop, m.wellBottom - t, lt - t * 0.5f);

        EXPECT_NEAR (m.firstBrightRow (image, column), lineTop, 1.5) << c.level;
        EXPECT_EQ (hueOf (rgb (image, column, (int) (lineTop + t * 0.5f))), c.hue) << c.level;
    }

    EXPECT_NEAR (cases[3].position, 0.42f, 0.001f);

    // A dim meter draws no bar at all.
    m.meter.isActive = false;
    const auto dim = m.paintAt (1.0f);
    for (int y = (int) m.wellTop + 2; y < (int) m.wellBottom - 2; ++y)
        ASSERT_LT (maxChannel (rgb (dim, column, y)), 60) << y;
}

TEST (MeterDisplay, SilenceDrawsNothingAndAnyLiveSignalTwoPixels)
{
    // The panel's size at 100 %: the top line is 2 px, like the bar.
    MeterFixture m (71, 163);
    const int column = (int) (m.wellX + m.wellWidth * 0.5f);
    const int bottomRow = (int) m.wellBottom; // the well ends 0.13 px into this row

    const auto silent = m.paintAt (0.0f);
    for (int y = bottomRow - 6; y <= bottomRow; ++y)
        EXPECT_LT (maxChannel (rgb (silent, column, y)), 60) << y;

    // 0.000002 (about -114 dB) shows a 2-pixel bar from bottom - 2 (147.13)
    // to the bottom, with its 2-pixel top line centred on the bar's top, so
    // the rows 146 to 148 are lit and 145 is not.
    const auto faint = m.paintAt (0.000002f);
    for (int y = bottomRow - 3; y <= bottomRow - 1; ++y)
        EXPECT_GT (maxChannel (rgb (faint, column, y)), 150) << y;
    EXPECT_LT (maxChannel (rgb (faint, column, bottomRow - 4)), 60);

    // A meter a few pixels wide (no room for the tick lines) still draws.
    MeterFixture narrow (6, 163);
    const auto image = narrow.paintAt (1.0f);
    EXPECT_GT (brightestIn (image, { 0, 0, 6, 163 }), 40);
}

//==============================================================================
namespace
{
// A 40 x 40 lamp painted on black: area (1, 1, 38, 38), centre (20, 20), the
// stem 2.85 thick covers columns 19 and 20 fully from y 8 to 17; the glow
// (inset 5.3) covers (20, 28), which no stroke touches.
struct Lamp
{
    OndrelGUI::SectionPowerButton button { "Test Power" };

    Lamp() { button.setSize (40, 40); }

    juce::Image paint (bool over, bool down)
    {
        return test::paintToImage (40, 40, [&] (juce::Graphics& g) { button.paintButton (g, over, down); },
                                   juce::Colours::black);
    }
};
} // namespace

TEST (PowerLamp, ColoursLitUnlitHoveredAndPressed)
{
    // Worked out with the framework's brighter (255 - (255 - c) / 1.12,
    // truncated) and darker (c / 1.14, truncated).
    struct Case
    {
        const char* what;
        bool toggled, allowed, over, down;
        Rgb stem;
    };

    const Case cases[] = {
        { "lit",               false, true,  false, false, { 0x48, 0xff, 0x24 } },
        { "lit, hovered",      false, true,  true,  false, { 91, 255, 59 } },
        { "lit, pressed",      false, true,  false, true,  { 63, 223, 31 } },
        { "lit, both",         false, true,  true,  true,  { 79, 223, 51 } },
        { "bypassed",          true,  true,  false, false, { 0x5c, 0x67, 0x72 } },
        { "lamp not allowed",  false, false, false, false, { 0x5c, 0x67, 0x72 } },
        { "bypassed, hovered", true,  true,  true,  false, { 109, 119, 129 } },
    };

    const Rgb body = over (juce::Colour (0xff05080bu), 0xb9, { 0, 0, 0 });

    for (const auto& c : cases)
    {
        Lamp lamp;
        lamp.button.setToggleState (c.toggled, juce::dontSendNotification);
        if (! c.allowed)
            lamp.button.getProperties().set (OndrelGUI::SectionPowerButton::lampAllowedProperty, false);

        const auto image = lamp.paint (c.over, c.down);

        for (int y = 9; y <= 16; ++y)
            EXPECT_LE (maxDifference (rgb (image, 19, y), c.stem), 1) << c.what << " at " << y;

        // Body with the hover wash, then the glow in the lamp colour.
        const bool lit = c.allowed && ! c.toggled;
        const auto washed = c.over ? over (juce::Colours::white, 0x19, body) : body;
        const auto stemColour = juce::Colour ((juce::uint8) c.stem.r, (juce::uint8) c.stem.g, (juce::uint8) c.stem.b);
        EXPECT_LE (maxDifference (rgb (image, 3, 20), washed), 2) << c.what;
        EXPECT_LE (maxDifference (rgb (image, 20, 28), over (stemColour, lit ? 0x38 : 0x17, washed)), 2) << c.what;
    }
}

TEST (PowerLamp, StatesFollowTheSwitchesWithinOneTick)
{
    FacePanel p;
    auto& panel = p.panel;
    p.set (ParamIDs::reverbMix, 30.0f); // so that every Space dial has an arc to show

    auto lampLit = [] (juce::Button& b) { return countGreen (test::paintToImage (b)) > 5; };
    auto spaceTitle = [&p] (const juce::Image& image)
    {
        auto strip = titleStripOf (p.panel.getCard (OndrelGUI::spaceCard));
        return brightestIn (image, strip.withWidth (strip.getWidth() / 2));
    };

    struct Case
    {
        bool mainBypass, spaceBypass;
        bool mainLamp, spaceLamp, spaceDialsLit, inputDialLit, spaceTitleDimmed, metersActive;
    };

    // Switched from the host side; one timer tick later the face shows it.
    const Case cases[] = {
        { false, false, true,  true,  true,  true,  false, true },
        { false, true,  true,  false, false, true,  true,  true },
        { true,  false, false, false, false, false, true,  false },
        { true,  true,  false, false, false, false, true,  false },
        { false, false, true,  true,  true,  true,  false, true },
    };

    for (const auto& c : cases)
    {
        p.set (ParamIDs::mainBypass, c.mainBypass ? 1.0f : 0.0f);
        p.set (ParamIDs::spaceBypass, c.spaceBypass ? 1.0f : 0.0f);
        panel.timerCallback();

        const auto label = juce::String ("main ") + (c.mainBypass ? "off" : "on") + ", space " + (c.spaceBypass ? "off" : "on");
        EXPECT_EQ (lampLit (panel.getPowerButton (OndrelGUI::mainSection)), c.mainLamp) << label;
        EXPECT_EQ (lampLit (panel.getPowerButton (OndrelGUI::spaceSection)), c.spaceLamp) << label;
        EXPECT_EQ (lampLit (panel.getPowerButton (OndrelGUI::toneSection)), ! c.mainBypass) << label;

        for (int i = OndrelGUI::widthDial; i <= OndrelGUI::reverbMixDial; ++i)
        {
            EXPECT_EQ (countGreen (test::paintToImage (panel.getDial (i))) > 0, c.spaceDialsLit) << label << " dial " << i;
            EXPECT_EQ (panel.getValueLabel (i).isVisible(), c.spaceDialsLit) << label << " dial " << i;
        }

        EXPECT_EQ (panel.getValueLabel (OndrelGUI::inputDial).isVisible(), c.inputDialLit) << label;
        EXPECT_EQ (panel.getValueLabel (OndrelGUI::outputDial).isVisible(), c.inputDialLit) << label;
        EXPECT_EQ (panel.getValueLabel (OndrelGUI::thresholdDial).isVisible(), ! c.mainBypass) << label;
        EXPECT_EQ (spaceTitle (p.paint()) < 110, c.spaceTitleDimmed) << label;
        EXPECT_EQ (panel.getInputMeter().isActive, c.metersActive) << label;
        EXPECT_EQ (panel.getOutputMeter().isActive, c.metersActive) << label;
    }
}

TEST (PowerLamp, BypassedSectionDialsStillMoveTheirParameters)
{
    FacePanel p;
    p.set (ParamIDs::compBypass, 1.0f);
    p.panel.timerCallback();

    auto& dial = p.panel.getDial (OndrelGUI::thresholdDial);
    const auto before = test::real (p.proc, ParamIDs::compThresh);
    const auto pointerBefore = test::paintToImage (dial);

    test::mouseGesture (dial, { 36.0f, 43.0f }, { 36.0f, 3.0f });

    EXPECT_GT (test::real (p.proc, ParamIDs::compThresh), before + 1.0f);
    const auto after = test::paintToImage (dial);
    EXPECT_EQ (countGreen (after), 0);
    EXPECT_FALSE (p.panel.getValueLabel (OndrelGUI::thresholdDial).isVisible());

    // The pointer moved: the picture changed.
    int changed = 0;
    for (int y = 0; y < after.getHeight(); ++y)
        for (int x = 0; x < after.getWidth(); ++x)
            changed += after.getPixelAt (x, y) != pointerBefore.getPixelAt (x, y) ? 1 : 0;
    EXPECT_GT (changed, 20);
}

//==============================================================================
// What one timer tick redraws, recorded as a window would receive it.
namespace
{
struct RecordedPanel : FacePanel
{
    RepaintRecorder& recorder;
    juce::Image window { juce::Image::ARGB, 925, 455, true };

    RecordedPanel() : recorder ((panel.setVisible (true), RepaintRecorder::installOn (panel)))
    {
        panel.timerCallback();
        recorder.takeDirty();
        juce::Graphics g (window);
        panel.paintEntireComponent (g, true);
    }

    // One tick, then only what it asked for is painted onto the window.
    juce::RectangleList<int> tick()
    {
        panel.timerCallback();
        return recorder.paintDirty (window);
    }

    // The same state painted by a panel that never painted before.
    juce::Image freshPicture()
    {
        OndrelGUI fresh (proc);
        fresh.setBounds (0, 0, 925, 455);
        return test::paintToImage (fresh);
    }
};
} // namespace

TEST (PanelRepaint, SteadyTickRedrawsOnlyTheMeters)
{
    RecordedPanel p;
    juce::RectangleList<int> meters (p.panel.getInputMeter().getBounds());
    meters.add (p.panel.getOutputMeter().getBounds());

    for (int k = 0; k < 5; ++k)
    {
        p.proc.inputLevelLeft = 0.1f * (float) (k + 1);
        p.proc.outputLevelRight = 0.05f * (float) (k + 1);
        const auto dirty = p.tick();

        EXPECT_FALSE (dirty.isEmpty());
        for (const auto& r : dirty)
            EXPECT_TRUE (meters.containsRectangle (r)) << r.toString();
    }
}

TEST (PanelRepaint, SwitchChangesReachThePictureWithinOneTick)
{
    RecordedPanel p;

    struct Step
    {
        const char* what;
        const char* id;
        float value;
    };

    const Step steps[] = {
        { "compression off", ParamIDs::compBypass, 1.0f },
        { "plug-in off", ParamIDs::mainBypass, 1.0f },
        { "space off while the plug-in is off", ParamIDs::spaceBypass, 1.0f },
        { "plug-in on", ParamIDs::mainBypass, 0.0f },
        { "compression on", ParamIDs::compBypass, 0.0f },
        { "low gain", ParamIDs::lowGain, 6.0f },
        { "tone off", ParamIDs::toneBypass, 1.0f },
    };

    for (const auto& step : steps)
    {
        p.set (step.id, step.value);
        const auto dirty = p.tick();

        if (juce::String (step.id).endsWith ("Bypass"))
        {
            EXPECT_TRUE (dirty.containsRectangle (p.panel.getHeaderArea().toNearestInt())) << step.what;
            for (int c = 0; c < OndrelGUI::numCards; ++c)
                EXPECT_TRUE (dirty.containsRectangle (p.panel.getCard (c).bounds)) << step.what << " card " << c;
        }

        // The window, painted only where asked, shows what a new panel shows.
        const auto fresh = p.freshPicture();
        int differing = 0;
        for (int y = 0; y < fresh.getHeight(); ++y)
            for (int x = 0; x < fresh.getWidth(); ++x)
                differing += fresh.getPixelAt (x, y) != p.window.getPixelAt (x, y) ? 1 : 0;
        EXPECT_EQ (differing, 0) << step.what;
    }
}
