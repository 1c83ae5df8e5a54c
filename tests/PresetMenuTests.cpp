// The preset menu and the preset dialogs of the menu bar, driven headless
// with a fake display: the built menu is read item by item, results are
// handed to the bar, and the alert windows that open are filled in and
// answered through their own buttons.
//
// Outcomes are checked against the preset folder read back from disk, the
// processor's parameter values and the preset button's label.
#include <gtest/gtest.h>

#include "GuiTestHelpers.h"
#include "TestHelpers.h"
#include "editor/DialogLookAndFeel.h"
#include "editor/MenuBar.h"
#include "editor/PluginEditor.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <vector>

using test::real;
using test::setReal;

namespace
{
const juce::String kArrow = "  " + juce::String::charToString ((juce::juce_wchar) 0x25be);

// The preset folder under the (temporary) home folder, located without the
// code under test.
juce::File presetFolder()
{
    const auto home = juce::File (juce::SystemStats::getEnvironmentVariable ("HOME", {}));
   #if JUCE_MAC
    return home.getChildFile ("Library/Application Support/QuilletAudio/Ondrel/version_2.0.0/Presets");
   #else
    return home.getChildFile (".config/QuilletAudio/Ondrel/version_2.0.0/Presets");
   #endif
}

// The preset files on disk, by file name, sorted.
juce::StringArray filesOnDisk()
{
    juce::StringArray names;
    for (const auto& f : presetFolder().findChildFiles (juce::File::findFiles, false, "*"))
        names.add (f.getFileName());
    names.sort (false);
    return names;
}

// A parameter's value as stored in a preset file; NaN when it is not there.
float storedValue (const juce::String& fileName, const char* id)
{
    if (auto xml = juce::parseXML (presetFolder().getChildFile (fileName)))
        for (auto* e : xml->getChildWithTagNameIterator ("PARAM"))
            if (e->getStringAttribute ("id") == id)
                return (float) e->getDoubleAttribute ("value");

    return std::numeric_limits<float>::quiet_NaN();
}

// A file in the preset folder with any content: only its name makes it a
// listed preset.
void writeDummyPreset (const juce::String& name)
{
    ASSERT_TRUE (presetFolder().createDirectory());
    ASSERT_TRUE (presetFolder().getChildFile (name + ".xml").replaceWithText ("<PARAMETERS/>"));
}

// The newest desktop window drawn with the bar's menu look-and-feel: the
// open preset menu.
juce::Component* openMenuWindow (MenuBar& bar)
{
    juce::Component* menuWindow = nullptr;
    for (auto* c : test::desktopComponents())
        if (&c->getLookAndFeel() == &bar.getMenuLookAndFeel())
            menuWindow = c;
    return menuWindow;
}

int openDialogCount()
{
    return juce::ModalComponentManager::getInstance()->getNumModalComponents();
}

juce::AlertWindow* frontDialog()
{
    return dynamic_cast<juce::AlertWindow*> (juce::ModalComponentManager::getInstance()->getModalComponent (0));
}

// What a dialog shows and how its buttons answer.
struct DialogView
{
    juce::String title, message;
    juce::MessageBoxIconType icon;
    juce::StringArray buttons;
    juce::String fieldText; // the "presetName" field; "-" when there is none
};

void expectDialog (juce::AlertWindow* dialog, const DialogView& expected)
{
    ASSERT_NE (dialog, nullptr);
    EXPECT_EQ (dialog->getName(), expected.title);
    // The framework describes an alert as its title, ". " and its message.
    EXPECT_EQ (dialog->getDescription(), expected.title + ". " + expected.message);
    EXPECT_EQ (dialog->getAlertType(), expected.icon);
    EXPECT_NE (dynamic_cast<DialogLookAndFeel*> (&dialog->getLookAndFeel()), nullptr);

    auto* field = dialog->getTextEditor ("presetName");
    EXPECT_EQ (field != nullptr ? field->getText() : juce::String ("-"), expected.fieldText);

    const auto buttons = DialogLookAndFeel::getAlertButtons (*dialog);
    ASSERT_EQ (buttons.size(), expected.buttons.size());

    for (int i = 0; i < buttons.size(); ++i)
    {
        SCOPED_TRACE (expected.buttons[i]);
        EXPECT_EQ (buttons[i]->getButtonText(), expected.buttons[i]);

        // The first button answers 1 and the return key, "Cancel" 0 and escape.
        const auto isCancel = expected.buttons[i] == "Cancel";
        EXPECT_EQ (buttons[i]->getCommandID(), isCancel ? 0 : 1);
        EXPECT_EQ (buttons[i]->isRegisteredForShortcut (juce::KeyPress (juce::KeyPress::returnKey)), i == 0);
        EXPECT_EQ (buttons[i]->isRegisteredForShortcut (juce::KeyPress (juce::KeyPress::escapeKey)), isCancel);
    }
}

const juce::String kOverwriteTitle ("Overwrite Preset?");

juce::String overwriteText (const juce::String& name)
{
    return "A preset named \"" + name + "\" already exists.\nDo you want to overwrite it?";
}

DialogView success (const juce::String& message)
{
    return { "Success", message, juce::MessageBoxIconType::NoIcon, { "OK" }, "-" };
}

// Presses a button of the front dialog the way the framework does (posted),
// and lets the dialog's result and whatever follows it run.
void press (const juce::String& buttonText)
{
    auto* dialog = frontDialog();
    ASSERT_NE (dialog, nullptr) << "no dialog open for " << buttonText;
    const auto buttons = DialogLookAndFeel::getAlertButtons (*dialog);
    ASSERT_TRUE (std::any_of (buttons.begin(), buttons.end(), [&] (auto* b) { return b->getButtonText() == buttonText; }))
        << "no button " << buttonText;
    dialog->triggerButtonClick (buttonText);
    test::dispatchPendingMessages();
}

void typeName (const juce::String& text)
{
    auto* dialog = frontDialog();
    ASSERT_NE (dialog, nullptr);
    auto* field = dialog->getTextEditor ("presetName");
    ASSERT_NE (field, nullptr);
    field->setText (text);
}

void closeEveryDialog()
{
    juce::PopupMenu::dismissAllActiveMenus();
    juce::ModalComponentManager::getInstance()->cancelAllModalComponents();
    test::dispatchPendingMessages();
}

// One entry of a menu, flattened for comparison.
struct Entry
{
    juce::String kind, text;
    int id = 0;
    bool ticked = false;
    bool operator== (const Entry& o) const { return kind == o.kind && text == o.text && id == o.id && ticked == o.ticked; }
};

std::ostream& operator<< (std::ostream& os, const Entry& e)
{
    return os << e.kind << " \"" << e.text << "\" " << e.id << (e.ticked ? " ticked" : "");
}

std::vector<Entry> entriesOf (const juce::PopupMenu& menu)
{
    std::vector<Entry> entries;

    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
    {
        const auto& item = it.getItem();
        const char* kind = item.isSectionHeader ? "header"
                         : item.isSeparator     ? "separator"
                         : item.subMenu != nullptr ? "submenu"
                                                   : "item";
        EXPECT_TRUE (item.isEnabled) << item.text;
        entries.push_back ({ kind, item.text, item.subMenu != nullptr ? 0 : item.itemID, item.isTicked });
    }

    return entries;
}

const juce::PopupMenu* subMenuNamed (const juce::PopupMenu& menu, const juce::String& name)
{
    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
        if (it.getItem().subMenu != nullptr && it.getItem().text == name)
            return it.getItem().subMenu.get();

    return nullptr;
}

const char* const kFactoryNames[] = { "Airy", "Bright", "Clean", "Dark", "Intimate", "Podcast",
                                      "Presence", "Rap", "Rock", "Warm", "Wide" };

// The factory section as it must read, with the given name ticked.
std::vector<Entry> factorySection (const juce::String& ticked)
{
    std::vector<Entry> entries { { "header", "Factory Presets" } };
    for (int i = 0; i < 11; ++i)
        entries.push_back ({ "item", kFactoryNames[i], 1000 + i, ticked == kFactoryNames[i] });
    return entries;
}

// A processor and a menu bar at the top of a 1133 x 612 window; the preset
// folder starts empty and every dialog is closed afterwards.
class PresetMenu : public ::testing::Test
{
protected:
    test::ScopedFakeDisplay display;
    OndrelAudioProcessor proc;
    std::unique_ptr<juce::Component> window = std::make_unique<juce::Component>();
    std::unique_ptr<MenuBar> bar = std::make_unique<MenuBar>();

