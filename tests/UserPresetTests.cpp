// User presets on disk. HOME is a fresh temporary folder for the whole run
// (see main.cpp); each test empties the preset folder first.
#include <gtest/gtest.h>

#include "TestHelpers.h"

using test::real;
using test::setReal;

#include <sys/stat.h>
#include <unistd.h>

namespace
{

struct UserPresets : ::testing::Test
{
    OndrelAudioProcessor p;
    juce::File dir;

    void SetUp() override
    {
        dir = p.presetManager.getPresetDirectory();
        dir.deleteRecursively();
    }
    void TearDown() override { dir.deleteRecursively(); }
};
} // namespace

TEST_F (UserPresets, FolderIsPerUserAndPerVersion)
{
    const auto home = juce::File (juce::SystemStats::getEnvironmentVariable ("HOME", {}));
   #if JUCE_MAC
    const auto expected = home.getChildFile ("Library/Application Support/QuilletAudio/Ondrel/version_2.0.0");
   #else
    const auto expected = home.getChildFile (".config/QuilletAudio/Ondrel/version_2.0.0");
   #endif
    EXPECT_EQ (p.presetManager.getBaseDirectory(), expected);
    EXPECT_EQ (dir, expected.getChildFile ("Presets"));

    // Copies of the record are independent.
    AppInfo copy = p.presetManager.appInfo;
    copy.productName = "Other";
    EXPECT_EQ (p.presetManager.getBaseDirectory(), expected);
}

TEST_F (UserPresets, FileNameRule)
{
    struct Case { const char* name; const char* file; };
    const Case cases[] = {
        { "  Lead Vox!  ", "Lead Vox.xml" },
        { "***", "Preset.xml" },
        { "", "Preset.xml" },
        { "Vox:", "Vox.xml" },
        { "Vox !", "Vox .xml" },
        { "../../x", "x.xml" },
        { "a/b", "ab.xml" },
        { "a\\b", "ab.xml" },
        { "line\nbreak", "linebreak.xml" },
        { "Tab\tbed_and-dashed 2", "Tabbed_and-dashed 2.xml" },
        { "Ünïcødé", "ncd.xml" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        const auto f = p.presetManager.getPresetFile (c.name);
        EXPECT_EQ (f.getFileName(), c.file);
        EXPECT_EQ (f.getParentDirectory(), dir);
    }
    // A name with a NUL cut there by the string type stays inside too.
    const auto withNul = p.presetManager.getPresetFile (juce::String (juce::CharPointer_UTF8 ("ab\0../c")));
    EXPECT_EQ (withNul.getParentDirectory(), dir);
}

TEST_F (UserPresets, SaveWritesTheFullStateAsDefaultXml)
{
    p.applyFactoryPreset ("Dark");
    setReal (p, ParamIDs::inputGain, 4.0f);
    ASSERT_TRUE (p.saveUserPreset ("  Lead Vox!  "));
    EXPECT_EQ (p.getCurrentPresetName(), "  Lead Vox!  ");
    EXPECT_TRUE (p.isCurrentPresetUser());
    EXPECT_EQ (p.getCurrentPresetDisplayName(), "  Lead Vox!  ");

    const auto f = dir.getChildFile ("Lead Vox.xml");
    ASSERT_TRUE (f.existsAsFile());
    const auto text = f.loadFileAsString();
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"));
    EXPECT_TRUE (text.contains ("\r\n"));
    for (auto& line : juce::StringArray::fromLines (text))
        EXPECT_LE (line.length(), 120) << line; // wrapped near 60 columns, attributes are never split

    auto xml = juce::parseXML (text);
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "PARAMETERS");
    EXPECT_EQ (xml->getNumChildElements(), 26);
    EXPECT_EQ (xml->getStringAttribute ("uiCurrentPresetName"), "Dark"); // the record before the save

    EXPECT_EQ (p.getUserPresetNames(), juce::StringArray ("Lead Vox"));
    // The listed name differs from the current one, so deleting it leaves the record alone.
    EXPECT_TRUE (p.deleteUserPreset ("Lead Vox"));
    EXPECT_EQ (p.getCurrentPresetName(), "  Lead Vox!  ");
}

TEST_F (UserPresets, ListingIsSortedIgnoringCaseAndSeesHandMadeFiles)
{
    for (auto* n : { "gamma", "Beta", "alpha" })
        ASSERT_TRUE (p.saveUserPreset (n));
    dir.getChildFile ("notes.txt").replaceWithText ("not a preset");
    dir.getChildFile ("folder.xml").createDirectory();

    // A file put there by hand, with another root tag and few parameters.
    dir.getChildFile ("Hand Made.xml").replaceWithText ("<Ondrel><PARAM id=\"hpfFreq\" value=\"222\"/></Ondrel>");
    EXPECT_EQ (p.getUserPresetNames(), juce::StringArray ({ "alpha", "Beta", "gamma", "Hand Made" }));
    ASSERT_TRUE (p.loadUserPreset ("Hand Made"));
    EXPECT_NEAR (real (p, ParamIDs::hpfFreq), 222.0f, 1e-3);
    EXPECT_FALSE (p.loadUserPreset ("folder"));
}

