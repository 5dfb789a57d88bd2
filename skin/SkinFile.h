// A skin definition file: a profile file whose sections describe skinned
// elements. Values are read with the environment's %NAME% references
// expanded and #name# references replaced from the "Variables" section.
#pragma once

#include "skin/SkinImage.h"

#include <map>
#include <string>
#include <vector>

enum class SkinFontStyle { Regular, Bold, Italic, BoldItalic };

class SkinFile {
public:
    // False when the file cannot be read; otherwise the variables are loaded.
    bool Open(const std::wstring& path);
    const std::wstring& Path() const { return path_; }

    // Every section name in file order; returns their number.
    int GetSectionNames(std::vector<std::wstring>& names) const;
    // The expanded value, or the expanded default when the key is missing.
    std::wstring GetString(const std::wstring& section, const std::wstring& key,
                           const std::wstring& defaultValue) const;
    int GetInt(const std::wstring& section, const std::wstring& key, int defaultValue) const;
    SkinRect GetRect(const std::wstring& section, const std::wstring& key,
                     const std::wstring& defaultValue = L"") const;

    const std::map<std::wstring, std::wstring>& Variables() const { return variables_; }

private:
    std::wstring Raw(const std::wstring* section, const std::wstring* key,
                     const std::wstring& defaultValue) const;
    std::wstring Substitute(std::wstring value) const;

    std::wstring path_;
    std::map<std::wstring, std::wstring> variables_;
};

// A leading decimal integer: blanks skipped, optional sign, digits up to the
// first non-digit; none gives 0. Saturates instead of overflowing.
int ParseSkinInt(const std::wstring& text);
// "x, y, width, height".
SkinRect ParseSkinRect(const std::wstring& text);
// "bold", "ITALIC", "BOLDITALIC" (any case); everything else is regular.
SkinFontStyle ParseFontWeight(const std::wstring& text);
// The sans-serif font of that size in points at 96 pixels per inch.
win::HFONT CreateSkinFont(int size, SkinFontStyle style);
