// Thousands of damaged host chunks and preset files: truncations, bit flips,
// huge lengths, deep nesting, giant attributes. Nothing may crash, and data
// that is rejected must leave the instance exactly as it was.
#include <gtest/gtest.h>

#include "TestHelpers.h"
#include "XmlLimits.h"

#include <random>

using namespace test;

namespace
{
juce::MemoryBlock chunkWithText (const juce::String& text, int lengthField = -1)
{
    juce::MemoryBlock m;
    juce::MemoryOutputStream out (m, false);
    const auto n = (int) text.getNumBytesAsUTF8();
    out.writeInt (0x21324356);
    out.writeInt (lengthField >= 0 ? lengthField : n);
    out.write (text.toRawUTF8(), (size_t) n);
    out.writeByte (0);
    return m;
}

juce::String nested (int depth)
{
    juce::String s;
    s.preallocateBytes ((size_t) depth * 8);
    for (int i = 0; i < depth; ++i)
        s << "<a>";
    for (int i = 0; i < depth; ++i)
        s << "</a>";
    return s;
}

// Everything a rejected chunk must not touch.
struct Observed
{
    juce::String state;
    bool canUndo;
    explicit Observed (OndrelAudioProcessor& p) : canUndo (p.canUndo())
    {
        state = p.createFullState().toXmlString();
    }
    bool operator== (const Observed& o) const { return state == o.state && canUndo == o.canUndo; }
};

void makeDistinct (OndrelAudioProcessor& p)
{
    p.applyFactoryPreset ("Rap");
    setReal (p, ParamIDs::width, 133.0f);
    p.savedWindowWidth = 1010.0f;
    p.savedWindowSizeSet = true;
}
} // namespace

TEST (Mutation, DamagedChunksNeverCrashAndRejectedOnesChangeNothing)
{
    OndrelAudioProcessor source;
    makeDistinct (source);
    juce::MemoryBlock good;
    source.getStateInformation (good);

    std::mt19937 rng (1234);
    int rejected = 0, applied = 0;

    OndrelAudioProcessor p;
    for (int i = 0; i < 3000; ++i)
    {
        juce::MemoryBlock m (good);
        auto* bytes = static_cast<juce::uint8*> (m.getData());
        switch (i % 5)
        {
            case 0: m.setSize (rng() % good.getSize()); break;                                   // truncation
            case 1: for (int k = 0; k < 1 + (int) (rng() % 8); ++k)                               // bit flips
                        bytes[rng() % m.getSize()] ^= (juce::uint8) (1u << (rng() % 8));
                    break;
            case 2:                                                                               // huge or odd lengths
                    { const juce::uint32 lengths[] = { 0xffffffffu, 0x7fffffffu, 0x80000000u, 1u, (juce::uint32) m.getSize() * 4 };
                      const auto L = lengths[rng() % 5];
                      bytes[4] = (juce::uint8) L; bytes[5] = (juce::uint8) (L >> 8); bytes[6] = (juce::uint8) (L >> 16); bytes[7] = (juce::uint8) (L >> 24); }
                    break;
            case 3: bytes[8 + rng() % (m.getSize() - 9)] = (juce::uint8) "<>\"=/&\0"[rng() % 7]; break; // markup damage
            case 4: { const auto at = 8 + rng() % (m.getSize() - 9);                              // inserted garbage
                      juce::MemoryBlock junk (1 + rng() % 64);
                      for (size_t k = 0; k < junk.getSize(); ++k) static_cast<juce::uint8*> (junk.getData())[k] = (juce::uint8) rng();
                      m.insert (junk.getData(), junk.getSize(), at); }
                    break;
        }

        makeDistinct (p);
        const Observed before (p);
        p.setStateInformation (m.getData(), (int) m.getSize());
        const bool parses = XmlLimits::parseChunk (m.getData(), (int) m.getSize()) != nullptr;
        if (! parses)
        {
            ++rejected;
            ASSERT_TRUE (Observed (p) == before) << "mutation " << i;
        }
        else
        {
            ++applied;
        }
        for (auto* id : ParamIDs::all)
            ASSERT_TRUE (std::isfinite (real (p, id)));
    }
    EXPECT_GT (rejected, 1000);
    EXPECT_GT (applied, 100);
}

