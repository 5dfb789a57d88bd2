// Which pictures count as covers: headers that really read as JPEG or PNG,
// and an APEv2 front picture before any file beside the source.
#include "platform/core/Strings.h"
#include "tags/CoverArt.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <taglib/apefile.h>
#include <taglib/apeitem.h>
#include <taglib/apetag.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>

using namespace testing_support;
namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

// A JPEG's start: SOI, an APP0 segment, then a baseline frame header of
// `width` x `height`, 8 bits, 3 components.
Bytes Jpeg(int width, int height)
{
    Bytes b{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 0x00, 0x00, 0xFF, 0xC0, 0x00, 0x11, 0x08};
    b.insert(b.end(), {static_cast<unsigned char>(height >> 8), static_cast<unsigned char>(height),
                       static_cast<unsigned char>(width >> 8), static_cast<unsigned char>(width), 0x03});
    b.resize(b.size() + 9, 0x11);
    return b;
}

Bytes Png(std::uint32_t width, std::uint32_t height, unsigned char bits, unsigned char colour)
{
    Bytes b{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (std::uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            b.push_back(static_cast<unsigned char>(v >> shift));
    b.insert(b.end(), {bits, colour, 0, 0, 0, 0, 0, 0, 0});
    return b;
}

}  // namespace

TEST(CoverPicture, OnlyHeadersThatReadAsJpegOrPngPass)
{
    std::string why;
    auto jpeg = CheckCoverImage(Jpeg(640, 480), why);
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->mime, "image/jpeg");
    EXPECT_EQ(jpeg->width, 640);
    EXPECT_EQ(jpeg->height, 480);
    EXPECT_EQ(jpeg->depth, 24);
    auto png = CheckCoverImage(Png(300, 200, 8, 6), why);
    ASSERT_TRUE(png);
    EXPECT_EQ(png->mime, "image/png");
    EXPECT_EQ(png->depth, 32);
    EXPECT_EQ(png->data, Png(300, 200, 8, 6));

    Bytes cut = Jpeg(640, 480);
    cut.resize(12);
    Bytes scanFirst{0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xC0};
    for (const Bytes& bad : {cut, scanFirst, Jpeg(0, 480), Png(0, 10, 8, 2), Png(10, 10, 3, 2), Png(10, 10, 8, 5),
                             Bytes{'G', 'I', 'F', '8', '9', 'a'}, Bytes{}}) {
        why.clear();
        EXPECT_FALSE(CheckCoverImage(bad, why));
        EXPECT_EQ(why, "not a readable JPEG or PNG image");
    }
    Bytes huge = Png(10, 10, 8, 2);
    huge.resize(kMaxCoverBytes + 1);
    EXPECT_FALSE(CheckCoverImage(huge, why));
    EXPECT_EQ(why, "larger than 16 MB");
}

TEST(CoverArt, AnApeFilesFrontPictureComesFirstThenTheFolderInItsOrder)
{
    TempDir dir;
    fs::copy_file(FixturePath("stereo16_44k.ape"), dir / "a.ape");
    auto find = [&] { return FindCoverArt(win::FromUtf8((dir / "a.ape").string()),
                                          win::FromUtf8((dir / "a.ape").string()), L"My Album"); };
    EXPECT_FALSE(find().picture);

    WriteBytes(dir / "my album.PNG", Png(5, 5, 8, 2));
    WriteBytes(dir / "FRONT.jpeg", Jpeg(7, 7));
    ASSERT_TRUE(find().picture);
    EXPECT_EQ(find().picture->width, 7);
    WriteBytes(dir / "folder.jpg", Bytes{1, 2, 3});
    EXPECT_EQ(find().picture->width, 7);
    EXPECT_EQ(find().warning, L"cover folder.jpg skipped: not a readable JPEG or PNG image");

    {
        TagLib::APE::File file((dir / "a.ape").c_str());
        TagLib::ByteVector value("front.png", 10);  // the name and its NUL
        Bytes png = Png(9, 9, 8, 2);
        value.append(TagLib::ByteVector(reinterpret_cast<const char*>(png.data()), static_cast<unsigned>(png.size())));
        TagLib::APE::Item item;
        item.setKey("Cover Art (Front)");
        item.setType(TagLib::APE::Item::Binary);
        item.setBinaryData(value);
        file.APETag(true)->setItem("Cover Art (Front)", item);
        ASSERT_TRUE(file.save());
    }
    CoverArt art = find();
    ASSERT_TRUE(art.picture);
    EXPECT_EQ(art.picture->width, 9);
    EXPECT_EQ(art.picture->data, Png(9, 9, 8, 2));
    EXPECT_TRUE(art.warning.empty());
}

TEST(CoverArt, AnId3TagInFrontOfAnApeFileLendsItsFrontPicture)
{
    TempDir dir;
    Bytes jpeg = Jpeg(12, 10);
    TagLib::ID3v2::Tag tag;
    for (auto type : {TagLib::ID3v2::AttachedPictureFrame::BackCover, TagLib::ID3v2::AttachedPictureFrame::FrontCover}) {
        auto* frame = new TagLib::ID3v2::AttachedPictureFrame;
        frame->setType(type);
        frame->setMimeType("image/jpeg");
        Bytes picture = type == TagLib::ID3v2::AttachedPictureFrame::FrontCover ? jpeg : Png(3, 3, 8, 2);
        frame->setPicture(TagLib::ByteVector(reinterpret_cast<const char*>(picture.data()),
                                             static_cast<unsigned>(picture.size())));
        tag.addFrame(frame);
    }
    TagLib::ByteVector front = tag.render();
    Bytes file(front.begin(), front.end());
    Bytes ape = ReadBytes(FixturePath("stereo16_44k.ape"));
    file.insert(file.end(), ape.begin(), ape.end());
    WriteBytes(dir / "a.ape", file);
    WriteBytes(dir / "cover.png", Png(5, 5, 8, 2));

    CoverArt art = FindCoverArt(win::FromUtf8((dir / "a.ape").string()), win::FromUtf8((dir / "a.ape").string()), L"");
    ASSERT_TRUE(art.picture);
    EXPECT_EQ(art.picture->data, jpeg);
    EXPECT_EQ(art.picture->mime, "image/jpeg");
}
