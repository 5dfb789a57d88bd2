// A whole collection converted in one command: albums found by their sheets
// (beside or inside their images), loose tracks, things that are not audio
// or not there, written into the same sub-folders; later runs redo only what
// changed, a plan run by GNU parallel makes the same files, and the JSON
// report tells what happened to every output.
#include "tests/cli/CommandRun.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <cstdlib>
#include <map>
#include <unistd.h>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

const char kTwoTracks[] = "TITLE \"Two\"\nFILE \"%s\" WAVE\n"
                          "  TRACK 01 AUDIO\n    TITLE \"One\"\n    INDEX 01 00:00:00\n"
                          "  TRACK 02 AUDIO\n    TITLE \"Two\"\n    INDEX 01 00:01:00\n";

std::string Sheet(const std::string& image)
{
    char text[512];
    std::snprintf(text, sizeof text, kTwoTracks, image.c_str());
    return text;
}

void WriteText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// Every file under `root` (the manifest aside) by its relative path, with its bytes.
std::map<std::string, std::vector<unsigned char>> Tree(const fs::path& root)
{
    std::map<std::string, std::vector<unsigned char>> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file() && entry.path().filename() != ".kolvex-manifest")
            files[fs::relative(entry.path(), root).string()] = ReadBytes(entry.path());
    return files;
}

std::map<std::string, fs::file_time_type> Times(const fs::path& root)
{
    std::map<std::string, fs::file_time_type> times;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file() && entry.path().filename() != ".kolvex-manifest")
            times[fs::relative(entry.path(), root).string()] = entry.last_write_time();
    return times;
}

std::vector<std::string> Names(const std::map<std::string, std::vector<unsigned char>>& tree)
{
    std::vector<std::string> names;
    for (const auto& [name, bytes] : tree)
        names.push_back(name);
    return names;
}

// A collection as people keep one: albums as APE, FLAC and WavPack images
// with sheets, a FLAC image with its sheet inside, loose FLAC and WavPack
// tracks, a cover and notes, a link back up the tree and a link to itself.
struct Collection {
    TempDir dir;
    fs::path src = dir / "src";

    Collection()
    {
        for (const char* folder : {"ape", "flac", "wv", "it's embedded", "loose/deeper"})
            fs::create_directories(src / folder);
        fs::copy_file(Demo("demo.ape"), src / "ape" / "demo.ape");
        fs::copy_file(Demo("demo.cue"), src / "ape" / "demo.cue");
        std::string make = "cd " + Q(src) + " && sox -n -r 44100 -b 16 -c 2 pcm.wav synth 2 sine 440 sine 660 && "
                           "flac -s pcm.wav -o flac/album.flac && wavpack -q pcm.wav -o wv/album.wv && "
                           "wavpack -q pcm.wav -o below/image/album.wv && "
                           "flac -s pcm.wav -o loose/a.flac && wavpack -q pcm.wav -o loose/deeper/b.wv && "
                           "flac -s --cuesheet=sheet.cue pcm.wav -o \"it's embedded/image.flac\" && rm pcm.wav sheet.cue && "
                           "echo notes > loose/notes.txt && printf 'JFIF' > loose/cover.jpg && "
                           "ln -s .. loose/up && ln -s self loose/self && echo made";
        WriteText(src / "sheet.cue", Sheet("pcm.wav"));
        WriteText(src / "flac" / "album.cue", Sheet("album.flac"));
        WriteText(src / "wv" / "album.cue", Sheet("album.wv"));
        // A sheet above the folder of its image.
        fs::create_directories(src / "below" / "image");
        WriteText(src / "below" / "album.cue", Sheet("image/album.wv"));
        auto made = RunCapture(make + " 2>&1");
        EXPECT_EQ(std::string(made.begin(), made.end()), "made\n");
    }
};

const std::vector<std::string> kExpected = {
    "ape/Evening Bells.wav", "ape/Morning Steps.wav",      "ape/Slow Tide.wav",
    "below/One.wav",         "below/Two.wav",              "flac/One.wav",
    "flac/Two.wav",          "it's embedded/Track 01.wav", "it's embedded/Track 02.wav",
    "loose/a.wav",           "loose/deeper/b.wav",         "wv/One.wav",
    "wv/Two.wav"};

const char kWav[] = "--wav --no-resample --defaults ";

}  // namespace

