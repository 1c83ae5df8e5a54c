#pragma once

#include <array>

// The eleven factory presets. Each sets the same 23 parameters (the four
// section switches on, everything but the main switch and the two gains).
struct FactoryPreset
{
    const char* name;
    std::array<float, 23> values; // in the order of FactoryPresets::parameterIDs
};

namespace FactoryPresets
{
extern const std::array<const char*, 23> parameterIDs;
extern const std::array<FactoryPreset, 11> presets;
} // namespace FactoryPresets
