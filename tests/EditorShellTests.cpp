// The editor shell: icon buttons, the popup-menu and dialog look-and-feels,
// the menu bar (layout, timer, buttons) and the display-size preferences.
//
// Drawing is checked on pixels of components painted into images, against
// colours and positions worked out by hand from the drawing rules; the
// preferences are checked on the file read back from disk.
#include <gtest/gtest.h>

#include "GuiTestHelpers.h"
#include "TestHelpers.h"
#include "editor/DialogLookAndFeel.h"
#include "editor/IconButton.h"
#include "editor/MenuBar.h"
#include "editor/MenuBarLookAndFeel.h"

#include <cstdlib>
#include <map>
#include <vector>

namespace
{
//==============================================================================
// Pixel helpers

std::string hex (juce::Colour c)
{
    return juce::String::toHexString ((juce::int64) c.getARGB()).paddedLeft ('0', 8).toStdString();
}

::testing::AssertionResult colourNear (juce::Colour actual, juce::uint32 expectedArgb, int tolerance)
{
    const juce::Colour expected (expectedArgb);
    const auto diff = juce::jmax (std::abs (actual.getAlpha() - expected.getAlpha()),
                                  std::abs (actual.getRed() - expected.getRed()),
                                  std::abs (actual.getGreen() - expected.getGreen()),
                                  std::abs (actual.getBlue() - expected.getBlue()));

    if (diff <= tolerance)
        return ::testing::AssertionSuccess();

    return ::testing::AssertionFailure() << "pixel " << hex (actual) << ", expected " << hex (expected)
                                         << " within " << tolerance;
}

// Brightness of a pixel on an opaque background, 0 to 255.
int brightness (juce::Colour c)
{
    return juce::jmax (c.getRed(), c.getGreen(), c.getBlue());
}

// Smallest rectangle holding every pixel for which the predicate holds.
template <typename Predicate>
juce::Rectangle<int> boundsWhere (const juce::Image& image, Predicate&& predicate, juce::Rectangle<int> within = {})
{
    if (within.isEmpty())
        within = image.getBounds();

    int x0 = std::numeric_limits<int>::max(), y0 = x0, x1 = -1, y1 = -1;

    for (int y = within.getY(); y < within.getBottom(); ++y)
        for (int x = within.getX(); x < within.getRight(); ++x)
            if (predicate (image.getPixelAt (x, y)))
            {
                x0 = juce::jmin (x0, x);
                y0 = juce::jmin (y0, y);
                x1 = juce::jmax (x1, x);
                y1 = juce::jmax (y1, y);
            }

    if (x1 < 0)
        return {};

    return { x0, y0, x1 - x0 + 1, y1 - y0 + 1 };
}

juce::Image paintButton (IconButton& b, juce::Button::ButtonState state)
{
    b.setState (state);
    return test::paintToImage (b);
}

const juce::String kDownTriangle = juce::String::charToString ((juce::juce_wchar) 0x25be);

//==============================================================================
// A processor stand-in whose answers the test sets.
struct FakePresettable : PresettableProcessor
{
    bool undoable = false;
    bool redoable = false;
    juce::String displayName { "Presets" };
    int undoCalls = 0;
    int redoCalls = 0;

    juce::StringArray getFactoryPresetNames() const override { return {}; }
    juce::StringArray getUserPresetNames() const override { return {}; }
    void applyFactoryPreset (const juce::String&) override {}
    bool saveUserPreset (const juce::String&) override { return false; }
    bool loadUserPreset (const juce::String&) override { return false; }
    bool deleteUserPreset (const juce::String&) override { return false; }
    bool renameUserPreset (const juce::String&, const juce::String&) override { return false; }
    juce::String getCurrentPresetName() const override { return displayName; }
    juce::String getCurrentPresetDisplayName() const override { return displayName; }
    bool isCurrentPresetUser() const override { return false; }
    bool canUndo() const override { return undoable; }
    bool canRedo() const override { return redoable; }
    void performUndo() override { ++undoCalls; }
    void performRedo() override { ++redoCalls; }
};

IconButton& child (MenuBar& bar, const juce::String& name)
{
    for (auto* c : bar.getChildren())
        if (c->getName() == name)
            if (auto* b = dynamic_cast<IconButton*> (c))
                return *b;

    throw std::runtime_error ("no button named " + name.toStdString());
}

// Clicks the way the framework does (posted to the message loop), then lets
// the click happen.
void click (juce::Button& b)
{
    b.triggerClick();
    test::dispatchPendingMessages();
}

//==============================================================================
// The preferences file, located independently of the code under test: the
// per-user configuration folder of the (temporary) home folder.
juce::File homeFolder()
{
    return juce::File (juce::String (std::getenv ("HOME")));
}

juce::File expectedSettingsFile()
{
    return homeFolder().getChildFile (".config/QuilletAudio/Ondrel/version_2.0.0/Ondrel.settings");
}

void removeAllPreferences()
{
    homeFolder().getChildFile (".config/QuilletAudio").deleteRecursively();
    homeFolder().getChildFile (".config/QuilletAudio").deleteFile();
    homeFolder().getChildFile ("QuilletAudio").deleteRecursively();
}

// The values stored in the file, as the framework's XML properties format
// holds them: <PROPERTIES><VALUE name="..." val="..."/></PROPERTIES>.
std::map<juce::String, juce::String> readStoredValues()
{
    std::map<juce::String, juce::String> values;

    if (auto xml = juce::parseXML (expectedSettingsFile()))
    {
        EXPECT_TRUE (xml->hasTagName ("PROPERTIES"));

        for (auto* e : xml->getChildWithTagNameIterator ("VALUE"))
            values[e->getStringAttribute ("name")] = e->getStringAttribute ("val");
    }

    return values;
}

void writeStoredValues (const std::map<juce::String, juce::String>& values)
{
    juce::XmlElement root ("PROPERTIES");

    for (const auto& [name, value] : values)
    {
        auto* e = root.createNewChildElement ("VALUE");
        e->setAttribute ("name", name);
        e->setAttribute ("val", value);
    }

    ASSERT_TRUE (expectedSettingsFile().getParentDirectory().createDirectory());
    ASSERT_TRUE (root.writeTo (expectedSettingsFile()));
}

class EditorShellPreferences : public ::testing::Test
{
protected:
    void SetUp() override { removeAllPreferences(); }
    void TearDown() override { removeAllPreferences(); }

