// The host chunk: byte layout, round trip, malformed data, odd trees and
// restores racing the audio thread.
#include <gtest/gtest.h>

#include "TestHelpers.h"

#include <thread>

using namespace test;

namespace
{
juce::MemoryBlock chunkOf (OndrelAudioProcessor& p)
{
    juce::MemoryBlock m;
    p.getStateInformation (m);
    return m;
}

juce::MemoryBlock chunkFromText (const juce::String& xml, int lengthField = -1)
{
    juce::MemoryBlock m;
    juce::MemoryOutputStream out (m, false);
    const auto utf8 = xml.toUTF8();
    const auto n = (int) std::strlen (utf8);
    out.writeInt (0x21324356);
    out.writeInt (lengthField >= 0 ? lengthField : n);
    out.write (utf8, (size_t) n);
    out.writeByte (0);
    return m;
}

std::vector<float> allValues (OndrelAudioProcessor& p)
{
    std::vector<float> v;
    for (auto* id : ParamIDs::all)
        v.push_back (p.apvts.getRawParameterValue (id)->load());
    return v;
}

// A non-default instance with an undo step, a preset record and a window size.
void makeDistinct (OndrelAudioProcessor& p)
{
    p.applyFactoryPreset ("Rock");
    p.beginUndoTransaction ("Adjust hpf");
    setReal (p, ParamIDs::hpfFreq, 321.0f);
    p.commitUndoTransactionIfNeeded();
    setReal (p, ParamIDs::inputGain, 7.5f);
    setReal (p, ParamIDs::mainBypass, 1.0f);
    p.savedWindowWidth = 1000.0f;
    p.savedWindowHeight = 540.0f;
    p.savedWindowSizeSet = true;
}

struct Snapshot
{
    std::vector<float> values;
    juce::String display;
    bool isUser, sizeSet, canUndo;
    float w, h;

    explicit Snapshot (OndrelAudioProcessor& p)
        : values (allValues (p)), display (p.getCurrentPresetDisplayName()), isUser (p.isCurrentPresetUser()),
          sizeSet (p.savedWindowSizeSet), canUndo (p.canUndo()), w (p.savedWindowWidth), h (p.savedWindowHeight) {}

    bool operator== (const Snapshot& o) const
    {
        return values == o.values && display == o.display && isUser == o.isUser && sizeSet == o.sizeSet
               && canUndo == o.canUndo && w == o.w && h == o.h;
    }
};
} // namespace

TEST (State, ChunkLayoutByteForByte)
{
    OndrelAudioProcessor p;
    makeDistinct (p);
    const auto m = chunkOf (p);
    const auto* b = static_cast<const juce::uint8*> (m.getData());

    ASSERT_GT (m.getSize(), 9u);
    EXPECT_EQ (b[0], 0x56); EXPECT_EQ (b[1], 0x43); EXPECT_EQ (b[2], 0x32); EXPECT_EQ (b[3], 0x21);
    const auto length = (juce::uint32) b[4] | ((juce::uint32) b[5] << 8) | ((juce::uint32) b[6] << 16) | ((juce::uint32) b[7] << 24);
    EXPECT_EQ (length, m.getSize() - 9);
    EXPECT_EQ (b[m.getSize() - 1], 0);

    const juce::String text = juce::String::fromUTF8 (reinterpret_cast<const char*> (b + 8), (int) length);
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_FALSE (text.containsAnyOf ("\r\n"));

    auto xml = juce::parseXML (text);
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "PARAMETERS");
    EXPECT_EQ (xml->getNumChildElements(), 26);
    EXPECT_EQ (xml->getStringAttribute ("uiCurrentPresetName"), "Rock");
    EXPECT_EQ (xml->getStringAttribute ("uiCurrentPresetIsUser"), "0");
    EXPECT_EQ (xml->getStringAttribute ("uiCurrentPresetModified"), "1");
    EXPECT_EQ (xml->getDoubleAttribute ("uiSavedWindowWidth"), 1000.0);
    EXPECT_EQ (xml->getStringAttribute ("uiSavedWindowSizeSet"), "1");
    // The six properties come first, in this order.
    const char* order[] = { "uiCurrentPresetName", "uiCurrentPresetIsUser", "uiCurrentPresetModified",
                            "uiSavedWindowWidth", "uiSavedWindowHeight", "uiSavedWindowSizeSet" };
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ (xml->getAttributeName (i), order[i]);
}

TEST (State, RoundTripIntoAFreshInstance)
{
    OndrelAudioProcessor a;
    makeDistinct (a);
    setReal (a, ParamIDs::width, 187.0f);
    setReal (a, ParamIDs::spaceBypass, 1.0f);
    const auto m = chunkOf (a);

    OndrelAudioProcessor b;
    b.setStateInformation (m.getData(), (int) m.getSize());
    EXPECT_EQ (allValues (b), allValues (a));
    EXPECT_EQ (b.getCurrentPresetDisplayName(), "Rock *");
    EXPECT_FALSE (b.isCurrentPresetUser());
    EXPECT_TRUE (b.savedWindowSizeSet.load());
    EXPECT_EQ (b.savedWindowWidth.load(), 1000.0f);
    EXPECT_EQ (b.savedWindowHeight.load(), 540.0f);
    EXPECT_FALSE (b.canUndo());
    EXPECT_FALSE (b.canRedo());

    // Read back and saved again: byte-identical.
    const auto again = chunkOf (b);
    EXPECT_EQ (again, m);

    // The history of an instance is cleared by a restore as well.
    a.setStateInformation (m.getData(), (int) m.getSize());
    EXPECT_FALSE (a.canUndo());
}

