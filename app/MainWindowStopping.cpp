// A person closing the window or pressing Escape while a batch runs is
// asked first: closing would throw away the file being written, and Escape
// more likely means "stop" than "quit". The system menu offers the stop
// itself for as long as there is something to stop.
#include "app/MainWindow.h"

#include "app/MainWindowTemplate.h"
#include "app/ProgramIcon.h"
#include "app/EngineMessages.h"

#include "platform/core/MessageBox.h"
#include "platform/dialogs/Menu.h"
#include "platform/messaging/Message.h"

using namespace win;
using namespace main_window;

void MainWindow::RequestClose()
{
    if (closing_)
        return;
    if (batch_.IsRunning() &&
        AskDuringBatch(L"A conversion is running. Stop it and close?") != IDYES)
        return;
    Close();
}

void MainWindow::AskStop()
{
    if (AskDuringBatch(L"Stop the conversion?") == IDYES)
        StopBatch();
}

// The batch stops after its current chunk; its end comes as usual and is
// told apart by `stopped_`.
void MainWindow::StopBatch()
{
    if (!batch_.IsRunning() || closing_)
        return;
    stopped_ = true;
    batch_.Cancel();
}

// The answer comes while the batch goes on, and it may end meanwhile: its
// end comes again once the caller has acted on the answer (a closing window
// then asks nothing more).
int MainWindow::AskDuringBatch(const wchar_t* question)
{
    asking_ = true;
    int answer = MessageBox(window_, question, kProgramTitle, MB_YESNO | MB_ICONQUESTION);
    asking_ = false;
    if (endedWhileAsking_) {
        endedWhileAsking_ = false;
        PostMessage(window_, WM_BATCH_DONE, 0, 0);
    }
    return answer;
}

void MainWindow::OnBatchEnded()
{
    if (asking_) {
        endedWhileAsking_ = true;
        return;
    }
    if (!stopped_ || closing_) {
        OnBatchDone();
        return;
    }
    // Stopped by the person: no "complete" prompt, only what failed.
    if (batch_.IsRunning())
        return;
    stopped_ = false;
    batch_.Wait();
    SetBusy(false);
    ReportFailures();
}

void MainWindow::OfferStop(bool offered)
{
    HMENU menu = GetSystemMenu(window_, 0);
    if (!menu)
        return;
    DeleteMenu(menu, kStopCommand, MF_BYCOMMAND);
    if (offered)
        AppendMenu(menu, MF_STRING, kStopCommand, L"Stop conversion");
}
