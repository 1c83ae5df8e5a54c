#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <cstring>
#include <memory>

// The framework's XML reader and the tree conversion recurse once per level of
// nesting, so a hostile chunk or preset file nested a few hundred thousand
// levels deep would overflow the stack and take the host down. Our own trees
// are two levels deep; anything nested deeper than this is refused before it
// is parsed.
namespace XmlLimits
{
inline constexpr int maxNestingDepth = 64;

// Counts element nesting the way a parser would see it: quoted attribute
// values are skipped (so a "/>" inside one does not hide a level), and
// anything it cannot tell apart is counted as deeper, never shallower.
inline bool nestingWithinLimit (const char* text, std::size_t length, int maxDepth = maxNestingDepth)
{
    int depth = 0;
    std::size_t i = 0;
    while (i < length && text[i] != '\0')
    {
        if (text[i] != '<')
        {
            ++i;
            continue;
        }

        const char kind = i + 1 < length ? text[i + 1] : '\0';
        const bool closing = kind == '/';
        const bool opaque = kind == '?' || kind == '!';
        char quote = 0, last = 0;
        for (++i; i < length && text[i] != '\0'; ++i)
        {
            const char c = text[i];
            if (quote != 0)
            {
                if (c == quote)
                    quote = 0;
                continue;
            }
            if (c == '"' || c == '\'')
                quote = c;
            else if (c == '>')
                break;
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
                last = c;
        }
        ++i;

        if (opaque)
            continue;
        if (closing)
            --depth;
        else if (last != '/' && ++depth > maxDepth)
            return false;
    }
    return true;
}

// The framework's XML reader can step one character past the end of a damaged
// document (seen with AddressSanitizer on mutated chunks). The text is
// therefore parsed from a buffer with zeros after its end, where such a step
// reads "end of data" again instead of foreign memory.
inline std::unique_ptr<juce::XmlElement> parseWithPadding (juce::String text)
{
    constexpr std::size_t padding = 256;
    const auto used = text.getNumBytesAsUTF8();
    text.preallocateBytes (used + padding);
    std::memset (const_cast<char*> (text.toRawUTF8()) + used, 0, padding);
    return juce::parseXML (text);
}

// Host chunk: magic number, little-endian length, UTF-8 XML text, a zero.
// Short data, another magic number or a length of 0 or less give nothing; a
// length beyond the data is cut to the data.
inline std::unique_ptr<juce::XmlElement> parseChunk (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= 8)
        return nullptr;
    const auto* bytes = static_cast<const char*> (data);
    if (juce::ByteOrder::littleEndianInt (bytes) != 0x21324356)
        return nullptr;
    const auto length = (int) juce::ByteOrder::littleEndianInt (bytes + 4);
    if (length <= 0)
        return nullptr;
    const auto n = juce::jmin (sizeInBytes - 8, length);
    if (! nestingWithinLimit (bytes + 8, (std::size_t) n))
        return nullptr;
    return parseWithPadding (juce::String::fromUTF8 (bytes + 8, n));
}
} // namespace XmlLimits
