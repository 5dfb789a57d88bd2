#include "cue/CharsetDetect.h"

#include "cue/CharsetScore.h"
#include "cue/CueCharset.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>
#include <uchardet/uchardet.h>

namespace {

constexpr const char* kFallback = "WINDOWS-1252";

std::string AskDetector(std::string_view bytes)
{
    std::unique_ptr<uchardet, decltype(&uchardet_delete)> detector(uchardet_new(), uchardet_delete);
    if (!detector)
        return {};
    // The whole sheet: every title adds evidence, and short sheets need it.
    if (uchardet_handle_data(detector.get(), bytes.data(), bytes.size()) != 0)
        return {};
    uchardet_data_end(detector.get());
    std::string answer = uchardet_get_charset(detector.get());
    for (char& c : answer)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return answer;
}

// Answers the detector gives texts it cannot place: its default and the
// Greek code page short Cyrillic and Chinese texts fall into.
bool IsUnsureAnswer(const std::string& answer)
{
    static constexpr std::array<std::string_view, 7> kUnsure = {
        "", "ASCII", "WINDOWS-1252", "ISO-8859-1", "ISO-8859-15", "ISO-8859-7", "WINDOWS-1253"};
    return std::find(kUnsure.begin(), kUnsure.end(), answer) != kUnsure.end();
}

// The code pages rippers' Windows wrote sheets in, in the order that wins
// a tie.
constexpr std::array<const char*, 11> kCandidates = {
    "WINDOWS-1252", "WINDOWS-1251", "SHIFT_JIS", "GB18030",    "BIG5",        "EUC-KR",
    "EUC-JP",       "KOI8-R",       "IBM866",    "ISO-8859-5", "WINDOWS-1253"};

// ISO-8859 parts have control characters where the Windows code page of
// the same script has letters and quotes; a text with such bytes was
// written on Windows, as a Polish "ź" (0x9F) is.
std::string WindowsCounterpart(const std::string& answer, std::string_view bytes)
{
    static constexpr std::array<std::pair<std::string_view, const char*>, 8> kCounterparts = {{
        {"ISO-8859-1", "WINDOWS-1252"}, {"ISO-8859-15", "WINDOWS-1252"}, {"ISO-8859-2", "WINDOWS-1250"},
        {"ISO-8859-7", "WINDOWS-1253"}, {"ISO-8859-9", "WINDOWS-1254"}, {"ISO-8859-8", "WINDOWS-1255"},
        {"ISO-8859-6", "WINDOWS-1256"}, {"ISO-8859-13", "WINDOWS-1257"}}};
    bool controls = std::any_of(bytes.begin(), bytes.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x80 && static_cast<unsigned char>(c) <= 0x9F;
    });
    for (auto [iso, windows] : kCounterparts)
        if (controls && answer == iso)
            return windows;
    return answer;
}

}  // namespace

std::string DetectCharset(std::string_view bytes)
{
    std::string answer = WindowsCounterpart(AskDetector(bytes), bytes);
    bool decodes = !answer.empty() && answer != "ASCII" && DecodeStrict(bytes, answer).has_value();
    if (decodes && !IsUnsureAnswer(answer))
        return answer;

    std::string best;
    double bestScore = 0.0;
    auto consider = [&](const std::string& charset) {
        auto text = DecodeStrict(bytes, charset);
        if (!text)
            return;
        double score = CharsetScore(bytes, *text, charset);
        if (score > bestScore) {
            best = charset;
            bestScore = score;
        }
    };
    if (decodes)
        consider(answer);
    for (const char* charset : kCandidates)
        consider(charset);
    if (!best.empty())
        return best;
    return decodes ? answer : kFallback;
}
