#include "tags/TagLibAccess.h"

#include "platform/core/Files.h"
#include "platform/core/Strings.h"

#include <taglib/id3v2framefactory.h>
#include <taglib/infotag.h>

#include <mutex>

namespace tag_access {

namespace {

// INFO chunks have no declared encoding; UTF-8 is what current tools write
// and read, where TagLib's default would turn every non-Latin-1 letter into
// "?".
class Utf8InfoStrings : public TagLib::RIFF::Info::StringHandler {
public:
    TagLib::String parse(const TagLib::ByteVector& data) const override
    {
        return TagLib::String(data, TagLib::String::UTF8);
    }
    TagLib::ByteVector render(const TagLib::String& text) const override { return text.data(TagLib::String::UTF8); }
};

// TagLib keeps these choices in process-wide objects: set them once, before
// the first file is touched.
void PrepareTagLib()
{
    static std::once_flag once;
    std::call_once(once, [] {
        static Utf8InfoStrings infoStrings;
        TagLib::RIFF::Info::Tag::setStringHandler(&infoStrings);
        TagLib::ID3v2::FrameFactory::instance()->setDefaultTextEncoding(TagLib::String::UTF8);
    });
}

}  // namespace


TagLib::String ToTagString(const std::wstring& text)
{
    return TagLib::String(win::ToUtf8(text), TagLib::String::UTF8);
}

std::wstring FromTagString(const TagLib::String& text) { return win::FromUtf8(text.to8Bit(true)); }

// TagLib fills some of its tables on first use without a lock (the ID3v2
// frame-name maps, for one), so two rows tagging their files at once could
// corrupt them: TagLib is used by one thread at a time.
[[nodiscard]] std::unique_lock<std::mutex> UseTagLib()
{
    static std::mutex mutex;
    std::unique_lock lock(mutex);
    PrepareTagLib();
    return lock;
}

std::string FileNameOf(const std::wstring& path) { return win::ToPath(path).string(); }

// A NUL inside a value is where ID3v2.4 separates values: "A\0B" would come
// back as two values, and the INFO chunk's C string would end at it. It
// becomes U+FFFD, the mark for a character that cannot be stored: a title
// from a damaged sheet stays one value and keeps all of its text.
std::wstring WithoutNuls(std::wstring value)
{
    for (auto& c : value)
        if (c == L'\0')
            c = L'\uFFFD';
    return value;
}

TagLib::PropertyMap ToPropertyMap(const TagRecord& tags)
{
    TagLib::PropertyMap map;
    for (const auto& [name, values] : tags.fields) {
        TagLib::StringList list;
        for (const auto& value : values)
            list.append(ToTagString(WithoutNuls(value)));
        map.insert(TagLib::String(name, TagLib::String::UTF8), list);
    }
    return map;
}

TagRecord FromPropertyMap(const TagLib::PropertyMap& map)
{
    TagRecord tags;
    for (const auto& [name, values] : map) {
        std::vector<std::wstring> list;
        for (const auto& value : values)
            if (!value.isEmpty())
                list.push_back(FromTagString(value));
        if (!list.empty())
            tags.fields[name.upper().to8Bit(true)] = std::move(list);
    }
    return tags;
}

}  // namespace tag_access
