// Sheets written by Windows rippers in their system's code page, made here
// by iconv from UTF-8 text: the detector must read them back as written,
// short ones too, and a charset the user names wins.
#include "cue/CueCharset.h"
#include "cue/CueLines.h"
#include "tests/cue/CueFixture.h"

#include <iconv.h>

namespace {

std::string Encode(const std::string& utf8, const char* charset)
{
    iconv_t cd = iconv_open(charset, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("iconv cannot write ") + charset);
    std::string out(utf8.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size(), outLeft = out.size();
    char* to = out.data();
    std::size_t done = iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1))
        throw std::runtime_error(std::string("not writable in ") + charset);
    out.resize(out.size() - outLeft);
    return out;
}

struct Album {
    std::string performer;
    std::vector<std::string> titles;
};

std::string SheetText(const Album& album, const std::string& file = "a.flac")
{
    std::string text = "PERFORMER \"" + album.performer + "\"\r\nFILE \"" + file + "\" WAVE\r\n";
    for (std::size_t i = 0; i < album.titles.size(); ++i) {
        char index[40];
        std::snprintf(index, sizeof index, "    INDEX 01 %02zu:00:00\r\n", i * 3);
        text += "  TRACK 0" + std::to_string(i + 1) + " AUDIO\r\n    TITLE \"" + album.titles[i] + "\"\r\n" + index;
    }
    return text;
}

}  // namespace

class CueCharsets : public Cue {
public:
    // Writes the album in `charset` and expects every text back.
    void ExpectReadBack(const Album& album, const char* charset)
    {
        SCOPED_TRACE(std::string(charset) + ": " + album.performer);
        const CueSheet& sheet = Parse(Encode(SheetText(album), charset));
        EXPECT_EQ(sheet.albumPerformer, win::FromUtf8(album.performer)) << "read as " << sheet.charset;
        ASSERT_EQ(sheet.tracks.size(), album.titles.size());
        for (std::size_t i = 0; i < album.titles.size(); ++i)
            EXPECT_EQ(sheet.tracks[i]->title, win::FromUtf8(album.titles[i])) << "read as " << sheet.charset;
    }
};

TEST_F(CueCharsets, ShortSheetsInTheCommonCodePagesComeOutRight)
{
    // Three tracks of one or two words each: too little for the detector
    // alone.
    const Album cyrillic[] = {
        {"Кино", {"Звезда", "Война", "Песня"}},
        {"Ария", {"Дом", "Мир", "Путь"}},
        {"ЗВЕЗДА", {"Кукушка", "Солнце", "Лето"}},
        {"Алиса", {"Небо славян", "Трасса Е-95", "Шабаш"}},
    };
    for (const Album& album : cyrillic)
        ExpectReadBack(album, "WINDOWS-1251");
    const Album japanese[] = {
        {"スピッツ", {"春", "夏", "空"}},
        {"宇多田", {"桜", "花", "愛"}},
        {"カラス", {"ロビンソン", "チェリー", "スパイダー"}},
        {"中島みゆき", {"糸", "時代", "地上の星"}},
    };
    for (const Album& album : japanese)
        ExpectReadBack(album, "SHIFT_JIS");
    const Album chinese[] = {
        {"王菲", {"红豆", "天空", "我愿意"}},
        {"周杰伦", {"晴天", "稻香", "七里香"}},
        {"李", {"春", "夏", "秋"}},
        {"邓丽君", {"月亮代表我的心", "甜蜜蜜", "小城故事"}},
    };
    for (const Album& album : chinese)
        ExpectReadBack(album, "GB18030");
}

TEST_F(CueCharsets, ShortSheetsInOtherCodePagesMostlyComeOutRight)
{
    // Short Korean sheets are left out: without the detector, one Hangul
    // syllable reads as well as one Chinese character in the same bytes.
    ExpectReadBack({"Кино", {"Звезда", "Война", "Песня"}}, "KOI8-R");
    ExpectReadBack({"ЗВЕЗДА", {"Кукушка", "Солнце", "Лето"}}, "KOI8-R");
    ExpectReadBack({"Ария", {"Дом", "Мир", "Путь"}}, "KOI8-R");
    ExpectReadBack({"Кино", {"Звезда", "Война", "Песня"}}, "IBM866");
    ExpectReadBack({"Кино", {"Звезда", "Война", "Песня"}}, "ISO-8859-5");
    ExpectReadBack({"王菲", {"紅豆", "天空", "我願意"}}, "BIG5");
    ExpectReadBack({"周杰倫", {"晴天", "稻香", "七里香"}}, "BIG5");
    ExpectReadBack({"빅뱅", {"거짓말", "하루하루", "마지막 인사"}}, "EUC-KR");
    ExpectReadBack({"スピッツ", {"春", "夏", "空"}}, "EUC-JP");
    ExpectReadBack({"Ελένη", {"Νύχτα", "Αγάπη", "Θάλασσα"}}, "WINDOWS-1253");
    // ISO-8859-2 to the detector, but "ź" is a control character there.
    ExpectReadBack({"Łódź", {"Żółw", "Kraków", "Gdańsk"}}, "WINDOWS-1250");
}

TEST_F(CueCharsets, LongerSheetsInOtherCodePagesComeOutRight)
{
    ExpectReadBack({"王菲", {"紅豆 天空 我願意", "容易受傷的女人", "夢中人 (電影版本)", "人間 因為愛著你的愛"}}, "BIG5");
    ExpectReadBack({"아이유", {"나의 옛날이야기", "꽃갈피 너의 의미", "사랑이 지나가면", "여름밤의 꿈 어젯밤 이야기"}},
                   "EUC-KR");
    ExpectReadBack({"Машина времени", {"Поворот", "Костер", "Однажды мир прогнётся под нас", "За тех, кто в море"}},
                   "KOI8-R");
    ExpectReadBack({"サザンオールスターズ", {"いとしのエリー", "真夏の果実", "ツナミ 希望の轍", "愛の言霊"}}, "EUC-JP");
    ExpectReadBack({"Ελευθερία Αρβανιτάκη", {"Μεσόγειος", "Τα κορίτσια του νότου", "Ταξίδι στη βροχή"}},
                   "WINDOWS-1253");
}

