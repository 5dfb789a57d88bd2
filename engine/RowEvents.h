// What the engine tells whoever runs a batch: the desktop program turns
// each call into its window messages, kolvex-convert draws its progress.
//
// Calls come on the threads that do the work and must return promptly:
// a worker waits for each of them.
// - Per row, on the row's worker thread, in this order: RowStarted once;
//   RowProgress once per decoded chunk (up to 1024 blocks), positions
//   rising; RowDone once. A row whose existing file the user kept, or that
//   is not converted at all, reports none of them.
// - After RowDone, a WAV row that is resampled reports ResampleStarted,
//   ResampleProgress (up-sampling only) and ResampleDone on the same thread;
//   a resampling that cannot even open reports ResampleDone alone.
// - RowFinished last, on the same thread, once the row is over (after its
//   resampling, if any): its final word for whoever lists outcomes.
// - BatchDone once, on the batch's thread, after every row's last call.
// - AskOverwrite, on the row's worker thread before RowStarted, when the
//   row's output exists; true replaces the file, false keeps it.
// Rows converting side by side call in from several threads at once.
#pragma once

#include <cstdint>
#include <string>

class RowEvents {
public:
    virtual ~RowEvents() = default;

    // `outputKind` is the row's (kOutputMp3, kOutputWav, ...).
    virtual void RowStarted(std::int32_t key, std::int32_t outputKind) = 0;
    // How far the decoding is, in milliseconds of the source.
    virtual void RowProgress(std::int32_t key, std::int64_t positionMs) = 0;
    // `reason` says why no file was written; empty when it was.
    virtual void RowDone(std::int32_t key, std::int32_t outputKind, bool written, const std::wstring& reason) = 0;

    virtual void ResampleStarted(std::int32_t key) = 0;
    virtual void ResampleProgress(std::int32_t key, int percent) = 0;
    // `reason` says why the file was kept as it was; empty when converted.
    virtual void ResampleDone(std::int32_t key, bool converted, const std::wstring& reason) = 0;

    // `ok`: the row's file is what the batch was to make (written, and
    // resampled when it was to be); otherwise `reason` says why not.
    virtual void RowFinished(std::int32_t key, bool ok, const std::wstring& reason) = 0;

    virtual void BatchDone() = 0;

    virtual bool AskOverwrite(std::int32_t key, const std::wstring& path) = 0;
};
