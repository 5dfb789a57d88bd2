#include "engine/OutputTags.h"

#include "tags/TagFiles.h"

std::wstring TagOutput(const ConversionItem& item, win::OutputFile& output)
{
    if (!item.writeTags)
        return {};
    return TagOutput(item.tags, item.outputKind, output);
}

std::wstring TagOutput(const TagRecord& tags, std::int32_t outputKind, win::OutputFile& output)
{
    if (tags.Empty())
        return {};
    switch (outputKind) {
    case kOutputMp3: return WriteMp3Tags(output, tags);
    case kOutputFlac: return WriteFlacTags(output, tags);
    case kOutputOpus: return WriteOpusTags(output, tags);
    default: return WriteWavTags(output, tags);
    }
}

bool TakesCover(std::int32_t outputKind)
{
    return outputKind == kOutputMp3 || outputKind == kOutputFlac || outputKind == kOutputOpus;
}