    // "Make Default" posts a re-opening of the menu; should a test let it
    // run, the menu needs a display.
    test::ScopedFakeDisplay display;
};

struct OpenBar
{
    MenuBar bar;
    std::vector<MenuBar::GuiScalePreset> changes;

    OpenBar()
    {
        bar.setBounds (0, 0, 1133, 55);
        bar.onGuiScalePresetChanged = [this] (MenuBar::GuiScalePreset p) { changes.push_back (p); };
        bar.setAppInfo (AppInfo());
    }
};
} // namespace

//==============================================================================
// Icon buttons

TEST (EditorShellIconButton, TextStyleFaceFollowsOverAndDown)
{
    struct Case
    {
        juce::Button::ButtonState state;
        juce::uint32 face;
    };

    // 0xff181e24 brightened by the framework's rule c' = 255 - (255 - c) / (1 + k):
    // k = 0.12 gives 0x30363b, k = 0.18 gives 0x3b4045.
    const Case cases[] = { { juce::Button::buttonNormal, 0xff181e24 },
                           { juce::Button::buttonOver, 0xff30363b },
                           { juce::Button::buttonDown, 0xff3b4045 } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.state);
        IconButton b ("Save");
        b.text = "HI";
        b.setSize (120, 40);
        const auto image = paintButton (b, c.state);

        // Face inside the rounded outline, left of the label.
        EXPECT_EQ (hex (image.getPixelAt (4, 20)), hex (juce::Colour (c.face)));
        // The outline is centred on y = 0.5 with thickness 1: row 0 exactly.
        EXPECT_EQ (hex (image.getPixelAt (60, 0)), "ff384452");

        // The label: stems fully covered in the text colour, centred on the button.
        const auto isText = [] (juce::Colour p) { return p.getRed() > 0x80; };
        const auto label = boundsWhere (image, isText);
        ASSERT_FALSE (label.isEmpty());
        EXPECT_NEAR (label.getCentreX(), 60, 2.5);
        EXPECT_NEAR (label.getCentreY(), 20, 2.5);

        int fullyCovered = 0;
        for (int y = label.getY(); y < label.getBottom(); ++y)
            for (int x = label.getX(); x < label.getRight(); ++x)
                fullyCovered += image.getPixelAt (x, y).getARGB() == 0xffdce6f0 ? 1 : 0;

        EXPECT_GT (fullyCovered, 10);
    }
}

TEST (EditorShellIconButton, DisabledTextStyleUsesAlpha89)
{
    // Disabled itself, or through a disabled parent: 255 x 0.35 = 89.25, so 89.
    for (const bool throughParent : { false, true })
    {
        SCOPED_TRACE (throughParent);
        juce::Component parent;
        IconButton b ("Preset");
        b.text = "HI";
        b.setSize (120, 40);
        parent.addAndMakeVisible (b);
        (throughParent ? static_cast<juce::Component&> (parent) : b).setEnabled (false);

        const auto image = test::paintToImage (b);

        // The face alone.
        EXPECT_TRUE (colourNear (image.getPixelAt (4, 20), 0x59181e24, 3));
        EXPECT_EQ (image.getPixelAt (4, 20).getAlpha(), 89);

        // Layers at 89 / 255 = 0.349 each over a transparent image: the
        // outline over the half-covered face row 0 gives
        // 1 - (1 - 0.349) (1 - 0.5 x 0.349) = 0.463, so 118; a fully covered
        // text pixel over the face gives 1 - (1 - 0.349)^2 = 0.576, so 147.
        EXPECT_NEAR (image.getPixelAt (60, 0).getAlpha(), 118, 1);

        int maxTextAlpha = 0;
        for (int y = 5; y < 35; ++y)
            for (int x = 30; x < 90; ++x)
                if (image.getPixelAt (x, y).getRed() > 0x80)
                    maxTextAlpha = juce::jmax (maxTextAlpha, (int) image.getPixelAt (x, y).getAlpha());

        EXPECT_NEAR (maxTextAlpha, 147, 1);
    }
}

TEST (EditorShellIconButton, UndoGlyphIsTheMirrorImageOfRedo)
{
    for (const auto state : { juce::Button::buttonNormal, juce::Button::buttonOver, juce::Button::buttonDown })
    {
        SCOPED_TRACE (state);
        IconButton undo ("Undo"), redo ("Redo");
        undo.iconKind = IconButton::Undo;
        redo.iconKind = IconButton::Redo;
        undo.setSize (100, 100);
        redo.setSize (100, 100);

        const auto u = paintButton (undo, state);
        const auto r = paintButton (redo, state);

        int worstMirrored = 0, worstUnmirrored = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
            {
                const auto a = u.getPixelAt (x, y);
                const auto m = r.getPixelAt (99 - x, y);
                const auto same = r.getPixelAt (x, y);
                worstMirrored = juce::jmax (worstMirrored, std::abs (a.getAlpha() - m.getAlpha()));
                worstUnmirrored = juce::jmax (worstUnmirrored, std::abs (a.getAlpha() - same.getAlpha()));
            }

        EXPECT_LE (worstMirrored, 3);
        EXPECT_GT (worstUnmirrored, 100); // the glyph is not symmetric by itself

        // 100 x 100: icon area (3, 3, 94, 94), key cap side 80.84 centred at
        // (50, 50), glyph box 46.08 wide at (26.96, 26.96). Redo's head tip
        // (0.85, 0.35) is at (66.1, 43.1), its shaft start (0.14, 0.76) at
        // (33.4, 62.0): lower left, head at the right. Undo has both mirrored.
        EXPECT_EQ (hex (r.getPixelAt (66, 43)), "ffdce6f0");
        EXPECT_EQ (hex (r.getPixelAt (33, 61)), "ffdce6f0");
        EXPECT_EQ (hex (u.getPixelAt (33, 43)), "ffdce6f0");
        EXPECT_EQ (hex (u.getPixelAt (66, 61)), "ffdce6f0");
        EXPECT_NE (hex (r.getPixelAt (33, 43)), "ffdce6f0");
    }
}