TEST (Mutation, HostileShapesAreRefused)
{
    // Nesting deep enough to exhaust the stack of a recursive parser, and an
    // attribute of tens of megabytes.
    OndrelAudioProcessor p;
    makeDistinct (p);
    const Observed before (p);

    const auto deep = chunkWithText ("<PARAMETERS>" + nested (200000) + "</PARAMETERS>");
    p.setStateInformation (deep.getData(), (int) deep.getSize());
    EXPECT_TRUE (Observed (p) == before);

    juce::String giant;
    giant.preallocateBytes (32 << 20);
    giant << "<PARAMETERS uiCurrentPresetName=\"" << juce::String::repeatedString ("x", 32 << 20) << "\"/>";
    const auto big = chunkWithText (giant);
    p.setStateInformation (big.getData(), (int) big.getSize());
    // Applied (it is a valid tree) without harm; the name is simply long.
    EXPECT_EQ (p.getCurrentPresetName().length(), 32 << 20);
}

TEST (Mutation, DamagedPresetFilesNeverCrash)
{
    OndrelAudioProcessor p;
    makeDistinct (p);
    ASSERT_TRUE (p.saveUserPreset ("Seed"));
    const auto file = p.presetManager.getPresetFile ("Seed");
    const auto good = file.loadFileAsString();

    std::mt19937 rng (99);
    int refused = 0;
    for (int i = 0; i < 600; ++i)
    {
        juce::String text = good;
        switch (i % 4)
        {
            case 0: text = text.substring (0, (int) (rng() % (unsigned) text.length())); break;
            case 1: for (int k = 0; k < 4; ++k)
                    {
                        const int at = (int) (rng() % (unsigned) text.length());
                        text = text.substring (0, at) + juce::String::charToString ((juce::juce_wchar) "<>\"=/& x"[rng() % 8]) + text.substring (at + 1);
                    }
                    break;
            case 2: text = "<PARAMETERS>" + nested (100 + (int) (rng() % 2000)) + "</PARAMETERS>"; break;
            case 3: text = text.replace ("value=\"", juce::String ("value=\"") + juce::String::repeatedString ("9", (int) (rng() % 400))); break;
        }
        file.replaceWithText (text);
        makeDistinct (p);
        const auto before = p.createFullState().toXmlString();
        if (! p.loadUserPreset ("Seed"))
        {
            ++refused;
            ASSERT_EQ (p.createFullState().toXmlString(), before) << "mutation " << i;
        }
        for (auto* id : ParamIDs::all)
            ASSERT_TRUE (std::isfinite (real (p, id)));
    }
    EXPECT_GT (refused, 120);
    file.deleteFile();
}

TEST (Mutation, OnlyTheSimpleShapeWeWriteReachesTheParser)
{
    struct Case { const char* text; bool accepted; };
    const Case cases[] = {
        { "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<PARAMETERS a=\"1\">\r\n  <PARAM id=\"x\" value=\"0.5\"/>\r\n</PARAMETERS>\r\n", true },
        { "<Other/>", true },
        { "<A n=\"Tom &amp; Jerry &#10; &lt;3\" m='single'><!-- a note --><B/></A>", true },
        { "<A x=\"/>/>/>\"><B/></A>", true },          // "/>" inside a value hides nothing
        { "<A>text</A>", false },                         // text content
        { "<A><B></A></B>", false },                      // crossed tags
        { "<A><B/>", false },                             // unterminated
        { "<A/><B/>", false },                            // two roots
        { "<A x=\"1\"y=\"2\"/>", false },               // attributes must be separated
        { "<A x=\"a<b\"/>", false },                       // raw '<' in a value
        { "<A x=\"&bogus\"/>", false },                    // broken entity
        { "<A x=1/>", false },                            // unquoted value
        { "<!DOCTYPE A><A/>", false },                    // no DTDs
        { "<A><![CDATA[x]]></A>", false },
        { "<A><!-- never closed </A>", false },
        { "", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ (XmlLimits::isSimpleXml (c.text, std::strlen (c.text)), c.accepted) << c.text;

    juce::String deep;
    for (int i = 0; i < 64; ++i) deep << "<a>";
    for (int i = 0; i < 64; ++i) deep << "</a>";
    EXPECT_TRUE (XmlLimits::isSimpleXml (deep.toRawUTF8(), deep.getNumBytesAsUTF8()));
    deep = "<a>" + deep + "</a>";
    EXPECT_FALSE (XmlLimits::isSimpleXml (deep.toRawUTF8(), deep.getNumBytesAsUTF8()));
}
