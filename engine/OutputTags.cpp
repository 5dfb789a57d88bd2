#include "engine/OutputTags.h"

#include "tags/TagFiles.h"

std::wstring TagOutput(const ConversionItem& item, win::OutputFile& output)
{
    if (item.tags.Empty())
        return {};
    switch (item.outputKind) {
    case kOutputMp3: return WriteMp3Tags(output, item.tags);
    case kOutputFlac: return WriteFlacTags(output, item.tags);
    case kOutputOpus: return WriteOpusTags(output, item.tags);
    default: return WriteWavTags(output, item.tags);
    }
}