TEST (EditorShellIconButton, KeyCapAlphasEnabledDisabledOverDown)
{
    // A 400 x 400 undo button, so that every probed pixel is covered by one
    // shape only. Icon area (12, 12, 376, 376); key cap at x = 38.32, side
    // 323.36, line 8.08: the cap outline covers x 34.3..42.4, the inner
    // outline x 38.3..46.4; the gloss line covers rows 52.9..58.7 between
    // x 80.4 and 319.6. Glyph box 184.3 at 107.84; the undo head's upper end
    // is at (174.2, 135.5), the shaft's lower end at (266.3, 247.9), stroke
    // radius 8.75, shadow 4.6 lower.
    struct Probe
    {
        int x, y;
    };
    const Probe capOutline { 36, 200 }, innerOutline { 44, 200 }, gloss { 200, 55 }, capInside { 100, 200 },
        glyphOnly { 174, 128 }, shadowOnly { 266, 258 };

    struct Case
    {
        const char* name;
        bool enabled;
        juce::Button::ButtonState state;
        int cap, inner, glossAlpha, inside, glyph, shadow;
    };

    const Case cases[] = {
        // cap 40, inner 255 x 0.54, gloss 0.065, no fill, arrow 255, shadow 0.3
        { "enabled", true, juce::Button::buttonNormal, 40, 138, 17, 0, 255, 77 },
        // everything x 0.35: 14, 48, 0.02275, arrow 89, shadow 0.105
        { "disabled", false, juce::Button::buttonNormal, 14, 48, 6, 0, 89, 27 },
        // hover fills the cap with the cap colour
        { "over", true, juce::Button::buttonOver, 40, -1, -1, 40, 255, -1 },
        { "down", true, juce::Button::buttonDown, 60, -1, -1, 60, 255, -1 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        IconButton b ("Undo");
        b.iconKind = IconButton::Undo;
        b.showHighlight = false;
        b.setSize (400, 400);
        b.setEnabled (c.enabled);
        const auto image = paintButton (b, c.state);

        auto alphaAt = [&] (Probe p) { return (int) image.getPixelAt (p.x, p.y).getAlpha(); };

        EXPECT_EQ (alphaAt (capOutline), c.cap);
        EXPECT_EQ (alphaAt (capInside), c.inside);
        EXPECT_EQ (alphaAt (glyphOnly), c.glyph);
        EXPECT_TRUE (colourNear (image.getPixelAt (glyphOnly.x, glyphOnly.y), (0x00dce6f0u | ((juce::uint32) c.glyph << 24)), 3));

        if (c.inner >= 0)
        {
            EXPECT_EQ (alphaAt (innerOutline), c.inner);
            EXPECT_TRUE (colourNear (image.getPixelAt (innerOutline.x, innerOutline.y).withAlpha ((juce::uint8) 255), 0xff445260, 6));
            EXPECT_EQ (alphaAt (gloss), c.glossAlpha);
            EXPECT_NEAR (alphaAt (shadowOnly), c.shadow, 1);
            EXPECT_EQ (image.getPixelAt (shadowOnly.x, shadowOnly.y).getRed(), 0);
        }
    }
}

TEST (EditorShellIconButton, NoneKindDrawsOnlyTheHighlight)
{
    // 100 x 100: icon area (3, 3, 94, 94), highlight ellipse inset 8 % more:
    // a circle of radius 39.48 around (50, 50), ring 3 pixels thick.
    struct Case
    {
        const char* name;
        IconButton::IconKind kind;
        juce::Button::ButtonState state;
        bool showHighlight, enabled;
        int discAlpha;      // alpha of every pixel well inside the circle, -1: not checked
        bool onlyHighlight; // nothing but the disc and the ring
    };

    const Case cases[] = {
        { "none, normal", IconButton::None, juce::Button::buttonNormal, true, true, 0, true },
        { "none, over", IconButton::None, juce::Button::buttonOver, true, true, 40, true },
        { "none, down", IconButton::None, juce::Button::buttonDown, true, true, 60, true },
        { "none, over, highlight off", IconButton::None, juce::Button::buttonOver, false, true, 0, true },
        { "none, over, disabled", IconButton::None, juce::Button::buttonOver, true, false, 0, true },
        { "unknown kind, over", static_cast<IconButton::IconKind> (17), juce::Button::buttonOver, true, true, 40, true },
        { "gear, over", IconButton::Gear, juce::Button::buttonOver, true, true, -1, false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        IconButton b ("Icon");
        b.iconKind = c.kind;
        b.showHighlight = c.showHighlight;
        b.setEnabled (c.enabled);
        b.setSize (100, 100);
        const auto image = paintButton (b, c.state);

        int strayPixels = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
            {
                const auto p = image.getPixelAt (x, y);
                const auto d = juce::Point<float> ((float) x + 0.5f, (float) y + 0.5f).getDistanceFrom ({ 50.0f, 50.0f });

                if (d < 39.48f - 2.5f)
                {
                    const auto expected = c.discAlpha > 0 ? juce::Colours::white.withAlpha ((juce::uint8) c.discAlpha)
                                                          : juce::Colours::transparentBlack;
                    strayPixels += p.getARGB() == expected.getARGB() ? 0 : 1;
                }
                else if (d > 39.48f + 2.5f || c.discAlpha == 0)
                {
                    strayPixels += p.getAlpha() == 0 ? 0 : 1;
                }
            }

        if (c.onlyHighlight)
            EXPECT_EQ (strayPixels, 0);
        else
            EXPECT_GT (strayPixels, 50);
    }
}

TEST (EditorShellIconButton, CustomIconSizeIsLimitedToTheIconArea)
{
    // A drawable square, so that the painted extent is the icon box. The
    // 100 x 100 button's icon area is (3, 3, 94, 94) around (50, 50).
    struct Case
    {
        const char* name;
        bool custom;
        float w, h;
        int first, last; // first and last pixel column (and row) at least half covered
    };

    const Case cases[] = {
        { "default box: 0.62 x 94 = 58.28", false, 0, 0, 21, 78 },
        { "custom 1000 x 1000: the whole area", true, 1000, 1000, 3, 96 },
        { "custom 40 x 1000: 40 x 94, square kept", true, 40, 1000, 30, 69 },
        { "custom 30 x 30", true, 30, 30, 35, 64 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        auto square = std::make_unique<juce::DrawablePath>();
        juce::Path p;
        p.addRectangle (0.0f, 0.0f, 10.0f, 10.0f);
        square->setPath (p);
        square->setFill (juce::Colours::red);

        IconButton b ("Icon");
        b.icon = std::move (square);
        b.iconKind = IconButton::Gear; // the drawable wins
        b.useCustomIconSize = c.custom;
        b.iconWidth = c.w;
        b.iconHeight = c.h;
        b.setSize (100, 100);
        const auto image = paintButton (b, juce::Button::buttonNormal);

        const auto covered = boundsWhere (image, [] (juce::Colour px) { return px.getAlpha() >= 128; });
        EXPECT_EQ (covered.toString(), juce::Rectangle<int> (c.first, c.first, c.last - c.first + 1, c.last - c.first + 1).toString());
        EXPECT_EQ (hex (image.getPixelAt (50, 50)), "ffff0000");
    }

    // The gear glyph likewise: with an oversized custom size, G is the area's
    // 94, r = 39.48 and the spokes reach 44.2 from the centre (x = 94.2),
    // still inside the area; with the default size they stop at x = 78.3.
    for (const bool custom : { true, false })
    {
        SCOPED_TRACE (custom);
        IconButton b ("Gear");
        b.iconKind = IconButton::Gear;
        b.useCustomIconSize = custom;
        b.iconWidth = b.iconHeight = 1000.0f;
        b.setSize (100, 100);
        const auto image = paintButton (b, juce::Button::buttonNormal);

        const auto drawn = boundsWhere (image, [] (juce::Colour px) { return px.getAlpha() > 0; });
        EXPECT_TRUE (juce::Rectangle<int> (3, 3, 94, 94).contains (drawn));
        EXPECT_EQ (image.getPixelAt (93, 50).getAlpha() > 100, custom);
        EXPECT_EQ (hex (image.getPixelAt (50, 50)), "ffdce6f0"); // the filled hub
    }
}

//==============================================================================
// Popup menu and dialog look-and-feels

TEST (EditorShellMenuLookAndFeel, MakeDefaultCheckBoxGeometry)
{
    MenuBarLookAndFeel lf;
    const juce::Rectangle<int> area (0, 0, 200, 30);

    auto draw = [&] (const juce::String& text, bool ticked)
    {
        return test::paintToImage (200, 30, [&] (juce::Graphics& g)
        {
            lf.drawPopupMenuItem (g, area, false, true, false, ticked, false, text, {}, nullptr, nullptr);
        }, juce::Colours::black);
    };

    const auto box = draw ("Make Default", false);
    const auto plain = draw ("Make Default.", false); // not the switch: no box
    const auto lower = draw ("make default", false);  // the switch, ignoring case

    // r = (4, 1, 192, 28); box side min(18, 0.52 x 28) = 14.56 at
    // (16, 15 - 7.28) = (16, 7.72); its 1.1-thick outline spans
    // x 15.45..31.11 and y 7.17..22.83.
    auto blank = [] (const juce::Image& im, int x, int y) { return im.getPixelAt (x, y).getARGB() == 0xff000000; };
    for (const auto* im : { &box, &lower })
    {
        EXPECT_TRUE (blank (*im, 14, 15));
        EXPECT_FALSE (blank (*im, 15, 15));
        EXPECT_FALSE (blank (*im, 31, 15));
        EXPECT_TRUE (blank (*im, 32, 15));
        EXPECT_TRUE (blank (*im, 23, 6));
        EXPECT_FALSE (blank (*im, 23, 7));
        EXPECT_FALSE (blank (*im, 23, 22));
        EXPECT_TRUE (blank (*im, 23, 23));
        // Unticked fill 0x14ffffff over black.
        EXPECT_TRUE (colourNear (im->getPixelAt (23, 15), 0xff141414, 1));
    }

    EXPECT_TRUE (blank (plain, 23, 15));
    EXPECT_TRUE (blank (plain, 15, 15));

    // The text moves right by min(168, roundToInt (0.9 x 30)) = 27 pixels.
    const auto isText = [] (juce::Colour p) { return brightness (p) > 60; };
    const auto textWithBox = boundsWhere (box, isText, { 33, 0, 167, 30 });
    const auto textWithout = boundsWhere (plain, isText);
    ASSERT_FALSE (textWithBox.isEmpty());
    ASSERT_FALSE (textWithout.isEmpty());
    EXPECT_EQ (textWithBox.getX() - textWithout.getX(), 27);
    EXPECT_GE (textWithout.getX(), 16);
    EXPECT_LE (textWithout.getX(), 18);

    // Ticked: fill 0x34ffffff, and the check mark through (19.2, 15),
    // (22.3, 18.1), (27.9, 11.2) in 0xf0f5faff.
    const auto ticked = draw ("Make Default", true);
    EXPECT_TRUE (colourNear (ticked.getPixelAt (19, 10), 0xff343434, 1));
    EXPECT_GT (brightness (ticked.getPixelAt (22, 18)), 120);
    EXPECT_GT (brightness (ticked.getPixelAt (25, 14)), 120);
}

TEST (EditorShellMenuLookAndFeel, SeparatorNeedsRoomBetweenItsMargins)
{
    // The rule runs from x + 8 to right - 8 at mid height, only when that is
    // a positive length.
    struct Case
    {
        int width;
        int firstX, lastX; // -1: nothing drawn
    };

    const Case cases[] = { { 10, -1, -1 }, { 16, -1, -1 }, { 17, 8, 8 }, { 40, 8, 31 } };

    MenuBarLookAndFeel lf;

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.width);
        const auto image = test::paintToImage (c.width, 6, [&] (juce::Graphics& g)
        {
            lf.drawPopupMenuItem (g, { 0, 0, c.width, 6 }, true, true, false, false, false, {}, {}, nullptr, nullptr);
        });

        const auto drawn = boundsWhere (image, [] (juce::Colour p) { return p.getAlpha() > 0; });

        if (c.firstX < 0)
        {
            EXPECT_TRUE (drawn.isEmpty());
        }
        else
        {
            EXPECT_EQ (drawn.toString(), juce::Rectangle<int> (c.firstX, 3, c.lastX - c.firstX + 1, 1).toString());
            EXPECT_EQ (hex (image.getPixelAt (c.firstX, 3)), "ff2a333d");
        }
    }

    // A 10-pixel-wide item has no room for its text either.
    const auto item = test::paintToImage (10, 30, [&] (juce::Graphics& g)
    {
        lf.drawPopupMenuItem (g, { 0, 0, 10, 30 }, false, true, false, true, false, "100%", {}, nullptr, nullptr);
    });
    EXPECT_TRUE (boundsWhere (item, [] (juce::Colour p) { return p.getAlpha() > 0; }).isEmpty());
}

TEST (EditorShellMenuLookAndFeel, HighlightedItemBandAndText)
{
    MenuBarLookAndFeel lf;
    const auto image = test::paintToImage (200, 30, [&] (juce::Graphics& g)
    {
        lf.drawPopupMenuItem (g, { 0, 0, 200, 30 }, false, true, true, true, false, "IIII", {}, nullptr, nullptr);
    }, juce::Colours::black);

    // Band r = (4, 1, 192, 28) in 0x28ffffff over black; outside it, black.
    EXPECT_TRUE (colourNear (image.getPixelAt (6, 2), 0xff282828, 1));
    EXPECT_TRUE (colourNear (image.getPixelAt (195, 28), 0xff282828, 1));
    EXPECT_EQ (hex (image.getPixelAt (3, 15)), "ff000000");
    EXPECT_EQ (hex (image.getPixelAt (6, 0)), "ff000000");
    EXPECT_EQ (hex (image.getPixelAt (196, 15)), "ff000000");

    // The text is white: its brightest pixels are pure white.
    int white = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 16; x < 60; ++x)
            white += image.getPixelAt (x, y).getARGB() == 0xffffffff ? 1 : 0;
    EXPECT_GT (white, 5);
}

