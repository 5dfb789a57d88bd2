// File names are wide strings in the program and UTF-8 on disk.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace win {

std::filesystem::path ToPath(const std::wstring& name);
FILE* _wfopen(const wchar_t* name, const wchar_t* mode);
int _wremove(const wchar_t* name);
int _wrename(const wchar_t* from, const wchar_t* to);
bool FileExists(const std::wstring& name);
// Something is there under the name itself: a file, a folder, or a link,
// also one that points nowhere. What a new file must not silently replace.
bool NameTaken(const std::wstring& name);

// The full path of the running executable, and its folder with the trailing
// separator: the program folder where modules, skins and settings live.
std::wstring GetModuleFileName();
std::wstring ExecutableDirectory();

}  // namespace win
