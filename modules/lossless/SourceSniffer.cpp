#include "modules/lossless/SourceSniffer.h"

#include "platform/core/Files.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Enough for every signature below behind a few ID3v2 tags of ordinary
// size; a tag larger than this (cover art) is stepped over by seeking.
constexpr std::size_t kHeadBytes = 64;
constexpr int kMaxId3Tags = 4;

bool At(const unsigned char* bytes, std::size_t size, std::size_t at, const char* magic)
{
    std::size_t n = std::strlen(magic);
    return size >= at + n && std::memcmp(bytes + at, magic, n) == 0;
}

// The whole length of an ID3v2 tag starting at `bytes`, 0 when there is none.
std::size_t Id3v2Length(const unsigned char* bytes, std::size_t size)
{
    if (size < 10 || !At(bytes, size, 0, "ID3") || bytes[3] == 0xFF || bytes[4] == 0xFF)
        return 0;
    std::size_t body = 0;
    for (int i = 6; i < 10; ++i) {
        if (bytes[i] & 0x80)
            return 0;  // sizes are 7 bits a byte
        body = body << 7 | bytes[i];
    }
    bool footer = bytes[5] & 0x10;
    return 10 + body + (footer ? 10 : 0);
}

SourceKind FrameSync(const unsigned char* b, std::size_t size)
{
    if (size < 2 || b[0] != 0xFF || (b[1] & 0xE0) != 0xE0)
        return SourceKind::Unknown;
    int layer = (b[1] >> 1) & 3;
    if (layer == 0)
        return (b[1] & 0xF0) == 0xF0 ? SourceKind::Adts : SourceKind::Unknown;
    int version = (b[1] >> 3) & 3;
    return version == 1 ? SourceKind::Unknown : SourceKind::MpegAudio;  // 1 is reserved
}

}  // namespace

SourceKind SniffBytes(const unsigned char* b, std::size_t size)
{
    if (size == 0)
        return SourceKind::Unreadable;
    if (At(b, size, 0, "MAC "))
        return SourceKind::Ape;
    if (At(b, size, 0, "fLaC"))
        return SourceKind::Flac;
    if (At(b, size, 0, "wvpk"))
        return SourceKind::WavPack;
    if (At(b, size, 0, "TTA1"))
        return SourceKind::Tta;
    if ((At(b, size, 0, "RIFF") || At(b, size, 0, "RF64") || At(b, size, 0, "BW64")) && At(b, size, 8, "WAVE"))
        return SourceKind::Wave;
    if (At(b, size, 0, "riff") && At(b, size, 24, "wave"))
        return SourceKind::Wave64;
    if (At(b, size, 0, "FORM") && (At(b, size, 8, "AIFF") || At(b, size, 8, "AIFC")))
        return SourceKind::Aiff;
    if (At(b, size, 4, "ftyp"))
        return SourceKind::Mp4;
    if (At(b, size, 0, "caff"))
        return SourceKind::Caf;
    if (At(b, size, 0, "tBaK"))
        return SourceKind::Tak;
    if (At(b, size, 0, "OggS"))
        return SourceKind::Ogg;
    if (At(b, size, 0, "\x1A\x45\xDF\xA3"))
        return SourceKind::Matroska;
    return FrameSync(b, size);
}

SourceKind SniffFile(const std::wstring& path)
{
    FILE* file = win::_wfopen(path.c_str(), L"rb");
    if (!file)
        return SourceKind::Unreadable;
    std::vector<unsigned char> head(kHeadBytes);
    long offset = 0;
    std::size_t got = 0;
    for (int tags = 0; tags <= kMaxId3Tags; ++tags) {
        if (std::fseek(file, offset, SEEK_SET) != 0) {
            got = 0;
            break;
        }
        got = std::fread(head.data(), 1, head.size(), file);
        std::size_t id3 = Id3v2Length(head.data(), got);
        if (id3 == 0 || id3 > (1u << 30))
            break;
        offset += static_cast<long>(id3);
    }
    std::fclose(file);
    if (got == 0)
        return offset > 0 ? SourceKind::Unknown : SourceKind::Unreadable;
    return SniffBytes(head.data(), got);
}

const char* DemuxerName(SourceKind kind)
{
    switch (kind) {
    case SourceKind::Ape: return "ape";
    case SourceKind::Flac: return "flac";
    case SourceKind::WavPack: return "wv";
    case SourceKind::Tta: return "tta";
    case SourceKind::Wave: return "wav";
    case SourceKind::Wave64: return "w64";
    case SourceKind::Aiff: return "aiff";
    case SourceKind::Mp4: return "mov";
    case SourceKind::Caf: return "caf";
    case SourceKind::Tak: return "tak";
    case SourceKind::Ogg: return "ogg";
    case SourceKind::Matroska: return "matroska";
    case SourceKind::MpegAudio: return "mp3";
    case SourceKind::Adts: return "aac";
    case SourceKind::Unknown:
    case SourceKind::Unreadable: break;
    }
    return nullptr;
}
