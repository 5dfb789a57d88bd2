#include "cli/OutputChoice.h"

#include "engine/ConversionItem.h"

std::vector<std::string> OutputArguments(const CommandLine& options, std::int32_t outputKind,
                                         const ConversionSettings& s)
{
    std::vector<std::string> arguments;
    if (outputKind == kOutputMp3) {
        arguments = {"--mp3"};
        if (s.cbrFlag)
            arguments.insert(arguments.end(), {"--cbr", std::to_string(s.mp3.cbrBitRate)});
        else
            arguments.insert(arguments.end(),
                             {"--vbr", std::to_string(s.mp3.vbrMinimum) + "-" + std::to_string(s.mp3.vbrMaximum)});
        arguments.insert(arguments.end(), {"--quality", std::to_string(s.mp3.quality)});
    } else if (outputKind == kOutputFlac) {
        arguments = {"--flac", "--flac-level", std::to_string(options.flacLevel)};
        // FLAC keeps the source's rate unless the run itself asks.
        if (options.resample.value_or(false))
            arguments.push_back("--resample");
    } else if (outputKind == kOutputOpus) {
        arguments = {"--opus", "--opus-bitrate", std::to_string(options.opusKbps)};
    } else {
        arguments = {"--wav", s.resamplingFlag ? "--resample" : "--no-resample"};
    }
    // Outputs made with other gains or without the cover differ in their
    // fingerprint and are redone.
    if (!options.replayGain.empty())
        arguments.insert(arguments.end(), {"--replaygain", options.replayGain});
    if (options.noArt)
        arguments.push_back("--no-art");
    if (options.noTags)
        arguments.push_back("--no-tags");
    if (!options.namePattern.empty())
        arguments.insert(arguments.end(), {"--name", options.namePattern});
    return arguments;
}

std::vector<std::string> WithTrackGainOnly(std::vector<std::string> arguments)
{
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i)
        if (arguments[i] == "--replaygain" && arguments[i + 1] == "album")
            arguments[i + 1] = "track";
    return arguments;
}

std::string SettingsFingerprint(const std::vector<std::string>& arguments)
{
    std::string text;
    for (const auto& argument : arguments)
        text += (text.empty() ? "" : " ") + argument;
    return text;
}
