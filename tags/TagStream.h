// TagLib reads and rewrites a file through this stream instead of opening
// the file by its name itself: every byte it writes goes through our own
// stream (for an output file: the safe writer and its fault point), and a
// write that fails is remembered, so the caller can drop the file rather
// than keep one whose tags were cut off by a full disk.
#pragma once

#include <taglib/tiostream.h>

#include <cstdio>
#include <functional>
#include <string>

class TagStream : public TagLib::IOStream {
public:
    // `file` is open for update and stays the caller's. `truncate` cuts it
    // to a length (a stdio stream cannot); false when that failed.
    TagStream(std::FILE* file, std::string name, std::function<bool(long)> truncate);

    // The errno of the first read or write that failed; 0 when none did.
    int Error() const { return error_; }

    TagLib::FileName name() const override { return name_.c_str(); }
    TagLib::ByteVector readBlock(unsigned long length) override;
    void writeBlock(const TagLib::ByteVector& data) override;
    void insert(const TagLib::ByteVector& data, unsigned long start = 0, unsigned long replace = 0) override;
    void removeBlock(unsigned long start = 0, unsigned long length = 0) override;
    bool readOnly() const override { return false; }
    bool isOpen() const override { return file_ != nullptr; }
    void seek(long offset, Position p = Beginning) override;
    void clear() override {}
    long tell() const override { return position_; }
    long length() override;
    void truncate(long length) override;

private:
    bool At(long position);
    void Fail();
    // Moves the bytes from `from` to the end of the file so they start at `to`.
    void MoveTail(long from, long to);

    std::FILE* file_;
    std::string name_;
    std::function<bool(long)> truncate_;
    long position_ = 0;
    int error_ = 0;
};
