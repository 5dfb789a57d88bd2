// Reads a CUE sheet into a CueSheet: album texts, the image's file name and
// one CueTrack per audio TRACK entry, timed by the INDEX 01 entries. Beside what
// the token patterns find, each track learns which FILE entry its audio is
// in and where that image is, its times in CD frames, and its tags.
#pragma once

#include "cue/CueFolders.h"
#include "cue/CueSheet.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CueReader {
public:
    // `lister` reads the folders where FILE entries are looked up.
    explicit CueReader(CueFolders::Lister lister = ListFolder) : lister_(std::move(lister)) { }

    // 1 when the file was read (also when it holds no track); 0 for a null
    // path or a file that cannot be opened, which also drops an earlier sheet.
    int Parse(const wchar_t* path);

    // A sheet that `hostPath` carries inside it (its text as the file holds
    // it): every FILE entry is the host itself, whatever name it gives.
    // 1 when it was read (also when it holds no track), 0 for empty text.
    int ParseEmbedded(const std::string& text, const std::wstring& hostPath);

    // The charset (an iconv name) this reader reads sheets without a
    // byte-order mark in, before CueCharsetOverride(); "" detects. False,
    // leaving it as it was, for a name iconv does not know.
    bool SetCharset(const std::string& charset);

    // Null until a sheet was read.
    std::shared_ptr<const CueSheet> Sheet() const { return sheet_; }
    const std::wstring* ImageFileName() const { return sheet_ ? &sheet_->imageFileName : nullptr; }
    const CueTrackList* Tracks() const { return sheet_ ? &sheet_->tracks : nullptr; }
    // The image of the sheet's FILE entry as found on disk, else where the
    // sheet says it is; "" when the sheet names none. With several FILE
    // entries, the one that the patterns take for the sheet's image.
    std::wstring ImagePath() const;

    // "mm:ss:ff" (frames of 1/75 s) in seconds; a null text gives 0.
    static float time(const wchar_t* text);
    // The same text in CD frames, read the same way.
    static std::int64_t Frames(const wchar_t* text);

private:
    CueFolders::Lister lister_;
    std::string charset_;
    std::shared_ptr<CueSheet> sheet_;
};
