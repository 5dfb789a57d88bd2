// The CUE sheet that a sound file carries inside it: a FLAC file's
// CUESHEET comment or CUESHEET metadata block, or the "Cuesheet" item of an
// APEv2 tag (Monkey's Audio, WavPack, TTA). The text is returned as the
// file holds it (UTF-8 in all three), for the CUE reader to parse.
#pragma once

#include <string>

// Empty when the file has none or cannot be read. A sheet made from a
// CUESHEET block names the file itself in its FILE entry. Reads only the
// metadata it needs, however large the file or hostile its length fields.
std::string EmbeddedCueSheet(const std::wstring& path);
