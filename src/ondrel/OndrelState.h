#pragma once

// What every conversion entry point of the library shares: the outcome of the last call, read
// back by OndrelLastError, and the request to stop set by OndrelCancelOp.

#include <atomic>
#include <string>

namespace ondrel {

// Set by OndrelCancelOp, usually from the progress callback; cleared when a conversion starts.
extern std::atomic<bool> CancelFlag;

void SetOutcome(int status, std::string message = {});
int LastStatus();
const std::string& LastMessage();

// "<path>: <the system's text for Err>".
std::string Reason(const std::string& path, int err);

// A member too large for memory fails like any other read; nothing is thrown to the caller.
void OutOfMemory(int status, const std::string& path);

} // namespace ondrel