TEST (State, MalformedChunksChangeNothing)
{
    OndrelAudioProcessor valid;
    const auto good = chunkOf (valid);

    std::vector<std::pair<const char*, juce::MemoryBlock>> cases;
    cases.push_back ({ "empty", juce::MemoryBlock() });
    cases.push_back ({ "eight bytes", juce::MemoryBlock (good.getData(), 8) });
    {
        auto m = good;
        static_cast<char*> (m.getData())[0] = 'X';
        cases.push_back ({ "wrong magic", m });
    }
    cases.push_back ({ "length zero", chunkFromText ("<PARAMETERS/>", 0) });
    {
        auto m = chunkFromText ("<PARAMETERS/>");
        static_cast<juce::uint8*> (m.getData())[7] = 0x80; // negative
        cases.push_back ({ "negative length", m });
    }
    cases.push_back ({ "not XML", chunkFromText ("this is not xml at all") });
    cases.push_back ({ "unterminated XML", chunkFromText ("<PARAMETERS><PARAM id=\"hpfFreq\" value=\"200\"") });

    for (auto& [what, data] : cases)
    {
        SCOPED_TRACE (what);
        OndrelAudioProcessor p;
        makeDistinct (p);
        const Snapshot before (p);
        p.setStateInformation (data.getData(), (int) data.getSize());
        EXPECT_TRUE (Snapshot (p) == before);
    }
}

TEST (State, TolerantRestoreRules)
{
    OndrelAudioProcessor p;
    setReal (p, ParamIDs::midGain, 4.0f);
    p.savedWindowWidth = 900.0f;
    p.savedWindowHeight = 486.0f;
    p.savedWindowSizeSet = true;
    p.setCurrentPresetInfo ("Mine", true, true);

    // Other root tag, an unknown PARAM, a value above range, no "ui"
    // properties, midGain missing; the length field runs past the data.
    const auto text = juce::String ("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Ondrel extra=\"kept\">"
                                    "<PARAM id=\"hpfFreq\" value=\"9000\"/>"
                                    "<PARAM id=\"futureKnob\" value=\"0.25\"/>"
                                    "<PARAM id=\"reverbMix\" value=\"12.5\"/></Ondrel>");
    auto m = chunkFromText (text, 100000);
    p.setStateInformation (m.getData(), (int) m.getSize());

    EXPECT_FLOAT_EQ (p.apvts.getRawParameterValue (ParamIDs::hpfFreq)->load(), 500.0f);   // clamped
    EXPECT_FLOAT_EQ (p.apvts.getRawParameterValue (ParamIDs::reverbMix)->load(), 12.5f);
    EXPECT_FLOAT_EQ (p.apvts.getRawParameterValue (ParamIDs::midGain)->load(), 4.0f);     // kept
    EXPECT_EQ (p.getCurrentPresetDisplayName(), "Presets");                                 // restoring never marks modified
    EXPECT_FALSE (p.isCurrentPresetUser());
    EXPECT_FALSE (p.savedWindowSizeSet.load());
    EXPECT_EQ (p.savedWindowWidth.load(), 900.0f);                                          // kept

    auto later = p.createFullState();
    EXPECT_EQ (later.getType().toString(), "Ondrel");
    EXPECT_EQ (later.getProperty ("extra").toString(), "kept");
    EXPECT_TRUE (later.getChildWithProperty ("id", "futureKnob").isValid());
    auto xml = juce::AudioProcessor::getXmlFromBinary (chunkOf (p).getData(), (int) chunkOf (p).getSize());
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "Ondrel");

    // A size marked as not set leaves the saved size alone.
    auto m2 = chunkFromText ("<PARAMETERS uiSavedWindowSizeSet=\"0\" uiSavedWindowWidth=\"1500\" uiSavedWindowHeight=\"810\"/>");
    p.setStateInformation (m2.getData(), (int) m2.getSize());
    EXPECT_EQ (p.savedWindowWidth.load(), 900.0f);

    // Two snapshots with nothing in between are equivalent.
    EXPECT_TRUE (p.createFullState().isEquivalentTo (p.createFullState()));
}

TEST (State, RestoreIsAtomicForTheAudioThread)
{
    // Two states that differ in every continuous parameter. The audio thread
    // takes the callback lock as the plug-in wrapper does and must always see
    // one whole state, never a mix.
    Harness h (48000.0, 256);
    auto& p = *h.proc;
    p.applyFactoryPreset ("Airy");
    const auto stateA = chunkOf (p);
    const auto valuesA = allValues (p);
    p.applyFactoryPreset ("Dark");
    setReal (p, ParamIDs::inputGain, -6.0f);
    const auto stateB = chunkOf (p);
    const auto valuesB = allValues (p);

    std::atomic<bool> stop { false };
    std::atomic<int> torn { 0 }, blocks { 0 };

    std::thread audio ([&]
    {
        juce::AudioBuffer<float> buffer (2, 256);
        juce::MidiBuffer midi;
        while (! stop)
        {
            const juce::ScopedLock sl (p.getCallbackLock());
            const auto seen = allValues (p);
            if (seen != valuesA && seen != valuesB)
                ++torn;
            buffer.clear();
            p.processBlock (buffer, midi);
            ++blocks;
        }
    });

    std::thread saver ([&]
    {
        for (int i = 0; i < 200; ++i)
        {
            juce::MemoryBlock m;
            p.getStateInformation (m);
        }
    });

    for (int i = 0; i < 300; ++i)
    {
        const auto& s = (i % 2 == 0) ? stateA : stateB;
        p.setStateInformation (s.getData(), (int) s.getSize());
    }
    saver.join();
    stop = true;
    audio.join();

    EXPECT_EQ (torn.load(), 0);
    EXPECT_GT (blocks.load(), 0);
}
