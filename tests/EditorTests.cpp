// The editor window: its default size from the usable display area and the
// chosen display size, the saved size, the limits and the aspect ratio, the
// scale choice, and life without any display.
//
// The arithmetic is checked as a function of the usable area against sizes
// worked out by hand; the editor is checked on displays put into the
// framework's display list for the test.
#include <gtest/gtest.h>

#include "GuiTestHelpers.h"
#include "TestHelpers.h"
#include "editor/PluginEditor.h"
#include "editor/UserPreferences.h"
#include "editor/WindowSizing.h"

#include <cmath>
#include <limits>

namespace
{
using WindowSizing::Size;

std::string str (Size s)
{
    return std::to_string (s.width) + " x " + std::to_string (s.height);
}

juce::Array<juce::Displays::Display> oneDisplay (int w, int h)
{
    return { test::ScopedDisplayList::makeDisplay ({ 0, 0, w, h }, true) };
}

std::unique_ptr<OndrelAudioProcessorEditor> openEditor (OndrelAudioProcessor& proc)
{
    // Through the processor, as a host opens it.
    return std::unique_ptr<OndrelAudioProcessorEditor> (dynamic_cast<OndrelAudioProcessorEditor*> (proc.createEditor()));
}

Size sizeOf (const juce::Component& c)
{
    return { c.getWidth(), c.getHeight() };
}

Size savedSize (OndrelAudioProcessor& proc)
{
    return { (int) proc.savedWindowWidth.load(), (int) proc.savedWindowHeight.load() };
}

void removePreferences()
{
    UserPreferences::getSettingsFile (AppInfo()).deleteFile();
}

class Editor : public ::testing::Test
{
protected:
    void SetUp() override { removePreferences(); }
    void TearDown() override { removePreferences(); }
};
} // namespace

//==============================================================================
TEST (WindowSizing, DefaultSizesOnUsableAreas)
{
    struct Case
    {
        int aw, ah;
        MenuBar::GuiScalePreset scale;
        Size expected;
    };

    const Case cases[] = {
        { 1440, 875,  MenuBar::Scale100, { 1133, 612 } },
        { 1920, 1055, MenuBar::Scale50,  { 683, 369 } },
        { 1920, 1055, MenuBar::Scale75,  { 1025, 554 } },   // 1024.5 and 553.5 round up
        { 1920, 1055, MenuBar::Scale100, { 1366, 738 } },
        { 1920, 1055, MenuBar::Scale125, { 1708, 923 } },   // wider than 1600: it fits
        { 1920, 1055, MenuBar::Scale150, { 1600, 865 } },   // 2049 x 1107 does not fit
        { 1280, 775,  MenuBar::Scale100, { 1004, 543 } },
        { 800,  600,  MenuBar::Scale100, { 777, 420 } },
        { 800,  600,  MenuBar::Scale125, { 800, 432 } },
        { 800,  600,  MenuBar::Scale150, { 800, 432 } },
        { 2560, 1415, MenuBar::Scale100, { 1600, 865 } },   // limited to 1600
        { 3840, 2110, MenuBar::Scale100, { 1600, 865 } },
        { 5120, 2820, MenuBar::Scale100, { 1600, 865 } },
        { 1920, 1055, (MenuBar::GuiScalePreset) 9, { 1366, 738 } }, // unknown scale: 100 %
    };

    for (const auto& c : cases)
    {
        const auto s = WindowSizing::defaultSize (c.aw, c.ah, c.scale, AppInfo());
        EXPECT_EQ (str (s), str (c.expected)) << c.aw << " x " << c.ah << ", scale " << (int) c.scale;
    }
}

TEST (WindowSizing, MenuBarIsNinePercentOfTheHeight)
{
    EXPECT_EQ (WindowSizing::menuBarHeight (612, AppInfo()), 55);
    EXPECT_EQ (WindowSizing::menuBarHeight (738, AppInfo()), 66);
    EXPECT_EQ (WindowSizing::menuBarHeight (270, AppInfo()), 24);
    EXPECT_EQ (WindowSizing::menuBarHeight (50, AppInfo()), 5); // 4.5 rounds up
}

