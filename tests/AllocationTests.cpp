// Proves that the audio thread never touches the heap: every allocation
// function is replaced in this binary and counted on the calling thread.
#include <gtest/gtest.h>

#include "TestHelpers.h"

#include <atomic>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
 #define ONDREL_COUNT_ALLOCATIONS 0
#else
 #define ONDREL_COUNT_ALLOCATIONS 1
#endif

namespace
{
thread_local bool countingHere = false;
std::atomic<long> allocations { 0 };

inline void noteAllocation()
{
    if (countingHere)
        allocations.fetch_add (1, std::memory_order_relaxed);
}
} // namespace

#if ONDREL_COUNT_ALLOCATIONS
extern "C"
{
void* __libc_malloc (size_t);
void* __libc_calloc (size_t, size_t);
void* __libc_realloc (void*, size_t);
void* __libc_memalign (size_t, size_t);
void __libc_free (void*);

void* malloc (size_t n) { noteAllocation(); return __libc_malloc (n); }
void* calloc (size_t a, size_t b) { noteAllocation(); return __libc_calloc (a, b); }
void* realloc (void* p, size_t n) { noteAllocation(); return __libc_realloc (p, n); }
void* memalign (size_t a, size_t n) { noteAllocation(); return __libc_memalign (a, n); }
void* aligned_alloc (size_t a, size_t n) { noteAllocation(); return __libc_memalign (a, n); }
int posix_memalign (void** out, size_t a, size_t n)
{
    noteAllocation();
    *out = __libc_memalign (a, n);
    return *out != nullptr ? 0 : 12;
}
void free (void* p) { __libc_free (p); }
}

void* operator new (std::size_t n)
{
    noteAllocation();
    if (void* p = __libc_malloc (n != 0 ? n : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[] (std::size_t n) { return operator new (n); }
void* operator new (std::size_t n, const std::nothrow_t&) noexcept { noteAllocation(); return __libc_malloc (n != 0 ? n : 1); }
void* operator new[] (std::size_t n, const std::nothrow_t&) noexcept { noteAllocation(); return __libc_malloc (n != 0 ? n : 1); }
void operator delete (void* p) noexcept { __libc_free (p); }
void operator delete[] (void* p) noexcept { __libc_free (p); }
void operator delete (void* p, std::size_t) noexcept { __libc_free (p); }
void operator delete[] (void* p, std::size_t) noexcept { __libc_free (p); }
#endif

namespace test
{
AllocationCounter::AllocationCounter() { allocations = 0; countingHere = true; }
AllocationCounter::~AllocationCounter() { countingHere = false; }
long AllocationCounter::count() const { return allocations.load(); }
} // namespace test

TEST (Allocation, CounterSeesAllocations)
{
#if ! ONDREL_COUNT_ALLOCATIONS
    GTEST_SKIP() << "allocation functions belong to the sanitizer in this build";
#endif
    test::AllocationCounter counter;
    auto* v = new std::vector<float> (100);
    delete v;
    EXPECT_GE (counter.count(), 2);
}

// Every stage active, then bypass switches, parameter moves across every
// redesign, host blocks larger than prepared: not one allocation.
TEST (Allocation, ProcessBlockNeverAllocates)
{
#if ! ONDREL_COUNT_ALLOCATIONS
    GTEST_SKIP() << "allocation functions belong to the sanitizer in this build";
#endif
    test::Harness h (48000.0, 256, 2);
    h.everyStage();

    auto audio = test::noise (2, 20000, 0.5f);
    juce::MidiBuffer midi;
    long total = 0;

    const char* switches[] = { ParamIDs::mainBypass, ParamIDs::toneBypass, ParamIDs::compBypass,
                               ParamIDs::characterBypass, ParamIDs::spaceBypass };

    for (int round = 0; round < 40; ++round)
    {
        // Parameter writes happen on the "host" side, outside the counted region.
        h.set (switches[round % 5], (round / 5) % 2 == 0 ? 1.0f : 0.0f);
        h.set (ParamIDs::hpfFreq, 40.0f + (float) round * 7.0f);
        h.set (ParamIDs::midGain, (float) (round % 9) - 4.0f);
        h.set (ParamIDs::compAttack, 1.0f + (float) round);
        h.set (ParamIDs::reverbSize, (float) round * 2.0f);
        h.set (ParamIDs::width, round % 2 == 0 ? 40.0f : 180.0f);
        h.set (ParamIDs::compMakeup, (float) (round % 6));

        const int n = round == 20 ? 20000 : 256; // one host block beyond the prepared size
        juce::AudioBuffer<float> block (audio.getArrayOfWritePointers(), 2, 0, n);

        test::AllocationCounter counter;
        h.proc->processBlock (block, midi);
        total += counter.count();
    }

    EXPECT_EQ (total, 0);
}
