#include "stdfds.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

int OpenClosedStandardDescriptors()
{
    int closed = 0;
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        closed |= 1 << fd;
        int opened = -1;
        do
            opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        while (opened < 0 && errno == EINTR);
        // The descriptors below this one are open by now, so the lowest free
        // number is this one; dup2 covers a system that hands out another.
        if (opened > fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
    }
    return closed;
}
