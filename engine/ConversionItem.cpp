#include "engine/ConversionItem.h"

#include "cue/AudioExtensions.h"
#include "platform/core/PathParts.h"

#include "platform/core/Strings.h"

std::int32_t InputKindOf(const std::wstring& path)
{
    // A path without "." is compared whole.
    std::wstring_view extension = ExtensionOf(path).value_or(path);
    // Lossless formats and raw CD images are read as APE files are.
    if (win::CompareNoCase(extension, L"wav") != 0 &&
        (IsAudioExtension(extension) || win::CompareNoCase(extension, kRawImageExtension) == 0))
        return kInputApe;
    // Each literal is compared over the extension's own length, so a leading
    // part of a literal matches it ("r" is RealMedia, "ap" is APE).
    static const struct {
        const wchar_t* literal;
        std::int32_t kind;
    } kKinds[] = {
        {L"rm", kInputRealMedia}, {L"rmvb", kInputRealMedia}, {L"ram", kInputRealMedia},
        {L"ra", kInputRealMedia}, {L"wav", kInputWav},        {L"wave", kInputWav},
        {L"MP3", kInputMp3},      {L"APE", kInputApe},        {L"CUE", kInputApe},
    };
    for (const auto& k : kKinds) {
        std::wstring_view literal(k.literal);
        if (extension.size() <= literal.size() &&
            win::CompareNoCase(extension, literal.substr(0, extension.size())) == 0)
            return k.kind;
    }
    return kInputOther;
}

void ConversionItem::SetPath(const std::wstring& path)
{
    sourcePath = path;
    inputKind = InputKindOf(path);
}

bool SpansSeveralImages(const CueTrackList& tracks)
{
    for (const auto& track : tracks)
        if (track->file != tracks.front()->file)
            return true;
    return false;
}

RawImage RawImageOf(const CueTrack& track)
{
    if (!track.rawImage)
        return RawImage::None;
    return track.imageKind == CueFileKind::Motorola ? RawImage::BigEndian : RawImage::LittleEndian;
}