    void SetUp() override
    {
        closeEveryDialog();
        presetFolder().deleteRecursively();
        window->setBounds (100, 100, 1133, 612);
        window->addAndMakeVisible (*bar);
        bar->setBounds (0, 0, 1133, 55);
        bar->setPresettableProcessor (&proc);
    }

    void TearDown() override
    {
        closeEveryDialog();
        EXPECT_EQ (openDialogCount(), 0);
        presetFolder().deleteRecursively();
    }

    juce::String label() const
    {
        for (auto* c : bar->getChildren())
            if (c->getName() == "Preset")
                return dynamic_cast<IconButton&> (*c).text;
        return "<no preset button>";
    }

    // A user preset whose file holds the given high-pass frequency.
    void savePreset (const juce::String& name, float hpf)
    {
        setReal (proc, ParamIDs::hpfFreq, hpf);
        ASSERT_TRUE (proc.saveUserPreset (name));
    }
};
} // namespace

//==============================================================================
// The menu

TEST_F (PresetMenu, FactorySectionAloneWithTheCurrentFactoryPresetTicked)
{
    struct Case
    {
        const char* name;
        std::function<void (OndrelAudioProcessor&)> setUp;
        const char* ticked;
    };

    const Case cases[] = {
        { "no preset", [] (OndrelAudioProcessor&) {}, "" },
        { "Clean applied", [] (OndrelAudioProcessor& p) { p.applyFactoryPreset ("Clean"); }, "Clean" },
        { "Wide applied, then modified",
          [] (OndrelAudioProcessor& p) { p.applyFactoryPreset ("Wide"); setReal (p, ParamIDs::hpfFreq, 200.0f); }, "Wide" },
        { "a name in another letter case", [] (OndrelAudioProcessor& p) { p.applyFactoryPreset ("warm"); }, "" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        c.setUp (proc);
        EXPECT_EQ (entriesOf (bar->createPresetMenu()), factorySection (c.ticked));
    }

    // The modified preset's label carries the mark.
    proc.applyFactoryPreset ("Wide");
    setReal (proc, ParamIDs::hpfFreq, 200.0f);
    bar->refreshPresetButtonText();
    EXPECT_EQ (label(), "Wide *" + kArrow);
}

TEST_F (PresetMenu, UserSectionHoldsOneSubMenuPerPresetWithTheListedIds)
{
    proc.applyFactoryPreset ("Rock");
    savePreset ("a", 100.0f);
    savePreset ("b", 120.0f);
    proc.applyFactoryPreset ("Rock");

    auto expected = factorySection ("Rock");
    expected.push_back ({ "separator", "" });
    expected.push_back ({ "header", "User Presets" });
    expected.push_back ({ "submenu", "a" });
    expected.push_back ({ "submenu", "b" });

    const auto menu = bar->createPresetMenu();
    EXPECT_EQ (entriesOf (menu), expected);

    struct Case
    {
        const char* preset;
        int load, rename, remove;
    };

    for (const auto c : { Case { "a", 2000, 5000, 8000 }, Case { "b", 2001, 5001, 8001 } })
    {
        SCOPED_TRACE (c.preset);
        const auto* sub = subMenuNamed (menu, c.preset);
        ASSERT_NE (sub, nullptr);
        EXPECT_EQ (entriesOf (*sub), (std::vector<Entry> { { "item", "Load", c.load },
                                                           { "item", "Rename", c.rename },
                                                           { "item", "Delete", c.remove } }));
    }

    // After a user preset has loaded, nothing is ticked or marked, not even
    // a factory preset of the same name.
    savePreset ("Rock", 140.0f);
    ASSERT_TRUE (proc.loadUserPreset ("Rock"));
    for (const auto& e : entriesOf (bar->createPresetMenu()))
        EXPECT_FALSE (e.ticked) << e;
}

TEST_F (PresetMenu, ChosenItemsActOnThePresetTheyName)
{
    savePreset ("a", 100.0f);
    savePreset ("b", 120.0f);
    setReal (proc, ParamIDs::hpfFreq, 300.0f);
    setReal (proc, ParamIDs::inputGain, -3.0f);

    // Warm: hpf 75 Hz, lpf 16.5 kHz, ratio 2.6; the label follows at once.
    bar->handlePresetMenuResult (1009);
    EXPECT_FLOAT_EQ (real (proc, ParamIDs::hpfFreq), 75.0f);
    EXPECT_FLOAT_EQ (real (proc, ParamIDs::lpfFreq), 16500.0f);
    EXPECT_NEAR (real (proc, ParamIDs::compRatio), 2.6f, 1e-5);
    EXPECT_EQ (label(), "Warm" + kArrow);

    // "Load" of b: the file's settings, the gains kept.
    bar->handlePresetMenuResult (2001);
    EXPECT_FLOAT_EQ (real (proc, ParamIDs::hpfFreq), 120.0f);
    EXPECT_FLOAT_EQ (real (proc, ParamIDs::inputGain), -3.0f);
    EXPECT_EQ (label(), "b" + kArrow);
    EXPECT_EQ (openDialogCount(), 0);

    // "Delete" of the second asks about b, "Rename" of the first offers a.
    bar->handlePresetMenuResult (8001);
    expectDialog (frontDialog(), { "Delete Preset?", "Are you sure you want to delete \"b\"?",
                                   juce::MessageBoxIconType::WarningIcon, { "Delete", "Cancel" }, "-" });
    press ("Cancel");

    bar->handlePresetMenuResult (5000);
    expectDialog (frontDialog(), { "Rename Preset", "Enter a new name:", juce::MessageBoxIconType::NoIcon,
                                   { "Rename", "Cancel" }, "a" });
    press ("Cancel");

    EXPECT_EQ (openDialogCount(), 0);
    EXPECT_EQ (filesOnDisk(), juce::StringArray ("a.xml", "b.xml"));
}

TEST_F (PresetMenu, ResultsAreResolvedAgainstTheListFetchedAtResultTime)
{
    savePreset ("a", 100.0f);
    savePreset ("b", 120.0f);
    savePreset ("c", 140.0f);
    proc.applyFactoryPreset ("Dark");
    const auto hpf = real (proc, ParamIDs::hpfFreq);

    // Dismissed, outside every range, or beyond the list: nothing happens.
    for (const int id : { 0, -1, 999, 1011, 1999, 2003, 4999, 5003, 7999, 8003, 910000, 910001, 920003, 999999, 1000000 })
    {
        SCOPED_TRACE (id);
        bar->handlePresetMenuResult (id);
        EXPECT_EQ (proc.getCurrentPresetName(), "Dark");
        EXPECT_FLOAT_EQ (real (proc, ParamIDs::hpfFreq), hpf);
        EXPECT_EQ (openDialogCount(), 0);
    }

    // a vanishes while the menu is open: "Load" of b (2001) now names c,
    // and "Load" of c (2002) names nothing.
    ASSERT_TRUE (presetFolder().getChildFile ("a.xml").deleteFile());
    bar->handlePresetMenuResult (2002);
    EXPECT_EQ (proc.getCurrentPresetName(), "Dark");
    bar->handlePresetMenuResult (2001);
    EXPECT_EQ (proc.getCurrentPresetName(), "c");
    EXPECT_FLOAT_EQ (real (proc, ParamIDs::hpfFreq), 140.0f);

    // A preset that is listed but cannot be read: no change, no message.
    ASSERT_TRUE (presetFolder().getChildFile ("b.xml").replaceWithText ("not xml"));
    bar->handlePresetMenuResult (2000);
    EXPECT_EQ (proc.getCurrentPresetName(), "c");
    EXPECT_EQ (openDialogCount(), 0);
}

TEST_F (PresetMenu, EveryOneOf3001UserPresetsHasItsOwnIds)
{
    // p0000 ... p3000; the last one holds real settings.
    for (int i = 0; i < 3000; ++i)
        writeDummyPreset ("p" + juce::String (i).paddedLeft ('0', 4));
    savePreset ("p3000", 321.0f);
    setReal (proc, ParamIDs::hpfFreq, 80.0f);

    const auto menu = bar->createPresetMenu();

    std::vector<int> ids;
    for (juce::PopupMenu::MenuItemIterator it (menu, true); it.next();)
        if (it.getItem().subMenu == nullptr && it.getItem().itemID != 0)
            ids.push_back (it.getItem().itemID);

    ASSERT_EQ (ids.size(), 11u + 3u * 3001u);
    std::sort (ids.begin(), ids.end());
    EXPECT_EQ (std::adjacent_find (ids.begin(), ids.end()), ids.end()) << "two items share an ID";

    struct Case
    {
        const char* preset;
        int load, rename, remove;
    };

    // The first 3000 keep the block IDs; the next one is far above them.
    for (const auto c : { Case { "p0000", 2000, 5000, 8000 }, Case { "p2999", 4999, 7999, 10999 },
                          Case { "p3000", 1000000, 1000001, 1000002 } })
    {
        SCOPED_TRACE (c.preset);
        const auto* sub = subMenuNamed (menu, c.preset);
        ASSERT_NE (sub, nullptr);
        EXPECT_EQ (entriesOf (*sub), (std::vector<Entry> { { "item", "Load", c.load },
                                                           { "item", "Rename", c.rename },
                                                           { "item", "Delete", c.remove } }));
    }

    // Each reaches its own preset: load, rename and delete of p3000, and
    // 5000 is still "Rename" of p0000.
    bar->handlePresetMenuResult (1000000);
    EXPECT_EQ (proc.getCurrentPresetName(), "p3000");
    EXPECT_FLOAT_EQ (real (proc, ParamIDs::hpfFreq), 321.0f);

    bar->handlePresetMenuResult (1000001);
    expectDialog (frontDialog(), { "Rename Preset", "Enter a new name:", juce::MessageBoxIconType::NoIcon,
                                   { "Rename", "Cancel" }, "p3000" });
    press ("Cancel");

    bar->handlePresetMenuResult (1000002);
    expectDialog (frontDialog(), { "Delete Preset?", "Are you sure you want to delete \"p3000\"?",
                                   juce::MessageBoxIconType::WarningIcon, { "Delete", "Cancel" }, "-" });
    press ("Cancel");

    bar->handlePresetMenuResult (5000);
    expectDialog (frontDialog(), { "Rename Preset", "Enter a new name:", juce::MessageBoxIconType::NoIcon,
                                   { "Rename", "Cancel" }, "p0000" });
    press ("Cancel");

    // Beyond the list, nothing.
    bar->handlePresetMenuResult (1000003);
    EXPECT_EQ (openDialogCount(), 0);
    EXPECT_EQ (filesOnDisk().size(), 3001);
}

TEST_F (PresetMenu, TheOpenMenuHandsTheChosenItemToTheBar)
{
    bar->showPresetMenu();

    // The menu's own window, drawn with the bar's look-and-feel, at least
    // max (180, 4 x 55) = 220 wide, directly under the preset button.
    auto* menuWindow = openMenuWindow (*bar);

    ASSERT_NE (menuWindow, nullptr);
    EXPECT_GE (menuWindow->getWidth(), 220);
    EXPECT_EQ (menuWindow->getX(), 100 + 349);
    EXPECT_EQ (menuWindow->getY(), 100 + 7 + 36);

    // Down to the third factory preset, Clean, and choose it.
    for (int i = 0; i < 3; ++i)
        menuWindow->keyPressed (juce::KeyPress (juce::KeyPress::downKey));
    menuWindow->keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    test::dispatchPendingMessages();

    EXPECT_EQ (proc.getCurrentPresetName(), "Clean");
    EXPECT_FLOAT_EQ (real (proc, ParamIDs::hpfFreq), 80.0f);
    EXPECT_EQ (label(), "Clean" + kArrow);
}

TEST_F (PresetMenu, ExistenceIgnoresCaseAndOuterSpaceButNotTheFileNameRule)
{
    savePreset ("Vox", 100.0f);
    savePreset ("Lead", 100.0f);

    struct Case
    {
        const char* name;
        bool exists;
    };

    for (const auto c : { Case { "Vox", true }, Case { " vOX ", true }, Case { "LEAD", true }, Case { "Vo", false },
                          Case { "Vox!", false }, Case { "", false } })
    {
        SCOPED_TRACE (c.name);
        EXPECT_EQ (bar->userPresetExists (c.name), c.exists);
    }

    // Without a processor nothing exists, and nothing opens or changes.
    bar->setPresettableProcessor (nullptr);
    EXPECT_FALSE (bar->userPresetExists ("Vox"));
    bar->showPresetMenu();
    bar->showSavePresetDialog();
    bar->showRenamePresetDialog ("Vox");
    bar->confirmDeletePreset ("Vox");
    bar->handlePresetMenuResult (1009);
    bar->handlePresetMenuResult (8000);
    EXPECT_FALSE (juce::PopupMenu::dismissAllActiveMenus());
    EXPECT_EQ (openDialogCount(), 0);
    EXPECT_EQ (proc.getCurrentPresetName(), "Lead");
    EXPECT_EQ (filesOnDisk(), juce::StringArray ("Lead.xml", "Vox.xml"));
}

//==============================================================================
// Saving

TEST_F (PresetMenu, SaveOffersAFreeDefaultNameOrTheCurrentUserPreset)
{
    struct Case
    {
        const char* name;
        juce::StringArray files;   // user presets on disk
        const char* currentUser;   // saved last, so current; null: a factory preset is current
        const char* offered;
    };

    const Case cases[] = {
        { "nothing saved yet", {}, nullptr, "MyPreset" },
        { "mypreset taken", { "mypreset" }, nullptr, "MyPreset1" },
        { "MyPreset and MyPreset1 taken", { "MyPreset", "MyPreset1" }, nullptr, "MyPreset2" },
        { "a gap at 2", { "MYPRESET", "MyPreset1", "MyPreset3" }, nullptr, "MyPreset2" },
        { "current user preset, trimmed", { "Lead" }, "  Vox  ", "Vox" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        presetFolder().deleteRecursively();
        for (const auto& f : c.files)
            writeDummyPreset (f);

        proc.applyFactoryPreset ("Warm");
        if (c.currentUser != nullptr)
            savePreset (c.currentUser, 100.0f);

        bar->showSavePresetDialog();
        expectDialog (frontDialog(), { "Save Preset", "Enter a name:", juce::MessageBoxIconType::NoIcon,
                                       { "Save", "Cancel" }, c.offered });
        press ("Cancel");
        EXPECT_EQ (openDialogCount(), 0);
    }
}

TEST_F (PresetMenu, SaveWritesTheTypedNameTrimmedAndReportsIt)
{
    struct Case
    {
        const char* typed;
        const char* button;
        juce::StringArray files; // on disk afterwards
        const char* labelName;   // label afterwards
        const char* message;     // success message, or null for none
    };

    const Case cases[] = {
        { "  Lead Vox  ", "Save", { "Lead Vox.xml" }, "Lead Vox", "Preset \"Lead Vox\" has been saved." },
        { "   ", "Save", {}, "Warm", nullptr },
        { "Lead", "Cancel", {}, "Warm", nullptr },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.typed);
        presetFolder().deleteRecursively();
        proc.applyFactoryPreset ("Warm");
        setReal (proc, ParamIDs::hpfFreq, 150.0f);
        bar->refreshPresetButtonText();

        bar->showSavePresetDialog();
        typeName (c.typed);
        press (c.button);

        EXPECT_EQ (filesOnDisk(), c.files);
        if (c.message != nullptr)
        {
            EXPECT_FLOAT_EQ (storedValue (c.files[0], "hpfFreq"), 150.0f);
            EXPECT_EQ (label(), c.labelName + kArrow);
            EXPECT_EQ (openDialogCount(), 1);
            expectDialog (frontDialog(), success (c.message));
            press ("OK");
        }
        else
        {
            EXPECT_EQ (label(), c.labelName + juce::String (" *") + kArrow);
        }

        EXPECT_EQ (openDialogCount(), 0);
    }
}

TEST_F (PresetMenu, SavingUnderAnExistingNameAsksBeforeOverwriting)
{
    for (const bool overwrite : { true, false })
    {
        SCOPED_TRACE (overwrite);
        presetFolder().deleteRecursively();
        savePreset ("Vox", 100.0f);
        setReal (proc, ParamIDs::hpfFreq, 250.0f);

        bar->refreshPresetButtonText();

        bar->showSavePresetDialog();
        ASSERT_NE (frontDialog(), nullptr);
        EXPECT_EQ (frontDialog()->getTextEditorContents ("presetName"), "Vox");
        press ("Save");

        expectDialog (frontDialog(), { kOverwriteTitle, overwriteText ("Vox"), juce::MessageBoxIconType::WarningIcon,
                                       { "Overwrite", "Cancel" }, "-" });
        EXPECT_FLOAT_EQ (storedValue ("Vox.xml", "hpfFreq"), 100.0f); // nothing written yet

        press (overwrite ? "Overwrite" : "Cancel");

        if (overwrite)
        {
            EXPECT_EQ (label(), "Vox" + kArrow); // saved: no longer modified
            expectDialog (frontDialog(), success ("Preset \"Vox\" has been saved."));
            press ("OK");
            EXPECT_EQ (filesOnDisk(), juce::StringArray ("Vox.xml"));
            EXPECT_FLOAT_EQ (storedValue ("Vox.xml", "hpfFreq"), 250.0f);
        }
        else
        {
            EXPECT_EQ (filesOnDisk(), juce::StringArray ("Vox.xml"));
            EXPECT_FLOAT_EQ (storedValue ("Vox.xml", "hpfFreq"), 100.0f);
            EXPECT_EQ (label(), "Vox *" + kArrow);
        }

        EXPECT_EQ (openDialogCount(), 0);
    }
}

TEST_F (PresetMenu, SuccessMessageClosesItselfAfterThreeSecondsUnlessDismissedFirst)
{
    // One dismissed at once; its timer must not touch anything later.
    bar->showSuccessMessage ("Success", "first");
    press ("OK");
    ASSERT_EQ (openDialogCount(), 0);

    const auto start = juce::Time::getMillisecondCounterHiRes();
    bar->showSuccessMessage ("Success", "second");
    juce::Component::SafePointer<juce::AlertWindow> second (frontDialog());
    ASSERT_NE (second, nullptr);

    // A dialog that is not a message, on top: no timer may close it.
    savePreset ("Vox", 100.0f);
    bar->confirmDeletePreset ("Vox");
    juce::Component::SafePointer<juce::AlertWindow> question (frontDialog());
    ASSERT_NE (question.getComponent(), second.getComponent());

    auto pumpUntil = [&] (double ms)
    {
        while (juce::Time::getMillisecondCounterHiRes() - start < ms)
        {
            test::dispatchPendingMessages();
            juce::Thread::sleep (5);
        }
    };

    pumpUntil (2800.0);
    ASSERT_NE (second.getComponent(), nullptr);
    EXPECT_TRUE (second->isCurrentlyModal (false));

    pumpUntil (3300.0);
    EXPECT_EQ (second.getComponent(), nullptr); // dismissed and deleted by the framework
    ASSERT_NE (question.getComponent(), nullptr);
    EXPECT_TRUE (question->isCurrentlyModal (false));
    EXPECT_EQ (openDialogCount(), 1);
    EXPECT_EQ (filesOnDisk(), juce::StringArray ("Vox.xml"));
}

//==============================================================================
// Renaming

TEST_F (PresetMenu, RenameMovesThePresetUnlessOnlyTheCaseChanges)
{
    struct Case
    {
        const char* typed;
        juce::StringArray files;
        const char* labelName;
        const char* message;
    };

    const Case cases[] = {
        { "  Lead  ", { "Lead.xml" }, "Lead", "Preset \"Vox\" was renamed to \"Lead\"." },
        { "vox", { "Vox.xml" }, "Vox", nullptr },
        { "  ", { "Vox.xml" }, "Vox", nullptr },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.typed);
        presetFolder().deleteRecursively();
        savePreset ("Vox", 111.0f);
        bar->refreshPresetButtonText();

        bar->showRenamePresetDialog (" Vox ");
        expectDialog (frontDialog(), { "Rename Preset", "Enter a new name:", juce::MessageBoxIconType::NoIcon,
                                       { "Rename", "Cancel" }, " Vox " });
        typeName (c.typed);
        press ("Rename");

        EXPECT_EQ (filesOnDisk(), c.files);
        EXPECT_FLOAT_EQ (storedValue (c.files[0], "hpfFreq"), 111.0f);
        EXPECT_EQ (label(), c.labelName + kArrow); // the current preset follows

        if (c.message != nullptr)
        {
            expectDialog (frontDialog(), success (c.message));
            press ("OK");
        }

        EXPECT_EQ (openDialogCount(), 0);
    }
}

