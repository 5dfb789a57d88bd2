// The tags a row's output gets: the row's own record, and the source's
// front cover where the output holds one.
#include "engine/RowConversion.h"

#include "engine/OutputTags.h"
#include "tags/CoverArt.h"

const TagRecord& RowConversion::OutputTags()
{
    if (outputTags_)
        return *outputTags_;
    outputTags_ = item_.tags;
    if (settings_.embedCover && TakesCover(item_.outputKind)) {
        const std::wstring& audio = ape_ && !ape_->ImagePath().empty() ? ape_->ImagePath() : item_.sourcePath;
        CoverArt art = FindCoverArt(audio, item_.sourcePath, item_.tags.Get("ALBUM"));
        outputTags_->cover = art.picture;
        item_.warning = art.warning;
    }
    return *outputTags_;
}

std::wstring RowConversion::TagFile(win::OutputFile& output)
{
    return TagOutput(OutputTags(), item_.outputKind, output);
}
