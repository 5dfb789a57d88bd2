#include "engine/AlbumGains.h"

#include "engine/OutputTags.h"

#include "platform/core/OutputFile.h"
#include "platform/core/PathParts.h"
#include "platform/core/Strings.h"

#include <cstdio>

namespace {

const wchar_t* const kNotWritten = L"the album gain was not written: ";

// A finished file, copied under a temporary name, retagged with `tags` and
// renamed over itself: the file under its name is always a whole one.
std::wstring Retag(const std::wstring& path, std::int32_t kind, const TagRecord& tags)
{
    std::FILE* in = std::fopen(win::ToUtf8(path).c_str(), "rb");
    if (!in)
        return L"cannot read " + path;
    win::OutputFile output;
    bool copied = output.Create(path);
    char buffer[1 << 16];
    while (copied) {
        std::size_t got = std::fread(buffer, 1, sizeof buffer, in);
        if (got == 0)
            break;
        copied = std::fwrite(buffer, 1, got, output.Stream()) == got;
    }
    copied = copied && !std::ferror(in);
    std::fclose(in);
    if (!copied) {
        std::string why = output.ErrorText();
        return L"could not be written" + (why.empty() ? std::wstring() : L": " + win::FromUtf8(why));
    }
    if (std::wstring why = TagOutput(tags, kind, output); !why.empty())
        return why;
    if (!output.Commit())
        return L"could not be written: " + win::FromUtf8(output.ErrorText());
    return {};
}

}  // namespace

AlbumGains::AlbumGains(const RowTable& rows)
{
    std::vector<const ConversionItem*> untitled;
    for (const auto& [key, item] : rows) {
        if (!item || !item->marked)
            continue;
        AlbumKey album{std::wstring(DirectoryOf(item->sourcePath)), item->tags.Get("ALBUM")};
        if (album.second.empty())
            untitled.push_back(item);
        albumOf_[item] = album;
        ++albums_[album].rows;
    }
    for (const ConversionItem* item : untitled) {
        const std::wstring& folder = albumOf_[item].first;
        for (auto it = albums_.lower_bound({folder, L""}); it != albums_.end() && it->first.first == folder; ++it) {
            if (it->first.second.empty())
                continue;
            waitingFor_[item].push_back(it->first);
            ++it->second.rows;
        }
    }
}

void AlbumGains::Note(ConversionItem& item, const std::wstring& text)
{
    item.warning += item.warning.empty() ? text : L"; " + text;
}

void AlbumGains::RowOver(ConversionItem& item, std::unique_ptr<LoudnessMeter> meter, const TagRecord& tags)
{
    std::lock_guard guard(lock_);
    auto it = albumOf_.find(&item);
    if (it == albumOf_.end())
        return;
    if (auto waiting = waitingFor_.find(&item); waiting != waitingFor_.end()) {
        for (const AlbumKey& key : waiting->second) {
            Album& album = albums_[key];
            album.untitledFailed = album.untitledFailed || !meter;
            Heard(album);
        }
    }
    Album& album = albums_[it->second];
    album.failed = album.failed || !meter;
    album.over.push_back(Member{&item, std::move(meter), tags});
    Heard(album);
}

void AlbumGains::Heard(Album& album)
{
    if (++album.heard == album.rows)
        Settle(album);
}

void AlbumGains::Settle(Album& album)
{
    album.settled = true;
    if (album.failed || album.untitledFailed) {
        const wchar_t* why = album.failed ? L"another track of the album failed"
                                          : L"a track beside it whose album is not known failed";
        for (Member& member : album.over)
            if (member.meter)
                Note(*member.item, kNotWritten + std::wstring(why));
        return;
    }
    std::vector<const LoudnessMeter*> meters;
    double peak = 0.0;
    for (const Member& member : album.over) {
        meters.push_back(member.meter.get());
        peak = std::max(peak, member.meter->Peak());
    }
    const double loudness = LoudnessMeter::LoudnessOf(meters);
    for (Member& member : album.over) {
        // An untagged file gets no gains either: it is complete as it is.
        if (!member.item->writeTags) {
            member.item->albumGainWritten = true;
            continue;
        }
        TagRecord tags = member.tags;
        if (member.item->outputKind == kOutputOpus) {
            tags.Set("R128_ALBUM_GAIN", R128GainText(loudness));
        } else {
            tags.Set("REPLAYGAIN_ALBUM_GAIN", ReplayGainText(loudness));
            tags.Set("REPLAYGAIN_ALBUM_PEAK", PeakText(peak));
        }
        if (std::wstring why = Retag(member.item->outputPath, member.item->outputKind, tags); !why.empty())
            Note(*member.item, kNotWritten + why);
        else
            member.item->albumGainWritten = true;
    }
}

void AlbumGains::BatchOver()
{
    std::lock_guard guard(lock_);
    for (auto& [name, album] : albums_)
        if (!album.settled)
            for (Member& member : album.over)
                if (member.meter)
                    Note(*member.item, std::wstring(kNotWritten) + L"not every track of the album was converted");
}
