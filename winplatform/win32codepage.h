#pragma once

// The tutor monitoring file holds one byte per character in the system's ANSI code page. These
// convert between those bytes and UTF-16 text with the system's own tables.

#include <optional>
#include <string>

namespace winplatform {

// The ANSI code page of this system (1252 on Western European Windows).
unsigned ansiCodePage();

// Every byte gives a character; in 1252 the five bytes the code page leaves undefined give the
// C1 controls of the same number, so bytes -> text -> bytes gives back the same bytes.
std::wstring decodeAnsi(const std::string &bytes);

// The bytes of `text`, or nothing when some character has no byte of its own in the code page:
// no look-alike is put in its place ("ā" is refused, not written as "a").
std::optional<std::string> encodeAnsi(const std::wstring &text);

} // namespace winplatform
