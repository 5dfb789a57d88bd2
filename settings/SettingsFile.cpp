#include "settings/SettingsFile.h"

#include "settings/SettingsCheck.h"
#include "settings/Utf16.h"

#include "platform/core/Files.h"
#include "platform/core/OutputFile.h"
#include "platform/core/RegularFile.h"

#include <cstdio>
#include <cstring>

int SettingsFile::Read(const std::wstring& path, ConversionSettings& record)
{
    // A FIFO given as the settings file would block the program forever.
    FILE* file = win::OpenRegularStream(path);
    if (!file)
        return 0;
    unsigned char bytes[sizeof(ConversionSettings)];
    std::size_t got = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    std::memcpy(&record, bytes, got);
    record.Normalise();
    ValidateSettings(record);
    std::wstring folder = record.OutputDirectory();
    // The text counts, whatever the length field says: names are appended
    // to it.
    if (NormaliseOutputFolder(folder) != folder &&
        ToUtf16(folder).size() + 1 < ConversionSettings::kDirectoryCapacity)
        record.SetOutputDirectory(NormaliseOutputFolder(folder));
    return 1;
}

int SettingsFile::Write(const std::wstring& path, const ConversionSettings& record)
{
    // A complete new file or none: a full disk never leaves half a record.
    win::OutputFile output;
    if (!output.Create(path))
        return 0;
    if (std::fwrite(&record, sizeof record, 1, output.Stream()) != 1) {
        output.Abandon();
        return 0;
    }
    return output.Commit() ? 1 : 0;
}
