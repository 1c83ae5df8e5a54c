#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <algorithm>
#include <cstring>
#include <memory>

// The framework's XML reader and the tree conversion recurse once per level of
// nesting, and fuzzing found damaged documents on which the reader steps past
// the end of its text or never returns. Chunks and preset files are therefore
// checked first against the simple shape this system writes: an optional
// declaration, then elements with quoted attributes, whitespace and comments
// between them, no text content, nesting at most 64 deep (our trees are two
// levels deep). Anything else is refused before the framework parses it.
namespace XmlLimits
{
inline constexpr int maxNestingDepth = 64;

namespace detail
{
inline bool isSpace (char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
inline bool isNameStart (char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':'; }
inline bool isNameChar (char c) { return isNameStart (c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

struct Scanner
{
    const char* t;
    std::size_t n, i = 0;

    bool atEnd() const { return i >= n || t[i] == '\0'; }
    char peek (std::size_t ahead = 0) const { return i + ahead < n ? t[i + ahead] : '\0'; }
    void skipSpace() { while (! atEnd() && isSpace (t[i])) ++i; }
    bool startsWith (const char* s) const
    {
        for (std::size_t k = 0; s[k] != '\0'; ++k)
            if (peek (k) != s[k])
                return false;
        return true;
    }
    bool skipPast (const char* terminator)
    {
        while (! atEnd())
        {
            if (startsWith (terminator))
            {
                i += std::strlen (terminator);
                return true;
            }
            ++i;
        }
        return false;
    }
    bool name (std::size_t& start, std::size_t& length)
    {
        if (atEnd() || ! isNameStart (t[i]))
            return false;
        start = i;
        while (! atEnd() && isNameChar (t[i]))
            ++i;
        length = i - start;
        return true;
    }
    bool entity()
    {
        ++i; // '&'
        std::size_t k = 0;
        while (! atEnd() && t[i] != ';' && k < 10)
        {
            const char c = t[i];
            if (! (isNameChar (c) || c == '#'))
                return false;
            ++i;
            ++k;
        }
        if (atEnd() || t[i] != ';' || k == 0)
            return false;
        ++i;
        return true;
    }
    bool attributeValue()
    {
        const char quote = peek();
        if (quote != '"' && quote != '\'')
            return false;
        ++i;
        while (! atEnd() && t[i] != quote)
        {
            const auto c = (unsigned char) t[i];
            if (c == '<' || (c < 0x20 && ! isSpace ((char) c)))
                return false;
            if (c == '&')
            {
                if (! entity())
                    return false;
                continue;
            }
            ++i;
        }
        if (atEnd())
            return false;
        ++i;
        return true;
    }
    bool comment() { i += 4; return skipPast ("-->"); }
};
} // namespace detail

inline bool isSimpleXml (const char* text, std::size_t length, int maxDepth = maxNestingDepth)
{
    maxDepth = std::min (maxDepth, maxNestingDepth);
    detail::Scanner s { text, length };
    struct Open { std::size_t start, length; };
    Open stack[maxNestingDepth + 1];
    int depth = 0;
    bool rootDone = false;

    s.skipSpace();
    if (s.startsWith ("<?xml"))
        if (! s.skipPast ("?>"))
            return false;

    for (;;)
    {
        s.skipSpace();
        if (s.atEnd())
            return rootDone && depth == 0;
        if (s.peek() != '<')
            return false; // text content
        if (s.startsWith ("<!--"))
        {
            if (! s.comment())
                return false;
            continue;
        }
        if (rootDone)
            return false; // a second root element
        if (s.peek (1) == '/')
        {
            s.i += 2;
            std::size_t start, len;
            if (depth == 0 || ! s.name (start, len))
                return false;
            const auto& open = stack[depth - 1];
            if (len != open.length || std::memcmp (text + start, text + open.start, len) != 0)
                return false;
            s.skipSpace();
            if (s.peek() != '>')
                return false;
            ++s.i;
            if (--depth == 0)
                rootDone = true;
            continue;
        }

        ++s.i;
        std::size_t start, len;
        if (! s.name (start, len))
            return false;
        for (;;)
        {
            const bool spaced = ! s.atEnd() && detail::isSpace (s.peek());
            s.skipSpace();
            if (s.peek() == '/' && s.peek (1) == '>')
            {
                s.i += 2;
                if (depth == 0)
                    rootDone = true;
                break;
            }
            if (s.peek() == '>')
            {
                ++s.i;
                if (depth >= maxDepth)
                    return false;
                stack[depth++] = { start, len };
                break;
            }
            std::size_t aStart, aLen;
            if (! spaced || ! s.name (aStart, aLen))
                return false;
            s.skipSpace();
            if (s.peek() != '=')
                return false;
            ++s.i;
            s.skipSpace();
            if (! s.attributeValue())
                return false;
        }
    }
}

// The framework's XML reader can step one character past the end of a damaged
// document (seen with AddressSanitizer on mutated chunks). The text is
// therefore parsed from a buffer with zeros after its end, where such a step
// reads "end of data" again instead of foreign memory.
//
// Text that is not valid UTF-8 is refused as well: on some malformed sequences
// the reader's search for the end of a processing instruction never ends
// (found by fuzzing), and everything this system writes is valid UTF-8.
inline std::unique_ptr<juce::XmlElement> parseWithPadding (juce::String text)
{
    constexpr std::size_t padding = 256;
    const auto used = text.getNumBytesAsUTF8();
    if (! juce::CharPointer_UTF8::isValidString (text.toRawUTF8(), (int) used) || ! isSimpleXml (text.toRawUTF8(), used))
        return nullptr;
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
    if (! juce::CharPointer_UTF8::isValidString (bytes + 8, n) || ! isSimpleXml (bytes + 8, (std::size_t) n))
        return nullptr;
    return parseWithPadding (juce::String::fromUTF8 (bytes + 8, n));
}
} // namespace XmlLimits