TEST_F(CueCharsets, WesternSheetsStayWindows1252)
{
    ExpectReadBack({"Björk", {"Jóga", "Hunter", "Bachelorette"}}, "WINDOWS-1252");
    ExpectReadBack({"Café Tacvba", {"Déjà vu", "Niña", "Façade"}}, "WINDOWS-1252");
    ExpectReadBack({"Motörhead", {"Ace of Spades", "Über", "Ñ"}}, "WINDOWS-1252");
    EXPECT_EQ(Parse(Encode(SheetText({"Björk", {"Jóga"}}), "WINDOWS-1252")).charset, "WINDOWS-1252");
    EXPECT_EQ(Parse(SheetText({"Björk", {"Jóga"}})).charset, "UTF-8");
}

TEST_F(CueCharsets, ANamedCharsetWinsOverDetection)
{
    // KOI8-R bytes that read as sound Windows-1251 text the other way round.
    std::string bytes = Encode(SheetText({"Кино", {"Звезда"}}), "KOI8-R");
    EXPECT_FALSE(reader_.SetCharset("NO-SUCH-CHARSET"));
    ASSERT_TRUE(reader_.SetCharset("KOI8-R"));
    EXPECT_EQ(Parse(bytes).albumPerformer, L"Кино");
    EXPECT_EQ(reader_.Sheet()->charset, "KOI8-R");
    ASSERT_TRUE(reader_.SetCharset("CP1251"));
    EXPECT_NE(Parse(bytes).albumPerformer, L"Кино");

    // The program-wide choice, for readers made where the caller cannot
    // reach them; a reader's own choice comes first.
    ASSERT_TRUE(reader_.SetCharset(""));
    EXPECT_FALSE(SetCueCharsetOverride("NO-SUCH-CHARSET"));
    EXPECT_EQ(CueCharsetOverride(), "");
    ASSERT_TRUE(SetCueCharsetOverride("koi8-r"));
    std::string latin = Encode(SheetText({"Björk", {"Jóga"}}), "WINDOWS-1252");
    EXPECT_EQ(Parse(latin).charset, "koi8-r");
    EXPECT_EQ(Parse(bytes).albumPerformer, L"Кино");
    ASSERT_TRUE(SetCueCharsetOverride(""));
    EXPECT_EQ(Parse(latin).albumPerformer, L"Björk");

    // A byte-order mark says what the text is, whatever was chosen.
    ASSERT_TRUE(reader_.SetCharset("SHIFT_JIS"));
    EXPECT_EQ(Parse("\xEF\xBB\xBF" + SheetText({"Кино", {"Звезда"}})).albumPerformer, L"Кино");
}

TEST_F(CueCharsets, FileNamesAreDecodedLikeTheRestToFindTheImage)
{
    std::wstring image = Write("Кино - Звезда.flac", "x");  // a UTF-8 file system
    Write("other.ape", "x");                                 // no single-file guess
    const CueSheet& sheet = Parse(Encode(SheetText({"Кино", {"Звезда", "Война", "Песня"}}, "Кино - Звезда.flac"),
                                         "WINDOWS-1251"));
    ASSERT_EQ(sheet.files.size(), 1u);
    EXPECT_EQ(sheet.files[0].name, L"Кино - Звезда.flac");
    EXPECT_EQ(sheet.files[0].bytes, Encode("Кино - Звезда.flac", "WINDOWS-1251"));  // as stored
    EXPECT_EQ(sheet.files[0].path, image);
    EXPECT_EQ(sheet.files[0].found, ImageFound::Named);

    // A name stored in the sheet's bytes on disk (copied from a Windows
    // disk as is) is found by those bytes.
    std::string raw = Encode("Звезда.flac", "WINDOWS-1251");
    std::wstring rawImage = Write(raw, "x");
    const CueSheet& second = Parse(Encode(SheetText({"Кино", {"Звезда", "Война"}}, "Звезда.flac"), "WINDOWS-1251"));
    EXPECT_EQ(second.files[0].path, rawImage);
}

TEST(CueLines, LongLinesInMultiByteCharsetsNeverSplitACharacter)
{
    std::string title;
    for (int i = 0; i < 150; ++i)
        title += "桜";
    std::string bytes = Encode("TITLE \"" + title + "\"\nTITLE \"" + title + "\"\n", "SHIFT_JIS");
    CueText text = DecodeCueText(bytes, "SHIFT_JIS");
    std::wstring joined;
    std::string stored;
    for (const CueLine& line : text.lines) {
        EXPECT_LE(line.bytes.size(), kCueLineBytes);
        joined += line.text;
        stored += line.bytes;
    }
    EXPECT_GE(text.lines.size(), 4u);
    EXPECT_EQ(stored, bytes);
    EXPECT_EQ(win::ToUtf8(joined), "TITLE \"" + title + "\"\nTITLE \"" + title + "\"\n");

    // Bytes that are no text in the charset become U+FFFD; nothing is lost
    // from what follows them.
    CueText broken = DecodeCueText("A\x81\nB \x82", "SHIFT_JIS");
    ASSERT_EQ(broken.lines.size(), 2u);
    EXPECT_EQ(broken.lines[0].text, L"A\uFFFD\n");
    EXPECT_EQ(broken.lines[1].text, L"B \uFFFD");
}
