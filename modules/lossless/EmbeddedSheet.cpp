#include "modules/lossless/EmbeddedSheet.h"

#include "modules/lossless/ApeTagItem.h"
#include "modules/lossless/BoundedFile.h"
#include "modules/lossless/FlacCueSheet.h"
#include "modules/lossless/FlacMetadata.h"
#include "platform/core/Files.h"
#include "platform/core/Strings.h"

#include <cstring>

namespace {

constexpr int kMaxId3Tags = 4;

// Where the audio starts: after any ID3v2 tags some taggers put in front.
std::int64_t AfterId3v2(BoundedFile& file)
{
    std::int64_t at = 0;
    std::vector<unsigned char> head;
    for (int i = 0; i < kMaxId3Tags && file.Read(at, 10, head) && std::memcmp(head.data(), "ID3", 3) == 0; ++i) {
        std::int64_t body = 0;
        for (int b = 6; b < 10; ++b)
            body = body << 7 | (head[b] & 0x7F);
        at += 10 + body + ((head[5] & 0x10) ? 10 : 0);
    }
    return at;
}

std::string FileNameOf(const std::wstring& path)
{
    return win::ToPath(path).filename().string();
}

}  // namespace

std::string EmbeddedCueSheet(const std::wstring& path)
{
    BoundedFile file(path);
    if (!file.IsOpen())
        return {};
    FlacSheetSources flac;
    if (ReadFlacSheetSources(file, AfterId3v2(file), flac)) {
        // The comment is a whole sheet, titles and all; the block has the
        // times alone.
        if (!flac.cueSheetComment.empty())
            return flac.cueSheetComment;
        std::string sheet = FlacCueSheetText(flac.cueSheetBlock, flac.sampleRate, FileNameOf(path));
        if (!sheet.empty())
            return sheet;
    }
    return ReadApeTagItem(file, "Cuesheet");
}
