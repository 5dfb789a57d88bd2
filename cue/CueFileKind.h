// What a sheet's FILE entry says about its image, and how the image was
// found: shared by the sheet, its files and the tracks that come from them.
#pragma once

// The type word that ends a FILE entry: how the image's audio is stored.
// BINARY and MOTOROLA name raw CD audio (44.1 kHz 16-bit stereo without a
// header, little- and big-endian); the others a file with its own format.
enum class CueFileKind { Wave, Binary, Motorola, Aiff, Mp3, Flac, Unknown };

// How the image of a FILE entry was found on disk.
enum class ImageFound {
    Named,          // under the name the sheet gives (any case, Windows paths)
    ByExtension,    // the same name with another audio extension
    BySheetName,    // the sheet's own name with an audio extension
    OnlyAudioFile,  // the one audio file in the sheet's folder
    Missing,        // not at all: `path` is where the sheet says it is
    Embedded,       // the sheet is inside the image itself
};

// How a user is told where an album's audio came from, e.g. "found by the
// sheet's name".
const wchar_t* ImageFoundText(ImageFound how);
