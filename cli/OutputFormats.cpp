#include "cli/OutputFormats.h"

#include "engine/ConversionItem.h"

std::int32_t ChosenOutputKind(const CommandLine& options)
{
    if (options.flac)
        return kOutputFlac;
    if (options.opus)
        return kOutputOpus;
    return options.wav ? kOutputWav : kOutputMp3;
}

std::wstring EncodedFormatLine(std::int32_t kind, const BatchSettings& batch)
{
    std::wstring line = L"Output Audio Info: Output Format ";
    if (kind == kOutputOpus)
        return line + L"Opus " + std::to_wstring(batch.opusKbps) + L" kbit/s VBR";
    line += L"FLAC level " + std::to_wstring(batch.flacLevel);
    return batch.resampleFlac ? line + L", 16-bit 44100 Hz" : line;
}
