#include "engine/OutputTags.h"

#include "tags/TagFiles.h"

std::wstring TagOutput(const ConversionItem& item, win::OutputFile& output)
{
    if (!item.writeTags || item.tags.Empty())
        return {};
    return item.outputKind == kOutputMp3 ? WriteMp3Tags(output, item.tags) : WriteWavTags(output, item.tags);
}
