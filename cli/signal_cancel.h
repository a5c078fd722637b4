#pragma once
// Ctrl+C (SIGINT) and SIGTERM stop a run at its next checkpoint instead of killing the
// process, so that no half-written output stays behind. A second signal kills at once.

// Installs the handlers; call once, early in main().
void InstallStopSignals();

// The signal that asked to stop, 0 while none did.
int StopSignal();

// The exit status of a run stopped by StopSignal(): 128 + the signal (130, 143).
int StoppedExitStatus();
