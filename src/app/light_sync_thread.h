#pragma once
// The main window's light synchronisation thread.

struct WorkerThreadParam;

// Runs until the parameter's stop event is set, waiting 1 ms on it per pass.
void LightSyncThread(WorkerThreadParam* param);
