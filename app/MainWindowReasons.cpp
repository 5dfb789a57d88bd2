// A failed row says why in its tip for as long as it stays on the list, not
// only in the box at the end of its batch.
#include "app/MainWindow.h"

void MainWindow::ShowRowReasons()
{
    for (const auto& [key, row] : rows_.Rows())
        if (row)
            skinList_.ListSetItemReason(row->failureReason, key);
}
