// Reading the tags of a source file and writing them into an output file,
// through TagLib. Each call opens the file, does its work and closes it;
// calls on different files may run on different threads at once.
#pragma once

#include "tags/TagRecord.h"

#include <string>

namespace win {
class OutputFile;
}

// The APEv2 tag of a Monkey's Audio file, completed by an ID3v2 tag in front
// of the audio and an ID3v1 tag at the end when it has them. Empty when the
// file has no tag or cannot be read.
TagRecord ReadApeTags(const std::wstring& path);

// An empty record leaves the file as it is: nothing is written.
//
// Writes an ID3v2.4 tag (and an ID3v1 tag for old players) into an MP3
// file, replacing any it had. Returns "" on success, else why it failed:
// "could not be written: no space left on device" when a write failed.
//
// The OutputFile form tags a file that is still being made, through the
// output file's own stream (and its fault point); after a failure the
// output file's Commit fails too, so the file is dropped, never kept with
// cut-off tags. The path form rewrites a finished file in place.
std::wstring WriteMp3Tags(win::OutputFile& output, const TagRecord& tags);
std::wstring WriteMp3Tags(const std::wstring& path, const TagRecord& tags);

// Writes a LIST/INFO chunk and an ID3v2.4 chunk ("ID3 ", the name TagLib
// gives it; readers take it in either case) after the audio of a WAV file.
// Readers that know both, ffmpeg among them, show the INFO texts. Returns
// "" on success, else why it failed (as above).
std::wstring WriteWavTags(win::OutputFile& output, const TagRecord& tags);
std::wstring WriteWavTags(const std::wstring& path, const TagRecord& tags);

// Vorbis comments in a FLAC file (its ID3 tags, if any, removed) and in an
// Ogg Opus file's comment header. Returns "" on success, else why it failed
// (as above).
std::wstring WriteFlacTags(win::OutputFile& output, const TagRecord& tags);
std::wstring WriteOpusTags(win::OutputFile& output, const TagRecord& tags);

// Every tag of a file as TagLib reads it back (MP3, WAV or APE), for checks
// and listings.
TagRecord ReadTags(const std::wstring& path);