TEST (WindowSizing, LimitsFollowTheUsableArea)
{
    struct Case
    {
        int aw, ah;
        int minW, minH, maxW, maxH;
    };

    const Case cases[] = {
        { 1920, 1055, 500, 270, 1600, 865 },
        { 800, 600, 500, 270, 800, 432 },
        { 400, 300, 400, 216, 400, 216 }, // a display narrower than the smallest window
        { 0, 0, 1, 1, 1, 1 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.aw);
        const auto l = WindowSizing::limitsFor (c.aw, c.ah, AppInfo());
        EXPECT_EQ (l.minWidth, c.minW);
        EXPECT_EQ (l.minHeight, c.minH);
        EXPECT_EQ (l.maxWidth, c.maxW);
        EXPECT_EQ (l.maxHeight, c.maxH);
        EXPECT_DOUBLE_EQ (l.aspect, (double) 1.85f);
    }
}

TEST (WindowSizing, NoUsableAreaStillGivesAtLeastOnePixel)
{
    const int areas[][2] = { { 0, 0 }, { 1, 1 }, { 300, 0 }, { 0, 300 }, { 3, 2 } };

    for (const auto& a : areas)
        for (int scale = MenuBar::Scale50; scale <= MenuBar::Scale150; ++scale)
        {
            const auto s = WindowSizing::defaultSize (a[0], a[1], (MenuBar::GuiScalePreset) scale, AppInfo());
            EXPECT_GE (s.width, 1) << a[0] << " x " << a[1] << " scale " << scale;
            EXPECT_GE (s.height, 1) << a[0] << " x " << a[1] << " scale " << scale;
        }

    EXPECT_EQ (str (WindowSizing::defaultSize (0, 0, MenuBar::Scale100, AppInfo())), "1 x 1");
}

TEST (WindowSizing, SizesTooSmallToSave)
{
    struct Case
    {
        int w, h;
        bool tooSmall;
    };

    const Case cases[] = { { 480, 300, true },  { 600, 320, false }, { 600, 260, true }, { 500, 270, false },
                           { 499, 900, true },  { 1600, 269, true }, { 3000, 2000, false } };

    for (const auto& c : cases)
        EXPECT_EQ (WindowSizing::isTooSmallToSave (c.w, c.h, AppInfo()), c.tooSmall) << c.w << " x " << c.h;
}

TEST (WindowSizing, SavedSizeIsBroughtWithinTheLimits)
{
    const auto limits = WindowSizing::limitsFor (1920, 1055, AppInfo());
    constexpr auto nan = std::numeric_limits<float>::quiet_NaN();
    constexpr auto inf = std::numeric_limits<float>::infinity();

    EXPECT_EQ (str (*WindowSizing::restoredSize (3000.0f, 2000.0f, limits)), "1600 x 865");
    EXPECT_EQ (str (*WindowSizing::restoredSize (100.0f, 50.0f, limits)), "500 x 270");
    EXPECT_EQ (str (*WindowSizing::restoredSize (900.4f, 500.6f, limits)), "900 x 501");
    EXPECT_EQ (str (*WindowSizing::restoredSize (1e30f, -1e30f, limits)), "1600 x 270");
    EXPECT_EQ (str (*WindowSizing::restoredSize (1000.0f, 300.0f, limits)), "1000 x 300"); // the ratio is not forced

    EXPECT_FALSE (WindowSizing::restoredSize (nan, 500.0f, limits).has_value());
    EXPECT_FALSE (WindowSizing::restoredSize (900.0f, inf, limits).has_value());
}

