// The rows of the conversion list and what the window's commands do to
// them, without the window: "add" (one row per file, or one per track of an
// album image), "del", marking the checked rows for a batch and naming their
// outputs. It owns every record; the list it drives shows them by key.
#pragma once

#include "rows/ListOperations.h"
#include "engine/ConversionItem.h"

#include <memory>
#include <string>

class ConversionList {
public:
    explicit ConversionList(ListOperations& list) : list_(list) { }
    ~ConversionList();
    ConversionList(const ConversionList&) = delete;
    ConversionList& operator=(const ConversionList&) = delete;

    // Adds one chosen path; returns how many rows it made (an album image
    // makes one per track, a sheet without tracks none).
    int Add(const std::wstring& path);
    // The same for a path already probed (see ProbeQueue).
    int AddProbed(std::unique_ptr<ConversionItem> probe);
    // Adds an album image as one row, its sheet notwithstanding: an .ape
    // with a sheet beside it, or the image a .cue names. Tagged with the
    // file's own tags, completed by the sheet's album fields.
    int AddWhole(const std::wstring& path);
    // Removes every checked row and its record.
    void RemoveChecked();
    // Marks exactly the checked rows, the ones a batch converts.
    void MarkChecked();
    // Sets every record's output kind and output path for a batch to
    // `outputKind` (MP3 or WAV); `outputDirectory` is the stored one. A
    // folder OutputFolderProblem refuses counts as none: beside the source.
    void PrepareOutputs(std::int32_t outputKind, const std::wstring& outputDirectory);
    // The hidden command: every record writes WAV beside its source.
    void SetWavBesideSource();

    // Frees every record (the list's rows stay as they are).
    void Clear();

    RowTable& Rows() { return rows_; }
    ListOperations& List() { return list_; }
    ConversionItem* Find(std::int32_t key) const;

private:
    std::int32_t NextKey() const;
    void Show(ConversionItem* record, const std::wstring& name);
    int AddTracks(const ConversionItem& probe, std::int32_t key);
    std::unique_ptr<ConversionItem> Probe(const std::wstring& path);
    void AddFile(std::unique_ptr<ConversionItem> probe, std::int32_t key);

    ListOperations& list_;
    RowTable rows_;
};
