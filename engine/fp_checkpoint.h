#pragma once
// Floating-point faults (division by zero, invalid operation, overflow) end a command with a
// clear error instead of spreading NaNs. The flags belong to the thread that raised them:
// clear them where a thread starts its share of a command and test them at its checkpoints.
// Underflow passes silently.

#include "engine/errors.h"

class EZeroDivide : public TulvoError {
public:
    EZeroDivide() : TulvoError("Floating point division by zero", "EZeroDivide") {}
};

class EInvalidOp : public TulvoError {
public:
    EInvalidOp() : TulvoError("Invalid floating point operation", "EInvalidOp") {}
};

class EOverflow : public TulvoError {
public:
    EOverflow() : TulvoError("Floating point overflow", "EOverflow") {}
};

// Clears the fault flags of the calling thread.
void ClearFpFaults() noexcept;

// Throws EZeroDivide, EInvalidOp or EOverflow when the calling thread raised that fault since
// the last ClearFpFaults; the flags are cleared before throwing.
void CheckFpFaults();

// The fault flags the calling thread has raised, to be handed to another thread.
int RaisedFpFaults() noexcept;

// Raises `faults` (from RaisedFpFaults) on the calling thread, as if it had made them.
void RaiseFpFaults(int faults) noexcept;
