// orvale-cli: the command-line face of Orvale, for scripts and pipelines.

#include "Commands.h"
#include "platform/Prompter.h"

#include <CLI/CLI.hpp>

#include <iostream>

int main(int argc, char** argv) {
    // Messages a document would show in a box go to standard error with their kind.
    orvale::StreamPrompter errors(std::cerr);
    orvale::Prompter::SetDefault(&errors);

    CLI::App app{"orvale-cli: import, build, convert and check RPG/400 programs"};
    app.set_version_flag("--version", "orvale-cli 1.0");
    app.require_subcommand(1);

    int status = orvale::cli::Success;
    orvale::cli::AddProgramCommands(app, status);
    orvale::cli::AddMemberCommands(app, status);
    orvale::cli::AddUserCommands(app, status);
    orvale::cli::AddLibraryCommands(app, status);

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return orvale::cli::Failure;
    }
    return status;
}
