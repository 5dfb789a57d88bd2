#include "cue/CueTags.h"

#include "platform/core/Strings.h"

#include <cwchar>
#include <utility>

namespace {

std::wstring Remark(const std::map<std::wstring, std::wstring>& remarks, const wchar_t* name)
{
    auto it = remarks.find(name);
    return it == remarks.end() ? std::wstring() : it->second;
}

std::wstring OrElse(const std::wstring& value, const std::wstring& fallback)
{
    return value.empty() ? fallback : value;
}

// "n" or "n/total"; the number without leading zeros when it is one.
std::wstring Numbered(const std::wstring& number, const std::wstring& total)
{
    wchar_t* end = nullptr;
    long value = std::wcstol(number.c_str(), &end, 10);
    std::wstring text = !number.empty() && end && *end == L'\0' && value > 0 ? std::to_wstring(value) : number;
    if (text.empty() || total.empty())
        return text;
    return text + L"/" + total;
}

}  // namespace

void TagTracks(CueSheet& sheet)
{
    const auto& album = sheet.remarks;
    std::wstring total = std::to_wstring(sheet.tracks.size());
    for (auto& pointer : sheet.tracks) {
        CueTrack& track = *pointer;
        TagRecord& tags = track.tags;
        tags = TagRecord();
        tags.Set("TITLE", track.title);
        tags.Set("ARTIST", OrElse(track.performer, sheet.albumPerformer));
        tags.Set("ALBUM", sheet.albumTitle);
        tags.Set("ALBUMARTIST", sheet.albumPerformer);
        tags.Set("COMPOSER", OrElse(track.songwriter, sheet.songwriter));
        tags.Set("ISRC", track.isrc);
        tags.Set("TRACKNUMBER", Numbered(track.number, total));
        tags.Set("DATE", Remark(album, L"DATE"));
        tags.Set("GENRE", Remark(album, L"GENRE"));
        tags.Set("COMMENT", OrElse(Remark(track.remarks, L"COMMENT"), Remark(album, L"COMMENT")));
        tags.Set("DISCNUMBER", Numbered(Remark(album, L"DISCNUMBER"), Remark(album, L"TOTALDISCS")));
        for (const auto& [remarks, prefix] : {std::pair{&album, L"REPLAYGAIN_ALBUM_"},
                                              std::pair{&std::as_const(track.remarks), L"REPLAYGAIN_TRACK_"}})
            for (const auto& [name, value] : *remarks)
                if (name.starts_with(prefix))
                    tags.Set(win::ToUtf8(name), value);
    }
}

TagRecord AlbumTags(const TagRecord& trackTags)
{
    TagRecord album;
    for (const auto& [name, values] : trackTags.fields)
        if (name == "ALBUM" || name == "ALBUMARTIST" || name == "DATE" || name == "GENRE" || name == "DISCNUMBER" ||
            name.starts_with("REPLAYGAIN_ALBUM_"))
            album.fields[name] = values;
    album.Set("TITLE", trackTags.Get("ALBUM"));
    album.Set("ARTIST", trackTags.Get("ALBUMARTIST"));
    return album;
}
