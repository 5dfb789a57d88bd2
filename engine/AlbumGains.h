// Album ReplayGain over the rows of one batch: the rows from one folder
// with the same album title (the tracks of a sheet, or a folder's files)
// form an album. Each row hands in its meter when it is over; the last one
// of an album measures the album and rewrites the tags of every file of it
// through the safe writer (a new copy with the album's gain, renamed over).
// An album with a row that made no file is left as it is, and its rows say
// so in their warning. A row without an album title (a file whose tags could
// not be read, say) may belong to any album of its folder: those albums wait
// for it, and are left as they are when it fails. Rows report from their
// own threads.
#pragma once

#include "engine/ConversionItem.h"
#include "engine/LoudnessMeter.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class AlbumGains {
public:
    // Groups the marked rows of `rows`.
    explicit AlbumGains(const RowTable& rows);

    // `item` is over. `meter` is null when it made no file; `tags` is the
    // record its file was tagged with, track gain included.
    void RowOver(ConversionItem& item, std::unique_ptr<LoudnessMeter> meter, const TagRecord& tags);
    // The batch is over: albums some of whose rows never ran say so.
    void BatchOver();

private:
    struct Member {
        ConversionItem* item = nullptr;
        std::unique_ptr<LoudnessMeter> meter;
        TagRecord tags;
    };
    struct Album {
        std::size_t rows = 0;  // its own, and the untitled rows beside it it waits for
        std::size_t heard = 0;
        std::vector<Member> over;
        bool failed = false;
        bool untitledFailed = false;
        bool settled = false;
    };
    // The folder, then the album title.
    using AlbumKey = std::pair<std::wstring, std::wstring>;

    void Heard(Album& album);
    void Settle(Album& album);
    static void Note(ConversionItem& item, const std::wstring& text);

    std::mutex lock_;
    std::map<AlbumKey, Album> albums_;
    std::map<const ConversionItem*, AlbumKey> albumOf_;
    // An untitled row → the titled albums of its folder, which wait for it.
    std::map<const ConversionItem*, std::vector<AlbumKey>> waitingFor_;
};
