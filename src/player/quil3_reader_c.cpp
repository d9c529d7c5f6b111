#include "player/quil3_reader_c.h"

namespace quil {

TQuil3ReaderC::TQuil3ReaderC(ITimerFactory& timers, IReaderHost& host, IPresentTarget* window,
                             int width, int height)
    : TQuil3Reader(timers, window, width, height), host_(host) {}

void TQuil3ReaderC::Notify(int code, int value) { host_.HostEvent(code, value); }

}  // namespace quil
