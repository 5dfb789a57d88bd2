#include "tags/TagFiles.h"

#include "tags/ApeTagItems.h"
#include "tags/TagLibAccess.h"
#include "tags/TagStream.h"

#include "platform/core/Files.h"
#include "platform/core/OutputFile.h"
#include "platform/core/RegularFile.h"
#include "platform/core/Strings.h"

#include <taglib/apefile.h>
#include <taglib/apeitem.h>
#include <taglib/apetag.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mpegfile.h>
#include <taglib/opusfile.h>
#include <taglib/tpropertymap.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <mutex>
#include <unistd.h>

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
            info.setFieldText(id, ToTagString(WithoutNuls(value)));
    }
}

TagLib::ByteVector PictureBytes(const CoverPicture& cover)
{
    return TagLib::ByteVector(reinterpret_cast<const char*>(cover.data.data()), static_cast<unsigned>(cover.data.size()));
}

// FLAC's picture block; Opus carries the same block in its comments.
std::unique_ptr<TagLib::FLAC::Picture> FlacPicture(const CoverPicture& cover)
{
    auto picture = std::make_unique<TagLib::FLAC::Picture>();
    picture->setType(TagLib::FLAC::Picture::FrontCover);
    picture->setMimeType(cover.mime);
    picture->setWidth(cover.width);
    picture->setHeight(cover.height);
    picture->setColorDepth(cover.depth);
    picture->setData(PictureBytes(cover));
    return picture;
}

std::wstring Unwritable(const std::wstring& what) { return L"could not write the tags: " + what; }

}  // namespace

// The APEv2 tag's text items under the common names TagLib gives them
// ("Year" is DATE, "Track" TRACKNUMBER), decoded by ReadApeTagItems.
TagLib::PropertyMap ApeProperties(const std::wstring& path)
{
    std::FILE* stream = win::OpenRegularStream(path);
    if (!stream)
        return {};
    std::vector<ApeTagItem> items = ReadApeTagItems(stream);
    std::fclose(stream);
    TagLib::APE::Tag tag;
    for (const auto& item : items) {
        TagLib::StringList values;
        for (const auto& value : item.values)
            values.append(ToTagString(value));
        TagLib::String key(item.key, TagLib::String::Latin1);
        tag.setItem(key, TagLib::APE::Item(key, values));
    }
    return tag.properties();
}

TagRecord ReadApeTags(const std::wstring& path)
{
    // TagLib would wait for ever in its open for a FIFO's writer.
    if (!win::RegularFileProblem(path).empty())
        return {};
    auto tagLib = UseTagLib();
    TagLib::APE::File file(FileNameOf(path).c_str(), false);
    if (!file.isValid())
        return {};
    TagRecord tags = FromPropertyMap(ApeProperties(path));
    // What the APEv2 tag does not have, an ID3v1 tag at the end may.
    tags.FillFrom(FromPropertyMap(file.properties()));
    // Some taggers put an ID3v2 tag in front of the audio; TagLib's APE
    // reader steps over it without reading it.
    file.seek(0);
    if (file.readBlock(3) == TagLib::ByteVector("ID3")) {
        TagLib::ID3v2::Tag front(&file, 0);
        tags.FillFrom(FromPropertyMap(front.properties()));
    }
    return tags;
}

