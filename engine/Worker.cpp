#include "engine/Worker.h"

#include "engine/RowConversion.h"

win::DWORD WorkerThread(void* parameter)
{
    auto* job = static_cast<RowJob*>(parameter);
    if (!job || !job->item || !job->settings || !job->events)
        return 0;
    RowConversion conversion(*job->item, *job->settings, *job->events);
    conversion.SetAlbums(job->albums);
    return conversion.Run();
}
