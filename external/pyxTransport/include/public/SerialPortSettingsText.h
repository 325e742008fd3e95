#pragma once

#include <cstddef>

#include "Structures/ReaderDefinition.h"

namespace PyxTransport
{
// Writes "PortName: ..., BaudRate: ..., Parity: ..., FlowControl: ..., DataBits: ..., StopBits: ..." into
// `buffer`, cut to `size` and zero-terminated, and returns the length of the whole text (as snprintf does);
// 0 for a null buffer, a zero size or a formatting error.
int FormatSerialPortSettings(const PyxCommon::SerialPortSettings& settings, char* buffer, std::size_t size);
} // namespace PyxTransport
