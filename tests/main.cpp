// Test entry: the framework is initialised once, and HOME points at a fresh
// temporary folder so that no test ever touches the real user folders.
#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdlib>

int main (int argc, char** argv)
{
    char homeTemplate[] = "/tmp/ondrel-test-home-XXXXXX";
    const char* home = mkdtemp (homeTemplate);
    if (home == nullptr)
        return 2;
    setenv ("HOME", home, 1);
    unsetenv ("XDG_CONFIG_HOME");

    // Text is drawn with one known font wherever the tests run.
    setenv ("JUCE_FONT_PATH", "/usr/share/fonts/truetype/dejavu", 0);

    int result = 0;
    {
        juce::ScopedJuceInitialiser_GUI juceInit;
        ::testing::InitGoogleTest (&argc, argv);
        result = RUN_ALL_TESTS();
    }

    juce::File (home).deleteRecursively();
    return result;
}