namespace {

std::wstring LowerFirst(std::string text)
{
    if (text.size() > 1 && text[0] >= 'A' && text[0] <= 'Z' && !(text[1] >= 'A' && text[1] <= 'Z'))
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return win::FromUtf8(text);
}

// The result of a save through `stream`: a failed write is what the user
// needs to hear about ("could not be written: no space left on device"),
// whatever TagLib made of it.
std::wstring SaveResult(bool saved, const TagStream& stream, std::string writerError)
{
    if (!writerError.empty())
        return L"could not be written: " + LowerFirst(writerError);
    if (stream.Error() != 0)
        return L"could not be written: " + LowerFirst(std::strerror(stream.Error()));
    return saved ? std::wstring() : Unwritable(L"saving failed");
}

std::wstring SaveMp3Tags(TagStream& stream, const TagRecord& tags, const std::function<std::string()>& writerError)
{
    auto tagLib = UseTagLib();
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    if (!file.isValid())
        return stream.Error() || !writerError().empty() ? SaveResult(false, stream, writerError())
                                                        : Unwritable(L"the file is not a readable MP3 file");
    TagLib::PropertyMap map = ToPropertyMap(tags);
    file.ID3v2Tag(true)->setProperties(map);
    file.ID3v1Tag(true)->setProperties(map);
    // A file tagged again (with its album's gain) keeps one picture.
    file.ID3v2Tag()->removeFrames("APIC");
    if (tags.cover) {
        auto* frame = new TagLib::ID3v2::AttachedPictureFrame;
        frame->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
        frame->setMimeType(tags.cover->mime);
        frame->setPicture(PictureBytes(*tags.cover));
        file.ID3v2Tag()->addFrame(frame);
    }
    bool saved = file.save(TagLib::MPEG::File::ID3v1 | TagLib::MPEG::File::ID3v2, TagLib::File::StripOthers,
                           TagLib::ID3v2::v4, TagLib::File::DoNotDuplicate);
    return SaveResult(saved, stream, writerError());
}

std::wstring SaveWavTags(TagStream& stream, const TagRecord& tags, const std::function<std::string()>& writerError)
{
    auto tagLib = UseTagLib();
    TagLib::RIFF::WAV::File file(&stream, false);
    file.seek(0);
    TagLib::ByteVector header = file.readBlock(12);
    if (!file.isValid() || !header.startsWith("RIFF") || header.mid(8, 4) != "WAVE")
        return stream.Error() || !writerError().empty() ? SaveResult(false, stream, writerError())
                                                        : Unwritable(L"the file is not a readable WAV file");
    file.ID3v2Tag()->setProperties(ToPropertyMap(tags));
    FillInfoTag(*file.InfoTag(), tags);
    bool saved = file.save(TagLib::RIFF::WAV::File::AllTags, TagLib::File::StripOthers, TagLib::ID3v2::v4);
    return SaveResult(saved, stream, writerError());
}

// Vorbis comments keep "3/10" as TRACKNUMBER=3 and TRACKTOTAL=10 (and
// the disc the same way), the form their readers look for.
TagLib::PropertyMap XiphProperties(const TagRecord& tags)
{
    TagLib::PropertyMap map = ToPropertyMap(tags);
    for (const char* field : {"TRACK", "DISC"}) {
        TagLib::String number = TagLib::String(field) + "NUMBER", total = TagLib::String(field) + "TOTAL";
        if (!map.contains(number) || map[number].isEmpty())
            continue;
        TagLib::String value = map[number].front();
        int slash = value.find("/");
        if (slash < 0)
            continue;
        map.replace(number, TagLib::StringList(value.substr(0, static_cast<unsigned>(slash))));
        if (!map.contains(total) && static_cast<unsigned>(slash) + 1 < value.size())
            map.replace(total, TagLib::StringList(value.substr(static_cast<unsigned>(slash) + 1)));
    }
    return map;
}

// Vorbis comments, the only tag FLAC readers are sure to read; an ID3 tag
// some tool put in front of or behind the stream goes.
std::wstring SaveFlacTags(TagStream& stream, const TagRecord& tags, const std::function<std::string()>& writerError)
{
    auto tagLib = UseTagLib();
    TagLib::FLAC::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    if (!file.isValid())
        return stream.Error() || !writerError().empty() ? SaveResult(false, stream, writerError())
                                                        : Unwritable(L"the file is not a readable FLAC file");
    file.xiphComment(true)->setProperties(XiphProperties(tags));
    file.removePictures();
    if (tags.cover)
        file.addPicture(FlacPicture(*tags.cover).release());
    file.strip(TagLib::FLAC::File::ID3v1 | TagLib::FLAC::File::ID3v2);
    return SaveResult(file.save(), stream, writerError());
}

std::wstring SaveOpusTags(TagStream& stream, const TagRecord& tags, const std::function<std::string()>& writerError)
{
    auto tagLib = UseTagLib();
    TagLib::Ogg::Opus::File file(&stream, false);
    if (!file.isValid() || !file.tag())
        return stream.Error() || !writerError().empty() ? SaveResult(false, stream, writerError())
                                                        : Unwritable(L"the file is not a readable Opus file");
    file.tag()->setProperties(XiphProperties(tags));
    file.tag()->removeAllPictures();
    if (tags.cover)
        file.tag()->addPicture(FlacPicture(*tags.cover).release());
    return SaveResult(file.save(), stream, writerError());
}

using Saver = std::wstring (*)(TagStream&, const TagRecord&, const std::function<std::string()>&);

std::wstring SaveInOutput(win::OutputFile& output, const TagRecord& tags, Saver save)
{
    if (tags.Empty())
        return {};
    if (!output.Stream())
        return Unwritable(L"the file is not open");
    TagStream stream(output.Stream(), win::ToUtf8(output.TemporaryPath()),
                     [&output](long length) { return output.Truncate(static_cast<std::uint64_t>(length)); });
    std::wstring result = save(stream, tags, [&output] { return output.ErrorText(); });
    // Whatever was left in the stream's buffer meets the disk now, not
    // later in a commit that could no longer be told apart from the tags.
    if (result.empty() && std::fflush(output.Stream()) != 0)
        result = SaveResult(false, stream, output.ErrorText().empty() ? "input/output error" : output.ErrorText());
    return result;
}

std::wstring SaveInPlace(const std::wstring& path, const TagRecord& tags, Saver save)
{
    if (tags.Empty())
        return {};
    int fd = win::OpenRegularFile(path);
    if (fd < 0)
        return Unwritable(L"the file cannot be read");
    close(fd);
    std::FILE* file = std::fopen(FileNameOf(path).c_str(), "r+b");
    if (!file)
        return Unwritable(L"the file cannot be written");
    TagStream stream(file, FileNameOf(path), [file](long length) {
        return std::fflush(file) == 0 && ftruncate(fileno(file), length) == 0;
    });
    std::wstring result = save(stream, tags, [] { return std::string(); });
    errno = 0;
    if (std::fclose(file) != 0 && result.empty())
        result = L"could not be written: " + LowerFirst(std::strerror(errno ? errno : EIO));
    return result;
}

}  // namespace

