#include "modules/lossless/FlacMetadata.h"

#include <cstring>
#include <strings.h>

namespace {

enum BlockType { kStreamInfo = 0, kVorbisComment = 4, kCueSheet = 5 };
constexpr int kMaxBlocks = 1024;  // real files have a handful
// A block's length is 24 bits: at most 16 MB, read only for the two
// blocks wanted.
constexpr std::size_t kMaxBlockBytes = 1u << 24;

// The value of the first CUESHEET=... comment, or "".
std::string CueSheetComment(const std::vector<unsigned char>& block)
{
    std::size_t at = 0;
    auto next = [&](std::uint32_t& value) {
        if (block.size() - at < 4)
            return false;
        value = LittleEndian32(block.data() + at);
        at += 4;
        return true;
    };
    std::uint32_t vendor = 0, count = 0;
    if (!next(vendor) || vendor > block.size() - at)
        return {};
    at += vendor;
    if (!next(count))
        return {};
    static constexpr char kName[] = "CUESHEET=";
    constexpr std::size_t kNameLength = sizeof kName - 1;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t length = 0;
        if (!next(length) || length > block.size() - at)
            return {};
        const char* text = reinterpret_cast<const char*>(block.data() + at);
        if (length >= kNameLength && strncasecmp(text, kName, kNameLength) == 0)
            return std::string(text + kNameLength, length - kNameLength);
        at += length;
    }
    return {};
}

}  // namespace

bool ReadFlacSheetSources(BoundedFile& file, std::int64_t offset, FlacSheetSources& out)
{
    std::vector<unsigned char> bytes;
    if (!file.Read(offset, 4, bytes) || std::memcmp(bytes.data(), "fLaC", 4) != 0)
        return false;
    std::int64_t at = offset + 4;
    for (int i = 0; i < kMaxBlocks; ++i) {
        if (!file.Read(at, 4, bytes))
            break;
        bool last = bytes[0] & 0x80;
        int type = bytes[0] & 0x7F;
        std::size_t length = std::size_t(bytes[1]) << 16 | std::size_t(bytes[2]) << 8 | bytes[3];
        at += 4;
        if (type == kStreamInfo && file.Read(at, 18, bytes) && length >= 18)
            out.sampleRate = std::uint32_t(bytes[10]) << 12 | std::uint32_t(bytes[11]) << 4 | bytes[12] >> 4;
        else if (type == kCueSheet && out.cueSheetBlock.empty())
            file.Read(at, length, out.cueSheetBlock, kMaxBlockBytes);
        else if (type == kVorbisComment && out.cueSheetComment.empty() && file.Read(at, length, bytes, kMaxBlockBytes))
            out.cueSheetComment = CueSheetComment(bytes);
        at += static_cast<std::int64_t>(length);
        if (last || type == 0x7F)
            break;  // 127 is invalid: what follows is no metadata
    }
    return true;
}
