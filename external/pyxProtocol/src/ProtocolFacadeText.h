#pragma once

#include <cstddef>
#include <cstring>
#include <string>

#include "Structures/ReaderDefinition.h"

namespace PyxProtocol
{
// Copies `text` into a result or record field, cut to leave room for the closing zero byte.
template <std::size_t N> void CopyText(char (&field)[N], const std::string& text)
{
    PyxCommon::SetFieldText(field, text);
}

using PyxCommon::FieldText;
} // namespace PyxProtocol
