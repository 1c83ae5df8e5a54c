#pragma once

// The one place where the parameter IDs are spelled. They are the keys of the
// parameter tree, the host chunk, the preset files and the panel attachments,
// so every use goes through these constants.
namespace ParamIDs
{
inline constexpr const char* mainBypass      = "mainBypass";
inline constexpr const char* inputGain       = "inputGain";
inline constexpr const char* outputGain      = "outputGain";
inline constexpr const char* toneBypass      = "toneBypass";
inline constexpr const char* hpfFreq         = "hpfFreq";
inline constexpr const char* lpfFreq         = "lpfFreq";
inline constexpr const char* lowGain         = "lowGain";
inline constexpr const char* midGain         = "midGain";
inline constexpr const char* highGain        = "highGain";
inline constexpr const char* airGain         = "airGain";
inline constexpr const char* compBypass      = "compBypass";
inline constexpr const char* compThresh      = "compThresh";
inline constexpr const char* compRatio       = "compRatio";
inline constexpr const char* compAttack      = "compAttack";
inline constexpr const char* compRelease     = "compRelease";
inline constexpr const char* compMakeup      = "compMakeup";
inline constexpr const char* characterBypass = "characterBypass";
inline constexpr const char* deEssFreq       = "deEssFreq";
inline constexpr const char* deEssAmount     = "deEssAmount";
inline constexpr const char* satDrive        = "satDrive";
inline constexpr const char* satMix          = "satMix";
inline constexpr const char* spaceBypass     = "spaceBypass";
inline constexpr const char* width           = "width";
inline constexpr const char* reverbSize      = "reverbSize";
inline constexpr const char* reverbDamping   = "reverbDamping";
inline constexpr const char* reverbMix       = "reverbMix";

inline constexpr int count = 26;

// Host order: index 0 first.
inline constexpr const char* all[count] = {
    mainBypass, inputGain, outputGain,
    toneBypass, hpfFreq, lpfFreq, lowGain, midGain, highGain, airGain,
    compBypass, compThresh, compRatio, compAttack, compRelease, compMakeup,
    characterBypass, deEssFreq, deEssAmount, satDrive, satMix,
    spaceBypass, width, reverbSize, reverbDamping, reverbMix
};
} // namespace ParamIDs
