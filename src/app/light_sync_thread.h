#pragma once
// The main window's light synchronisation thread.

struct WorkerThreadParam;

// While some device with an open channel follows the shared lighting, runs a step of the
// shared mode whenever its speed's count of clock ticks has passed; otherwise idles in
// one-second waits. Ends as soon as the parameter's stop event is set.
void LightSyncThread(WorkerThreadParam* param);