TEST (WindowSizing, AvailableAreaIsTheUsableAreaOfTheFrameworksDisplay)
{
    using test::ScopedDisplayList;
    const auto left = ScopedDisplayList::makeDisplay ({ 0, 25, 1440, 875 }, true, { 0, 0, 1440, 900 });
    const auto right = ScopedDisplayList::makeDisplay ({ 1440, 0, 1920, 1055 }, false, { 1440, 0, 1920, 1080 });
    ScopedDisplayList displays ({ left, right });
    const auto& list = juce::Desktop::getInstance().getDisplays();

    EXPECT_EQ (WindowSizing::availableArea (list, { 100, 100, 800, 400 }), left.userArea);
    EXPECT_EQ (WindowSizing::availableArea (list, { 1300, 100, 800, 400 }), right.userArea); // mostly on the right
    EXPECT_EQ (WindowSizing::availableArea (list, { 1000, 100, 800, 400 }), left.userArea);
    EXPECT_EQ (WindowSizing::availableArea (list, { 1040, 100, 800, 400 }), right.userArea); // a tie: the last

    // Not on any display (as while the editor is built): every display ties
    // at no overlap and the lookup takes the last.
    EXPECT_EQ (WindowSizing::availableArea (list, {}), right.userArea);
    EXPECT_EQ (WindowSizing::availableArea (list, { -5000, -5000, 10, 10 }), right.userArea);

    ScopedDisplayList none ({});
    EXPECT_TRUE (WindowSizing::availableArea (juce::Desktop::getInstance().getDisplays(), { 0, 0, 10, 10 }).isEmpty());
}

//==============================================================================
TEST_F (Editor, OpensAtTheDefaultSizeWithTheMenuBarOverThePanel)
{
    struct Case
    {
        int aw, ah;
        Size window;
        int bar;
    };

    const Case cases[] = { { 1440, 875, { 1133, 612 }, 55 }, { 1920, 1055, { 1366, 738 }, 66 },
                           { 800, 600, { 777, 420 }, 38 } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.aw);
        test::ScopedDisplayList displays (oneDisplay (c.aw, c.ah));
        OndrelAudioProcessor proc;
        auto editor = openEditor (proc);
        ASSERT_NE (editor, nullptr);

        EXPECT_EQ (str (sizeOf (*editor)), str (c.window));
        EXPECT_EQ (editor->getMenuBar().getBounds(), juce::Rectangle<int> (0, 0, c.window.width, c.bar));
        EXPECT_EQ (editor->getPanel().getBounds(),
                   juce::Rectangle<int> (0, c.bar, c.window.width, c.window.height - c.bar));
        EXPECT_GT (editor->getIndexOfChildComponent (&editor->getMenuBar()),
                   editor->getIndexOfChildComponent (&editor->getPanel()));

        // The default becomes the saved size at once.
        EXPECT_TRUE (proc.savedWindowSizeSet.load());
        EXPECT_EQ (str (savedSize (proc)), str (c.window));

        EXPECT_EQ (editor->getAppWindowBounds(), juce::Rectangle<int> (c.window.width, c.window.height));
        EXPECT_EQ (editor->getCurrentGuiScalePreset(), MenuBar::Scale100);
    }
}

TEST_F (Editor, ResizableWithinTheDisplayLimitsAtTheFixedAspectRatio)
{
    test::ScopedDisplayList displays (oneDisplay (1920, 1055));
    OndrelAudioProcessor proc;
    auto editor = openEditor (proc);

    EXPECT_TRUE (editor->isResizable());
    auto* constrainer = editor->getConstrainer();
    ASSERT_NE (constrainer, nullptr);
    EXPECT_EQ (constrainer->getMinimumWidth(), 500);
    EXPECT_EQ (constrainer->getMinimumHeight(), 270);
    EXPECT_EQ (constrainer->getMaximumWidth(), 1600);
    EXPECT_EQ (constrainer->getMaximumHeight(), 865);
    EXPECT_DOUBLE_EQ (constrainer->getFixedAspectRatio(), (double) 1.85f);

    bool hasCorner = false;
    for (auto* child : editor->getChildren())
        hasCorner = hasCorner || dynamic_cast<juce::ResizableCornerComponent*> (child) != nullptr;
    EXPECT_TRUE (hasCorner);

    // A drag of the corner to a huge size stops at the limits.
    editor->setBoundsConstrained ({ 0, 0, 4000, 4000 });
    EXPECT_LE (editor->getWidth(), 1600);
    EXPECT_LE (editor->getHeight(), 865);
}

