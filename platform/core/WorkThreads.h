// How many threads one row's work may use for decoding ahead and for encoding
// segments at once. The command-line converter lowers it when it runs several
// rows side by side, so that rows x threads stays near the number of cores.
#pragma once

namespace win {

// The cores this process may run on (at least 1).
int CoreCount();

// Threads one row may use; CoreCount() until set. 1 means strictly serial work.
int RowThreads();

// Values below 1 are taken as 1.
void SetRowThreads(int threads);

}  // namespace win