TEST(CollectionCommand, MirrorsTheTreeAndLaterRunsRedoOnlyWhatChanged)
{
    ASSERT_EQ(MissingTools({"sox", "flac", "wavpack"}), "");
    Collection c;
    fs::path out = c.dir / "out";
    Result r = Convert(kWav + std::string("-r ") + Q(c.src) + " -o " + Q(out));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(Names(Tree(out)), kExpected) << r.output;
    // The link to itself is said; the one back up the tree is simply not walked twice.
    EXPECT_TRUE(Has(r, "self: warning")) << r.output;
    // Without a terminal: plain lines saying how far the whole run is, and its totals.
    EXPECT_TRUE(Has(r, "albums 7 of 7, audio 0:36 of 0:36")) << r.output;
    EXPECT_TRUE(Has(r, "13 converted, 0 failed, 0 skipped, 0 up to date; audio 0:36 in")) << r.output;
    EXPECT_EQ(r.output.find('\033'), std::string::npos) << r.output;
    auto before = Times(out);

    Result again = Convert(kWav + std::string("-r ") + Q(c.src) + " -o " + Q(out));
    EXPECT_EQ(again.status, 0) << again.output;
    EXPECT_FALSE(Has(again, "done ")) << again.output;
    EXPECT_TRUE(Has(again, "7 album(s) and track(s) up to date")) << again.output;
    EXPECT_EQ(Times(out), before);

    // A touched image redoes its album alone, without asking.
    fs::last_write_time(c.src / "wv" / "album.wv", fs::file_time_type::clock::now() + std::chrono::seconds(5));
    Result touched = Convert(kWav + std::string("-r ") + Q(c.src) + " -o " + Q(out));
    EXPECT_EQ(touched.status, 0) << touched.output;
    auto after = Times(out);
    for (const auto& [name, time] : before)
        EXPECT_EQ(time != after[name], name.starts_with("wv/")) << name << "\n" << touched.output;

    // Other settings make other files: everything is redone.
    Result resampled = Convert("--wav --resample --defaults -r " + Q(c.src) + " -o " + Q(out));
    EXPECT_EQ(resampled.status, 0) << resampled.output;
    EXPECT_TRUE(Has(resampled, "done   a.flac")) << resampled.output;
    EXPECT_FALSE(Has(resampled, "track(s) up to date")) << resampled.output;

    Result forced = Convert("--wav --resample --defaults --force -r " + Q(c.src) + " -o " + Q(out));
    EXPECT_EQ(forced.status, 0) << forced.output;
    EXPECT_TRUE(Has(forced, "done   b.wv")) << forced.output;
}

TEST(CollectionCommand, FilesOfTheUserAreKeptAndTheOutputFolderIsNeverAnInput)
{
    ASSERT_EQ(MissingTools({"sox", "flac", "wavpack"}), "");
    Collection c;
    // Inside the collection: its files must not come back as sources.
    fs::path out = c.src / "converted";
    fs::create_directories(out / "loose");
    WriteText(out / "loose" / "a.wav", "mine");
    Result r = Convert(kWav + std::string("-r ") + Q(c.src) + " -o " + Q(out));
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(Has(r, "kept the existing file")) << r.output;
    auto tree = Tree(out);
    EXPECT_EQ(tree["loose/a.wav"], std::vector<unsigned char>({'m', 'i', 'n', 'e'}));
    EXPECT_TRUE(tree.count("loose/deeper/b.wav"));
    EXPECT_FALSE(fs::exists(out / "converted"));

    // A second sheet for an image already taken adds nothing.
    fs::copy_file(c.src / "wv" / "album.cue", c.src / "wv" / "album (copy).cue");
    Result again = Convert(kWav + std::string("--yes -r ") + Q(c.src) + " -o " + Q(out));
    // What belongs to -r alone, or a file where folders are walked, is refused.
    EXPECT_EQ(Convert("--plan " + Q(c.src / "loose" / "a.flac")).status, 2);
    EXPECT_EQ(Convert("-r " + Q(c.src / "loose" / "a.flac") + " -o " + Q(out)).status, 2);
    EXPECT_TRUE(Has(again, "album (copy).cue: warning: its images are converted by another sheet")) << again.output;
    EXPECT_FALSE(fs::exists(out / "wv" / "One (2).wav"));
    EXPECT_FALSE(Has(again, "done   One")) << again.output;
    EXPECT_EQ(again.status, 0) << again.output;
    EXPECT_TRUE(Has(again, "done   a.flac")) << again.output;
    EXPECT_FALSE(Has(again, "done   b.wv")) << again.output;
    EXPECT_FALSE(fs::exists(out / "converted"));
    EXPECT_GT(fs::file_size(out / "loose" / "a.wav"), 1000u);
}

