#pragma once

// Marks a function or class as part of a shared library's interface. The libraries are
// built with hidden visibility, so only what carries this mark can be bound by the program.
#define ORVALE_EXPORT __attribute__((visibility("default")))
