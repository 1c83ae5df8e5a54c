#include "WindowSizing.h"

#include <cmath>

namespace WindowSizing
{
namespace
{
// "round" in the sizing rules: to nearest, halves away from zero.
int roundHalf (double v) { return (int) std::lround (v); }
} // namespace

juce::Rectangle<int> availableArea (const juce::Displays& displays, juce::Rectangle<int> screenBounds)
{
    if (const auto* d = displays.getDisplayForRect (screenBounds))
        return d->userArea;

    if (const auto* main = displays.getPrimaryDisplay())
        return main->userArea;

    return displays.getTotalBounds (true);
}

Limits limitsFor (int aw, int ah, const AppInfo& info)
{
    juce::ignoreUnused (ah);

    Limits l;
    l.maxWidth = juce::jmax (1, juce::jmin (aw, roundHalf (info.maxWidth)));
    l.minWidth = juce::jmax (1, juce::jmin (l.maxWidth, roundHalf (info.minWidth)));
    l.aspect = juce::jmax ((double) info.aspectRatio, 0.1);
    l.minHeight = juce::jmax (1, roundHalf (l.minWidth / l.aspect));
    l.maxHeight = juce::jmax (l.minHeight, roundHalf (l.maxWidth / l.aspect));
    return l;
}

double scaleFactor (MenuBar::GuiScalePreset preset)
{
    switch (preset)
    {
        case MenuBar::Scale50:  return 0.5;
        case MenuBar::Scale75:  return 0.75;
        case MenuBar::Scale125: return 1.25;
        case MenuBar::Scale150: return 1.5;
        case MenuBar::Scale100:
        default:                return 1.0;
    }
}

Size defaultSize (int aw, int ah, MenuBar::GuiScalePreset preset, const AppInfo& info)
{
    const auto limits = limitsFor (aw, ah, info);
    const auto aspect = limits.aspect;

    // Single precision, as the constants are.
    const auto target = juce::roundToInt (info.aspectRatio * ((float) ah * info.defaultHeightFraction));

    auto w = juce::jmin (target, limits.maxWidth);
    w = juce::jmax (w, limits.minWidth);
    const auto h = juce::jmax (1, roundHalf (w / aspect));

    const auto factor = scaleFactor (preset);
    const auto sw = juce::jmax (1, roundHalf (w * factor));
    const auto sh = juce::jmax (1, roundHalf (h * factor));

    // Scaled sizes are not limited to maxWidth again: at 125 % and 150 % the
    // window may be wider whenever it fits the display.
    if (sw <= aw && sh <= ah)
        return { sw, sh };

    const auto fit = juce::jmin ((double) ah / sh, (double) aw / sw, 1.0);
    auto fw = juce::jmax (1, roundHalf (sw * fit));
    fw = juce::jmin (fw, limits.maxWidth);
    fw = juce::jmax (fw, limits.minWidth);
    const auto fh = juce::jmax (1, roundHalf (fw / aspect));

    if (fh <= ah)
        return { fw, fh };

    // The usable height can be 0 (no display at all); the window never is.
    return { juce::jmax (1, juce::jmin (limits.maxWidth, roundHalf (aspect * ah))), juce::jmax (1, ah) };
}

std::optional<Size> restoredSize (float savedWidth, float savedHeight, const Limits& limits)
{
    // A state from elsewhere may carry anything; a size that is not a number
    // counts as no saved size at all.
    if (! std::isfinite (savedWidth) || ! std::isfinite (savedHeight))
        return std::nullopt;

    // Limited before rounding, which gives the same result for every
    // representable size and cannot overflow on huge ones.
    auto limited = [] (float v, int lo, int hi)
    {
        return juce::roundToInt (juce::jlimit ((double) lo, (double) hi, (double) v));
    };

    return Size { limited (savedWidth, limits.minWidth, limits.maxWidth),
                  limited (savedHeight, limits.minHeight, limits.maxHeight) };
}

int menuBarHeight (int editorHeight, const AppInfo& info)
{
    return (int) std::lround ((float) editorHeight * info.menuBarHeightFraction);
}

bool isTooSmallToSave (int width, int height, const AppInfo& info)
{
    const auto aspect = juce::jmax ((double) info.aspectRatio, 0.1);
    const auto mw = juce::roundToInt (info.minWidth);
    return width < mw || height < juce::jmax (1, roundHalf (mw / aspect));
}
} // namespace WindowSizing
