// libFuzzer target: host chunks and preset-file texts. The first byte picks
// which; the rest is the data. Build with clang (see the README).
#include <juce_gui_basics/juce_gui_basics.h>

#include "PluginProcessor.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    // Never shut down: the fuzzer exits from inside its own driver.
    static auto* init = new juce::ScopedJuceInitialiser_GUI();
    (void) init;
    static OndrelAudioProcessor* processor = []
    {
        auto* p = new OndrelAudioProcessor();
        p->setRateAndBufferSizeDetails (48000.0, 64);
        p->prepareToPlay (48000.0, 64);
        return p;
    }();

    if (size == 0)
        return 0;

    if ((data[0] & 1) == 0)
    {
        processor->setStateInformation (data + 1, (int) (size - 1));
    }
    else
    {
        const auto text = juce::String::fromUTF8 (reinterpret_cast<const char*> (data + 1), (int) (size - 1));
        const auto tree = PresetManager::parsePresetText (text);
        if (tree.isValid())
            processor->restoreFullState (tree, false);
    }

    // Whatever was applied must leave a processor that still works.
    juce::AudioBuffer<float> buffer (2, 64);
    buffer.clear();
    buffer.setSample (0, 0, 0.5f);
    juce::MidiBuffer midi;
    processor->processBlock (buffer, midi);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 64; ++i)
            if (! std::isfinite (buffer.getSample (ch, i)))
                __builtin_trap();
    return 0;
}
