#include "settings/SettingsFile.h"

#include "platform/core/Files.h"

#include <cstdio>
#include <cstring>

int SettingsFile::Read(const std::wstring& path, ConversionSettings& record)
{
    FILE* file = win::_wfopen(path.c_str(), L"rb");
    if (!file)
        return 0;
    unsigned char bytes[sizeof(ConversionSettings)];
    std::size_t got = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    std::memcpy(&record, bytes, got);
    record.Normalise();
    return 1;
}

int SettingsFile::Write(const std::wstring& path, const ConversionSettings& record)
{
    FILE* file = win::_wfopen(path.c_str(), L"wb");
    if (!file)
        return 0;
    bool written = std::fwrite(&record, sizeof record, 1, file) == 1;
    return std::fclose(file) == 0 && written ? 1 : 0;
}

int SettingsFile::ReadForEncoder(const std::wstring& path, ConversionSettings& record)
{
    record = ConversionSettings();
    if (Read(path, record))
        return 1;
    record.mp3 = EncoderDefaults();
    return Write(path, record);
}
