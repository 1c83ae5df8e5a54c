#include "FactoryPresets.h"

#include "ParameterIDs.h"

namespace FactoryPresets
{
const std::array<const char*, 23> parameterIDs {
    ParamIDs::toneBypass, ParamIDs::compBypass, ParamIDs::characterBypass, ParamIDs::spaceBypass,
    ParamIDs::hpfFreq, ParamIDs::lpfFreq, ParamIDs::lowGain, ParamIDs::midGain, ParamIDs::highGain,
    ParamIDs::airGain, ParamIDs::compThresh, ParamIDs::compRatio, ParamIDs::compAttack, ParamIDs::compRelease,
    ParamIDs::compMakeup, ParamIDs::deEssFreq, ParamIDs::deEssAmount, ParamIDs::satDrive, ParamIDs::satMix,
    ParamIDs::width, ParamIDs::reverbSize, ParamIDs::reverbDamping, ParamIDs::reverbMix
};

const std::array<FactoryPreset, 11> presets { {
    { "Airy", { 0.0f, 0.0f, 0.0f, 0.0f, 90.0f, 20000.0f, -1.0f, -0.5f, 2.5f, 5.5f, -19.0f, 3.0f, 12.0f, 95.0f, 3.0f, 7000.0f, 28.0f, 3.5f, 15.0f, 118.0f, 22.0f, 32.0f, 14.0f } },
    { "Bright", { 0.0f, 0.0f, 0.0f, 0.0f, 85.0f, 18500.0f, -1.0f, 1.0f, 3.0f, 3.0f, -20.0f, 3.5f, 8.0f, 80.0f, 3.5f, 6800.0f, 24.0f, 5.0f, 18.0f, 108.0f, 16.0f, 35.0f, 8.0f } },
    { "Clean", { 0.0f, 0.0f, 0.0f, 0.0f, 80.0f, 20000.0f, 0.0f, 0.0f, 1.5f, 2.0f, -18.0f, 3.0f, 12.0f, 85.0f, 3.0f, 6200.0f, 25.0f, 4.0f, 18.0f, 105.0f, 12.0f, 40.0f, 6.0f } },
    { "Dark", { 0.0f, 0.0f, 0.0f, 0.0f, 70.0f, 14500.0f, 1.5f, -1.5f, -2.5f, -4.0f, -17.0f, 2.8f, 16.0f, 110.0f, 2.0f, 5600.0f, 14.0f, 6.0f, 20.0f, 98.0f, 10.0f, 52.0f, 4.0f } },
    { "Intimate", { 0.0f, 0.0f, 0.0f, 0.0f, 75.0f, 17000.0f, 1.0f, 1.2f, -0.8f, -1.0f, -22.0f, 4.0f, 10.0f, 75.0f, 4.0f, 6100.0f, 20.0f, 4.5f, 16.0f, 92.0f, 8.0f, 48.0f, 4.0f } },
    { "Podcast", { 0.0f, 0.0f, 0.0f, 0.0f, 85.0f, 15000.0f, 0.5f, 1.5f, -0.5f, 0.5f, -24.0f, 4.5f, 6.0f, 70.0f, 5.0f, 6200.0f, 18.0f, 2.0f, 10.0f, 100.0f, 0.0f, 35.0f, 0.0f } },
    { "Presence", { 0.0f, 0.0f, 0.0f, 0.0f, 80.0f, 19000.0f, -0.5f, 2.5f, 1.5f, 1.0f, -20.0f, 3.8f, 8.0f, 72.0f, 4.0f, 6500.0f, 22.0f, 6.0f, 20.0f, 106.0f, 10.0f, 38.0f, 5.0f } },
    { "Rap", { 0.0f, 0.0f, 0.0f, 0.0f, 95.0f, 17500.0f, -0.5f, 2.0f, 2.5f, 1.0f, -26.0f, 6.0f, 3.0f, 45.0f, 5.0f, 6800.0f, 28.0f, 10.0f, 35.0f, 110.0f, 14.0f, 40.0f, 5.0f } },
    { "Rock", { 0.0f, 0.0f, 0.0f, 0.0f, 95.0f, 16500.0f, 0.0f, 2.2f, 1.8f, 0.8f, -24.0f, 5.0f, 4.0f, 55.0f, 5.0f, 6500.0f, 20.0f, 12.0f, 40.0f, 108.0f, 12.0f, 42.0f, 6.0f } },
    { "Warm", { 0.0f, 0.0f, 0.0f, 0.0f, 75.0f, 16500.0f, 1.0f, 0.6f, -1.0f, -1.8f, -18.0f, 2.6f, 14.0f, 95.0f, 2.5f, 5800.0f, 14.0f, 6.5f, 24.0f, 102.0f, 9.0f, 50.0f, 4.0f } },
    { "Wide", { 0.0f, 0.0f, 0.0f, 0.0f, 85.0f, 19000.0f, -0.5f, 0.8f, 1.5f, 2.0f, -20.0f, 3.2f, 10.0f, 80.0f, 3.0f, 6500.0f, 22.0f, 4.0f, 18.0f, 140.0f, 20.0f, 36.0f, 10.0f } }
} };
} // namespace FactoryPresets
