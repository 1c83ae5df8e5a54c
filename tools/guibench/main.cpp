// ondrel-gui-bench: what the editor costs the message thread. Paints the whole
// editor at three display sizes, then runs its timers over a stretch of
// simulated time with only the meters moving, painting exactly the areas the
// editor asks to have repainted (as a window would), and prints JSON lines.
#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include "PluginProcessor.h"
#include "../common/Options.h"
#include "editor/PluginEditor.h"
#include "editor/WindowSizing.h"
#include "../common/RepaintRecorder.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;

double millisecondsSince (Clock::time_point start)
{
    return std::chrono::duration<double, std::milli> (Clock::now() - start).count();
}

void useDisplay (int w, int h)
{
    auto& displays = const_cast<juce::Displays&> (juce::Desktop::getInstance().getDisplays());
    juce::Displays::Display d;
    d.isMain = true;
    d.userArea = d.totalArea = { 0, 0, w, h };
    d.scale = 1.0;
    d.dpi = 96.0;
    displays.displays.clearQuick();
    displays.displays.add (d);
}

const char* scaleName (MenuBar::GuiScalePreset s)
{
    const char* names[] = { "50", "75", "100", "125", "150" };
    return names[(int) s];
}

void benchScale (MenuBar::GuiScalePreset scale, int runs, double seconds)
{
    OndrelAudioProcessor proc;
    proc.applyFactoryPreset ("Warm");

    OndrelAudioProcessorEditor editor (proc);
    const auto size = WindowSizing::defaultSize (1920, 1055, scale, AppInfo {});
    editor.setSize (size.width, size.height);
    juce::Image image (juce::Image::ARGB, size.width, size.height, true);

    // The whole editor, as when the window opens or is resized.
    std::vector<double> full;
    for (int i = 0; i < runs; ++i)
    {
        const auto start = Clock::now();
        juce::Graphics g (image);
        editor.paintEntireComponent (g, true);
        full.push_back (millisecondsSince (start));
    }
    const auto firstPaint = full.front(); // the face is painted afresh only for the first
    std::sort (full.begin(), full.end());

    // Steady state: the panel's 22 ms tick and the menu bar's 125 ms tick over
    // `seconds` of simulated time; only the meter levels change.
    // Repaint requests only travel up from a showing component.
    editor.setVisible (true);
    auto& recorder = RepaintRecorder::installOn (editor);
    auto& panel = editor.getPanel();
    auto& menuBar = editor.getMenuBar();
    panel.timerCallback();
    recorder.paintDirty (image);

    const int ticks = (int) std::lround (seconds * 1000.0 / OndrelGUI::timerIntervalMs);
    double tickMs = 0.0, dirtyPixels = 0.0;
    int menuTicks = 0;

    for (int k = 0; k < ticks; ++k)
    {
        const double t = k * OndrelGUI::timerIntervalMs / 1000.0;
        const auto wobble = (float) (0.5 + 0.4 * std::sin (2.0 * juce::MathConstants<double>::pi * 1.3 * t));
        proc.inputLevelLeft = 0.3f * wobble;
        proc.inputLevelRight = 0.28f * wobble;
        proc.outputLevelLeft = 0.6f * wobble;
        proc.outputLevelRight = 0.58f * wobble;

        const auto start = Clock::now();
        panel.timerCallback();
        if ((int) (t * 8.0) != menuTicks) // every 125 ms
        {
            menuTicks = (int) (t * 8.0);
            menuBar.timerCallback();
        }
        const auto dirty = recorder.paintDirty (image);
        tickMs += millisecondsSince (start);

        for (const auto& r : dirty)
            dirtyPixels += (double) r.getWidth() * r.getHeight();
    }

    const auto perTick = tickMs / ticks;
    std::printf ("{\"case\":\"editor-%s\",\"width\":%d,\"height\":%d,\"firstPaintMs\":%.3f,\"fullPaintMsMin\":%.3f,\"fullPaintMsMedian\":%.3f,"
                 "\"ticks\":%d,\"steadyTickMs\":%.3f,\"shareOfOneCorePercent\":%.2f,\"repaintedShareOfWindowPercent\":%.1f}\n",
                 scaleName (scale), size.width, size.height, firstPaint, full.front(), full[full.size() / 2], ticks, perTick,
                 100.0 * perTick / OndrelGUI::timerIntervalMs,
                 100.0 * dirtyPixels / ticks / ((double) size.width * size.height));
}
} // namespace

int main (int argc, char* argv[])
{
    const juce::ScopedJuceInitialiser_GUI gui;
    const juce::ArgumentList args (argc, argv);
    auto option = [&args] (const juce::String& name, const juce::String& fallback)
    {
        return tool::optionValue (args, name, fallback);
    };

    const int runs = juce::jmax (1, option ("--runs", "15").getIntValue());
    const double seconds = juce::jmax (0.1, option ("--seconds", "10").getDoubleValue());

    // Sizes of the editor on a 1920 x 1055 display.
    useDisplay (1920, 1055);

    for (auto scale : { MenuBar::Scale75, MenuBar::Scale100, MenuBar::Scale150 })
        benchScale (scale, runs, seconds);

    return 0;
}