TEST(CollectionCommand, AFolderThatCannotBeReadIsSaidAndTheRestGoesOn)
{
    ASSERT_EQ(MissingTools({"sox", "flac", "wavpack"}), "");
    Collection c;
    fs::create_directories(c.src / "locked");
    fs::copy_file(c.src / "loose" / "a.flac", c.src / "locked" / "c.flac");
    fs::permissions(c.src / "locked", fs::perms::none);
    Result r = Convert(kWav + std::string("-r ") + Q(c.src) + " -o " + Q(c.dir / "out"));
    fs::permissions(c.src / "locked", fs::perms::owner_all);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(fs::exists(c.dir / "out" / "ape" / "Slow Tide.wav"));
    if (geteuid() != 0) {
        EXPECT_TRUE(Has(r, "locked: warning: cannot be read")) << r.output;
        EXPECT_FALSE(fs::exists(c.dir / "out" / "locked"));
    } else {
        // Permissions do not stop root: the folder is read, and only the
        // link that leads nowhere (above) stands for what cannot be.
        EXPECT_TRUE(fs::exists(c.dir / "out" / "locked" / "c.wav"));
    }
}

TEST(CollectionCommand, APlanRunByParallelMakesTheSameFilesAsOneRun)
{
    ASSERT_EQ(MissingTools({"sox", "flac", "wavpack", "parallel"}), "");
    Collection c;
    Result whole = Convert(kWav + std::string("-r ") + Q(c.src) + " -o " + Q(c.dir / "one"));
    ASSERT_EQ(whole.status, 0) << whole.output;

    fs::path plan = c.dir / "plan";
    Result planned = Convert(kWav + std::string("--plan -r ") + Q(c.src) + " -o " + Q(c.dir / "many") + " >" + Q(plan));
    ASSERT_EQ(planned.status, 0) << planned.output;
    auto text = ReadBytes(plan);
    std::string lines(text.begin(), text.end());
    // One command per album and one per folder of loose tracks.
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 7) << lines;
    EXPECT_FALSE(fs::exists(c.dir / "many")) << "planning converts nothing";

    Result ran = Shell("cd / && parallel -j2 < " + Q(plan));
    ASSERT_EQ(ran.status, 0) << ran.output;
    EXPECT_EQ(Tree(c.dir / "many"), Tree(c.dir / "one"));
}

TEST(CollectionCommand, TheJsonReportNamesEveryOutputAndHowItEnded)
{
    ASSERT_EQ(MissingTools({"sox", "flac", "wavpack", "python3"}), "");
    Collection c;
    fs::path out = c.dir / "out";
    fs::path json = c.dir / "report.json";
    ASSERT_EQ(Convert(kWav + std::string("-r ") + Q(c.src) + " -o " + Q(out) + " --json " + Q(json)).status, 0);
    std::string read = "python3 -c 'import json,sys\nfor r in json.load(open(sys.argv[1])): "
                       "print(r[\"outcome\"], r[\"output\"], r[\"reason\"], r[\"seconds\"] >= 0, sep=\"|\")' ";
    auto listed = RunCapture(read + Q(json));
    std::string expected;
    for (const auto& name : kExpected)
        expected += "converted|" + (out / name).string() + "||True\n";
    std::string lines(listed.begin(), listed.end());
    std::vector<std::string> sorted;
    for (std::size_t at = 0, end; (end = lines.find('\n', at)) != std::string::npos; at = end + 1)
        sorted.push_back(lines.substr(at, end - at + 1));
    std::sort(sorted.begin(), sorted.end());
    std::string joined;
    for (const auto& line : sorted)
        joined += line;
    EXPECT_EQ(joined, expected);

    ASSERT_EQ(Convert(kWav + std::string("-r ") + Q(c.src) + " -o " + Q(out) + " --json " + Q(json)).status, 0);
    listed = RunCapture(read + Q(json) + " | cut -d'|' -f1 | sort | uniq -c");
    EXPECT_EQ(std::string(listed.begin(), listed.end()), "     13 up to date\n");
}

