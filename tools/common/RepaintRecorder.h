#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// Stands in for a window without one: installed on a top-level component, it
// collects the areas its children ask to have repainted, and paints just
// those areas onto an image, clipped as a window's own repaint would be. Used
// to see and to time what the editor redraws on each tick, headless.
class RepaintRecorder : public juce::CachedComponentImage
{
public:
    // The component takes ownership of the recorder.
    static RepaintRecorder& installOn (juce::Component& c)
    {
        auto* recorder = new RepaintRecorder (c);
        c.setCachedComponentImage (recorder);
        return *recorder;
    }

    void paint (juce::Graphics&) override {}

    bool invalidateAll() override
    {
        dirty.add (owner.getLocalBounds());
        return true;
    }

    bool invalidate (const juce::Rectangle<int>& area) override
    {
        dirty.add (area.getIntersection (owner.getLocalBounds()));
        return true;
    }

    void releaseResources() override {}

    // The areas asked for since the last call, and forgets them.
    juce::RectangleList<int> takeDirty()
    {
        auto d = dirty;
        dirty.clear();
        return d;
    }

    // Paints the asked-for areas onto the image (the component's size) and
    // returns them.
    juce::RectangleList<int> paintDirty (juce::Image& target)
    {
        auto d = takeDirty();

        if (! d.isEmpty())
        {
            juce::Graphics g (target);
            g.reduceClipRegion (d);
            owner.paintEntireComponent (g, true);
        }

        return d;
    }

private:
    explicit RepaintRecorder (juce::Component& c) : owner (c) {}

    juce::Component& owner;
    juce::RectangleList<int> dirty;
};