TEST_F (PresetMenu, RenameOntoAnExistingPresetAsksAndReplacesItWithoutABackupLeft)
{
    struct Case
    {
        const char* name;
        juce::StringArray otherFiles; // besides Vox and Lead
        const char* button;
        juce::StringArray filesAfter;
        float leadHpf; // in Lead.xml afterwards
    };

    const Case cases[] = {
        { "overwrite", {}, "Overwrite", { "Lead.xml" }, 111.0f },
        // The plain backup name is taken: the next one is used, and the
        // preset of that name stays untouched.
        { "backup name taken", { "Lead__backup" }, "Overwrite", { "Lead.xml", "Lead__backup.xml" }, 111.0f },
        { "cancel", {}, "Cancel", { "Lead.xml", "Vox.xml" }, 222.0f },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        presetFolder().deleteRecursively();
        for (const auto& f : c.otherFiles)
            writeDummyPreset (f);
        savePreset ("Lead", 222.0f);
        savePreset ("Vox", 111.0f);

        bar->showRenamePresetDialog ("Vox");
        typeName ("Lead ");
        press ("Rename");

        expectDialog (frontDialog(), { kOverwriteTitle, overwriteText ("Lead"), juce::MessageBoxIconType::WarningIcon,
                                       { "Overwrite", "Cancel" }, "-" });
        press (c.button);

        EXPECT_EQ (filesOnDisk(), c.filesAfter);
        EXPECT_FLOAT_EQ (storedValue ("Lead.xml", "hpfFreq"), c.leadHpf);

        for (const auto& f : c.otherFiles)
            EXPECT_EQ (presetFolder().getChildFile (f + ".xml").loadFileAsString(), "<PARAMETERS/>");

        if (juce::String (c.button) == "Overwrite")
        {
            EXPECT_EQ (label(), "Lead" + kArrow); // the current preset followed
            expectDialog (frontDialog(), success ("Preset \"Vox\" was renamed to \"Lead\"."));
            press ("OK");
        }

        EXPECT_EQ (openDialogCount(), 0);
    }
}