TEST (EditorShellDialogLookAndFeel, AlertButtonsLaidOutInTheBox)
{
    test::ScopedFakeDisplay display;
    DialogLookAndFeel lf;

    struct Case
    {
        juce::StringArray buttons;
        std::vector<juce::Rectangle<int>> expected;
    };

    // 400 x 200: one button 0.34 W wide, centred, at y = 0.72 H, 0.18 H high;
    // two buttons 0.3 W wide with a 0.03 W gap around the centre.
    const Case cases[] = {
        { { "OK" }, { { 132, 144, 136, 36 } } },
        { { "Save", "Cancel" }, { { 74, 144, 120, 36 }, { 206, 144, 120, 36 } } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.buttons.joinIntoString (","));
        juce::AlertWindow alert ("Save Preset", "Enter a name:", juce::MessageBoxIconType::NoIcon);
        alert.setLookAndFeel (&lf);

        for (int i = 0; i < c.buttons.size(); ++i)
            alert.addButton (c.buttons[i], i == 0 ? 1 : 0);

        alert.setSize (400, 200);
        const auto image = test::paintToImage (alert);

        const auto buttons = DialogLookAndFeel::getAlertButtons (alert);
        ASSERT_EQ ((size_t) buttons.size(), c.expected.size());

        for (size_t i = 0; i < c.expected.size(); ++i)
        {
            EXPECT_EQ (buttons[(int) i]->getButtonText(), c.buttons[(int) i]);
            EXPECT_EQ (buttons[(int) i]->getBounds().toString(), c.expected[i].toString());

            // Our face colour, not the alert's button colour.
            const auto face = image.getPixelAt (c.expected[i].getX() + 3, c.expected[i].getCentreY());
            EXPECT_EQ (hex (face), "ff181e24");
        }

        // The box: gradient from 0xff131415 at the top to 0xff0e0f10 at the bottom.
        EXPECT_TRUE (colourNear (image.getPixelAt (200, 3), 0xff131415, 1));
        EXPECT_TRUE (colourNear (image.getPixelAt (200, 196), 0xff0e0f10, 1));
        alert.setLookAndFeel (nullptr);
    }
}

