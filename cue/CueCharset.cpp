#include "cue/CueCharset.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <mutex>
#include <stdexcept>

namespace {

constexpr const char* kWide = "WCHAR_T";
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

std::mutex g_overrideLock;
std::string g_override;

// Converts as much of `in` as is whole, valid text; stops at the first
// invalid or cut-off sequence. Returns iconv's errno for that stop, 0 when
// everything converted.
int ConvertRun(iconv_t cd, std::string_view& in, std::wstring& text)
{
    wchar_t buffer[256];
    while (!in.empty()) {
        char* from = const_cast<char*>(in.data());
        std::size_t fromLeft = in.size();
        char* to = reinterpret_cast<char*>(buffer);
        std::size_t toLeft = sizeof buffer;
        std::size_t done = iconv(cd, &from, &fromLeft, &to, &toLeft);
        int error = done == static_cast<std::size_t>(-1) ? errno : 0;
        text.append(buffer, static_cast<std::size_t>(to - reinterpret_cast<char*>(buffer)) / sizeof(wchar_t));
        in.remove_prefix(in.size() - fromLeft);
        if (error != 0 && error != E2BIG)
            return error;
    }
    return 0;
}

}  // namespace

bool IsKnownCharset(const std::string& name)
{
    if (name.empty())
        return false;
    iconv_t cd = iconv_open(kWide, name.c_str());
    if (cd == kNoConverter)
        return false;
    iconv_close(cd);
    return true;
}

std::optional<std::wstring> DecodeStrict(std::string_view bytes, const std::string& charset)
{
    iconv_t cd = iconv_open(kWide, charset.c_str());
    if (cd == kNoConverter)
        return std::nullopt;
    std::wstring text;
    int error = ConvertRun(cd, bytes, text);
    iconv_close(cd);
    if (error != 0)
        return std::nullopt;
    return text;
}

CharsetDecoder::CharsetDecoder(const std::string& charset) : iconv_(iconv_open(kWide, charset.c_str()))
{
    if (iconv_ == kNoConverter)
        throw std::invalid_argument("unknown charset " + charset);
}

CharsetDecoder::~CharsetDecoder() { iconv_close(static_cast<iconv_t>(iconv_)); }

std::size_t CharsetDecoder::Decode(std::string_view bytes, std::size_t limit, std::wstring& text)
{
    iconv_t cd = static_cast<iconv_t>(iconv_);
    bool wholeRest = bytes.size() <= limit;
    std::string_view in = bytes.substr(0, limit);
    while (!in.empty()) {
        int error = ConvertRun(cd, in, text);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state after a stop
        if (error == EILSEQ || (error == EINVAL && wholeRest)) {
            text += L'\uFFFD';
            in.remove_prefix(1);
        } else if (error != 0) {
            break;  // a character that the limit cut: it starts the next piece
        }
    }
    std::size_t used = std::min(limit, bytes.size()) - in.size();
    if (used == 0 && !bytes.empty()) {
        // Not even one character fits the limit: never loop forever.
        text += L'\uFFFD';
        return 1;
    }
    return used;
}

bool SetCueCharsetOverride(const std::string& charset)
{
    if (!charset.empty() && !IsKnownCharset(charset))
        return false;
    std::lock_guard lock(g_overrideLock);
    g_override = charset;
    return true;
}

std::string CueCharsetOverride()
{
    std::lock_guard lock(g_overrideLock);
    return g_override;
}
