// Finding the image a sheet means when it is not under the name the sheet
// gives: other extensions, the sheet's own name, the one audio file beside
// it, and saying which of these found it.
#include "cue/AudioExtensions.h"
#include "tests/cue/CueFixture.h"

namespace {

const std::string kOneTrack = "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";

}  // namespace

TEST_F(Cue, TheNamedImageComesFirst)
{
    Write("album.flac", "x");
    Write("Rip.wv", "x");
    Write("rip.ape", "x");
    const CueSheet& sheet = Parse("FILE \"Rip.wv\" WAVE\n" + kOneTrack);
    EXPECT_EQ(sheet.files[0].path, Path("Rip.wv"));
    EXPECT_EQ(sheet.files[0].found, ImageFound::Named);
    EXPECT_EQ(sheet.files[0].kind, CueFileKind::Wave);
    EXPECT_EQ(sheet.tracks[0]->imagePath, Path("Rip.wv"));
}

TEST_F(Cue, TheSameNameUnderAnyAudioExtensionInAnyCase)
{
    for (std::wstring_view extension : kAudioExtensions) {
        std::filesystem::remove_all(dir_);
        std::string name = "Disc." + win::ToUtf8(win::ToLower(extension));
        for (char& c : name)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        Write(name, "x");
        Write("notes.txt", "x");
        const CueSheet& sheet = Parse("FILE \"disc.wav\" WAVE\n" + kOneTrack);
        EXPECT_EQ(sheet.files[0].path, Path(name)) << name;
        EXPECT_EQ(sheet.files[0].found, extension == L"wav" ? ImageFound::Named : ImageFound::ByExtension) << name;
    }
}

TEST_F(Cue, ASheetRenamedWithItsImageFindsItByItsOwnName)
{
    Write("Artist - Album.flac", "x");
    Write("cover.jpg", "x");
    Write("other.tak", "x");  // two audio files: only the name decides
    const CueSheet& sheet = Parse("FILE \"Range.wav\" WAVE\n" + kOneTrack);  // the sheet is album.cue
    EXPECT_EQ(sheet.files[0].found, ImageFound::Missing);
    EXPECT_EQ(sheet.files[0].path, Path("Range.wav"));  // named as written: a failure names it

    Write("album.tta", "x");
    const CueSheet& renamed = Parse("FILE \"Range.wav\" WAVE\n" + kOneTrack);
    EXPECT_EQ(renamed.files[0].path, Path("album.tta"));
    EXPECT_EQ(renamed.files[0].found, ImageFound::BySheetName);
    EXPECT_EQ(std::wstring(ImageFoundText(renamed.files[0].found)), L"found by the sheet's name");
}

TEST_F(Cue, TheOneAudioFileBesideASheetOfOneImage)
{
    Write("Artist - Album.m4a", "x");
    Write("cover.jpg", "x");
    Write("log.txt", "x");
    Write("sub/other.flac", "x");  // not beside the sheet
    const CueSheet& sheet = Parse("FILE \"Range.wav\" WAVE\n" + kOneTrack);
    EXPECT_EQ(sheet.files[0].path, Path("Artist - Album.m4a"));
    EXPECT_EQ(sheet.files[0].found, ImageFound::OnlyAudioFile);
    EXPECT_EQ(sheet.tracks[0]->imagePath, Path("Artist - Album.m4a"));

    // One image named twice is still one image.
    const CueSheet& twice = Parse("FILE \"Range.wav\" WAVE\n" + kOneTrack + "FILE \"range.WAV\" WAVE\n" + kOneTrack);
    for (const CueFile& file : twice.files)
        EXPECT_EQ(file.found, ImageFound::OnlyAudioFile);

    // Two audio files: no guess.
    Write("Artist - Album (bonus).ape", "x");
    const CueSheet& two = Parse("FILE \"Range.wav\" WAVE\n" + kOneTrack);
    EXPECT_EQ(two.files[0].found, ImageFound::Missing);
    EXPECT_EQ(two.files[0].path, Path("Range.wav"));

    // Several FILE entries: each its own image or none, never the same guess.
    std::filesystem::remove(dir_ / "Artist - Album (bonus).ape");
    const CueSheet& several = Parse("FILE \"one.wav\" WAVE\n" + kOneTrack + "FILE \"two.wav\" WAVE\n" + kOneTrack);
    for (const CueFile& file : several.files)
        EXPECT_EQ(file.found, ImageFound::Missing);
}

TEST_F(Cue, TheSheetIsNeverItsOwnImage)
{
    const CueSheet& sheet = Parse("FILE \"album.cue\" WAVE\n" + kOneTrack);
    EXPECT_EQ(sheet.files[0].found, ImageFound::Missing);
    EXPECT_EQ(sheet.files[0].path, Path("album.cue"));  // named as written: a failure names it
    EXPECT_EQ(std::wstring(ImageFoundText(sheet.files[0].found)), L"not found");
}

TEST_F(Cue, RawCdImagesKeepTheirKind)
{
    Write("disc.bin", "x");
    const CueSheet& little = Parse("FILE \"disc.bin\" BINARY\n" + kOneTrack);
    EXPECT_EQ(little.files[0].kind, CueFileKind::Binary);
    EXPECT_TRUE(IsRawCdImage(little.files[0]));
    const CueSheet& big = Parse("FILE \"DISC.BIN\" motorola\n" + kOneTrack);
    EXPECT_EQ(big.files[0].kind, CueFileKind::Motorola);
    EXPECT_EQ(big.files[0].path, Path("disc.bin"));
    EXPECT_TRUE(IsRawCdImage(big.files[0]));

    // The .bin compressed after the sheet was written is no longer raw.
    std::filesystem::remove(dir_ / "disc.bin");
    Write("disc.flac", "x");
    const CueSheet& packed = Parse("FILE \"disc.bin\" BINARY\n" + kOneTrack);
    EXPECT_EQ(packed.files[0].path, Path("disc.flac"));
    EXPECT_EQ(packed.files[0].found, ImageFound::ByExtension);
    EXPECT_FALSE(IsRawCdImage(packed.files[0]));

    // A .bin is only an image for a raw entry.
    std::filesystem::remove(dir_ / "disc.flac");
    Write("disc.bin", "x");
    Write("extra.bin", "x");
    const CueSheet& wave = Parse("FILE \"disc.wav\" WAVE\n" + kOneTrack);
    EXPECT_EQ(wave.files[0].found, ImageFound::Missing);
    EXPECT_EQ(Parse("FILE \"x.aiff\" AIFF\n" + kOneTrack).files[0].kind, CueFileKind::Aiff);
    EXPECT_EQ(Parse("FILE \"x.wv\" WAVPACK\n" + kOneTrack).files[0].kind, CueFileKind::Unknown);
}

TEST(AudioExtensions, EveryDecodedFormatIsAudioInAnyCase)
{
    for (const wchar_t* name : {L"a.ape", L"a.FLAC", L"a.Wv", L"a.tta", L"a.wav", L"a.rf64", L"a.w64", L"a.aif",
                                L"a.AIFF", L"a.m4a", L"a.tak", L"dir.x/a.b.tak"})
        EXPECT_TRUE(HasAudioExtension(name)) << win::ToUtf8(name);
    for (const wchar_t* name : {L"a.cue", L"a.bin", L"a.jpg", L"flac", L"a.flac/", L"a.flac.txt", L"dir.flac/a"})
        EXPECT_FALSE(HasAudioExtension(name)) << win::ToUtf8(name);
}