TEST(CollectionCommand, TheManualPageIsMadeFromTheHelp)
{
    const char* bin = std::getenv("KOLVEX_BIN");
    ASSERT_NE(bin, nullptr);
    fs::path page = fs::path(bin) / "kolvex-convert.1";
    ASSERT_TRUE(fs::exists(page)) << "help2man makes it at build time; tools/setup installs help2man";
    auto bytes = ReadBytes(page);
    std::string text(bytes.begin(), bytes.end());
    for (const char* option : {"recursive", "plan", "force", "json", "defaults", "Exit status"})
        EXPECT_NE(text.find(option), std::string::npos) << option;
}

TEST(CollectionCommand, AnInterruptedRunStartedAgainDoesTheRest)
{
    ASSERT_EQ(MissingTools({"sox", "flac"}), "");
    TempDir dir;
    for (int i = 1; i <= 4; ++i)
        fs::create_directories(dir / "src" / ("a" + std::to_string(i)));
    auto made = RunCapture("cd " + Q(dir / "src") + " && sox -n -r 44100 -b 16 -c 2 t.wav synth 60 sine 440 && "
                           "for a in a1 a2 a3 a4; do flac -s t.wav -o $a/t.flac; done && rm t.wav && echo made");
    ASSERT_EQ(std::string(made.begin(), made.end()), "made\n");
    std::string run = "$K --defaults -j 1 --threads 1 -r " + Q(dir / "src") + " -o " + Q(dir / "out");
    // Stopped once the first album is done.
    Result stopped = Shell(run + " >" + Q(dir / "log") + " 2>&1 & p=$!; for i in $(seq 600); do grep -q '^done' " +
                           Q(dir / "log") + " && break; sleep 0.05; done; kill -INT $p; wait $p");
    EXPECT_EQ(stopped.status, 130) << stopped.output;
    auto log = ReadBytes(dir / "log");
    std::string first(log.begin(), log.end());
    int doneBefore = 0;
    for (std::size_t at = 0; (at = first.find("\ndone ", at)) != std::string::npos; ++at)
        ++doneBefore;
    ASSERT_GE(doneBefore, 1) << first;
    ASSERT_LT(doneBefore, 4) << first;

    Result rest = Shell(run);
    EXPECT_EQ(rest.status, 0) << rest.output;
    EXPECT_TRUE(Has(rest, std::to_string(4 - doneBefore) + " converted, 0 failed, 0 skipped, " +
                              std::to_string(doneBefore) + " up to date"))
        << first << rest.output;
    for (int i = 1; i <= 4; ++i)
        EXPECT_TRUE(fs::exists(dir / "out" / ("a" + std::to_string(i)) / "t.mp3"));
}

TEST(CollectionCommand, NamesWithTabsAndLineBreaksAreRememberedButNotPlanned)
{
    ASSERT_EQ(MissingTools({"sox", "flac"}), "");
    TempDir dir;
    fs::path odd = dir / "src" / "tab\there\nand a break\\";
    fs::create_directories(odd);
    auto made = RunCapture("cd " + Q(dir / "src") + " && sox -n -r 44100 -b 16 -c 2 t.wav synth 1 sine 440 && "
                           "flac -s t.wav -o \"$(printf 'tab\\there\\nand a break\\\\')/x.flac\" && rm t.wav && echo made");
    ASSERT_EQ(std::string(made.begin(), made.end()), "made\n");
    std::string run = kWav + std::string("-r ") + Q(dir / "src") + " -o " + Q(dir / "out");
    Result first = Convert(run);
    ASSERT_EQ(first.status, 0) << first.output;
    EXPECT_TRUE(fs::exists(dir / "out" / odd.filename() / "x.wav"));
    Result again = Convert(run);
    EXPECT_TRUE(Has(again, "1 album(s) and track(s) up to date")) << again.output;

    Result plan = Convert(kWav + std::string("--force --plan -r ") + Q(dir / "src") + " -o " + Q(dir / "out"));
    EXPECT_EQ(plan.status, 0) << plan.output;
    EXPECT_TRUE(Has(plan, "has a line break in its name; left out of the plan")) << plan.output;
    EXPECT_FALSE(Has(plan, "--defaults")) << plan.output;
}