std::wstring WriteMp3Tags(win::OutputFile& output, const TagRecord& tags)
{
    return SaveInOutput(output, tags, SaveMp3Tags);
}

std::wstring WriteWavTags(win::OutputFile& output, const TagRecord& tags)
{
    return SaveInOutput(output, tags, SaveWavTags);
}

std::wstring WriteFlacTags(win::OutputFile& output, const TagRecord& tags)
{
    return SaveInOutput(output, tags, SaveFlacTags);
}

std::wstring WriteOpusTags(win::OutputFile& output, const TagRecord& tags)
{
    return SaveInOutput(output, tags, SaveOpusTags);
}

std::wstring WriteMp3Tags(const std::wstring& path, const TagRecord& tags)
{
    return SaveInPlace(path, tags, SaveMp3Tags);
}

std::wstring WriteWavTags(const std::wstring& path, const TagRecord& tags)
{
    return SaveInPlace(path, tags, SaveWavTags);
}

TagRecord ReadTags(const std::wstring& path)
{
    if (!win::RegularFileProblem(path).empty())
        return {};
    auto tagLib = UseTagLib();
    TagLib::FileRef file(FileNameOf(path).c_str(), false);
    if (file.isNull())
        return {};
    return FromPropertyMap(file.file()->properties());
}
