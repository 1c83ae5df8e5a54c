#pragma once

#include "AppInfo.h"
#include "MenuBar.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <optional>

// The editor window's size arithmetic, as functions of the usable display
// area so that it can be worked out without a display. The editor itself
// takes that area from the framework's display list.
namespace WindowSizing
{
struct Size
{
    int width = 0, height = 0;

    bool operator== (const Size& other) const noexcept { return width == other.width && height == other.height; }
    bool operator!= (const Size& other) const noexcept { return ! operator== (other); }
};

struct Limits
{
    int minWidth = 1, minHeight = 1, maxWidth = 1, maxHeight = 1;
    double aspect = 1.0;
};

// The usable area of the display the framework places screenBounds on (the
// one it overlaps most; on a tie, the last in the list). Failing that the
// main display's, failing that the bounding box of all usable areas (empty
// when there is no display at all).
juce::Rectangle<int> availableArea (const juce::Displays&, juce::Rectangle<int> screenBounds);

// Resize limits and aspect ratio on a usable area of aw x ah; every limit is
// at least 1.
Limits limitsFor (int aw, int ah, const AppInfo&);

// 0.5, 0.75, 1, 1.25, 1.5 for Scale50 to Scale150; 1 for anything else.
double scaleFactor (MenuBar::GuiScalePreset);

// The default window size for a display size on a usable area of aw x ah:
// 70 % of the usable height at the fixed aspect ratio, within the width
// limits, then scaled, and fitted back onto the display when the scaled size
// does not fit. Never below 1 x 1.
Size defaultSize (int aw, int ah, MenuBar::GuiScalePreset, const AppInfo&);

// A saved size brought within the limits (the aspect ratio is not forced).
// Nothing when the saved numbers are not finite.
std::optional<Size> restoredSize (float savedWidth, float savedHeight, const Limits&);

// The menu bar's height for an editor height: 9 % of it.
int menuBarHeight (int editorHeight, const AppInfo&);

// Sizes below the smallest window (500 wide, or 270 high at the aspect
// ratio) are never saved, whatever the display.
bool isTooSmallToSave (int width, int height, const AppInfo&);
} // namespace WindowSizing
