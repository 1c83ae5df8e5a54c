// ondrel-snapshot: paints the real editor (menu bar and panel) into a PNG
// without a screen or a host, at a chosen display size or pixel size, with a
// chosen preset, parameter settings and meter levels.
#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include "PluginProcessor.h"
#include "editor/PluginEditor.h"
#include "editor/WindowSizing.h"
#include "../common/ToolSettings.h"

#include <cstdio>
#include <optional>

namespace
{
using namespace tool;

const char* const usageText =
    "usage: ondrel-snapshot [options] OUTPUT.png\n"
    "\n"
    "Paints the Ondrel editor into OUTPUT.png, as a host would show it.\n"
    "\n"
    "options:\n"
    "  --scale 50|75|100|125|150  display size on the display (default 100)\n"
    "  --display WxH              usable display area (default 1920x1055)\n"
    "  --size WxH                 editor size in pixels (instead of the display size)\n"
    "  --preset NAME              apply a factory preset, or else a user preset\n"
    "  --set ID=VALUE             set a parameter in real units (repeatable)\n"
    "  --meters IL,IR,OL,OR       meter levels (linear, 1 = full scale) of the\n"
    "                             input and output meters, left and right\n"
    "  --help                     this text\n";

juce::Point<int> parseSize (const juce::String& text, const juce::String& what)
{
    const auto w = text.upToFirstOccurrenceOf ("x", false, true);
    const auto h = text.fromFirstOccurrenceOf ("x", false, true);
    const auto pw = parseNumber (w, what), ph = parseNumber (h, what);

    if (! text.containsChar ('x') || pw < 1.0 || ph < 1.0 || pw > 16384.0 || ph > 16384.0
        || pw != std::floor (pw) || ph != std::floor (ph))
        fail (what + " expects WxH in whole pixels, got '" + text + "'");

    return { (int) pw, (int) ph };
}

MenuBar::GuiScalePreset parseScale (const juce::String& text)
{
    const int values[] = { 50, 75, 100, 125, 150 };

    for (int i = 0; i < 5; ++i)
        if (text.trim() == juce::String (values[i]))
            return (MenuBar::GuiScalePreset) i;

    fail ("--scale expects 50, 75, 100, 125 or 150, got '" + text + "'");
}

// The desktop hands out its display list read-only; on a machine without a
// screen it is empty, and the editor sizes itself from it.
void useDisplay (juce::Point<int> usable)
{
    auto& displays = const_cast<juce::Displays&> (juce::Desktop::getInstance().getDisplays());
    juce::Displays::Display d;
    d.isMain = true;
    d.userArea = d.totalArea = { 0, 0, usable.x, usable.y };
    d.scale = 1.0;
    d.dpi = 96.0;
    displays.displays.clearQuick();
    displays.displays.add (d);
}

int run (const juce::StringArray& args)
{
    juce::StringArray sets;
    std::optional<juce::String> output, presetName, sizeText, metersText;
    juce::String scaleText ("100"), displayText ("1920x1055");

    for (int i = 0; i < args.size(); ++i)
    {
        const auto& a = args[i];
        auto next = [&]() -> juce::String
        {
            if (a.startsWith ("--") && a.containsChar ('='))
                return a.fromFirstOccurrenceOf ("=", false, false);
            if (i + 1 >= args.size())
                fail ("option " + a + " needs a value");
            return args[++i];
        };
        const auto name = a.upToFirstOccurrenceOf ("=", false, false);

        if (name == "--help" || name == "-h") { std::printf ("%s", usageText); return 0; }
        else if (name == "--scale") scaleText = next();
        else if (name == "--display") displayText = next();
        else if (name == "--size") sizeText = next();
        else if (name == "--preset") presetName = next();
        else if (name == "--set") sets.add (next());
        else if (name == "--meters") metersText = next();
        else if (a.startsWith ("--")) fail ("unknown option " + a + " (see --help)");
        else if (output.has_value()) fail ("only one OUTPUT, got '" + *output + "' and '" + a + "'");
        else output = a;
    }

    if (! output.has_value())
        fail ("no OUTPUT given (see --help)");

    const auto outFile = juce::File::getCurrentWorkingDirectory().getChildFile (*output);
    if (! outFile.hasFileExtension ("png"))
        fail ("OUTPUT must be a .png file, got '" + *output + "'");

    const auto scale = parseScale (scaleText);
    const auto display = parseSize (displayText, "--display");
    std::optional<juce::Point<int>> size;
    if (sizeText.has_value())
        size = parseSize (*sizeText, "--size");

    float meters[4] = {};
    if (metersText.has_value())
    {
        juce::StringArray parts;
        parts.addTokens (*metersText, ",", {});
        if (parts.size() != 4)
            fail ("--meters expects four levels IL,IR,OL,OR, got '" + *metersText + "'");
        for (int i = 0; i < 4; ++i)
        {
            const auto v = parseNumber (parts[i], "meter level");
            if (v < 0.0 || v > 16.0)
                fail ("meter level " + parts[i] + " is outside 0 .. 16");
            meters[i] = (float) v;
        }
    }

    useDisplay (display);

    OndrelAudioProcessor proc;
    if (presetName.has_value())
        applyPreset (proc, *presetName, true);
    for (const auto& s : sets)
        applySet (proc, s);

    // What the processor would have published while playing.
    proc.inputLevelLeft = meters[0];
    proc.inputLevelRight = meters[1];
    proc.outputLevelLeft = meters[2];
    proc.outputLevelRight = meters[3];

    OndrelAudioProcessorEditor editor (proc);

    if (size.has_value())
    {
        editor.setSize (size->x, size->y);
    }
    else
    {
        const auto s = WindowSizing::defaultSize (display.x, display.y, scale, AppInfo {});
        editor.setSize (s.width, s.height);
    }

    // One tick of the panel brings lamps, read-outs and meters up to date.
    editor.getPanel().timerCallback();

    const auto image = editor.createComponentSnapshot (editor.getLocalBounds(), true, 1.0f);

    // Written beside the target first, so a failed write leaves no half file.
    const juce::TemporaryFile temp (outFile);
    {
        juce::FileOutputStream stream (temp.getFile());
        juce::PNGImageFormat png;
        if (! stream.openedOk() || ! png.writeImageToStream (image, stream))
            fail ("cannot write " + outFile.getFullPathName());
    }
    if (! temp.overwriteTargetFileWithTemporary())
        fail ("cannot write " + outFile.getFullPathName());

    std::printf ("%s: %d x %d\n", outFile.getFullPathName().toRawUTF8(), image.getWidth(), image.getHeight());
    return 0;
}
} // namespace

int main (int argc, char* argv[])
{
    const juce::ScopedJuceInitialiser_GUI gui;
    juce::StringArray args;
    for (int i = 1; i < argc; ++i)
        args.add (juce::String::fromUTF8 (argv[i]));

    try
    {
        return run (args);
    }
    catch (const Failure& f)
    {
        std::fprintf (stderr, "ondrel-snapshot: %s\n", f.message.toRawUTF8());
        return 1;
    }
}
