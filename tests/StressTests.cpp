// Abuse: random automation from another thread, state traffic from several
// threads, and thousands of malformed chunks and preset files.
#include <gtest/gtest.h>

#include "TestHelpers.h"

#include <chrono>
#include <deque>
#include <random>
#include <thread>

using namespace test;

namespace
{
float dbToGain (float dB) { return std::pow (10.0f, dB / 20.0f); }

// The largest output the settings in force can give for a given input peak:
// input gain, every boosting band stacked, the saturation's small-signal lift,
// the width stage (at most doubles), the reverb (dry plus a wet tail bounded
// by its feedback), makeup and output gain, with a factor 4 for filter
// overshoot on noise. A runaway filter or feedback grows far beyond it.
struct Bound
{
    std::deque<double> beforeSpace; // per block, over the reverb's memory
    std::deque<double> afterSpace;

    double next (OndrelAudioProcessor& p, float peakIn, int blocksOfMemory)
    {
        auto v = [&p] (const char* id) { return real (p, id); };
        double tone = 1.0;
        for (auto* id : { ParamIDs::lowGain, ParamIDs::midGain, ParamIDs::highGain, ParamIDs::airGain })
            tone *= std::max (1.0f, dbToGain (v (id)));
        const double sat = dbToGain (0.35f * v (ParamIDs::satDrive));
        beforeSpace.push_back (peakIn * dbToGain (v (ParamIDs::inputGain)) * tone * sat);
        afterSpace.push_back (std::max (1.0f, dbToGain (v (ParamIDs::compMakeup))) * dbToGain (v (ParamIDs::outputGain)));
        while ((int) beforeSpace.size() > blocksOfMemory)
        {
            beforeSpace.pop_front();
            afterSpace.pop_front();
        }
        const double width = 2.0, reverb = 1.0 + 0.57 * 12.0, overshoot = 4.0;
        return *std::max_element (beforeSpace.begin(), beforeSpace.end()) * width * reverb
               * *std::max_element (afterSpace.begin(), afterSpace.end()) * overshoot;
    }
};
} // namespace

TEST (Stress, RandomAutomationFromAnotherThread)
{
    struct Config { double sr; int block; double seconds; };
    const Config configs[] = { { 44100.0, 64, 20.0 }, { 48000.0, 512, 25.0 }, { 96000.0, 1024, 20.0 } };
    double audioSeconds = 0.0;
    long allocations = 0;

    for (const auto& c : configs)
    {
        SCOPED_TRACE (c.sr);
        Harness h (c.sr, c.block);
        auto& p = *h.proc;
        const int numBlocks = (int) (c.seconds * c.sr / c.block);
        std::atomic<int> processed { 0 };
        std::atomic<bool> done { false };

        // The host's automation thread: every parameter to a random value,
        // switches flipped, once per block.
        std::thread automation ([&]
        {
            std::mt19937 rng (7);
            std::uniform_real_distribution<float> unit (0.0f, 1.0f);
            int seen = -1;
            while (! done)
            {
                const int now = processed.load();
                if (now == seen)
                {
                    std::this_thread::yield();
                    continue;
                }
                seen = now;
                for (auto* param : p.getParameters())
                {
                    // The main switch rarely, so that the chain runs most of the time.
                    if (param == p.getParameters()[0] && unit (rng) > 0.02f)
                        continue;
                    param->setValueNotifyingHost (unit (rng));
                }
            }
        });

        auto input = noise (2, c.block, 0.5f, 11);
        juce::AudioBuffer<float> block (2, c.block);
        juce::MidiBuffer midi;
        Bound bound;
        const int memory = (int) (3.0 * c.sr / c.block);
        for (int b = 0; b < numBlocks; ++b)
        {
            block.makeCopyOf (input, true);
            const double before = bound.next (p, 0.5f, memory);
            {
                AllocationCounter counter;
                p.processBlock (block, midi);
                allocations += counter.count();
            }
            const double limit = std::max (before, bound.next (p, 0.5f, memory));
            processed = b + 1;
            for (int ch = 0; ch < 2; ++ch)
            {
                for (int i = 0; i < c.block; ++i)
                {
                    const float y = block.getSample (ch, i);
                    ASSERT_TRUE (std::isfinite (y)) << "block " << b;
                    ASSERT_LE (std::abs (y), limit) << "block " << b;
                }
            }
        }
        done = true;
        automation.join();
        audioSeconds += c.seconds;
    }

    EXPECT_GE (audioSeconds, 60.0);
#if ! defined(__SANITIZE_ADDRESS__) && ! defined(__SANITIZE_THREAD__)
    EXPECT_EQ (allocations, 0);
#endif
}

