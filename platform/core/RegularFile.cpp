#include "platform/core/RegularFile.h"

#include "platform/core/Files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace win {

namespace {

int Refuse(int fd, std::string* why, std::string reason)
{
    if (fd >= 0)
        close(fd);
    if (why)
        *why = std::move(reason);
    return -1;
}

}  // namespace

int OpenRegularFile(const std::wstring& path, std::string* why)
{
    // O_NONBLOCK: opening a FIFO for reading would wait for a writer.
    int fd = open(ToPath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return Refuse(-1, why, std::string("cannot be read: ") + std::strerror(errno));
    struct stat st;
    if (fstat(fd, &st) != 0)
        return Refuse(fd, why, std::string("cannot be read: ") + std::strerror(errno));
    if (S_ISDIR(st.st_mode))
        return Refuse(fd, why, "is a folder");
    if (!S_ISREG(st.st_mode))
        return Refuse(fd, why, "not an ordinary file (a pipe or a device)");
    // Reads of an ordinary file wait for the disk as they always did.
    int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return Refuse(fd, why, std::string("cannot be read: ") + std::strerror(errno));
    return fd;
}

std::FILE* OpenRegularStream(const std::wstring& path, std::string* why)
{
    int fd = OpenRegularFile(path, why);
    if (fd < 0)
        return nullptr;
    std::FILE* file = fdopen(fd, "rb");
    if (!file)
        Refuse(fd, why, std::string("cannot be read: ") + std::strerror(errno));
    return file;
}

std::string RegularFileProblem(const std::wstring& path)
{
    std::string why;
    int fd = OpenRegularFile(path, &why);
    if (fd >= 0)
        close(fd);
    return why;
}

}  // namespace win