TEST_F (PresetMenu, RenameWhosePresetsVanishWhileAskingLeavesWhatIsThere)
{
    struct Case
    {
        const char* vanishing;
        juce::StringArray filesAfter;
        float hpf; // in the one file left
    };

    // Vox gone: the second step fails and Lead is put back. Lead gone: the
    // first step fails and Vox stays.
    for (const auto& c : { Case { "Vox.xml", { "Lead.xml" }, 222.0f }, Case { "Lead.xml", { "Vox.xml" }, 111.0f } })
    {
        SCOPED_TRACE (c.vanishing);
        presetFolder().deleteRecursively();
        savePreset ("Lead", 222.0f);
        savePreset ("Vox", 111.0f);

        bar->renamePresetWithOverwritePrompt ("Vox", "Lead");
        expectDialog (frontDialog(), { kOverwriteTitle, overwriteText ("Lead"), juce::MessageBoxIconType::WarningIcon,
                                       { "Overwrite", "Cancel" }, "-" });
        ASSERT_TRUE (presetFolder().getChildFile (c.vanishing).deleteFile());
        press ("Overwrite");

        EXPECT_EQ (filesOnDisk(), c.filesAfter);
        EXPECT_FLOAT_EQ (storedValue (c.filesAfter[0], "hpfFreq"), c.hpf);
        EXPECT_EQ (openDialogCount(), 0); // nothing reported
    }
}