//==============================================================================
// Menu bar

TEST (EditorShellMenuBar, LayoutFigures)
{
    struct Case
    {
        int w, h;
        juce::Rectangle<int> undo, redo, preset, save, settings;
        float popupFont, headerFont;
        int itemHeight;
    };

    const Case cases[] = {
        // pad 6.6, s = 36, gap 7, y = 10 (9.5 rounds up); preset 272 wide at
        // 349 (348.9); save 99 wide at 632; settings 44 x 44 at (1020, 5).
        { 1133, 55, { 18, 10, 36, 36 }, { 50, 10, 36, 36 }, { 349, 7, 272, 36 }, { 632, 7, 99, 36 },
          { 1020, 5, 44, 44 }, 15.4f, 17.6f, 18 },
        // H = 20: pad 6 and size 18 at their lower bounds, gap 3, y = 1;
        // preset 96 wide at 123 (123.2); save 36 wide at 223; settings 16 x 16
        // at (360, 2).
        { 400, 20, { 10, 1, 18, 18 }, { 27, 1, 18, 18 }, { 123, 6, 96, 18 }, { 223, 6, 36, 18 },
          { 360, 2, 16, 16 }, 5.6f, 6.4f, 7 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.w);
        MenuBar bar;
        bar.setBounds (0, 0, c.w, c.h);

        EXPECT_EQ (child (bar, "Undo").getBounds().toString(), c.undo.toString());
        EXPECT_EQ (child (bar, "Redo").getBounds().toString(), c.redo.toString());
        EXPECT_EQ (child (bar, "Preset").getBounds().toString(), c.preset.toString());
        EXPECT_EQ (child (bar, "Save").getBounds().toString(), c.save.toString());
        EXPECT_EQ (child (bar, "Settings").getBounds().toString(), c.settings.toString());

        // Icon boxes from S = 0.8 H: 0.56 S for undo and redo, 0.5 S for settings.
        EXPECT_TRUE (child (bar, "Undo").useCustomIconSize);
        EXPECT_FLOAT_EQ (child (bar, "Undo").iconWidth, 0.56f * 0.8f * (float) c.h);
        EXPECT_FLOAT_EQ (child (bar, "Redo").iconHeight, 0.56f * 0.8f * (float) c.h);
        EXPECT_FLOAT_EQ (child (bar, "Settings").iconWidth, 0.5f * 0.8f * (float) c.h);

        // Popup metrics from the bar height.
        auto& lf = bar.getMenuLookAndFeel();
        EXPECT_NEAR (lf.popupFontHeight, c.popupFont, 1e-4);
        EXPECT_NEAR (lf.headerFontHeight, c.headerFont, 1e-4);
        EXPECT_EQ (lf.itemHeight, c.itemHeight);
        EXPECT_NEAR (lf.getPopupMenuFont().getHeight(), c.popupFont, 1e-4);

        int w = 0, h = 0;
        lf.getIdealPopupMenuItemSize ("100%", false, 99, w, h);
        EXPECT_EQ (h, c.itemHeight);
        lf.getIdealPopupMenuItemSize ({}, true, 99, w, h);
        EXPECT_EQ (h, 6);
    }
}

