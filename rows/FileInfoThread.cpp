#include "rows/FileInfoThread.h"

#include "engine/ApeSource.h"
#include "engine/BrookSource.h"
#include "engine/ConversionItem.h"
#include "tags/SourceTags.h"

#include "platform/messaging/Message.h"
#include "platform/messaging/Thread.h"

namespace {

// The tracks of a sheet with several FILE entries end where their own
// image ends, so every image is measured.
void MeasureImages(ConversionItem& record)
{
    if (!SpansSeveralImages(record.cueTracks))
        return;
    for (const auto& track : record.cueTracks) {
        if (record.imageLengths.contains(track->imagePath))
            continue;
        ApeSource image;
        image.SetRawImage(RawImageOf(*track));
        std::uint32_t length = 0;
        if (image.Open(track->imagePath.c_str()))
            length = static_cast<std::uint32_t>(image.Info(APE_INFO_LENGTH_MS));
        record.imageLengths[track->imagePath] = length;
    }
}

void ReadApeInfo(ConversionItem& record)
{
    ApeSource source;
    bool opened = source.Open(record.sourcePath.c_str());
    // A sheet over several images lists its tracks even when its images
    // cannot be joined into one stream: each track is read from its own.
    const CueTrackList* tracks = source.CueTracks();
    if (!opened && !(tracks && SpansSeveralImages(*tracks)))
        return;
    if (source.HasCueSheet()) {
        record.cueTrack = 1;
        if (tracks)
            record.cueTracks = *tracks;
        MeasureImages(record);
        // The image's own tags, for what the sheet leaves empty.
        if (!record.cueTracks.empty())
            record.tags = ReadSourceTags(record.cueTracks.front()->imagePath);
    } else {
        record.tags = ReadSourceTags(record.sourcePath);
    }
    if (opened)
        record.lengthMs = static_cast<std::uint32_t>(source.Info(APE_INFO_LENGTH_MS));
}

void ReadRealMediaLength(ConversionItem& record)
{
    BrookSource brook;
    if (!brook.Load(L"Brook_R"))
        return;
    brook.Init(record.sourcePath, win::GetCurrentThreadId());
    brook.Run();
    win::MSG msg;
    while (win::GetMessage(&msg, nullptr, 0, 0) > 0) {
        switch (msg.message) {
        case BROOKM_LENGTH:
            record.lengthMs = static_cast<std::uint32_t>(msg.lParam);
            brook.Stop();
            brook.Release();
            return;
        case BROOKM_GIVEUP:
            brook.Release();
            return;
        }
        win::TranslateMessage(&msg);
        win::DispatchMessage(&msg);
    }
}

// A file that could not be read at all is still added; the row says why
// (its tip), so the person need not convert it to find out.
void NoteUnreadable(ConversionItem& record)
{
    if (record.lengthMs != 0 || record.cueTrack)
        return;
    ApeSource source;
    if (!source.Open(record.sourcePath.c_str()))
        record.failureReason = source.OpenError();
}

}  // namespace

win::DWORD FileInfoThread(void* parameter)
{
    auto* record = static_cast<ConversionItem*>(parameter);
    if (!record)
        return 0;
    switch (record->inputKind) {
    // A WAV file is decoded as the lossless formats are, so it is measured so.
    case kInputWav:
    case kInputApe:
        ReadApeInfo(*record);
        NoteUnreadable(*record);
        break;
    case kInputRealMedia: ReadRealMediaLength(*record); break;
    }
    return 0;
}