TEST_F (Editor, SavedSizeIsRestoredWithinTheLimitsAndKeptAsSaved)
{
    test::ScopedDisplayList displays (oneDisplay (1920, 1055));

    struct Case
    {
        float w, h;
        Size opened;
    };

    const Case cases[] = { { 3000.0f, 2000.0f, { 1600, 865 } }, { 925.0f, 500.0f, { 925, 500 } },
                           { 200.0f, 100.0f, { 500, 270 } } };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.w);
        OndrelAudioProcessor proc;
        proc.savedWindowWidth = c.w;
        proc.savedWindowHeight = c.h;
        proc.savedWindowSizeSet = true;

        auto editor = openEditor (proc);
        EXPECT_EQ (str (sizeOf (*editor)), str (c.opened));

        // Until the next accepted resize the processor keeps what it had.
        EXPECT_FLOAT_EQ (proc.savedWindowWidth.load(), c.w);
        EXPECT_FLOAT_EQ (proc.savedWindowHeight.load(), c.h);
    }
}

TEST_F (Editor, SavedSizeThatIsNotANumberOpensAtTheDefault)
{
    test::ScopedDisplayList displays (oneDisplay (1920, 1055));
    OndrelAudioProcessor proc;
    proc.savedWindowWidth = std::numeric_limits<float>::quiet_NaN();
    proc.savedWindowHeight = 700.0f;
    proc.savedWindowSizeSet = true;

    auto editor = openEditor (proc);
    EXPECT_EQ (str (sizeOf (*editor)), "1366 x 738");
    EXPECT_EQ (str (savedSize (proc)), "1366 x 738");
}

TEST_F (Editor, ResizesAreSavedUnlessTooSmall)
{
    test::ScopedDisplayList displays (oneDisplay (1920, 1055));
    OndrelAudioProcessor proc;
    auto editor = openEditor (proc);
    ASSERT_EQ (str (savedSize (proc)), "1366 x 738");

    struct Step
    {
        int w, h;
        Size savedAfter;
    };

    const Step stepsInOrder[] = {
        { 480, 300, { 1366, 738 } },  // width below 500
        { 600, 320, { 600, 320 } },
        { 600, 260, { 600, 320 } },   // height below 270
        { 1000, 541, { 1000, 541 } },
        { 500, 270, { 500, 270 } },   // the smallest window is saved
    };

    for (const auto& s : stepsInOrder)
    {
        editor->setSize (s.w, s.h);
        EXPECT_EQ (str (savedSize (proc)), str (s.savedAfter)) << s.w << " x " << s.h;
        EXPECT_EQ (editor->getMenuBar().getHeight(), WindowSizing::menuBarHeight (s.h, AppInfo()));
    }

    // A new editor of the same instance opens at the saved size.
    editor.reset();
    editor = openEditor (proc);
    EXPECT_EQ (str (sizeOf (*editor)), "500 x 270");
}

TEST_F (Editor, ChoosingADisplaySizeResetsTheWindowToItsDefault)
{
    test::ScopedDisplayList displays (oneDisplay (1920, 1055));
    OndrelAudioProcessor proc;
    auto editor = openEditor (proc);
    auto& bar = editor->getMenuBar();

    struct Step
    {
        MenuBar::GuiScalePreset scale;
        Size window;
    };

    const Step stepsInOrder[] = { { MenuBar::Scale150, { 1600, 865 } }, { MenuBar::Scale50, { 683, 369 } },
                                  { MenuBar::Scale125, { 1708, 923 } }, { MenuBar::Scale125, { 1708, 923 } },
                                  { MenuBar::Scale75, { 1025, 554 } } };

    for (const auto& s : stepsInOrder)
    {
        SCOPED_TRACE ((int) s.scale);

        // The user's own size is dropped whatever it was, even at the scale
        // already chosen.
        editor->setSize (1000, 541);
        ASSERT_EQ (str (savedSize (proc)), "1000 x 541");

        bar.handleSettingsMenuResult (MenuBar::firstScaleMenuItemId + s.scale);

        EXPECT_EQ (str (sizeOf (*editor)), str (s.window));
        EXPECT_EQ (str (savedSize (proc)), str (s.window));
        EXPECT_TRUE (proc.savedWindowSizeSet.load());
        EXPECT_EQ (editor->getCurrentGuiScalePreset(), s.scale);
        EXPECT_EQ (bar.currentGuiScalePreset, s.scale);
        EXPECT_EQ (bar.getHeight(), WindowSizing::menuBarHeight (s.window.height, AppInfo()));
    }

    // The scale is the editor's own: a new editor starts at the stored
    // default (none stored: 100 %), at the size saved last.
    editor.reset();
    editor = openEditor (proc);
    EXPECT_EQ (editor->getCurrentGuiScalePreset(), MenuBar::Scale100);
    EXPECT_EQ (str (sizeOf (*editor)), "1025 x 554");
}

