#include "skin/SkinElement.h"

#include "platform/graphics/Gdi.h"

SkinElement::SkinElement(const SkinFile& file, std::wstring section, std::wstring skinDirectory)
    : file_(file), section_(std::move(section)), skinDirectory_(std::move(skinDirectory))
{
}

SkinElement::~SkinElement()
{
    // Let go of the window before the font and images its painting uses.
    HookWindow(nullptr);
    if (font_)
        win::DeleteObject(font_);
}

bool SkinElement::Load()
{
    type_ = file_.GetString(section_, L"type", L"Window");
    name_ = file_.GetString(section_, L"name", L"window");
    fontSize_ = file_.GetInt(section_, L"fontsize", 12);
    fontStyle_ = ParseFontWeight(file_.GetString(section_, L"fontweight", L"NORMAL"));
    if (font_)
        win::DeleteObject(font_);
    font_ = CreateSkinFont(fontSize_, fontStyle_);
    return true;
}

void SkinElement::Enable(SkinManager* manager)
{
    manager_ = manager;
    enabled_ = true;
}

SkinImage SkinElement::LoadElementImage() const
{
    std::wstring image = file_.GetString(section_, L"image", L"");
    if (image.empty())
        return {};
    // The name is joined to the folder as it stands, as the skin wrote it.
    return LoadImageFile(skinDirectory_ + image);
}

void SkinElement::Cut(const SkinImage& image, const wchar_t* key, SkinPiece& piece) const
{
    piece.source = file_.GetRect(section_, key);
    CutPiece(image, piece);
}