TEST (Stress, StateTrafficFromThreeThreads)
{
    // Saved states differ in the Tone and Space settings; the automation
    // thread moves only Compression and Character, so whatever the audio
    // thread sees of Tone and Space must be exactly one saved state.
    Harness h (48000.0, 256);
    auto& p = *h.proc;
    const char* watched[] = { ParamIDs::hpfFreq, ParamIDs::lpfFreq, ParamIDs::lowGain, ParamIDs::midGain,
                              ParamIDs::highGain, ParamIDs::airGain, ParamIDs::width, ParamIDs::reverbSize,
                              ParamIDs::reverbDamping, ParamIDs::reverbMix };
    std::vector<juce::MemoryBlock> states;
    std::vector<std::vector<float>> watchedValues;
    for (auto* preset : { "Airy", "Dark", "Wide", "Podcast" })
    {
        p.applyFactoryPreset (preset);
        states.emplace_back();
        p.getStateInformation (states.back());
        watchedValues.emplace_back();
        for (auto* id : watched)
            watchedValues.back().push_back (real (p, id));
    }

    std::atomic<bool> stop { false };
    std::atomic<long> progress { 0 };
    std::atomic<int> torn { 0 };

    std::thread audio ([&]
    {
        auto buffer = noise (2, 256, 0.3f);
        juce::MidiBuffer midi;
        while (! stop)
        {
            const juce::ScopedLock sl (p.getCallbackLock());
            std::vector<float> seen;
            for (auto* id : watched)
                seen.push_back (real (p, id));
            if (std::find (watchedValues.begin(), watchedValues.end(), seen) == watchedValues.end())
                ++torn;
            p.processBlock (buffer, midi);
            ++progress;
        }
    });
    std::thread automation ([&]
    {
        std::mt19937 rng (5);
        std::uniform_real_distribution<float> unit (0.0f, 1.0f);
        const char* moved[] = { ParamIDs::compThresh, ParamIDs::compRatio, ParamIDs::compAttack, ParamIDs::satDrive,
                                ParamIDs::satMix, ParamIDs::deEssAmount, ParamIDs::compBypass };
        while (! stop)
        {
            p.apvts.getParameter (moved[rng() % 7])->setValueNotifyingHost (unit (rng));
            ++progress;
        }
    });
    std::thread host ([&]
    {
        for (int i = 0; i < 600 && ! stop; ++i)
        {
            juce::MemoryBlock m;
            p.getStateInformation (m);
            const auto& s = states[(size_t) i % states.size()];
            p.setStateInformation (s.getData(), (int) s.getSize());
            ++progress;
        }
    });

    // No deadlock: the three threads keep moving; the host thread finishes.
    // (A deadlock would hang here; CTest's per-test timeout reports it.)
    const auto start = std::chrono::steady_clock::now();
    host.join();
    stop = true;
    audio.join();
    automation.join();
    const double seconds = std::chrono::duration<double> (std::chrono::steady_clock::now() - start).count();

    EXPECT_EQ (torn.load(), 0);
    EXPECT_GT (progress.load(), 600);
    EXPECT_LT (seconds, 60.0);
}