TEST(CollectionCommand, CollectionsSharingAnOutputFolderKeepEachOthersRecords)
{
    ASSERT_EQ(MissingTools({"sox", "flac", "wavpack"}), "");
    Collection c;
    fs::path out = c.dir / "out";
    auto run = [&](const char* folder) {
        Result r = Convert(kWav + std::string("-r ") + Q(c.src / folder) + " -o " + Q(out));
        EXPECT_EQ(r.status, 0) << r.output;
        return r;
    };
    run("flac");
    run("ape");
    auto before = Times(out);
    EXPECT_EQ(before.size(), 5u);
    // Each run rewrote the manifest; what the other collection made is still known.
    Result flac = run("flac");
    EXPECT_TRUE(Has(flac, "1 album(s) and track(s) up to date")) << flac.output;
    Result ape = run("ape");
    EXPECT_TRUE(Has(ape, "1 album(s) and track(s) up to date")) << ape.output;
    EXPECT_EQ(Times(out), before);

    // A later word on an input outweighs an earlier one, and a line that
    // makes no sense is passed over.
    std::string sheet = fs::absolute(c.src / "flac" / "album.cue").lexically_normal().string();
    std::ofstream manifest(out / ".kolvex-manifest", std::ios::app);
    for (const char* name : {"One.wav", "Two.wav"})
        manifest << (out / name).string() << '\t' << sheet << "\t2\tother settings\t" << sheet << "\t1\n";
    manifest << "not a record\n";
    manifest.close();
    Result redone = run("flac");
    EXPECT_TRUE(Has(redone, "done ")) << redone.output;
    EXPECT_FALSE(Has(redone, "track(s) up to date")) << redone.output;
    ape = run("ape");
    EXPECT_TRUE(Has(ape, "1 album(s) and track(s) up to date")) << ape.output;
    flac = run("flac");
    EXPECT_TRUE(Has(flac, "1 album(s) and track(s) up to date")) << flac.output;
}

