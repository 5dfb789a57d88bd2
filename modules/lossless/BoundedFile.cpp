#include "modules/lossless/BoundedFile.h"

#include "platform/core/Files.h"

BoundedFile::BoundedFile(const std::wstring& path) : file_(win::_wfopen(path.c_str(), L"rb"))
{
    if (file_ && fseeko(file_, 0, SEEK_END) == 0)
        size_ = ftello(file_);
    if (size_ < 0)
        size_ = 0;
}

BoundedFile::~BoundedFile()
{
    if (file_)
        std::fclose(file_);
}

bool BoundedFile::Read(std::int64_t offset, std::size_t count, std::vector<unsigned char>& out, std::size_t limit)
{
    out.clear();
    if (!file_ || count > limit || offset < 0 || offset > size_ ||
        static_cast<std::int64_t>(count) > size_ - offset)
        return false;
    if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0)
        return false;
    out.resize(count);
    if (count && std::fread(out.data(), 1, count, file_) != count) {
        out.clear();
        return false;
    }
    return true;
}
