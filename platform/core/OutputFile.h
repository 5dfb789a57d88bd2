// Every file the program writes goes through an OutputFile, so that nothing
// is ever half-written under its real name and nothing is written through a
// link: the bytes go to a new temporary file beside the final name (created
// exclusively, never following a link), which replaces the final name in one
// rename only once it is complete and on the disk. An existing final name
// that is a link is replaced as a name; the file it pointed to is untouched.
//
// The temporary file has a short name of its own (see TemporaryFiles.h), so
// a final name of any length that fits the folder has a temporary one too.
//
// The writes of all output files pass one fault point, so tests can make
// the N-th write of a process fail as a full or broken disk would.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/types.h>

namespace win {

class OutputFile {
public:
    OutputFile() = default;
    // Removes the temporary file unless Commit succeeded.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the temporary file for `finalPath`; false (see Error) when it
    // cannot be. An existing ordinary file under the final name lends its
    // permission bits.
    bool Create(const std::wstring& finalPath);
    // A stream open for update ("w+b") on the temporary file; null before
    // Create and after Commit or Abandon. Do not fclose it.
    std::FILE* Stream() const { return stream_; }
    // Flushes, syncs and closes the stream, then renames the temporary file
    // over the final name. false when anything failed since Create, in which
    // case the temporary file is removed and the final name is untouched.
    bool Commit();
    // Closes and removes the temporary file; the final name is untouched.
    void Abandon();
    // Gives the finished file these permission bits.
    void SetMode(unsigned mode);
    // Whether Commit may replace a file under the final name (the default:
    // the caller asked, or the file is its own). Off, Commit takes the name
    // only while it is free: a file that appeared there meanwhile stays,
    // and Commit fails with Appeared() set.
    void SetReplaceExisting(bool replace) { replaceExisting_ = replace; }
    // The last Commit found the final name taken while it was not to
    // replace anything.
    bool Appeared() const { return appeared_; }
    // Flushes the stream and cuts the file to `length` bytes (rewriting a
    // file in place can shorten it); false, as every later Commit, when
    // anything failed.
    bool Truncate(std::uint64_t length);

    const std::wstring& FinalPath() const { return finalPath_; }
    const std::wstring& TemporaryPath() const { return temporaryPath_; }
    // The errno of the first failure, 0 when none.
    int Error() const { return error_; }
    // "no space left on device" and the like (to follow a colon in a
    // sentence); empty when nothing failed.
    std::string ErrorText() const;

private:
    static ssize_t CookieWrite(void* cookie, const char* data, std::size_t size);
    static ssize_t CookieRead(void* cookie, char* data, std::size_t size);
    static int CookieSeek(void* cookie, std::int64_t* offset, int whence);
    static int CookieClose(void* cookie);
    void Fail(int error);
    void Forget();
    int TakeName();

    std::wstring finalPath_;
    std::wstring temporaryPath_;
    std::FILE* stream_ = nullptr;
    int fd_ = -1;
    int error_ = 0;
    int liveSlot_ = -1;
    bool replaceExisting_ = true;
    bool appeared_ = false;
};

// The fault point. Counts the write steps of every output file in the
// process (each write of buffered bytes, and each sync); from step
// `failAt` on (1 = the first), every step fails with `error` (ENOSPC, EIO).
// 0 turns faults off. Also set from the environment at the first write:
// KOLVEX_WRITE_FAULT="N:ENOSPC" or "N:EIO".
void SetWriteFault(std::uint64_t failAt, int error);
// Write steps counted since the process started (or the last reset).
std::uint64_t WriteSteps();
void ResetWriteSteps();

}  // namespace win
