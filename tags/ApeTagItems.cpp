#include "tags/ApeTagItems.h"

#include "platform/core/Strings.h"

#include <cstring>

namespace {

constexpr long kFooterBytes = 32;
// Far more than any tag without pictures; the pictures are binary items.
constexpr std::uint32_t kMaxTagBytes = 16 << 20;

std::uint32_t Le32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }

bool ReadAt(std::FILE* file, long offset, void* data, std::size_t size)
{
    return offset >= 0 && fseeko(file, offset, SEEK_SET) == 0 && std::fread(data, 1, size, file) == size;
}

// The footer's end: the end of the file, or the start of an ID3v1 tag.
long TagEnd(std::FILE* file)
{
    if (fseeko(file, 0, SEEK_END) != 0)
        return -1;
    long end = static_cast<long>(ftello(file));
    char id3v1[3];
    if (end >= 128 && ReadAt(file, end - 128, id3v1, 3) && std::memcmp(id3v1, "TAG", 3) == 0)
        end -= 128;
    return end;
}

}  // namespace

std::vector<ApeTagItem> ReadApeTagItems(std::FILE* file)
{
    std::vector<ApeTagItem> items;
    long end = TagEnd(file);
    unsigned char footer[kFooterBytes];
    if (end < kFooterBytes || !ReadAt(file, end - kFooterBytes, footer, sizeof footer) ||
        std::memcmp(footer, "APETAGEX", 8) != 0)
        return items;
    std::uint32_t size = Le32(footer + 12);  // items and footer
    std::uint32_t count = Le32(footer + 16);
    if (size < kFooterBytes || size > kMaxTagBytes || size > static_cast<std::uint32_t>(end))
        return items;
    std::string bytes(size - kFooterBytes, '\0');
    if (!ReadAt(file, end - static_cast<long>(size), bytes.data(), bytes.size()))
        return items;

    std::size_t at = 0;
    for (std::uint32_t i = 0; i < count && at + 8 < bytes.size(); ++i) {
        auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + at);
        std::uint32_t length = Le32(p);
        std::uint32_t flags = Le32(p + 4);
        std::size_t keyEnd = bytes.find('\0', at + 8);
        if (keyEnd == std::string::npos || length > bytes.size() - keyEnd - 1)
            break;  // damaged from here on
        ApeTagItem item{bytes.substr(at + 8, keyEnd - at - 8), {}};
        std::string_view value(bytes.data() + keyEnd + 1, length);
        at = keyEnd + 1 + length;
        if (((flags >> 1) & 3) != 0)
            continue;  // binary (a picture) or a link: not text
        for (std::size_t start = 0; start <= value.size();) {
            std::size_t nul = value.find('\0', start);
            if (nul == std::string_view::npos)
                nul = value.size();
            // UTF-8 when it is, else the Windows code page of old taggers.
            if (nul > start)
                item.values.push_back(win::FromAnsi(value.substr(start, nul - start)));
            start = nul + 1;
        }
        if (!item.values.empty())
            items.push_back(std::move(item));
    }
    return items;
}
