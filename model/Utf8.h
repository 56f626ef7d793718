#pragma once
// The UTF-8 helpers: every walk over the characters of a UTF-8 text goes through these. A byte
// that is not part of a well-formed character counts as one character of its own.

#include <cstddef>
#include <string>
#include <string_view>

namespace movik {

// Decodes one character at s[i] (i < s.size()); returns its length in bytes, or 0 for a
// malformed sequence (overlong forms, surrogates and values beyond U+10FFFF included).
std::size_t DecodeUtf8(std::string_view s, std::size_t i, char32_t& cp);

// Length in bytes of the character at s[i], each byte of a malformed sequence counting as one.
std::size_t StepUtf8(std::string_view s, std::size_t i);

// Writes the code point cp (at most U+10FFFF) as UTF-8 at out, which has room for four bytes;
// returns the byte count.
std::size_t PutUtf8(char* out, char32_t cp);

// True when text is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsUtf8(std::string_view text);

// The text with each byte that is not part of a well-formed UTF-8 character replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);

// Number of characters of a UTF-8 text.
std::size_t Utf8Length(std::string_view text);

// The byte offset at which character n of the text starts (the text's size when it has no more
// than n characters).
std::size_t Utf8Offset(std::string_view text, std::size_t n);

// The first n characters of a UTF-8 text; never splits a character.
std::string Utf8Left(std::string_view text, std::size_t n);

// The longest start of a UTF-8 text that takes at most maxBytes bytes; never splits a character.
std::string Utf8LeftBytes(std::string_view text, std::size_t maxBytes);

}  // namespace movik
