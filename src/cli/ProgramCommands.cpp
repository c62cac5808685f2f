#include "Commands.h"

#include <CLI/CLI.hpp>

namespace orvale::cli {

void AddProgramCommands(CLI::App& app, int& status) {
    (void)app;
    (void)status;
}

} // namespace orvale::cli