//==============================================================================
// Deleting

TEST_F (PresetMenu, DeleteAsksThenDeletesAndTheCurrentPresetGoesWithIt)
{
    struct Case
    {
        const char* deleted;
        const char* button;
        juce::StringArray filesAfter;
        const char* labelAfter;
    };

    // b is current.
    const Case cases[] = {
        { "b", "Delete", { "a.xml" }, "Presets" },
        { "a", "Delete", { "b.xml" }, "b" },
        { "b", "Cancel", { "a.xml", "b.xml" }, "b" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.deleted) + " " + c.button);
        presetFolder().deleteRecursively();
        savePreset ("a", 100.0f);
        savePreset ("b", 120.0f);
        bar->refreshPresetButtonText();

        bar->confirmDeletePreset (c.deleted);
        expectDialog (frontDialog(), { "Delete Preset?", "Are you sure you want to delete \"" + juce::String (c.deleted) + "\"?",
                                       juce::MessageBoxIconType::WarningIcon, { "Delete", "Cancel" }, "-" });
        EXPECT_EQ (filesOnDisk().size(), 2); // not before the answer
        press (c.button);

        EXPECT_EQ (filesOnDisk(), c.filesAfter);
        EXPECT_EQ (label(), c.labelAfter + kArrow);

        if (juce::String (c.button) == "Delete")
        {
            expectDialog (frontDialog(), success ("Preset \"" + juce::String (c.deleted) + "\" has been deleted."));
            press ("OK");
        }

        EXPECT_EQ (openDialogCount(), 0);
    }
}

