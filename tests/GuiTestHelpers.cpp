#include "GuiTestHelpers.h"

#if JUCE_LINUX || JUCE_BSD || JUCE_WINDOWS
namespace juce
{
// The framework's own one-message step of its dispatch loop (defined in the
// platform messaging code of juce_events).
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce
#else
 #error "dispatchPendingMessages needs a platform whose message loop can be stepped"
#endif

namespace test
{
namespace
{
juce::Displays& mutableDisplays()
{
    // The desktop only hands out its display list read-only; the list itself
    // is a plain public array.
    return const_cast<juce::Displays&> (juce::Desktop::getInstance().getDisplays());
}
} // namespace

ScopedFakeDisplay::ScopedFakeDisplay (juce::Rectangle<int> area)
{
    auto& displays = mutableDisplays();

    if (displays.displays.isEmpty())
    {
        juce::Displays::Display d;
        d.isMain = true;
        d.totalArea = area;
        d.userArea = area;
        d.topLeftPhysical = area.getTopLeft();
        d.scale = 1.0;
        d.dpi = 96.0;
        displays.displays.add (d);
        added = true;
    }
}

ScopedFakeDisplay::~ScopedFakeDisplay()
{
    if (added)
        mutableDisplays().displays.clear();
}

ScopedDisplayList::ScopedDisplayList (const juce::Array<juce::Displays::Display>& displays)
    : previous (mutableDisplays().displays)
{
    mutableDisplays().displays = displays;
}

ScopedDisplayList::ScopedDisplayList (std::initializer_list<juce::Displays::Display> displays)
    : ScopedDisplayList (juce::Array<juce::Displays::Display> (displays))
{
}

ScopedDisplayList::~ScopedDisplayList()
{
    mutableDisplays().displays = previous;
}

juce::Displays::Display ScopedDisplayList::makeDisplay (juce::Rectangle<int> userArea, bool isMain,
                                                       juce::Rectangle<int> totalArea)
{
    juce::Displays::Display d;
    d.isMain = isMain;
    d.userArea = userArea;
    d.totalArea = totalArea.isEmpty() ? userArea : totalArea;
    d.topLeftPhysical = d.totalArea.getTopLeft();
    d.scale = 1.0;
    d.dpi = 96.0;
    return d;
}

juce::MouseEvent mouseEventOn (juce::Component& c, juce::Point<float> position, int numberOfClicks,
                               juce::Point<float> mouseDownPosition, bool wasDragged)
{
    if (mouseDownPosition == juce::Point<float> (-1.0f, -1.0f))
        mouseDownPosition = position;

    const auto now = juce::Time::getCurrentTime();
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), position,
                             juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier),
                             juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
                             juce::MouseInputSource::defaultRotation, juce::MouseInputSource::defaultTiltX,
                             juce::MouseInputSource::defaultTiltY, &c, &c, now, mouseDownPosition, now,
                             numberOfClicks, wasDragged);
}

void mouseGesture (juce::Component& c, juce::Point<float> from, juce::Point<float> to)
{
    c.mouseDown (mouseEventOn (c, from));

    const bool moved = from != to;

    if (moved)
        c.mouseDrag (mouseEventOn (c, to, 1, from, true));

    c.mouseUp (mouseEventOn (c, to, 1, from, moved));
}

void click (juce::Component& c)
{
    const auto centre = c.getLocalBounds().toFloat().getCentre();
    mouseGesture (c, centre, centre);
}

void doubleClick (juce::Component& c)
{
    const auto centre = c.getLocalBounds().toFloat().getCentre();
    c.mouseDown (mouseEventOn (c, centre, 1));
    c.mouseUp (mouseEventOn (c, centre, 1));
    c.mouseDown (mouseEventOn (c, centre, 2));
    c.mouseDoubleClick (mouseEventOn (c, centre, 2));
    c.mouseUp (mouseEventOn (c, centre, 2));
}

int dispatchPendingMessages (int maxMessages)
{
    int count = 0;

    while (count < maxMessages && juce::dispatchNextMessageOnSystemQueue (true))
        ++count;

    return count;
}

juce::Image paintToImage (juce::Component& c)
{
    juce::Image image (juce::Image::ARGB, juce::jmax (1, c.getWidth()), juce::jmax (1, c.getHeight()), true);
    juce::Graphics g (image);
    c.paintEntireComponent (g, false);
    return image;
}

juce::Image paintToImage (int w, int h, const std::function<void (juce::Graphics&)>& paint, juce::Colour background)
{
    juce::Image image (juce::Image::ARGB, w, h, true);
    juce::Graphics g (image);

    if (! background.isTransparent())
        g.fillAll (background);

    paint (g);
    return image;
}

juce::Array<juce::Component*> desktopComponents()
{
    juce::Array<juce::Component*> result;
    auto& desktop = juce::Desktop::getInstance();

    for (int i = 0; i < desktop.getNumComponents(); ++i)
        result.add (desktop.getComponent (i));

    return result;
}
} // namespace test
