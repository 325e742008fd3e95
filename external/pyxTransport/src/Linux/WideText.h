#pragma once

#include <string>
#include <string_view>

namespace PyxTransport::Linux
{
// UTF-8 to wchar_t text (UTF-32 here) and back, by hand so that the result never depends on the process
// locale. Malformed input (a bad or cut-short sequence, an overlong form, a surrogate, a value beyond
// U+10FFFF) becomes U+FFFD instead of failing the whole conversion.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
} // namespace PyxTransport::Linux