//==============================================================================
// Dialog size and place

namespace
{
struct StandInEditor : juce::AudioProcessorEditor
{
    explicit StandInEditor (juce::AudioProcessor& p) : juce::AudioProcessorEditor (p) {}
};
} // namespace

TEST_F (PresetMenu, DialogsAreFittedToTheEditorAndCentredOverIt)
{
    struct Case
    {
        int editorW, editorH, dialogW, dialogH;
        int expectedW, expectedH;
    };

    const Case cases[] = {
        { 600, 300, 400, 500, 400, 300 }, // taller than the editor: cut
        { 600, 300, 400, 120, 400, 175 }, // lower than 175: raised
        { 600, 300, 800, 200, 600, 200 }, // wider: cut
        { 600, 150, 400, 120, 400, 150 }, // raised, but not beyond the editor
    };

    // The editor sits inside another component: it is the editor, not the
    // top-most ancestor, that counts.
    juce::Component outer;
    outer.setBounds (0, 0, 1400, 900);
    StandInEditor editor (proc);
    outer.addAndMakeVisible (editor);
    editor.addAndMakeVisible (*bar);

    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.dialogW) + " x " + juce::String (c.dialogH));
        editor.setBounds (200, 100, c.editorW, c.editorH);
        bar->setBounds (0, 0, c.editorW, 27);

        juce::AlertWindow dialog ("Save Preset", "Enter a name:", juce::MessageBoxIconType::NoIcon);
        dialog.setSize (c.dialogW, c.dialogH);
        bar->centerDialogInWindow (dialog);

        EXPECT_EQ (dialog.getWidth(), c.expectedW);
        EXPECT_EQ (dialog.getHeight(), c.expectedH);
        EXPECT_EQ (dialog.getBounds().getCentre(), juce::Point<int> (200 + c.editorW / 2, 100 + c.editorH / 2));
    }

    // Without an editor above it, the bar's top-most ancestor (the window of
    // the fixture, 1133 x 612 at (100, 100)) counts.
    outer.removeChildComponent (&editor);
    editor.removeChildComponent (bar.get());
    window->addAndMakeVisible (*bar);
    juce::AlertWindow dialog ("Save Preset", "Enter a name:", juce::MessageBoxIconType::NoIcon);
    dialog.setSize (400, 900);
    bar->centerDialogInWindow (dialog);
    EXPECT_EQ (dialog.getBounds(), juce::Rectangle<int> (100 + (1133 - 400) / 2, 100, 400, 612));
}

