#include "rows/ConversionList.h"

#include "rows/FileInfoThread.h"
#include "rows/OutputNaming.h"
#include "rows/StatusTexts.h"
#include "settings/SettingsCheck.h"
#include "platform/core/PathParts.h"
#include "cue/CueTags.h"
#include "tags/SourceTags.h"

#include "platform/core/Strings.h"
#include "platform/messaging/Thread.h"

#include <cmath>
#include <memory>

namespace {

// Track times are single-precision seconds; 17.6 s is stored as
// 17.6000004 s. Rounding to the microsecond drops that noise, so a 6 s
// track is not shown as 5 s and row boundaries fall on whole milliseconds
// where the sheet meant them to.
double Milliseconds(float seconds) { return std::round(static_cast<double>(seconds) * 1e6) / 1e3; }

// What of an image's own tags may complete its tracks' tags: what describes
// the album, never what names one track.
TagRecord ImageFieldsForTracks(TagRecord image)
{
    for (const char* own : {"TITLE", "TRACKNUMBER", "TRACKTOTAL", "ISRC", "REPLAYGAIN_TRACK_GAIN",
                            "REPLAYGAIN_TRACK_PEAK", "LYRICS", "CUESHEET"})
        image.fields.erase(own);
    return image;
}

std::wstring ImageNote(const CueTrack& track)
{
    return track.imagePath + L" (" + ImageFoundText(track.imageFound) + L")";
}

}  // namespace

ConversionList::~ConversionList() { Clear(); }

void ConversionList::Clear()
{
    for (auto& [key, record] : rows_)
        delete record;
    rows_.clear();
}

std::int32_t ConversionList::NextKey() const { return rows_.empty() ? 0 : rows_.rbegin()->first + 1; }

ConversionItem* ConversionList::Find(std::int32_t key) const
{
    auto it = rows_.find(key);
    return it == rows_.end() ? nullptr : it->second;
}

void ConversionList::Show(ConversionItem* record, const std::wstring& name)
{
    rows_[record->rowKey] = record;
    list_.ListAddItem(name, record->rowKey);
    list_.ListSetItemInfo(DurationText(record->lengthMs), record->rowKey);
    // A new row is unchecked: the click toggles it on.
    list_.ListSetItemState(kItemToggleCheck, record->rowKey);
}

std::unique_ptr<ConversionItem> ConversionList::Probe(const std::wstring& path)
{
    auto probe = std::make_unique<ConversionItem>();
    probe->SetPath(path);
    if (win::HANDLE thread = win::CreateThread(nullptr, 0, FileInfoThread, probe.get(), 0, nullptr)) {
        win::WaitForSingleObject(thread, win::INFINITE);
        win::CloseHandle(thread);
    }
    return probe;
}

void ConversionList::AddFile(std::unique_ptr<ConversionItem> probe, std::int32_t key)
{
    std::wstring name(FileNameOf(probe->sourcePath));
    probe->rowKey = key;
    probe->startMs = 0.0;
    probe->endMs = probe->lengthMs;
    Show(probe.release(), name);
}

int ConversionList::Add(const std::wstring& path) { return AddProbed(Probe(path)); }

int ConversionList::AddProbed(std::unique_ptr<ConversionItem> probe)
{
    std::int32_t key = NextKey();
    if (probe->cueTrack)
        return AddTracks(*probe, key);
    AddFile(std::move(probe), key);
    return 1;
}

int ConversionList::AddWhole(const std::wstring& path)
{
    std::int32_t key = NextKey();
    auto probe = Probe(path);
    if (probe->cueTrack) {
        // The tags of the image itself: the added .ape, or the one the sheet names.
        auto dot = path.rfind(L'.');
        bool sheet = dot != std::wstring::npos && win::CompareNoCase(path.substr(dot + 1), L"cue") == 0;
        probe->tags = ReadSourceTags(sheet && !probe->cueTracks.empty() ? probe->cueTracks.front()->imagePath : path);
        if (!probe->cueTracks.empty())
            probe->tags.FillFrom(AlbumTags(probe->cueTracks.front()->tags));
        probe->cueTrack = 0;
        probe->cueTracks.clear();
    }
    AddFile(std::move(probe), key);
    return 1;
}

int ConversionList::AddTracks(const ConversionItem& probe, std::int32_t key)
{
    int added = 0;
    // A sheet with one image keeps its rows on the path that was added; the
    // tracks of a sheet with several are each decoded from their own image.
    bool ownImages = SpansSeveralImages(probe.cueTracks);
    for (const auto& track : probe.cueTracks) {
        auto* record = new ConversionItem;
        record->SetPath(ownImages ? track->imagePath : probe.sourcePath);
        record->startMs = Milliseconds(track->start);
        record->endMs = Milliseconds(track->end);
        record->startFrames = track->startFrames;
        record->endFrames = track->endFrames;
        record->tags = track->tags;
        record->tags.FillFrom(ImageFieldsForTracks(probe.tags));
        record->problem = track->problem;
        record->rawImage = RawImageOf(*track);
        record->imageNote = ImageNote(*track);
        record->outputPath = SafeTrackFileName(track->title, track->number);
        record->rowKey = key++;
        record->cueTrack = 1;
        auto image = probe.imageLengths.find(track->imagePath);
        double imageLength = ownImages && image != probe.imageLengths.end() ? image->second : probe.lengthMs;
        double length = record->endMs > record->startMs ? record->endMs - record->startMs
                                                        : imageLength - record->startMs;
        record->lengthMs = length > 0 ? static_cast<std::uint32_t>(static_cast<std::int64_t>(length)) : 0;
        Show(record, track->title);
        ++added;
    }
    return added;
}

void ConversionList::RemoveChecked()
{
    // Each removal takes the first checked row; the one after it is found
    // from where that one was, not from the top again, so thousands of
    // rows go in one pass.
    std::int32_t key = list_.ListFindFirstChecked();
    while (key != -1) {
        std::int32_t next = list_.ListFindNextChecked(key);
        // A list that reports a row it cannot remove would keep us here.
        if (!list_.ListRemoveItem(key))
            return;
        if (auto it = rows_.find(key); it != rows_.end()) {
            delete it->second;
            rows_.erase(it);
        }
        key = next;
    }
}

void ConversionList::MarkChecked()
{
    for (auto& [key, record] : rows_)
        record->marked = 0;
    for (std::int32_t key = list_.ListFindFirstChecked(); key != -1; key = list_.ListFindNextChecked(key))
        if (ConversionItem* record = Find(key))
            record->marked = 1;
}

void ConversionList::PrepareOutputs(std::int32_t outputKind, const std::wstring& outputDirectory)
{
    const wchar_t* extension = OutputExtension(outputKind);
    // A stored folder that cannot be used is no folder: beside each source.
    const std::wstring folder = OutputFolderProblem(outputDirectory).empty() ? outputDirectory : L"";
    for (auto& [key, record] : rows_) {
        record->outputKind = outputKind;
        record->outputPath = OutputPathFor(*record, extension, folder);
    }
}

void ConversionList::SetWavBesideSource()
{
    for (auto& [key, record] : rows_)
        record->outputKind = kOutputWavBesideSource;
}
