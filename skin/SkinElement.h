// What every skinned element shares: where it is read from, its common
// keys (name, type, owner window, font), the window it skins and its
// current image. The kinds (frame, button, text label, multimedia list)
// add their own keys and message handling.
#pragma once

#include "skin/CSubclassWnd.h"
#include "skin/SkinFile.h"
#include "skin/SkinImage.h"

#include <string>

class SkinManager;

class SkinElement : public CSubclassWnd {
public:
    SkinElement(const SkinFile& file, std::wstring section, std::wstring skinDirectory);
    ~SkinElement() override;

    // Reads the common keys and makes the font; kinds read their own keys
    // and pieces after calling this. False when the element's image failed.
    virtual bool Load();

    const std::wstring& Section() const { return section_; }
    const std::wstring& Name() const { return name_; }
    const std::wstring& Type() const { return type_; }
    // The frame element's name this element belongs to ("attribute").
    const std::wstring& OwnerName() const { return ownerName_; }
    int FontSize() const { return fontSize_; }
    SkinFontStyle FontStyle() const { return fontStyle_; }
    win::HFONT Font() const { return font_; }

    win::HWND Window() const { return window_; }
    void SetWindow(win::HWND window) { window_ = window; }
    bool Enabled() const { return enabled_; }
    SkinManager* Manager() const { return manager_; }
    // Marks the element applied by `manager`.
    void Enable(SkinManager* manager);
    // The composed window image of a frame, the face of a button.
    const SkinImage& CurrentImage() const { return image_; }

protected:
    // The file named by "image", from the skin directory; empty on failure.
    SkinImage LoadElementImage() const;
    // Reads the rectangle `key` and cuts it from `image` into `piece`.
    void Cut(const SkinImage& image, const wchar_t* key, SkinPiece& piece) const;

    SkinFile file_;
    std::wstring section_;
    std::wstring skinDirectory_;
    std::wstring name_;
    std::wstring type_;
    std::wstring ownerName_;
    int fontSize_ = 12;
    SkinFontStyle fontStyle_ = SkinFontStyle::Regular;
    win::HFONT font_ = nullptr;
    win::HWND window_ = nullptr;
    SkinImage image_;
    bool enabled_ = false;
    SkinManager* manager_ = nullptr;
};
