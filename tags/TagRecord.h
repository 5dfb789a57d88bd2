// What a converted file is tagged with: named fields, each with one or more
// values. Field names are the common ones that taggers share (TITLE, ARTIST,
// ALBUM, ALBUMARTIST, COMPOSER, ISRC, TRACKNUMBER "3/10", DATE, GENRE,
// COMMENT, DISCNUMBER "1/2", REPLAYGAIN_TRACK_GAIN, ...), so a record read
// from one kind of tag can be written as another.
#pragma once

#include "tags/CoverPicture.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

struct TagRecord {
    std::map<std::string, std::vector<std::wstring>> fields;
    // The front cover, embedded where the output takes one (MP3, FLAC,
    // Opus); null: none.
    std::shared_ptr<const CoverPicture> cover;

    bool Empty() const { return fields.empty() && !cover; }
    // The first value, or "" when the field is missing.
    std::wstring Get(const std::string& name) const;
    // An empty value removes the field: nothing is written for it.
    void Set(const std::string& name, const std::wstring& value);
    // Takes the fields of `other` that this record does not have.
    void FillFrom(const TagRecord& other);
};