TEST (EditorShellMenuBar, PaintsItsBackgroundAndTheGearFromItsSvg)
{
    MenuBar bar;
    bar.setBounds (0, 0, 1133, 55);
    EXPECT_FALSE (child (bar, "Settings").isVisible()); // until the preferences can be read
    bar.setAppInfo (AppInfo());
    EXPECT_TRUE (child (bar, "Settings").isVisible());

    const auto image = test::paintToImage (bar);
    EXPECT_EQ (hex (image.getPixelAt (300, 50)), "ff0a0b0c");
    EXPECT_EQ (hex (image.getPixelAt (900, 27)), "ff0a0b0c");

    // The settings button (1020, 5, 44, 44) shows the SVG gear, fill
    // #D1D1D1, centred at (1042, 27): a hole of radius 3.6 of its 24 units
    // in the middle, the solid body around it (the fallback glyph would be
    // 0xdce6f0 with a filled hub).
    EXPECT_EQ (hex (image.getPixelAt (1041, 26)), "ff0a0b0c");
    EXPECT_EQ (hex (image.getPixelAt (1042, 27)), "ff0a0b0c");
    EXPECT_TRUE (colourNear (image.getPixelAt (1047, 26), 0xffd1d1d1, 2));
    EXPECT_TRUE (colourNear (image.getPixelAt (1036, 27), 0xffd1d1d1, 2));
    EXPECT_TRUE (colourNear (image.getPixelAt (1042, 21), 0xffd1d1d1, 2));

    // Nothing of the gear outside its 22 x 22 icon box.
    const auto gear = boundsWhere (image, [] (juce::Colour p) { return p.getARGB() != 0xff0a0b0c; },
                                   { 1020, 5, 44, 44 });
    EXPECT_TRUE (juce::Rectangle<int> (1031, 16, 22, 22).contains (gear));
    EXPECT_GT (gear.getWidth(), 16);
}

TEST (EditorShellMenuBar, TimerFollowsUndoAndRedoWithinOneTick)
{
    MenuBar bar;
    bar.setBounds (0, 0, 1133, 55);
    EXPECT_TRUE (bar.isTimerRunning());
    EXPECT_EQ (bar.getTimerInterval(), 125);

    FakePresettable fake;
    bar.setPresettableProcessor (&fake);
    auto& undo = child (bar, "Undo");
    auto& redo = child (bar, "Redo");
    EXPECT_FALSE (undo.isEnabled());
    EXPECT_FALSE (redo.isEnabled());

    struct Step
    {
        bool canUndo, canRedo;
    };

    for (const auto s : { Step { true, false }, Step { true, true }, Step { false, true }, Step { false, false } })
    {
        fake.undoable = s.canUndo;
        fake.redoable = s.canRedo;
        bar.timerCallback();
        EXPECT_EQ (undo.isEnabled(), s.canUndo);
        EXPECT_EQ (redo.isEnabled(), s.canRedo);
    }

    // The buttons act on the processor.
    fake.undoable = fake.redoable = true;
    bar.timerCallback();
    click (undo);
    click (redo);
    click (redo);
    EXPECT_EQ (fake.undoCalls, 1);
    EXPECT_EQ (fake.redoCalls, 2);
}

TEST (EditorShellMenuBar, WithTheRealProcessorUndoEmptiesAndTheButtonFollows)
{
    OndrelAudioProcessor p;
    MenuBar bar;
    bar.setBounds (0, 0, 1133, 55);
    bar.setPresettableProcessor (&p);

    auto& undo = child (bar, "Undo");
    auto& redo = child (bar, "Redo");
    EXPECT_FALSE (undo.isEnabled());
    EXPECT_EQ (child (bar, "Preset").text, "Presets  " + kDownTriangle);

    p.applyFactoryPreset ("Warm");
    bar.timerCallback();
    EXPECT_TRUE (undo.isEnabled());
    EXPECT_FALSE (redo.isEnabled());
    EXPECT_EQ (child (bar, "Preset").text, "Warm  " + kDownTriangle);

    click (undo);
    EXPECT_FALSE (p.canUndo());
    bar.timerCallback();
    EXPECT_FALSE (undo.isEnabled());
    EXPECT_TRUE (redo.isEnabled());
}

TEST (EditorShellMenuBar, WithoutAProcessorBothDisabledAndPresetsShown)
{
    MenuBar bar;
    bar.setBounds (0, 0, 1133, 55);
    auto& undo = child (bar, "Undo");
    auto& redo = child (bar, "Redo");

    // The framework's default state until the first tick.
    EXPECT_TRUE (undo.isEnabled());
    EXPECT_EQ (child (bar, "Preset").text, "Presets  " + kDownTriangle);

    bar.timerCallback();
    EXPECT_FALSE (undo.isEnabled());
    EXPECT_FALSE (redo.isEnabled());
    EXPECT_TRUE (undo.isVisible());
    EXPECT_TRUE (redo.isVisible());
    EXPECT_EQ (child (bar, "Preset").text, "Presets  " + kDownTriangle);

    // Setting a processor and taking it away again.
    FakePresettable fake;
    fake.undoable = fake.redoable = true;
    fake.displayName = "Warm";
    bar.setPresettableProcessor (&fake);
    EXPECT_TRUE (undo.isEnabled());
    EXPECT_EQ (child (bar, "Preset").text, "Warm  " + kDownTriangle);

    bar.setPresettableProcessor (nullptr);
    EXPECT_FALSE (undo.isEnabled());
    EXPECT_FALSE (redo.isEnabled());
    EXPECT_EQ (child (bar, "Preset").text, "Presets  " + kDownTriangle);

    // No button does anything (and nothing crashes) without a processor.
    for (const char* name : { "Undo", "Redo", "Preset", "Save", "Settings" })
        if (auto& b = child (bar, name); b.onClick)
            b.onClick();
    EXPECT_FALSE (juce::PopupMenu::dismissAllActiveMenus());
}