TEST_F (PresetMenu, AnOpenDialogKeepsTheSizeItWasGiven)
{
    // In a 300 x 120 window every dialog is cut to the window: the size
    // holds once the dialog is showing.
    window->setBounds (100, 100, 300, 120);
    bar->setBounds (0, 0, 300, 20);

    bar->confirmDeletePreset ("x");
    ASSERT_NE (frontDialog(), nullptr);
    EXPECT_EQ (frontDialog()->getBounds(), juce::Rectangle<int> (100, 100, 300, 120));
    press ("Cancel");

    bar->showSavePresetDialog();
    ASSERT_NE (frontDialog(), nullptr);
    EXPECT_EQ (frontDialog()->getBounds(), juce::Rectangle<int> (100, 100, 300, 120));
    press ("Cancel");
}

//==============================================================================
// The editor closing under an open dialog or menu

TEST_F (PresetMenu, AFlowWhoseEditorHasClosedDoesNothing)
{
    struct Case
    {
        const char* name;
        std::function<void (MenuBar&)> open;
        const char* typed; // into the name field, or null
        const char* button;
        bool windowDeletedByItsCallback;
    };

    const Case cases[] = {
        { "save", [] (MenuBar& b) { b.showSavePresetDialog(); }, "New", "Save", true },
        { "save over", [] (MenuBar& b) { b.saveUserPresetWithOverwritePrompt ("Vox"); }, nullptr, "Overwrite", false },
        { "rename", [] (MenuBar& b) { b.showRenamePresetDialog ("Vox"); }, "Lead", "Rename", true },
        { "rename over", [] (MenuBar& b) { b.renamePresetWithOverwritePrompt ("Vox", "Lead"); }, nullptr, "Overwrite", false },
        { "delete", [] (MenuBar& b) { b.confirmDeletePreset ("Vox"); }, nullptr, "Delete", false },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        presetFolder().deleteRecursively();
        savePreset ("Vox", 111.0f);
        savePreset ("Lead", 222.0f);

        auto editor = std::unique_ptr<juce::AudioProcessorEditor> (proc.createEditor());
        ASSERT_NE (dynamic_cast<OndrelAudioProcessorEditor*> (editor.get()), nullptr);
        c.open (dynamic_cast<OndrelAudioProcessorEditor&> (*editor).getMenuBar());

        juce::Component::SafePointer<juce::AlertWindow> dialog (frontDialog());
        ASSERT_NE (dialog, nullptr);
        if (c.typed != nullptr)
            typeName (c.typed);

        editor.reset();
        press (c.button);

        EXPECT_EQ (filesOnDisk(), juce::StringArray ("Lead.xml", "Vox.xml"));
        EXPECT_FLOAT_EQ (storedValue ("Vox.xml", "hpfFreq"), 111.0f);
        EXPECT_FLOAT_EQ (storedValue ("Lead.xml", "hpfFreq"), 222.0f);
        EXPECT_EQ (openDialogCount(), 0); // no question or message follows
        EXPECT_EQ (dialog.getComponent(), nullptr); // and the window is gone
    }
}

TEST_F (PresetMenu, AMenuWhoseBarHasClosedChoosesNothing)
{
    proc.applyFactoryPreset ("Dark");
    bar->showPresetMenu();

    auto* menuWindow = openMenuWindow (*bar);
    ASSERT_NE (menuWindow, nullptr);

    // Airy is chosen, then the bar goes before the result arrives.
    menuWindow->keyPressed (juce::KeyPress (juce::KeyPress::downKey));
    menuWindow->keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    bar.reset();
    test::dispatchPendingMessages();

    EXPECT_EQ (proc.getCurrentPresetName(), "Dark");
    EXPECT_FLOAT_EQ (real (proc, ParamIDs::hpfFreq), 70.0f);
    EXPECT_FALSE (juce::PopupMenu::dismissAllActiveMenus());
}
