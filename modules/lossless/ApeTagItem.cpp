#include "modules/lossless/ApeTagItem.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace {

constexpr std::size_t kFooterBytes = 32;
constexpr std::size_t kId3v1Bytes = 128;
constexpr std::size_t kMaxKeyBytes = 255;
constexpr std::uint32_t kMaxItems = 1u << 16;
constexpr std::size_t kMaxValueBytes = 1u << 20;  // an album's sheet is a few kilobytes

// Where the footer ("APETAGEX") stands, -1 when there is none.
std::int64_t FooterOffset(BoundedFile& file)
{
    std::vector<unsigned char> bytes;
    std::int64_t end = file.Size();
    if (file.Read(end - std::int64_t(kId3v1Bytes), 3, bytes) && std::memcmp(bytes.data(), "TAG", 3) == 0)
        end -= kId3v1Bytes;
    std::int64_t footer = end - std::int64_t(kFooterBytes);
    if (!file.Read(footer, 8, bytes) || std::memcmp(bytes.data(), "APETAGEX", 8) != 0)
        return -1;
    return footer;
}

}  // namespace

std::string ReadApeTagItem(BoundedFile& file, const char* key)
{
    std::int64_t footer = FooterOffset(file);
    std::vector<unsigned char> bytes;
    if (footer < 0 || !file.Read(footer, kFooterBytes, bytes))
        return {};
    std::uint32_t tagBytes = LittleEndian32(bytes.data() + 12);  // items and footer
    std::uint32_t items = LittleEndian32(bytes.data() + 16);
    if (tagBytes < kFooterBytes || std::int64_t(tagBytes - kFooterBytes) > footer)
        return {};
    std::int64_t at = footer - (tagBytes - kFooterBytes);
    std::size_t keyLength = std::strlen(key);
    for (std::uint32_t i = 0; i < items && i < kMaxItems && at < footer; ++i) {
        std::size_t head = static_cast<std::size_t>(std::min<std::int64_t>(8 + kMaxKeyBytes + 1, footer - at));
        if (head < 9 || !file.Read(at, head, bytes))
            return {};
        std::uint32_t valueBytes = LittleEndian32(bytes.data());
        std::uint32_t flags = LittleEndian32(bytes.data() + 4);
        const char* name = reinterpret_cast<const char*>(bytes.data() + 8);
        const void* nul = std::memchr(name, 0, head - 8);
        if (!nul)
            return {};
        std::size_t nameLength = static_cast<const char*>(nul) - name;
        std::int64_t value = at + 8 + std::int64_t(nameLength) + 1;
        if (valueBytes > footer - value)
            return {};
        bool text = ((flags >> 1) & 3) == 0;
        if (text && nameLength == keyLength && strncasecmp(name, key, keyLength) == 0) {
            if (!file.Read(value, valueBytes, bytes, kMaxValueBytes))
                return {};
            return std::string(bytes.begin(), bytes.end());
        }
        at = value + valueBytes;
    }
    return {};
}