TEST (EditorShellMenuBar, PresetLabelFromTheDisplayName)
{
    struct Case
    {
        const char* displayName;
        const char* shown;
    };

    const Case cases[] = { { "Warm", "Warm" },     { "Warm *", "Warm *" },   { "  Vox  ", "Vox" },
                           { "", "Presets" },      { "   ", "Presets" },     { "Preset", "Presets" },
                           { "Presets", "Presets" } };

    MenuBar bar;
    FakePresettable fake;
    bar.setPresettableProcessor (&fake);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.displayName);
        fake.displayName = c.displayName;
        bar.timerCallback();
        EXPECT_EQ (child (bar, "Preset").text, juce::String (c.shown) + "  " + kDownTriangle);
    }
}

//==============================================================================
// Display size preferences

TEST_F (EditorShellPreferences, StoredDefaultIsReadLeniently)
{
    struct Case
    {
        const char* stored;
        MenuBar::GuiScalePreset expected;
    };

    const Case cases[] = { { " 125 ", MenuBar::Scale125 }, { "125", MenuBar::Scale125 }, { "125%", MenuBar::Scale100 },
                           { "large", MenuBar::Scale100 }, { "", MenuBar::Scale100 },       { "50", MenuBar::Scale50 },
                           { "75", MenuBar::Scale75 },     { "150", MenuBar::Scale150 },    { "1 25", MenuBar::Scale100 },
                           { "200", MenuBar::Scale100 } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.stored);
        writeStoredValues ({ { "defaultGuiScalePreset", c.stored } });

        OpenBar open;
        EXPECT_EQ (open.bar.currentGuiScalePreset, c.expected);
        EXPECT_EQ (open.bar.getSavedDefaultGuiScalePreset(), c.expected);
    }

    // Before the bar knows where its preferences are, the stored value is not read.
    writeStoredValues ({ { "defaultGuiScalePreset", "150" } });
    MenuBar bar;
    EXPECT_EQ (bar.getSavedDefaultGuiScalePreset(), MenuBar::Scale100);
    EXPECT_EQ (bar.currentGuiScalePreset, MenuBar::Scale100);
}

TEST_F (EditorShellPreferences, WithAutoSaveOffAChosenScaleIsNotStored)
{
    {
        OpenBar open;
        EXPECT_EQ (open.bar.currentGuiScalePreset, MenuBar::Scale100);

        open.bar.handleSettingsMenuResult (MenuBar::firstScaleMenuItemId + MenuBar::Scale150);
        EXPECT_EQ (open.bar.currentGuiScalePreset, MenuBar::Scale150);
        ASSERT_EQ (open.changes.size(), 1u);
        EXPECT_EQ (open.changes[0], MenuBar::Scale150);

        // Choosing the ticked size again still reaches the editor.
        open.bar.handleSettingsMenuResult (MenuBar::firstScaleMenuItemId + MenuBar::Scale150);
        EXPECT_EQ (open.changes.size(), 2u);

        // A dismissed menu changes nothing.
        open.bar.handleSettingsMenuResult (0);
        EXPECT_EQ (open.changes.size(), 2u);
        EXPECT_EQ (open.bar.currentGuiScalePreset, MenuBar::Scale150);
    }

    EXPECT_EQ (readStoredValues().count ("defaultGuiScalePreset"), 0u);

    OpenBar next;
    EXPECT_EQ (next.bar.currentGuiScalePreset, MenuBar::Scale100);
}

TEST_F (EditorShellPreferences, MakeDefaultStoresTheCurrentScaleAtOnceAndOffKeepsIt)
{
    OpenBar open;
    open.bar.currentGuiScalePreset = MenuBar::Scale75;

    open.bar.handleSettingsMenuResult (MenuBar::makeDefaultMenuItemId);
    {
        // On disk at once, in the per-user configuration folder, and nowhere else.
        auto stored = readStoredValues();
        EXPECT_EQ (stored["defaultGuiScalePreset"], "75");
        EXPECT_EQ (stored["guiScaleAutoSaveEnabled"], "1");
        EXPECT_FALSE (homeFolder().getChildFile ("QuilletAudio").exists());
    }
    EXPECT_TRUE (open.changes.empty()); // the window keeps its size

    // Off again, meanwhile at another size: the stored default stays.
    open.bar.currentGuiScalePreset = MenuBar::Scale125;
    open.bar.handleSettingsMenuResult (MenuBar::makeDefaultMenuItemId);
    {
        auto stored = readStoredValues();
        EXPECT_EQ (stored["defaultGuiScalePreset"], "75");
        EXPECT_EQ (stored["guiScaleAutoSaveEnabled"], "0");
    }

    // Off: a choice changes only the open window.
    open.bar.handleSettingsMenuResult (MenuBar::firstScaleMenuItemId + MenuBar::Scale150);
    EXPECT_EQ (readStoredValues()["defaultGuiScalePreset"], "75");

    // On again at 150 %, then every choice is stored at once.
    open.bar.handleSettingsMenuResult (MenuBar::makeDefaultMenuItemId);
    EXPECT_EQ (readStoredValues()["defaultGuiScalePreset"], "150");
    open.bar.handleSettingsMenuResult (MenuBar::firstScaleMenuItemId + MenuBar::Scale50);
    EXPECT_EQ (readStoredValues()["defaultGuiScalePreset"], "50");

    OpenBar next;
    EXPECT_EQ (next.bar.currentGuiScalePreset, MenuBar::Scale50);
}

