#include "OndrelState.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace ondrel {

std::atomic<bool> CancelFlag{false};

namespace {
thread_local int Status = 0;
thread_local std::string Message;
} // namespace

void SetOutcome(int status, std::string message) {
    Status = status;
    Message = std::move(message);
}

int LastStatus() {
    return Status;
}

const std::string& LastMessage() {
    return Message;
}

std::string Reason(const std::string& path, int err) {
    return path + ": " + std::strerror(err);
}

void OutOfMemory(int status, const std::string& path) {
    try {
        SetOutcome(status, Reason(path, ENOMEM));
    } catch (const std::bad_alloc&) {
        SetOutcome(status);
    }
}

} // namespace ondrel
