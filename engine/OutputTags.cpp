#include "engine/OutputTags.h"

#include "tags/TagFiles.h"

std::wstring TagOutput(const ConversionItem& item, const std::wstring& path)
{
    if (item.tags.Empty())
        return {};
    return item.outputKind == kOutputMp3 ? WriteMp3Tags(path, item.tags) : WriteWavTags(path, item.tags);
}
