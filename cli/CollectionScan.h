// What a collection holds, found by walking its folders: albums (a CUE
// sheet with its images, or an image that carries its own sheet) and loose
// tracks, each with the folder it lies in relative to the folder walked, so
// that the outputs can mirror the tree.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct CollectionInput {
    enum Kind { Album, Track };
    Kind kind = Track;
    std::string path;    // absolute: the sheet, the image with a sheet inside, or the track
    std::string folder;  // relative to the walked folder; "" for the folder itself
    // Every file whose change makes the outputs stale: the sheet and its
    // images, or the file itself.
    std::vector<std::string> sources;
};

using ScanWarning = std::function<void(const std::string& path, const std::string& why)>;
using ScanFound = std::function<void(CollectionInput input)>;

// Walks each of `roots` (absolute folders) in name order and hands each
// input to `found` as soon as its folder is read, so that nothing of the
// collection need be held at once. `skip` (absolute, may not exist yet) is
// never entered: the outputs must not become inputs. Folders reached twice
// (link loops) are entered once; folders that cannot be read are reported
// to `warn` and the walk goes on.
void ScanCollection(const std::vector<std::string>& roots, const std::string& skip, const ScanWarning& warn,
                    const ScanFound& found);
