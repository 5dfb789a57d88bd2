#include "tags/TagStream.h"

#include <algorithm>
#include <cerrno>
#include <vector>

namespace {

// Audio moved to make room for a longer tag goes in pieces of this size.
constexpr long kMoveChunk = 1 << 20;

}  // namespace

TagStream::TagStream(std::FILE* file, std::string name, std::function<bool(long)> truncate)
    : file_(file), name_(std::move(name)), truncate_(std::move(truncate))
{
}

void TagStream::Fail()
{
    if (error_ == 0)
        error_ = errno ? errno : EIO;
}

// Every operation starts by placing the stdio stream itself: a switch
// between reading and writing needs a seek, and a pending write that fails
// is caught here.
bool TagStream::At(long position)
{
    errno = 0;
    if (error_ != 0 || position < 0 || fseeko(file_, position, SEEK_SET) != 0 || std::ferror(file_)) {
        Fail();
        return false;
    }
    return true;
}

TagLib::ByteVector TagStream::readBlock(unsigned long length)
{
    if (length == 0 || !At(position_))
        return {};
    long size = this->length();
    if (position_ >= size)
        return {};
    length = std::min<unsigned long>(length, static_cast<unsigned long>(size - position_));
    TagLib::ByteVector data(static_cast<unsigned int>(length), 0);
    if (!At(position_))
        return {};
    std::size_t got = std::fread(data.data(), 1, length, file_);
    if (got < length && std::ferror(file_))
        Fail();
    data.resize(static_cast<unsigned int>(got));
    position_ += static_cast<long>(got);
    return data;
}

void TagStream::writeBlock(const TagLib::ByteVector& data)
{
    if (data.isEmpty() || !At(position_))
        return;
    errno = 0;
    if (std::fwrite(data.data(), 1, data.size(), file_) != data.size() || std::fflush(file_) != 0) {
        Fail();
        return;
    }
    position_ += static_cast<long>(data.size());
}

void TagStream::MoveTail(long from, long to)
{
    long end = length();
    if (error_ != 0 || from == to)
        return;
    std::vector<char> buffer;
    auto copy = [&](long source, long size) {
        buffer.resize(static_cast<std::size_t>(size));
        if (!At(source) || std::fread(buffer.data(), 1, buffer.size(), file_) != buffer.size()) {
            Fail();
            return false;
        }
        errno = 0;
        if (!At(source - from + to) || std::fwrite(buffer.data(), 1, buffer.size(), file_) != buffer.size() ||
            std::fflush(file_) != 0) {
            Fail();
            return false;
        }
        return true;
    };
    if (to > from) {
        // Growing: from the end backwards, so nothing is overwritten unread.
        for (long stop = end; stop > from;) {
            long size = std::min(kMoveChunk, stop - from);
            if (!copy(stop - size, size))
                return;
            stop -= size;
        }
    } else {
        for (long start = from; start < end;) {
            long size = std::min(kMoveChunk, end - start);
            if (!copy(start, size))
                return;
            start += size;
        }
    }
}

void TagStream::insert(const TagLib::ByteVector& data, unsigned long start, unsigned long replace)
{
    const long at = static_cast<long>(start);
    const long grow = static_cast<long>(data.size()) - static_cast<long>(replace);
    if (grow < 0) {
        removeBlock(start + data.size(), static_cast<unsigned long>(-grow));
    } else if (grow > 0) {
        MoveTail(at + static_cast<long>(replace), at + static_cast<long>(data.size()));
    }
    position_ = at;
    writeBlock(data);
}

void TagStream::removeBlock(unsigned long start, unsigned long length)
{
    if (length == 0)
        return;
    long end = this->length();
    long from = static_cast<long>(start + length);
    MoveTail(std::min(from, end), static_cast<long>(start));
    truncate(std::max(static_cast<long>(start), end - static_cast<long>(length)));
}

void TagStream::seek(long offset, Position p)
{
    long base = p == Beginning ? 0 : p == Current ? position_ : length();
    position_ = std::max(0L, base + offset);
}

long TagStream::length()
{
    errno = 0;
    if (error_ != 0 || fseeko(file_, 0, SEEK_END) != 0) {
        Fail();
        return 0;
    }
    off_t size = ftello(file_);
    if (size < 0) {
        Fail();
        return 0;
    }
    return static_cast<long>(size);
}

void TagStream::truncate(long length)
{
    errno = 0;
    if (error_ == 0 && (length < 0 || !truncate_ || !truncate_(length)))
        Fail();
}
