#include "Linux/CustomBaudRate.h"

#include <asm/termbits.h>
#include <cerrno>
#include <sys/ioctl.h>

namespace PyxTransport::Linux
{
int SetCustomBaudRate(int fd, std::uint32_t baudRate)
{
    struct termios2 settings
    {
    };
    if (::ioctl(fd, TCGETS2, &settings) != 0)
    {
        return errno;
    }
    settings.c_cflag &= ~static_cast<tcflag_t>(CBAUD | (CBAUD << IBSHIFT));
    settings.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    settings.c_ispeed = baudRate;
    settings.c_ospeed = baudRate;
    if (::ioctl(fd, TCSETS2, &settings) != 0)
    {
        return errno;
    }
    return 0;
}
} // namespace PyxTransport::Linux
