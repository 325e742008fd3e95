// Reads the slave's baud rate through termios2, which alone reports rates without a B-constant. Kept apart
// because the kernel's termios2 header clashes with <termios.h>.
#include <asm/termbits.h>
#include <cstdint>
#include <sys/ioctl.h>

namespace PyxTest::Detail
{
std::uint32_t PtyBaudRate(int fd)
{
    struct termios2 settings
    {
    };
    if (::ioctl(fd, TCGETS2, &settings) != 0)
    {
        return 0;
    }
    return settings.c_ospeed;
}
} // namespace PyxTest::Detail
