#include "tags/SourceTags.h"

#include "modules/lossless/SourceSniffer.h"
#include "tags/TagFiles.h"
#include "tags/TagLibAccess.h"

#include <taglib/aifffile.h>
#include <taglib/apetag.h>
#include <taglib/flacfile.h>
#include <taglib/mp4file.h>
#include <taglib/trueaudiofile.h>
#include <taglib/wavfile.h>
#include <taglib/wavpackfile.h>

using namespace tag_access;

namespace {

template <class File>
TagRecord Properties(const std::wstring& path)
{
    auto tagLib = UseTagLib();
    File file(FileNameOf(path).c_str(), false);
    return file.isValid() ? FromPropertyMap(file.properties()) : TagRecord{};
}

// TagLib reads ID3 in TTA files but not the APEv2 tag that most TTA
// encoders write at the end (before an ID3v1 tag when there is one).
TagRecord TrueAudioTags(const std::wstring& path)
{
    auto tagLib = UseTagLib();
    TagLib::TrueAudio::File file(FileNameOf(path).c_str(), false);
    if (!file.isValid())
        return {};
    TagRecord tags = FromPropertyMap(file.properties());
    long end = file.length();
    file.seek(end - 128);
    if (end >= 128 && file.readBlock(3) == TagLib::ByteVector("TAG"))
        end -= 128;
    file.seek(end - 32);
    if (end >= 32 && file.readBlock(8) == TagLib::ByteVector("APETAGEX")) {
        TagLib::APE::Tag ape(&file, end - 32);
        TagRecord apeTags = FromPropertyMap(ape.properties());
        apeTags.FillFrom(tags);
        tags = std::move(apeTags);
    }
    return tags;
}

TagRecord ByKind(const std::wstring& path)
{
    switch (SniffFile(path)) {
    case SourceKind::Ape: return ReadApeTags(path);
    case SourceKind::Flac: return Properties<TagLib::FLAC::File>(path);
    case SourceKind::WavPack: return Properties<TagLib::WavPack::File>(path);
    case SourceKind::Tta: return TrueAudioTags(path);
    case SourceKind::Wave: return Properties<TagLib::RIFF::WAV::File>(path);
    case SourceKind::Aiff: return Properties<TagLib::RIFF::AIFF::File>(path);
    case SourceKind::Mp4: return Properties<TagLib::MP4::File>(path);
    default: return {};
    }
}

}  // namespace

TagRecord ReadSourceTags(const std::wstring& path)
{
    TagRecord tags = ByKind(path);
    tags.fields.erase("CUESHEET");
    return tags;
}
