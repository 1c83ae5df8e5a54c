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

// While one of these lives, the desktop's display list is exactly the given
// list (which may be empty: no display at all); the list it had comes back
// afterwards. For sizing against chosen screens whatever machine runs the test.
class ScopedDisplayList
{
public:
    explicit ScopedDisplayList (const juce::Array<juce::Displays::Display>& displays);
    explicit ScopedDisplayList (std::initializer_list<juce::Displays::Display> displays);
    ~ScopedDisplayList();

    // A display whose usable area is userArea; its total area is totalArea,
    // or the usable area when that is empty.
    static juce::Displays::Display makeDisplay (juce::Rectangle<int> userArea, bool isMain,
                                                juce::Rectangle<int> totalArea = {});

private:
    juce::Array<juce::Displays::Display> previous;

    JUCE_DECLARE_NON_COPYABLE (ScopedDisplayList)
};

// A left-button mouse event on the component at a position in its own
// coordinates, as the framework would deliver it.
juce::MouseEvent mouseEventOn (juce::Component&, juce::Point<float> position, int numberOfClicks = 1,
                               juce::Point<float> mouseDownPosition = { -1.0f, -1.0f }, bool wasDragged = false);

// One left-button gesture handed to the component's own mouse handlers: a
// press at `from`, a drag to `to` when the two differ, and the release at `to`.
void mouseGesture (juce::Component&, juce::Point<float> from, juce::Point<float> to);

// A press and release at the component's centre.
void click (juce::Component&);

// Two clicks at the centre in the framework's order: down, up, down (second
// click), double-click, up.
void doubleClick (juce::Component&);

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
