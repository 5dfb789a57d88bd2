// What every reader and writer of tags on TagLib shares: one thread at a
// time in TagLib, set up once, and the conversions between TagLib's maps
// and our records.
#pragma once

#include "tags/TagRecord.h"

#include <mutex>
#include <string>

#include <taglib/tpropertymap.h>
#include <taglib/tstring.h>

namespace tag_access {

TagLib::String ToTagString(const std::wstring& text);
std::wstring FromTagString(const TagLib::String& text);
// Held while TagLib is used.
[[nodiscard]] std::unique_lock<std::mutex> UseTagLib();
std::string FileNameOf(const std::wstring& path);
// The value with every NUL replaced by U+FFFD, so that it stays one value.
std::wstring WithoutNuls(std::wstring value);
TagLib::PropertyMap ToPropertyMap(const TagRecord& tags);
// Fields without a value are left out; names are upper case.
TagRecord FromPropertyMap(const TagLib::PropertyMap& map);

}  // namespace tag_access
