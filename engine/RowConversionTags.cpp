// The tags a row's output gets: the row's own record, the source's
// front cover where the output holds one, and the row's track gain.
#include "engine/RowConversion.h"

#include "engine/OutputTags.h"
#include "tags/CoverArt.h"

#include <map>

const TagRecord& RowConversion::OutputTags()
{
    if (outputTags_)
        return *outputTags_;
    // Untagged outputs get nothing: no fields, no cover, no gains.
    outputTags_ = item_.writeTags ? item_.tags : TagRecord();
    if (!item_.writeTags)
        return *outputTags_;
    if (settings_.embedCover && TakesCover(item_.outputKind)) {
        const std::wstring& audio = ape_ && !ape_->ImagePath().empty() ? ape_->ImagePath() : item_.sourcePath;
        CoverArt art = FindCoverArt(audio, item_.sourcePath, item_.tags.Get("ALBUM"));
        outputTags_->cover = art.picture;
        item_.warning = art.warning;
    }
    // Gains the source carried describe other audio once this row is
    // measured, and Opus players take only R128 gains.
    const bool measured = meter_ && meter_->Ok();
    std::erase_if(outputTags_->fields, [&](const auto& field) {
        return (field.first.starts_with("REPLAYGAIN_") && (measured || item_.outputKind == kOutputOpus)) ||
               (field.first.starts_with("R128_") && measured);
    });
    // Measured over every chunk decoded so far: the whole row, as the file
    // is tagged only once it is complete.
    if (measured) {
        if (item_.outputKind == kOutputOpus) {
            outputTags_->Set("R128_TRACK_GAIN", R128GainText(meter_->Loudness()));
        } else {
            outputTags_->Set("REPLAYGAIN_TRACK_GAIN", ReplayGainText(meter_->Loudness()));
            outputTags_->Set("REPLAYGAIN_TRACK_PEAK", PeakText(meter_->Peak()));
        }
    }
    return *outputTags_;
}

std::wstring RowConversion::TagFile(win::OutputFile& output)
{
    return TagOutput(OutputTags(), item_.outputKind, output);
}
