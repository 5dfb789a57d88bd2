#include "tags/CoverArt.h"

#include "modules/lossless/SourceSniffer.h"
#include "tags/TagLibAccess.h"

#include "platform/core/PathParts.h"
#include "platform/core/RegularFile.h"
#include "platform/core/Strings.h"

#include <taglib/aifffile.h>
#include <taglib/apefile.h>
#include <taglib/apetag.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/wavfile.h>
#include <taglib/wavpackfile.h>

#include <algorithm>
#include <filesystem>
#include <optional>

using namespace tag_access;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

Bytes ToBytes(const TagLib::ByteVector& data) { return Bytes(data.begin(), data.end()); }

// An APEv2 picture item is the picture's file name, a NUL, then the image.
std::optional<Bytes> ApeCover(TagLib::APE::Tag* tag)
{
    if (!tag)
        return std::nullopt;
    const auto& items = tag->itemListMap();
    auto it = items.find("COVER ART (FRONT)");
    if (it == items.end())
        return std::nullopt;
    TagLib::ByteVector data = it->second.binaryData();
    int nul = data.find('\0');
    return nul < 0 ? ToBytes(data) : ToBytes(data.mid(static_cast<unsigned>(nul) + 1));
}

std::optional<Bytes> Id3Cover(TagLib::ID3v2::Tag* tag)
{
    if (!tag)
        return std::nullopt;
    for (auto* frame : tag->frameList("APIC"))
        if (auto* picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame*>(frame);
            picture && picture->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover)
            return ToBytes(picture->picture());
    return std::nullopt;
}

std::optional<Bytes> EmbeddedCover(const std::wstring& path)
{
    if (!win::RegularFileProblem(path).empty())
        return std::nullopt;
    SourceKind kind = SniffFile(path);
    auto tagLib = UseTagLib();
    const std::string name = FileNameOf(path);
    switch (kind) {
    case SourceKind::Ape: {
        TagLib::APE::File file(name.c_str(), false);
        if (!file.isValid())
            return std::nullopt;
        if (auto cover = ApeCover(file.APETag()))
            return cover;
        // Some taggers put an ID3v2 tag in front of the audio.
        file.seek(0);
        if (file.readBlock(3) != TagLib::ByteVector("ID3"))
            return std::nullopt;
        TagLib::ID3v2::Tag front(&file, 0);
        return Id3Cover(&front);
    }
    case SourceKind::WavPack: {
        TagLib::WavPack::File file(name.c_str(), false);
        return file.isValid() ? ApeCover(file.APETag()) : std::nullopt;
    }
    case SourceKind::Flac: {
        TagLib::FLAC::File file(name.c_str(), false);
        if (!file.isValid())
            return std::nullopt;
        for (auto* picture : file.pictureList())
            if (picture->type() == TagLib::FLAC::Picture::FrontCover)
                return ToBytes(picture->data());
        return std::nullopt;
    }
    case SourceKind::Wave: {
        TagLib::RIFF::WAV::File file(name.c_str(), false);
        return file.isValid() && file.hasID3v2Tag() ? Id3Cover(file.ID3v2Tag()) : std::nullopt;
    }
    case SourceKind::Aiff: {
        TagLib::RIFF::AIFF::File file(name.c_str(), false);
        return file.isValid() && file.hasID3v2Tag() ? Id3Cover(file.tag()) : std::nullopt;
    }
    default: return std::nullopt;
    }
}

bool IsImageName(const fs::path& path, const std::wstring& stem)
{
    std::wstring extension = path.extension().wstring();
    if (win::CompareNoCase(path.stem().wstring(), stem) != 0)
        return false;
    for (const wchar_t* known : {L".jpg", L".jpeg", L".png"})
        if (win::CompareNoCase(extension, known) == 0)
            return true;
    return false;
}

// The image files of `folder` named after `stems`, in the order of `stems`
// (and by name among those of one stem).
std::vector<fs::path> CandidateFiles(const fs::path& folder, const std::vector<std::wstring>& stems)
{
    std::vector<fs::path> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.is_regular_file(ec))
            names.push_back(entry.path());
    std::sort(names.begin(), names.end());
    std::vector<fs::path> found;
    for (const auto& stem : stems)
        for (const auto& name : names)
            if (IsImageName(name, stem) && std::find(found.begin(), found.end(), name) == found.end())
                found.push_back(name);
    return found;
}

std::optional<Bytes> ReadImageFile(const fs::path& path, std::string& why)
{
    std::error_code ec;
    auto size = fs::file_size(path, ec);
    if (ec) {
        why = ec.message();
        return std::nullopt;
    }
    if (size > kMaxCoverBytes) {
        why = "larger than 16 MB";
        return std::nullopt;
    }
    std::FILE* file = win::OpenRegularStream(win::FromUtf8(path.string()), &why);
    if (!file)
        return std::nullopt;
    Bytes data(static_cast<std::size_t>(size));
    bool read = std::fread(data.data(), 1, data.size(), file) == data.size();
    std::fclose(file);
    if (!read) {
        why = "cannot be read";
        return std::nullopt;
    }
    return data;
}

void Warn(CoverArt& art, const std::wstring& what, const std::string& why)
{
    if (!art.warning.empty())
        art.warning += L"; ";
    art.warning += L"cover " + what + L" skipped: " + win::FromUtf8(why);
}

}  // namespace

CoverArt FindCoverArt(const std::wstring& audioPath, const std::wstring& folderOf, const std::wstring& albumTitle)
{
    CoverArt art;
    std::string why;
    if (auto embedded = EmbeddedCover(audioPath)) {
        if (auto picture = CheckCoverImage(std::move(*embedded), why)) {
            art.picture = std::make_shared<const CoverPicture>(std::move(*picture));
            return art;
        }
        Warn(art, L"picture in " + std::wstring(::FileNameOf(std::wstring_view(audioPath))), why);
    }
    std::vector<std::wstring> stems{L"cover", L"folder", L"front"};
    if (!albumTitle.empty())
        stems.push_back(albumTitle);
    fs::path folder = fs::path(win::ToUtf8(std::wstring(DirectoryOf(folderOf))));
    if (folder.empty())
        folder = ".";
    for (const fs::path& candidate : CandidateFiles(folder, stems)) {
        auto data = ReadImageFile(candidate, why);
        if (data)
            if (auto picture = CheckCoverImage(std::move(*data), why)) {
                art.picture = std::make_shared<const CoverPicture>(std::move(*picture));
                return art;
            }
        Warn(art, win::FromUtf8(candidate.filename().string()), why);
    }
    return art;
}
