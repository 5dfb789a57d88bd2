// Reading a skin definition file into its elements: each usable section
// becomes a loaded frame, button or multimedia list, its image decoded and
// its pieces cut and composed. That is most of what showing a skinned window
// costs, and none of it needs the window, so a program that knows its skin
// before it has a display starts the load on a second thread and hands it
// to the `SkinManager`, which registers the elements when the window asks
// for the same file.
#pragma once

#include <memory>
#include <string>
#include <thread>
#include <vector>

class SkinElement;

using SkinElements = std::vector<std::unique_ptr<SkinElement>>;

// Appends the elements of the file at `path`, with their images taken from
// `directory`, in file order. False when the file cannot be opened.
bool LoadSkinElements(const std::wstring& directory, const std::wstring& path, SkinElements& elements);

class SkinPreload {
public:
    // Starts loading (on the calling thread, later, if no thread can be had).
    SkinPreload(std::wstring directory, std::wstring path);
    // Waits for a load still running.
    ~SkinPreload();
    SkinPreload(const SkinPreload&) = delete;
    SkinPreload& operator=(const SkinPreload&) = delete;

    bool IsFor(const std::wstring& directory, const std::wstring& path) const;
    // Waits for the load and moves its elements out, once; false when the
    // file could not be opened.
    bool Take(SkinElements& elements);

private:
    std::wstring directory_;
    std::wstring path_;
    SkinElements loaded_;
    bool opened_ = false;
    bool taken_ = false;
    std::thread thread_;
};
