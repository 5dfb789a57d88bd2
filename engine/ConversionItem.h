// One row of the conversion list: a whole file, or one track of an album
// image. Owned by the row table; the batch and its worker read it while a
// batch runs, so nobody frees or renames it in that time.
#pragma once

#include "cue/CueSheet.h"
#include "engine/ImageDecoder.h"
#include "platform/core/Types.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <string>

enum InputKind : std::int32_t {
    kInputWav = 0,
    kInputMp3 = 1,
    kInputApe = 2,  // .ape, .cue, or another lossless format the decoders read
    kInputRealMedia = 3,
    kInputOther = 5,
};

enum OutputKind : std::int32_t {
    kOutputWav = 0,
    kOutputMp3 = 1,
    kOutputFlac = 2,
    kOutputOpus = 3,
    kOutputWavBesideSource = 4,
};

class ConversionItem {
public:
    win::DWORD* threadIdSlot = nullptr;
    std::wstring sourcePath;
    std::int32_t inputKind = kInputRealMedia;
    std::wstring outputPath;
    std::int32_t outputKind = kOutputMp3;
    std::uint32_t lengthMs = 0;
    std::int32_t rowKey = -1;
    std::int32_t cueTrack = 0;
    // A CUE track's range in CD frames (1/75 s), which the cut follows to
    // the sample; startFrames -1: no such range, the milliseconds decide.
    // endFrames -1: to the end of the source.
    std::int64_t startFrames = -1;
    std::int64_t endFrames = -1;
    // What the output is tagged with; nothing is written when it is empty
    // or writeTags is off (the tags still name the output).
    TagRecord tags;
    bool writeTags = true;
    // Why the row cannot be converted, known when it was added (a sheet's
    // track without INDEX 01, say): it fails with this reason.
    std::wstring problem;
    // Set when the source is a raw CD image, which only its sheet tells.
    RawImage rawImage = RawImage::None;
    // Where the row's audio comes from, for the user: the image a sheet
    // named and how it was found ("found by the sheet's name").
    std::wstring imageNote;
    // What the user should know of a row that converted: its MP3 is a
    // stereo mix, its audio came from the lossy part of a hybrid file.
    std::wstring notice;
    CueTrackList cueTracks;  // only on the probe record of "add"
    // The length of every image of a sheet with several FILE entries; only
    // on the probe record.
    std::map<std::wstring, std::uint32_t> imageLengths;
    double startMs = 0.0;
    double endMs = 0.0;  // 0: to the end of the source
    std::int32_t marked = 0;
    // Why the row's last conversion wrote no file (or its resampling kept
    // the file as it was); empty when it succeeded. The worker sets it
    // before it posts the row's done message.
    std::wstring failureReason;
    // What the last conversion left out though the file was made (a cover
    // picture that is no good image); empty when nothing.
    std::wstring warning;
    // Set when the batch measured the row's album and wrote its gain into
    // the row's file (or the file takes no tags); a file without it is not
    // what a run with album gain makes.
    bool albumGainWritten = false;
    // Set by the batch while the row's worker runs: the batch was asked to
    // stop, and the row ends after its current chunk or block.
    const std::atomic<bool>* cancel = nullptr;

    virtual ~ConversionItem() = default;

    // Stores the path and takes the input kind from its extension.
    void SetPath(const std::wstring& path);
};

// Row key → record, visited in ascending key order.
using RowTable = std::map<std::int32_t, ConversionItem*>;

// True when the tracks come from more than one FILE entry of their sheet.
bool SpansSeveralImages(const CueTrackList& tracks);

// How a track's image is read: raw CD audio in its byte order, or a file
// that says what it is.
RawImage RawImageOf(const CueTrack& track);

// The input kind an extension gives (the text after the path's last ".").
std::int32_t InputKindOf(const std::wstring& path);
