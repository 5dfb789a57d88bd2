// A settings file as the program finds it on start: read into the record,
// its output directory taken out, and written back. Whatever the file
// held, the record read back from what was written is the same record.
#include "fuzz/ScratchFile.h"
#include "settings/SettingsFile.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::wstring path = fuzz::WidePath(fuzz::WriteScratch("configure.dat", data, size));
    ConversionSettings record;
    if (!SettingsFile::Read(path, record))
        std::abort();
    std::wstring directory = record.OutputDirectory();
    // The length counts UTF-16 units, never past the stored text.
    if (directory.size() >= ConversionSettings::kDirectoryCapacity ||
        record.outputDirectoryLength >= ConversionSettings::kDirectoryCapacity)
        std::abort();
    // The directory as the settings dialog stores it again.
    ConversionSettings edited = record;
    edited.SetOutputDirectory(directory);
    if (edited.OutputDirectory() != directory)
        std::abort();

    std::wstring copy = fuzz::WidePath(fuzz::ScratchFolder() + "copy.dat");
    ConversionSettings again;
    if (!SettingsFile::Write(copy, record) || !SettingsFile::Read(copy, again) ||
        std::memcmp(&record, &again, sizeof record) != 0)
        std::abort();
    return 0;
}
