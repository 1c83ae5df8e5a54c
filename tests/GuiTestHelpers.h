#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace test
{
// Popup menus and alert windows look up the main display and crash when the
// desktop reports none, as on a machine without a screen. While one of these
// lives, the desktop has one 1920 x 1080 display (unless it already had one).
class ScopedFakeDisplay
{
public:
    explicit ScopedFakeDisplay (juce::Rectangle<int> area = { 0, 0, 1920, 1080 });
    ~ScopedFakeDisplay();

private:
    bool added = false;

    JUCE_DECLARE_NON_COPYABLE (ScopedFakeDisplay)
};

// Runs the messages that are already waiting on the message queue (and those
// they post in turn), without blocking. Modal loops are not compiled in, so
// this is how a test lets asynchronous calls happen. Returns how many ran.
int dispatchPendingMessages (int maxMessages = 1000);

// The component painted with its children into a transparent ARGB image of
// its own size.
juce::Image paintToImage (juce::Component&);

// The same for a drawing function on a w x h image that starts transparent
// (or filled with the given background).
juce::Image paintToImage (int w, int h, const std::function<void (juce::Graphics&)>& paint,
                          juce::Colour background = juce::Colours::transparentBlack);

// The desktop's popup-menu and other top-level windows, newest last.
juce::Array<juce::Component*> desktopComponents();
} // namespace test
