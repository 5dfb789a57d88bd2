#include "cue/CharsetScore.h"

#include <cwctype>
#include <vector>

namespace {

bool IsCyrillic(wchar_t c) { return c >= 0x0400 && c <= 0x04FF; }
bool IsKana(wchar_t c) { return c >= 0x3041 && c <= 0x30FF; }
bool IsHalfWidthKana(wchar_t c) { return c >= 0xFF61 && c <= 0xFF9F; }
bool IsIdeograph(wchar_t c) { return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF); }
bool IsHangul(wchar_t c) { return c >= 0xAC00 && c <= 0xD7A3; }
bool IsLatinLetter(wchar_t c)
{
    return (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || c == 0x160 || c == 0x161 || c == 0x17D ||
           c == 0x17E || c == 0x152 || c == 0x153 || c == 0x178;
}
bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsWordChar(wchar_t c)
{
    return IsAsciiLetter(c) || IsCyrillic(c) || IsLatinLetter(c) || (c >= 0x370 && c <= 0x3FF);
}

// Russian letters from the most to the least frequent.
constexpr std::wstring_view kRussianByFrequency =
    L"\u043e\u0435\u0430\u0438\u043d\u0442\u0441\u0440\u0432\u043b"   // о е а и н т с р в л
    L"\u043a\u043c\u0434\u043f\u0443\u044f\u044b\u044c\u0433\u0437"   // к м д п у я ы ь г з
    L"\u0431\u0447\u0439\u0445\u0436\u0448\u044e\u0446\u0449\u044d"   // б ч й х ж ш ю ц щ э
    L"\u0444\u044a\u0451";                                             // ф ъ ё

// Greek letters likewise, accents and the final sigma aside.
constexpr std::wstring_view kGreekByFrequency =
    L"\u03b1\u03bf\u03b9\u03b5\u03c4\u03c3\u03bd\u03b7\u03c5\u03c1"   // α ο ι ε τ σ ν η υ ρ
    L"\u03c0\u03ba\u03bc\u03bb\u03c9\u03b4\u03b3\u03c7\u03b8\u03c6"   // π κ μ λ ω δ γ χ θ φ
    L"\u03b2\u03be\u03b6\u03c8";                                         // β ξ ζ ψ

bool IsGreek(wchar_t c) { return c >= 0x0386 && c <= 0x03CE; }

wchar_t GreekBase(wchar_t lower)
{
    switch (lower) {
    case 0x3AC: return 0x3B1;  // ά
    case 0x3AD: return 0x3B5;  // έ
    case 0x3AE: return 0x3B7;  // ή
    case 0x3AF: case 0x3CA: case 0x390: return 0x3B9;  // ί ϊ ΐ
    case 0x3CC: return 0x3BF;  // ό
    case 0x3CD: case 0x3CB: case 0x3B0: return 0x3C5;  // ύ ϋ ΰ
    case 0x3CE: return 0x3C9;  // ώ
    case 0x3C2: return 0x3C3;  // ς
    default: return lower;
    }
}

double GreekLetterPoints(wchar_t c)
{
    wchar_t lower = GreekBase(static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))));
    std::size_t rank = kGreekByFrequency.find(lower);
    if (rank == std::wstring_view::npos)
        return 1.0;
    return rank < 10 ? 3.0 : rank < 20 ? 2.0 : 1.0;
}

double CyrillicLetterPoints(wchar_t c)
{
    wchar_t lower = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
    std::size_t rank = kRussianByFrequency.find(lower);
    if (rank == std::wstring_view::npos)
        return 1.0;  // Ukrainian, Belarusian, Serbian letters
    return rank < 10 ? 3.0 : rank < 20 ? 2.0 : 1.0;
}

// A word as people write it: all lower case, all upper case, or capitalised.
bool SoundCase(std::wstring_view word)
{
    std::size_t upper = 0, lowerAfterFirst = 0, upperAfterFirst = 0;
    for (std::size_t i = 0; i < word.size(); ++i) {
        bool isUpper = std::iswupper(static_cast<wint_t>(word[i])) != 0;
        upper += isUpper;
        if (i > 0) {
            upperAfterFirst += isUpper;
            lowerAfterFirst += std::iswlower(static_cast<wint_t>(word[i])) != 0;
        }
    }
    return upper == 0 || upperAfterFirst == 0 || lowerAfterFirst == 0;
}

