#pragma once

#include <cstddef>

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
} // namespace XmlLimits