TEST_F (UserPresets, LoadKeepsTheGainsAndIsOneUndoStep)
{
    setReal (p, ParamIDs::inputGain, 6.0f);
    setReal (p, ParamIDs::outputGain, 2.0f);
    setReal (p, ParamIDs::spaceBypass, 1.0f);
    setReal (p, ParamIDs::midGain, 5.0f);
    p.savedWindowWidth = 1110.0f;
    p.savedWindowHeight = 600.0f;
    p.savedWindowSizeSet = true;
    ASSERT_TRUE (p.saveUserPreset ("Vox"));

    OndrelAudioProcessor q;
    q.applyFactoryPreset ("Clean");
    setReal (q, ParamIDs::inputGain, -3.0f);
    setReal (q, ParamIDs::outputGain, -1.0f);
    setReal (q, ParamIDs::lowGain, 2.0f); // now "Clean *"
    const auto before = q.createFullState();

    // The file's +6 dB must never reach the parameter, not even for one block.
    struct Watch : juce::AudioProcessorValueTreeState::Listener
    {
        int calls = 0;
        void parameterChanged (const juce::String&, float) override { ++calls; }
    } watch;
    q.apvts.addParameterListener (ParamIDs::inputGain, &watch);
    q.apvts.addParameterListener (ParamIDs::outputGain, &watch);
    ASSERT_TRUE (q.loadUserPreset ("Vox"));
    q.apvts.removeParameterListener (ParamIDs::inputGain, &watch);
    q.apvts.removeParameterListener (ParamIDs::outputGain, &watch);
    EXPECT_EQ (watch.calls, 0);

    EXPECT_FLOAT_EQ (real (q, ParamIDs::inputGain), -3.0f);
    EXPECT_FLOAT_EQ (real (q, ParamIDs::outputGain), -1.0f);
    EXPECT_FLOAT_EQ (real (q, ParamIDs::midGain), 5.0f);
    EXPECT_FLOAT_EQ (real (q, ParamIDs::spaceBypass), 1.0f);
    EXPECT_FLOAT_EQ (real (q, ParamIDs::lowGain), 0.0f);
    EXPECT_EQ (q.savedWindowWidth.load(), 1110.0f);
    EXPECT_EQ (q.getCurrentPresetDisplayName(), "Vox");
    EXPECT_TRUE (q.isCurrentPresetUser());

    q.performUndo();
    for (auto* id : ParamIDs::all)
        EXPECT_EQ (real (q, id), (float) before.getChildWithProperty ("id", id).getProperty ("value")) << id;
    EXPECT_EQ (q.getCurrentPresetDisplayName(), "Clean *");
    EXPECT_FALSE (q.isCurrentPresetUser());
    EXPECT_FALSE (q.savedWindowSizeSet.load()); // the size itself stays, only marked as not set

    // Loading what is not there changes nothing and records nothing.
    OndrelAudioProcessor fresh;
    EXPECT_FALSE (fresh.loadUserPreset ("Missing"));
    EXPECT_FALSE (fresh.canUndo());
    EXPECT_EQ (fresh.getCurrentPresetDisplayName(), "Presets");
}

TEST_F (UserPresets, RenameAndDeleteFollowTheCurrentPreset)
{
    ASSERT_TRUE (p.saveUserPreset ("A"));
    ASSERT_TRUE (p.saveUserPreset ("B"));
    EXPECT_FALSE (p.renameUserPreset ("A", "B")); // never replaces
    EXPECT_FALSE (p.renameUserPreset ("A", "   "));
    EXPECT_FALSE (p.renameUserPreset ("Missing", "C"));
    EXPECT_EQ (p.getUserPresetNames(), juce::StringArray ({ "A", "B" }));

    ASSERT_TRUE (p.loadUserPreset ("A"));
    setReal (p, ParamIDs::hpfFreq, 120.0f);
    EXPECT_EQ (p.getCurrentPresetDisplayName(), "A *");
    ASSERT_TRUE (p.renameUserPreset ("A", "C"));
    EXPECT_EQ (p.getCurrentPresetDisplayName(), "C"); // follows, mark cleared
    EXPECT_EQ (p.getUserPresetNames(), juce::StringArray ({ "B", "C" }));

    EXPECT_TRUE (p.deleteUserPreset ("B")); // not the current one
    EXPECT_EQ (p.getCurrentPresetDisplayName(), "C");
    EXPECT_TRUE (p.deleteUserPreset ("C"));
    EXPECT_EQ (p.getCurrentPresetDisplayName(), "Presets");
    EXPECT_FALSE (p.isCurrentPresetUser());
    EXPECT_FALSE (p.deleteUserPreset ("C"));
}

TEST_F (UserPresets, FailuresReturnFalseAndChangeNothing)
{
    // The Presets folder cannot be created: a file is in its place.
    dir.getParentDirectory().createDirectory();
    dir.replaceWithText ("in the way");
    p.setCurrentPresetInfo ("Rock", false, true);
    EXPECT_FALSE (p.saveUserPreset ("X"));
    EXPECT_EQ (p.getCurrentPresetDisplayName(), "Rock *");
    dir.deleteFile();
}

TEST_F (UserPresets, RefusesFilesThatAreNotSanePresets)
{
    dir.createDirectory();
    const auto values = p.createFullState();

    // A FIFO would block the reader forever; a link to a device never ends;
    // a huge file would exhaust memory.
    ASSERT_EQ (mkfifo (dir.getChildFile ("Fifo.xml").getFullPathName().toRawUTF8(), 0600), 0);
    ASSERT_EQ (symlink ("/dev/zero", dir.getChildFile ("Zero.xml").getFullPathName().toRawUTF8()), 0);
    {
        juce::FileOutputStream big (dir.getChildFile ("Huge.xml"));
        big << "<PARAMETERS>";
        juce::String pad;
        pad = pad.paddedRight (' ', 1 << 16);
        for (int i = 0; i < 20; ++i)
            big << pad;
        big << "</PARAMETERS>";
    }

    for (auto* n : { "Fifo", "Zero", "Huge" })
    {
        SCOPED_TRACE (n);
        EXPECT_FALSE (p.loadUserPreset (n));
    }
    EXPECT_TRUE (p.createFullState().isEquivalentTo (values));
    EXPECT_FALSE (p.canUndo());
}
