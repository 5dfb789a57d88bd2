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
    } else {
        arguments = {"--wav", s.resamplingFlag ? "--resample" : "--no-resample"};
    }
    // Album gain, once there is such an option, belongs here too: outputs
    // made without it then differ in their fingerprint and are redone.
    if (options.noTags)
        arguments.push_back("--no-tags");
    if (!options.namePattern.empty())
        arguments.insert(arguments.end(), {"--name", options.namePattern});
    return arguments;
}

std::string SettingsFingerprint(const std::vector<std::string>& arguments)
{
    std::string text;
    for (const auto& argument : arguments)
        text += (text.empty() ? "" : " ") + argument;
    return text;
}