TEST_F (Editor, StoredDefaultDisplaySizeDecidesTheFirstWindow)
{
    {
        UserPreferences prefs;
        prefs.initialise (AppInfo());
        prefs.saveDefaultGuiScalePreset ("75");
    }

    test::ScopedDisplayList displays (oneDisplay (1920, 1055));
    OndrelAudioProcessor proc;
    auto editor = openEditor (proc);

    EXPECT_EQ (editor->getCurrentGuiScalePreset(), MenuBar::Scale75);
    EXPECT_EQ (editor->getMenuBar().currentGuiScalePreset, MenuBar::Scale75);
    EXPECT_EQ (str (sizeOf (*editor)), "1025 x 554");

    // A size saved in the host project wins over the preferred scale.
    OndrelAudioProcessor restored;
    restored.savedWindowWidth = 1200.0f;
    restored.savedWindowHeight = 649.0f;
    restored.savedWindowSizeSet = true;
    auto second = openEditor (restored);
    EXPECT_EQ (str (sizeOf (*second)), "1200 x 649");
}

TEST_F (Editor, FirstSizeComesFromTheLastDisplayWhileNotOnScreen)
{
    using test::ScopedDisplayList;
    ScopedDisplayList displays ({ ScopedDisplayList::makeDisplay ({ 0, 0, 1920, 1055 }, true),
                                  ScopedDisplayList::makeDisplay ({ 1920, 0, 800, 600 }, false) });
    OndrelAudioProcessor proc;
    auto editor = openEditor (proc);
    EXPECT_EQ (str (sizeOf (*editor)), "777 x 420");

    // Placed on the main display now, a new choice is sized for it.
    editor->setTopLeftPosition (100, 100);
    editor->getMenuBar().handleSettingsMenuResult (MenuBar::firstScaleMenuItemId + MenuBar::Scale100);
    EXPECT_EQ (str (sizeOf (*editor)), "1366 x 738");
}

TEST_F (Editor, CreatedAndDestroyedRepeatedlyWithNoDisplay)
{
    test::ScopedDisplayList none ({});
    OndrelAudioProcessor proc;

    for (int i = 0; i < 4; ++i)
    {
        SCOPED_TRACE (i);
        auto editor = openEditor (proc);
        ASSERT_NE (editor, nullptr);

        EXPECT_GE (editor->getWidth(), 1);
        EXPECT_GE (editor->getHeight(), 1);
        EXPECT_GE (editor->getPanel().getWidth(), 0);
        EXPECT_GE (editor->getPanel().getHeight(), 0);
        EXPECT_GE (editor->getMenuBar().getHeight(), 0);

        // Painting and a timer tick work on the placeholder size too.
        test::paintToImage (*editor);
        editor->getPanel().timerCallback();
        editor->getMenuBar().timerCallback();

        // The 1 x 1 placeholder is not worth keeping as the window size.
        EXPECT_FALSE (proc.savedWindowSizeSet.load());
    }

    // A host project's size survives a headless opening untouched ...
    proc.savedWindowWidth = 925.0f;
    proc.savedWindowHeight = 500.0f;
    proc.savedWindowSizeSet = true;
    openEditor (proc).reset();
    EXPECT_EQ (str (savedSize (proc)), "925 x 500");

    // ... and a fresh instance opened headless first still gets its default
    // once a display is there.
    OndrelAudioProcessor fresh;
    openEditor (fresh).reset();

    test::ScopedDisplayList display (oneDisplay (1440, 875));
    auto editor = openEditor (fresh);
    EXPECT_EQ (str (sizeOf (*editor)), "1133 x 612");
}
