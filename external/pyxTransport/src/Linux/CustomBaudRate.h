#pragma once

#include <cstdint>

namespace PyxTransport::Linux
{
// Sets a baud rate that has no B-constant on the open tty `fd`, keeping every other setting; returns 0 or the
// errno of the failure. Kept apart because the kernel's termios2 header clashes with <termios.h>.
int SetCustomBaudRate(int fd, std::uint32_t baudRate);
} // namespace PyxTransport::Linux
