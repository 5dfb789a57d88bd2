#include "platform/core/OutputFile.h"

#include "platform/core/Files.h"
#include "platform/core/Strings.h"
#include "platform/core/TemporaryFiles.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace win {

namespace {

std::atomic<std::uint64_t> g_steps{0};
std::atomic<std::uint64_t> g_failAt{0};
std::atomic<int> g_faultError{0};
std::once_flag g_faultFromEnvironment;

void ReadFaultFromEnvironment()
{
    const char* text = std::getenv("KOLVEX_WRITE_FAULT");
    if (!text)
        return;
    char* rest = nullptr;
    unsigned long long at = std::strtoull(text, &rest, 10);
    int error = EIO;
    if (rest && std::strcmp(rest, ":ENOSPC") == 0)
        error = ENOSPC;
    SetWriteFault(at, error);
}

// One more write step: the error it must fail with, or 0.
int NextStep()
{
    std::call_once(g_faultFromEnvironment, ReadFaultFromEnvironment);
    std::uint64_t step = ++g_steps;
    std::uint64_t failAt = g_failAt.load();
    return failAt != 0 && step >= failAt ? g_faultError.load() : 0;
}

}  // namespace

void SetWriteFault(std::uint64_t failAt, int error)
{
    g_faultError = error;
    g_failAt = failAt;
}

std::uint64_t WriteSteps() { return g_steps.load(); }

void ResetWriteSteps() { g_steps = 0; }

OutputFile::~OutputFile() { Abandon(); }

std::string OutputFile::ErrorText() const
{
    std::string text = error_ ? std::strerror(error_) : "";
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z' && !(text.size() > 1 && text[1] >= 'A' && text[1] <= 'Z'))
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

void OutputFile::Fail(int error)
{
    if (error_ == 0)
        error_ = error ? error : EIO;
}

bool OutputFile::Create(const std::wstring& finalPath)
{
    Abandon();
    error_ = 0;
    appeared_ = false;
    finalPath_ = finalPath;
    const std::string final = ToPath(finalPath).string();
    struct stat existing;
    const bool exists = lstat(final.c_str(), &existing) == 0;
    const bool keepMode = exists && S_ISREG(existing.st_mode);
    // A device or a pipe under the name is not something to replace.
    if (exists && !keepMode && !S_ISLNK(existing.st_mode)) {
        Fail(S_ISDIR(existing.st_mode) ? EISDIR : ENOTSUP);
        return false;
    }

    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        std::string name = TemporaryNameFor(final);
        // Registered before it exists, so a signal handler never misses it.
        RegisterLiveTemporary(name, &liveSlot_);
        // O_EXCL: a new file, never one that is there already, nor a link.
        fd_ = open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        int error = errno;
        if (fd_ >= 0) {
            temporaryPath_ = FromUtf8(name);
            break;
        }
        ReleaseLiveTemporary(liveSlot_);
        liveSlot_ = -1;
        if (error != EEXIST) {
            Fail(error);
            return false;
        }
    }
    if (fd_ < 0) {
        Fail(EEXIST);
        return false;
    }
    if (keepMode)
        (void)fchmod(fd_, existing.st_mode & 07777);
    cookie_io_functions_t io{CookieRead, CookieWrite, CookieSeek, CookieClose};
    stream_ = fopencookie(this, "w+", io);
    if (!stream_) {
        Fail(errno);
        Abandon();
        return false;
    }
    return true;
}

void OutputFile::SetMode(unsigned mode)
{
    if (fd_ >= 0)
        (void)fchmod(fd_, mode & 07777);
}

bool OutputFile::Commit()
{
    if (!stream_)
        return false;
    if (std::fflush(stream_) != 0 || std::ferror(stream_))
        Fail(EIO);
    if (error_ == 0) {
        if (int fault = NextStep())
            Fail(fault);
        else if (fsync(fd_) != 0)
            Fail(errno);
    }
    if (std::fclose(stream_) != 0)
        Fail(EIO);
    stream_ = nullptr;
    fd_ = -1;
    if (error_ == 0)
        if (int error = TakeName())
            Fail(error);
    if (error_ != 0) {
        _wremove(temporaryPath_.c_str());
        Forget();
        return false;
    }
    Forget();
    return true;
}

// The temporary file takes the final name: an errno, or 0.
int OutputFile::TakeName()
{
    const std::string from = ToPath(temporaryPath_).string();
    const std::string to = ToPath(finalPath_).string();
    if (replaceExisting_)
        return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    int error = renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0 ? 0 : errno;
    // A file system without the flag: a hard link is just as exclusive.
    if (error == EINVAL || error == ENOSYS) {
        error = link(from.c_str(), to.c_str()) == 0 ? 0 : errno;
        if (error == 0)
            unlink(from.c_str());
    }
    // Nor hard links (FAT): the narrow window of a look before the rename.
    if (error == EPERM || error == ENOTSUP || error == EMLINK) {
        struct stat there;
        error = lstat(to.c_str(), &there) == 0 ? EEXIST : rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    }
    appeared_ = error == EEXIST;
    return error;
}

void OutputFile::Forget()
{
    temporaryPath_.clear();
    ReleaseLiveTemporary(liveSlot_);
    liveSlot_ = -1;
}

bool OutputFile::Truncate(std::uint64_t length)
{
    if (!stream_)
        return false;
    if (std::fflush(stream_) != 0 || std::ferror(stream_))
        Fail(EIO);
    else if (ftruncate(fd_, static_cast<off_t>(length)) != 0)
        Fail(errno);
    return error_ == 0;
}

void OutputFile::Abandon()
{
    if (stream_) {
        std::fclose(stream_);
        stream_ = nullptr;
        fd_ = -1;
    }
    if (!temporaryPath_.empty()) {
        _wremove(temporaryPath_.c_str());
        Forget();
    }
}

ssize_t OutputFile::CookieWrite(void* cookie, const char* data, std::size_t size)
{
    auto* self = static_cast<OutputFile*>(cookie);
    if (int fault = NextStep()) {
        self->Fail(fault);
        errno = fault;
        return 0;
    }
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = write(self->fd_, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            self->Fail(n < 0 ? errno : ENOSPC);
            return 0;
        }
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

ssize_t OutputFile::CookieRead(void* cookie, char* data, std::size_t size)
{
    ssize_t n;
    do
        n = read(static_cast<OutputFile*>(cookie)->fd_, data, size);
    while (n < 0 && errno == EINTR);
    return n;
}

int OutputFile::CookieSeek(void* cookie, std::int64_t* offset, int whence)
{
    off_t at = lseek(static_cast<OutputFile*>(cookie)->fd_, *offset, whence);
    if (at < 0)
        return -1;
    *offset = at;
    return 0;
}

int OutputFile::CookieClose(void* cookie)
{
    auto* self = static_cast<OutputFile*>(cookie);
    int result = close(self->fd_);
    if (result != 0)
        self->Fail(errno);
    return result;
}

}  // namespace win
