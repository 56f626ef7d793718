#pragma once
// The Central European Windows code page (1250): the encoding of texts in files.

#include <optional>
#include <string>
#include <string_view>

namespace movik {

// Decodes Windows-1250 bytes to UTF-8. The five bytes the code page leaves undefined
// (0x81, 0x83, 0x88, 0x90, 0x98) decode to the C1 controls of the same value, so every byte
// string survives decode -> encode unchanged.
std::string Cp1250ToUtf8(std::string_view bytes);

// Encodes UTF-8 text to Windows-1250; nullopt when a character cannot be held (or the UTF-8
// is malformed).
std::optional<std::string> Utf8ToCp1250(std::string_view text);

// Encodes UTF-8 text to Windows-1250, writing "?" for each character the code page cannot hold
// (and for each byte of a malformed sequence).
std::string Utf8ToCp1250Lossy(std::string_view text);

// True when every character of the UTF-8 text can be held in Windows-1250.
bool IsCp1250Text(std::string_view text);

}  // namespace movik