TEST_F (EditorShellPreferences, SettingsMenuItemsTextsAndTicks)
{
    struct Case
    {
        MenuBar::GuiScalePreset current;
        bool autoSave;
    };

    for (const auto c : { Case { MenuBar::Scale125, true }, Case { MenuBar::Scale50, false }, Case { MenuBar::Scale100, false } })
    {
        SCOPED_TRACE (c.current);
        writeStoredValues ({ { "guiScaleAutoSaveEnabled", c.autoSave ? "1" : "0" } });
        OpenBar open;
        open.bar.currentGuiScalePreset = c.current;

        struct Entry
        {
            juce::String kind, text;
            int id;
            bool ticked, enabled;
        };
        std::vector<Entry> entries;

        const auto menu = open.bar.createSettingsMenu();
        for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
        {
            const auto& item = it.getItem();
            entries.push_back ({ item.isSectionHeader ? "header" : (item.isSeparator ? "separator" : "item"),
                                 item.text, item.itemID, item.isTicked, item.isEnabled });
        }

        const std::vector<Entry> expected = {
            { "header", "Display Size", 0, false, true },
            { "item", "50%", 920001, c.current == MenuBar::Scale50, true },
            { "item", "75%", 920002, c.current == MenuBar::Scale75, true },
            { "item", "100%", 920003, c.current == MenuBar::Scale100, true },
            { "item", "125%", 920004, c.current == MenuBar::Scale125, true },
            { "item", "150%", 920005, c.current == MenuBar::Scale150, true },
            { "separator", "", 0, false, true },
            { "item", "Make Default", 920007, c.autoSave, true },
        };

        ASSERT_EQ (entries.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
        {
            SCOPED_TRACE (i);
            EXPECT_EQ (entries[i].kind, expected[i].kind);
            EXPECT_EQ (entries[i].text, expected[i].text);
            EXPECT_EQ (entries[i].ticked, expected[i].ticked);
            if (expected[i].kind == "item")
            {
                EXPECT_EQ (entries[i].id, expected[i].id);
                EXPECT_TRUE (entries[i].enabled);
            }
        }
    }
}

TEST_F (EditorShellPreferences, MenuOpensOnlyWithAHandlerAndReopensAfterMakeDefault)
{
    test::dispatchPendingMessages();

    {
        MenuBar bar;
        bar.setBounds (0, 0, 1133, 55);
        bar.setAppInfo (AppInfo());
        bar.showSettingsMenu(); // no handler installed: nothing opens
        EXPECT_FALSE (juce::PopupMenu::dismissAllActiveMenus());
    }

    OpenBar open;
    const auto before = test::desktopComponents();
    open.bar.showSettingsMenu();

    // The menu window: drawn by the bar's look-and-feel, under the gear
    // button (1020, 5, 44, 44), at least roundf (max (2.8 x 55, 130)) = 154
    // wide, with the bar's metrics: header 18 x 1.5, items 18, separator 6.
    juce::Component* menuWindow = nullptr;
    for (auto* c : test::desktopComponents())
        if (! before.contains (c) && &c->getLookAndFeel() == &open.bar.getMenuLookAndFeel())
            menuWindow = c;

    ASSERT_NE (menuWindow, nullptr);
    EXPECT_EQ (menuWindow->getY(), 49);
    EXPECT_EQ (menuWindow->getX(), 1020);
    EXPECT_GE (menuWindow->getWidth(), 154);

    std::vector<int> heights;
    for (auto* item : menuWindow->getChildren())
        heights.push_back (item->getHeight());
    EXPECT_EQ (heights, (std::vector<int> { 27, 18, 18, 18, 18, 18, 6, 18 }));

    EXPECT_TRUE (juce::PopupMenu::dismissAllActiveMenus());
    test::dispatchPendingMessages(); // the dismissed menu reports 0: nothing happens
    EXPECT_TRUE (open.changes.empty());

    // "Make Default" re-opens the menu, but only from the message loop, after
    // the closing menu has finished.
    open.bar.handleSettingsMenuResult (MenuBar::makeDefaultMenuItemId);
    EXPECT_FALSE (juce::PopupMenu::dismissAllActiveMenus());
    test::dispatchPendingMessages();
    EXPECT_TRUE (juce::PopupMenu::dismissAllActiveMenus());
    test::dispatchPendingMessages();

    // A bar deleted before the posted call runs opens nothing.
    {
        OpenBar shortLived;
        shortLived.bar.handleSettingsMenuResult (MenuBar::makeDefaultMenuItemId);
    }
    test::dispatchPendingMessages();
    EXPECT_FALSE (juce::PopupMenu::dismissAllActiveMenus());
}

TEST_F (EditorShellPreferences, UnwritableFolderGivesDefaultsAndNoError)
{
    // A plain file where the folder should be: the folder can be neither
    // created nor written, whoever runs the test.
    const auto blocker = homeFolder().getChildFile (".config/QuilletAudio");
    ASSERT_TRUE (blocker.getParentDirectory().createDirectory());
    ASSERT_TRUE (blocker.replaceWithText ("not a folder"));

    OpenBar open;
    EXPECT_EQ (open.bar.currentGuiScalePreset, MenuBar::Scale100);
    EXPECT_EQ (open.bar.getSavedDefaultGuiScalePreset(), MenuBar::Scale100);

    open.bar.currentGuiScalePreset = MenuBar::Scale75;
    open.bar.handleSettingsMenuResult (MenuBar::makeDefaultMenuItemId);
    open.bar.handleSettingsMenuResult (MenuBar::firstScaleMenuItemId + MenuBar::Scale125);

    // The open window still follows the menu.
    EXPECT_EQ (open.bar.currentGuiScalePreset, MenuBar::Scale125);
    ASSERT_EQ (open.changes.size(), 1u);
    EXPECT_EQ (open.changes[0], MenuBar::Scale125);

    EXPECT_TRUE (blocker.existsAsFile());
    EXPECT_FALSE (homeFolder().getChildFile ("QuilletAudio").exists());

    OpenBar next;
    EXPECT_EQ (next.bar.currentGuiScalePreset, MenuBar::Scale100);
}