namespace {

// The album gain a file carries; "" when none.
std::string AlbumGainOf(const fs::path& file)
{
    auto out = RunCapture("ffprobe -v error -show_entries format_tags=REPLAYGAIN_ALBUM_GAIN -of default=nw=1:nk=1 " +
                          Q(file));
    std::string text(out.begin(), out.end());
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

// Loose FLAC tracks of one album, each a tone of its own loudness, in
// src/album; and an album of one track in src/other.
struct LooseAlbum {
    TempDir dir;
    fs::path src = dir / "src";
    fs::path out = dir / "out";

    LooseAlbum()
    {
        fs::create_directories(src / "album");
        fs::create_directories(src / "other");
        std::string make = "cd " + Q(src) + " && for i in 1 2 3; do sox -n -r 44100 -b 16 -c 2 t.wav synth 2 sine " +
                           "${i}00 vol 0.${i} && flac -s -T ALBUM=Tones -T TITLE=t$i t.wav -o album/t$i.flac; done && "
                           "flac -s -T ALBUM=Other t.wav -o other/x.flac && rm t.wav && echo made";
        auto made = RunCapture(make + " 2>&1");
        EXPECT_EQ(std::string(made.begin(), made.end()), "made\n");
        // Made a while ago, so that a touched source is newer than them and older than what is made of it.
        for (const char* track : {"album/t1.flac", "album/t2.flac", "album/t3.flac", "other/x.flac"})
            if (fs::exists(src / track))
                fs::last_write_time(src / track, fs::file_time_type::clock::now() - std::chrono::minutes(1));
    }
    Result Run(const std::string& gain = "album") const
    {
        return Convert("--flac --defaults --replaygain " + gain + " -r " + Q(src) + " -o " + Q(out));
    }
    std::string Gain(const char* track) const { return AlbumGainOf(out / "album" / (std::string(track) + ".flac")); }
};

}  // namespace

TEST(CollectionCommand, AnAlbumWhoseFilesLackItsGainIsRedoneUntilTheyHaveIt)
{
    ASSERT_EQ(MissingTools({"sox", "flac", "ffprobe"}), "");
    LooseAlbum a;
    // A damaged track, cut so short that not even its tags can be read.
    fs::rename(a.src / "album" / "t2.flac", a.dir / "t2.flac");
    auto whole = ReadBytes(a.dir / "t2.flac");
    WriteText(a.src / "album" / "t2.flac", std::string(whole.begin(), whole.begin() + 3000));

    Result first = a.Run();
    EXPECT_EQ(first.status, 1) << first.output;
    EXPECT_TRUE(Has(first, "FAILED   t2.flac")) << first.output;
    EXPECT_TRUE(Has(first, "warning: the album gain was not written")) << first.output;
    for (const char* track : {"t1", "t3"})
        EXPECT_EQ(a.Gain(track), "") << track;
    EXPECT_NE(AlbumGainOf(a.out / "other" / "x.flac"), "");

    // Still damaged: the good tracks are not taken for done.
    Result again = a.Run();
    EXPECT_EQ(again.status, 1) << again.output;
    EXPECT_TRUE(Has(again, "done   t1.flac")) << again.output;
    EXPECT_TRUE(Has(again, "done   t3.flac")) << again.output;
    EXPECT_TRUE(Has(again, "2 converted, 1 failed, 0 skipped, 1 up to date")) << again.output;

    // Files made without the album gain are just what a run with track gains makes.
    Result tracks = a.Run("track");
    EXPECT_TRUE(Has(tracks, "1 converted, 1 failed, 0 skipped, 2 up to date")) << tracks.output;

    fs::copy_file(a.dir / "t2.flac", a.src / "album" / "t2.flac", fs::copy_options::overwrite_existing);
    Result mended = a.Run();
    EXPECT_EQ(mended.status, 0) << mended.output;
    // The other album too: the run with track gains remade it without its album gain.
    EXPECT_TRUE(Has(mended, "4 converted, 0 failed, 0 skipped, 0 up to date")) << mended.output;
    EXPECT_FALSE(Has(mended, "warning")) << mended.output;
    EXPECT_NE(a.Gain("t1"), "");
    for (const char* track : {"t2", "t3"})
        EXPECT_EQ(a.Gain(track), a.Gain("t1")) << track;

    auto before = Times(a.out);
    Result done = a.Run();
    EXPECT_EQ(done.status, 0) << done.output;
    EXPECT_TRUE(Has(done, "0 converted, 0 failed, 0 skipped, 4 up to date")) << done.output;
    EXPECT_EQ(Times(a.out), before);
}

TEST(CollectionCommand, ATouchedLooseTrackRedoesEveryTrackOfItsFolderWithAlbumGain)
{
    ASSERT_EQ(MissingTools({"sox", "flac", "ffprobe"}), "");
    LooseAlbum a;
    ASSERT_EQ(a.Run().status, 0);
    const std::string gain = a.Gain("t1");
    auto before = Times(a.out);

    // t1 becomes louder: the album's gain changes for every track.
    auto made = RunCapture("cd " + Q(a.src) + " && sox -n -r 44100 -b 16 -c 2 t.wav synth 2 sine 100 vol 0.9 && "
                           "flac -s -f -T ALBUM=Tones -T TITLE=t1 t.wav -o album/t1.flac && rm t.wav && echo made");
    ASSERT_EQ(std::string(made.begin(), made.end()), "made\n");
    Result touched = a.Run();
    EXPECT_EQ(touched.status, 0) << touched.output;
    EXPECT_TRUE(Has(touched, "3 converted, 0 failed, 0 skipped, 1 up to date")) << touched.output;
    auto after = Times(a.out);
    for (const auto& [name, time] : before)
        EXPECT_EQ(time != after[name], name.starts_with("album/")) << name << "\n" << touched.output;
    EXPECT_NE(a.Gain("t1"), gain);
    for (const char* track : {"t2", "t3"})
        EXPECT_EQ(a.Gain(track), a.Gain("t1")) << track;

    // Track gains depend on nothing else: a touched track is redone alone.
    Result tracks = a.Run("track");
    EXPECT_EQ(tracks.status, 0) << tracks.output;
    fs::last_write_time(a.src / "album" / "t3.flac", fs::file_time_type::clock::now());
    Result one = a.Run("track");
    EXPECT_TRUE(Has(one, "1 converted, 0 failed, 0 skipped, 3 up to date")) << one.output;
    EXPECT_TRUE(Has(one, "done   t3.flac")) << one.output;
}
