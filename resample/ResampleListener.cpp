#include "resample/ResampleListener.h"

#include "platform/messaging/Message.h"
#include "resample/SsrcMessages.h"

void WindowResampleListener::ResampleStarted()
{
    if (window_)
        win::PostMessage(window_, WM_SSRC_START, 0, 0);
}

void WindowResampleListener::ResampleProgress(int percent)
{
    if (window_)
        win::PostMessage(window_, WM_SSRC_PROGRESS, static_cast<win::WPARAM>(percent), 0);
}

void WindowResampleListener::ResampleDone(bool converted)
{
    if (window_)
        win::PostMessage(window_, WM_SSRC_DONE, 0, converted ? 0 : 1);
}
