#pragma once

#include "player/quil3_reader.h"

namespace quil {

// What the player reports to the window that shows it: the host events
// (busy start, progress and end around long drawings, no recording,
// element count, position, end of the page reached).
class IReaderHost {
public:
    virtual ~IReaderHost() = default;
    virtual void HostEvent(int code, int value) = 0;
};

// The player the window creates: passes every host event to its host.
class TQuil3ReaderC final : public TQuil3Reader {
public:
    TQuil3ReaderC(ITimerFactory& timers, IReaderHost& host, IPresentTarget* window, int width,
                  int height);
    void Notify(int code, int value) override;

private:
    IReaderHost& host_;
};

}  // namespace quil
