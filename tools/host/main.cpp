// ondrel-host: a small host on the framework's VST3 and LV2 hosting.
//   ondrel-host [gtest options]   the host checks on the built bundles
//   ondrel-host bench [options]   Ondrel against a chain of peer LV2 plug-ins
#include <gtest/gtest.h>

#include <juce_events/juce_events.h>

#include <cstdlib>
#include <cstring>

#if JUCE_LINUX
 #include <X11/Xlib.h>

// The framework installs a forgiving X error handler only in applications;
// without one, an X server with no window manager ends the process on the
// first harmless error from a plug-in window.
static int ignoreXErrors (Display*, XErrorEvent*) { return 0; }
#endif

int runPeerBench (int argc, char** argv);

int main (int argc, char** argv)
{
    // Never touch the real user folders.
    char homeTemplate[] = "/tmp/ondrel-host-home-XXXXXX";
    if (const char* home = mkdtemp (homeTemplate))
        setenv ("HOME", home, 1);
    unsetenv ("XDG_CONFIG_HOME");

    juce::ScopedJuceInitialiser_GUI juceInit;

   #if JUCE_LINUX
    XSetErrorHandler (ignoreXErrors);
   #endif

    if (argc > 1 && std::strcmp (argv[1], "bench") == 0)
        return runPeerBench (argc - 1, argv + 1);

    ::testing::InitGoogleTest (&argc, argv);
    return RUN_ALL_TESTS();
}
