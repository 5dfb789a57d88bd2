#include "tags/TagFiles.h"

#include "tags/TagLibAccess.h"

#include "platform/core/Files.h"
#include "platform/core/Strings.h"

#include <taglib/apefile.h>
#include <taglib/fileref.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>
#include <taglib/wavfile.h>

#include <mutex>

namespace {

using namespace tag_access;

// The INFO fields that players show, from the record's common names.
void FillInfoTag(TagLib::RIFF::Info::Tag& info, const TagRecord& tags)
{
    static const std::pair<const char*, const char*> kFields[] = {
        {"INAM", "TITLE"}, {"IART", "ARTIST"}, {"IPRD", "ALBUM"}, {"ICRD", "DATE"},
        {"IGNR", "GENRE"}, {"ICMT", "COMMENT"}, {"IPRT", "TRACKNUMBER"},
    };
    for (const auto& [id, name] : kFields) {
        std::wstring value = tags.Get(name);
        if (!value.empty())
            info.setFieldText(id, ToTagString(value));
    }
}

std::wstring Unwritable(const std::wstring& what) { return L"could not write the tags: " + what; }

}  // namespace

TagRecord ReadApeTags(const std::wstring& path)
{
    auto tagLib = UseTagLib();
    TagLib::APE::File file(FileNameOf(path).c_str(), false);
    if (!file.isValid())
        return {};
    TagRecord tags = FromPropertyMap(file.properties());
    // Some taggers put an ID3v2 tag in front of the audio; TagLib's APE
    // reader steps over it without reading it.
    file.seek(0);
    if (file.readBlock(3) == TagLib::ByteVector("ID3")) {
        TagLib::ID3v2::Tag front(&file, 0);
        tags.FillFrom(FromPropertyMap(front.properties()));
    }
    return tags;
}

std::wstring WriteMp3Tags(const std::wstring& path, const TagRecord& tags)
{
    if (tags.Empty())
        return {};
    auto tagLib = UseTagLib();
    TagLib::MPEG::File file(FileNameOf(path).c_str(), false);
    if (!file.isValid())
        return Unwritable(L"the file is not a readable MP3 file");
    if (file.readOnly())
        return Unwritable(L"the file cannot be written");
    TagLib::PropertyMap map = ToPropertyMap(tags);
    file.ID3v2Tag(true)->setProperties(map);
    file.ID3v1Tag(true)->setProperties(map);
    if (!file.save(TagLib::MPEG::File::ID3v1 | TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers,
                   TagLib::ID3v2::v4, TagLib::File::DoNotDuplicate))
        return Unwritable(L"saving failed");
    return {};
}

std::wstring WriteWavTags(const std::wstring& path, const TagRecord& tags)
{
    if (tags.Empty())
        return {};
    auto tagLib = UseTagLib();
    TagLib::RIFF::WAV::File file(FileNameOf(path).c_str(), false);
    file.seek(0);
    TagLib::ByteVector header = file.readBlock(12);
    if (!file.isValid() || !header.startsWith("RIFF") || header.mid(8, 4) != "WAVE")
        return Unwritable(L"the file is not a readable WAV file");
    if (file.readOnly())
        return Unwritable(L"the file cannot be written");
    file.ID3v2Tag()->setProperties(ToPropertyMap(tags));
    FillInfoTag(*file.InfoTag(), tags);
    if (!file.save(TagLib::RIFF::WAV::File::AllTags, TagLib::File::StripOthers, TagLib::ID3v2::v4))
        return Unwritable(L"saving failed");
    return {};
}

TagRecord ReadTags(const std::wstring& path)
{
    auto tagLib = UseTagLib();
    TagLib::FileRef file(FileNameOf(path).c_str(), false);
    if (file.isNull())
        return {};
    return FromPropertyMap(file.file()->properties());
}
