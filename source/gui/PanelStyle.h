#pragma once

#include <juce_graphics/juce_graphics.h>

// The panel's palette and its scalable drawing sizes, shared by the panel,
// the dial look-and-feel, the meters and the power buttons.

// Palette (ARGB).
inline const juce::Colour kBgTop            { 0xff0f1216 };
inline const juce::Colour kBgMid            { 0xff07090b };
inline const juce::Colour kBgBottom         { 0xff050709 };
inline const juce::Colour kPanelOuter       { 0xff0c0f12 };
inline const juce::Colour kPanelOutline     { 0xff2f3944 };
inline const juce::Colour kChassisTop       { 0xff191e24 };
inline const juce::Colour kChassisMid       { 0xff12161b };
inline const juce::Colour kChassisSheen     { 0x0affffff };
inline const juce::Colour kHeaderTop        { 0xff12161b };
inline const juce::Colour kHeaderBottom     { 0xff090c0f };
inline const juce::Colour kBrandPlateTop    { 0xff0c0f13 };
inline const juce::Colour kBrandPlateBottom { 0xff050709 };
inline const juce::Colour kCardTopTint      { 0x1237414d };
inline const juce::Colour kCardEdge         { 0xff272f39 };
inline const juce::Colour kInnerPanelGlow   { 0x08ffffff };
inline const juce::Colour kTextMain         { 0xffeaeff6 };
inline const juce::Colour kTextSecondary    { 0xffa9b7c7 };
inline const juce::Colour kTextMuted        { 0xff6c7a8a };
inline const juce::Colour kConsoleMark      { 0x9ab0becd };
inline const juce::Colour kConsoleMarkSoft  { 0x4269798b };
inline const juce::Colour kAccentDeep       { 0xff006816 };
inline const juce::Colour kAccent           { 0xff00ff40 };
inline const juce::Colour kAccentBright     { 0xff48ff24 };
inline const juce::Colour kAccentHot        { 0xfff6fff8 };
inline const juce::Colour kCardBase         { 0xff0e1115 };
inline const juce::Colour kCardBottomTint   { 0x3e000000 };

// The colour with its alpha byte replaced, the other three bytes kept.
inline juce::Colour withAlphaByte (juce::Colour c, juce::uint8 alpha)
{
    return juce::Colour ((c.getARGB() & 0x00ffffffu) | ((juce::uint32) alpha << 24));
}

// Pixel sizes that follow the panel: every layout of a panel derives them
// from its smaller side. They are shared by all panels of the process, so
// with two editors open the one laid out last sets them for both.
inline float gConsoleMarkFontHeight = 12.0f;
inline float gSliderValueFontHeight = 13.0f;
inline float gRotaryStrokeWidth = 3.4f;
inline float gRotaryGlowWidth1 = 10.0f;
inline float gRotaryGlowWidth2 = 6.0f;
inline float gTickThicknessMajor = 1.2f;
inline float gTickThicknessMinor = 1.0f;
inline float gTickLengthMajor = 6.0f;
inline float gTickLengthMinor = 3.5f;