double WordPoints(std::wstring_view word)
{
    std::size_t cyrillic = 0, latin = 0, ascii = 0, greek = 0;
    for (wchar_t c : word) {
        cyrillic += IsCyrillic(c);
        latin += IsLatinLetter(c);
        ascii += IsAsciiLetter(c);
        greek += IsGreek(c);
    }
    double points = 0;
    if (greek > 0) {
        bool sound = cyrillic == 0 && latin == 0 && ascii == 0 && SoundCase(word);
        // The final sigma ends a word, and only it does.
        for (std::size_t i = 0; i < word.size(); ++i)
            if ((word[i] == 0x3C2 && i + 1 != word.size()) || (word[i] == 0x3C3 && i + 1 == word.size()))
                sound = false;
        for (wchar_t c : word)
            if (IsGreek(c))
                points += sound ? GreekLetterPoints(c) : -2.0;
    }
    if (cyrillic > 0) {
        bool sound = latin == 0 && ascii == 0 && greek == 0 && SoundCase(word);
        wchar_t first = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(word[0])));
        if (first == 0x44A || first == 0x44B || first == 0x44C)  // ъ ы ь never start a word
            sound = false;
        for (wchar_t c : word)
            if (IsCyrillic(c))
                points += sound ? CyrillicLetterPoints(c) : -2.0;
    }
    if (latin > 0) {
        // Accented letters sit among plain ones in the languages that use them.
        double each = cyrillic > 0 || greek > 0 ? -2.0 : ascii >= latin ? 3.0 : ascii > 0 ? 1.0 : 0.0;
        points += each * static_cast<double>(latin);
    }
    return points;
}

bool IsGb2312Frequent(unsigned char lead) { return lead >= 0xB0 && lead <= 0xD7; }
bool IsBig5Frequent(unsigned char lead) { return lead >= 0xA4 && lead <= 0xC6; }
bool IsJisFrequent(unsigned char lead, const std::string& charset)
{
    return charset == "SHIFT_JIS" ? lead >= 0x88 && lead <= 0x98 : lead >= 0xB0 && lead <= 0xCF;
}

// The lead byte of each multi-byte character of a double-byte charset.
std::vector<unsigned char> LeadBytes(std::string_view bytes, const std::string& charset)
{
    std::vector<unsigned char> leads;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80 || (charset == "SHIFT_JIS" && c >= 0xA1 && c <= 0xDF))
            continue;
        leads.push_back(c);
        // GB18030's four-byte form has a digit second.
        if (charset == "GB18030" && i + 1 < bytes.size() && bytes[i + 1] >= '0' && bytes[i + 1] <= '9')
            i += 3;
        else
            ++i;
    }
    return leads;
}

}  // namespace

double CharsetScore(std::string_view bytes, std::wstring_view text, const std::string& charset)
{
    std::size_t high = 0;
    for (char b : bytes)
        high += static_cast<unsigned char>(b) >= 0x80;
    if (high == 0)
        return 0.0;

    // The lead byte behind each character of a double-byte charset.
    std::vector<unsigned char> leads = LeadBytes(bytes, charset), leadOf(text.size(), 0);
    for (std::size_t i = 0, next = 0; i < text.size() && next < leads.size(); ++i)
        if (text[i] >= 0x80 && !(charset == "SHIFT_JIS" && IsHalfWidthKana(text[i])))
            leadOf[i] = leads[next++];

    double points = 0;
    for (std::size_t i = 0; i < text.size();) {
        wchar_t c = text[i];
        if (IsWordChar(c)) {
            std::size_t end = i;
            while (end < text.size() && IsWordChar(text[end]))
                ++end;
            points += WordPoints(text.substr(i, end - i));
            i = end;
            continue;
        }
        if (IsKana(c)) {
            points += charset == "SHIFT_JIS" || charset == "EUC-JP" ? 4.0 : 1.0;
        } else if (IsIdeograph(c)) {
            unsigned char lead = leadOf[i];
            bool frequent = (charset == "GB18030" && IsGb2312Frequent(lead)) ||
                            (charset == "BIG5" && IsBig5Frequent(lead)) ||
                            ((charset == "SHIFT_JIS" || charset == "EUC-JP") && IsJisFrequent(lead, charset));
            points += frequent ? 4.0 : 1.0;
        } else if (IsHangul(c)) {
            points += 4.0;
        } else if (c >= 0x80 && (IsHalfWidthKana(c) || (c >= 0x2500 && c <= 0x259F) || c < 0xA0 ||
                                 (c >= 0xE000 && c <= 0xF8FF) || c == 0xFFFD || (c >= 0xA1 && c <= 0xBF))) {
            points -= 3.0;
        }
        ++i;
    }
    return points / static_cast<double>(high);
}
