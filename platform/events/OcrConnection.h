// A live connection to an OCR application: the channel to it and whether it is still usable.
#pragma once

#include "platform/events/OcrChannel.h"

#include <sys/types.h>

class OcrConnection {
public:
    virtual ~OcrConnection() = default;
    virtual OcrChannel& channel() = 0;
    // The other end can still be talked to.
    virtual bool isAlive() = 0;
    // Ends the other side: closes the channel and, for a child process, waits a bounded time for it.
    virtual void stop() = 0;
};
