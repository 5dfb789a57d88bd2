// A sheet read beside a changing set of files: the image lookup's every
// step (named, other extension, the sheet's name, the one audio file), raw
// images, and the track rules (data tracks, missing and bad INDEX entries).
// What is reported found must exist; every track is either timed within its
// image or carries its problem.
#include "cue/CueReader.h"
#include "fuzz/ScratchFile.h"
#include "platform/core/Files.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

// First byte: which of these lie beside the sheet.
constexpr std::array<const char*, 8> kFiles = {
    "album.flac", "Album.APE", "disc.bin", "Disc.WV", "other.tak", "sub/inner.m4a", "\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE.flac",
    "\xCA\xE8\xED\xEE.ape"};

std::filesystem::path Folder() { return std::filesystem::path(fuzz::ScratchFolder()) / "image"; }

void LayOut(std::uint8_t mask)
{
    std::error_code ec;
    for (std::size_t i = 0; i < kFiles.size(); ++i) {
        std::filesystem::path path = Folder() / kFiles[i];
        if (mask & (1u << i)) {
            std::filesystem::create_directories(path.parent_path(), ec);
            std::ofstream(path) << "x";
        } else {
            std::filesystem::remove(path, ec);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    LayOut(data[0]);
    std::string sheetPath = (Folder() / "album.cue").string();
    {
        std::ofstream sheet(sheetPath, std::ios::binary);
        sheet.write(reinterpret_cast<const char*>(data) + 1, static_cast<std::streamsize>(size - 1));
    }
    CueReader reader;
    if (!reader.Parse(fuzz::WidePath(sheetPath).c_str()))
        std::abort();
    const CueSheet& sheet = *reader.Sheet();
    for (const CueFile& file : sheet.files) {
        std::error_code ec;
        if (file.found != ImageFound::Missing && !std::filesystem::is_regular_file(win::ToPath(file.path), ec))
            std::abort();
        if (file.found != ImageFound::Missing && file.path == fuzz::WidePath(sheetPath))
            std::abort();  // the sheet is never its own image
        IsRawCdImage(file);
        ImageFoundText(file.found);
    }
    for (const auto& track : sheet.tracks) {
        if (track->file >= static_cast<int>(sheet.files.size()))
            std::abort();
        if (track->problem.empty()) {
            if (track->startFrames < 0 ||
                (track->endFrames != kToImageEnd && track->endFrames <= track->startFrames))
                std::abort();
        } else if (track->problem != L"no INDEX 01" && track->problem != L"bad INDEX time") {
            std::abort();
        }
    }
    return 0;
}
