// passwd: sets a user's password in the key file, for installs and administrators. The rules
// and messages are those of the password-change dialog.

#include "Commands.h"
#include "frame/ProgramDir.h"

#include "access/Login.h"
#include "access/PasswordChange.h"

#include <CLI/CLI.hpp>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace orvale::cli {

namespace {

constexpr const char* PasswdHelp =
    "Sets the password of USER in the key file Orvale.KEY of the program directory, adding a "
    "new entry (older entries stay but no longer count). On a terminal the password is asked "
    "twice without echo; otherwise it is the first line of standard input. User name and "
    "password need at least 4 characters and are taken in upper case; the password is stored "
    "as a salted yescrypt hash ($y$), and the user's older enciphered entries are dropped. "
    "Exits 0 when the "
    "password is stored, 2 with a one-line message otherwise.";

// The terminal settings to put back if the program is interrupted while echo is off.
termios SavedTerminal{};
volatile std::sig_atomic_t EchoIsOff = 0;

extern "C" void RestoreEchoAndDie(int signal) {
    if (EchoIsOff)
        ::tcsetattr(STDIN_FILENO, TCSANOW, &SavedTerminal);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void DropLineEnd(std::string& line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.pop_back();
}

// Reads one line from the terminal with echo switched off. The prompt appears only once echo
// is off, and the settings change without flushing, so nothing typed early is lost or shown.
std::string AskSilently(const char* prompt) {
    termios quiet{};
    bool silenced = ::tcgetattr(STDIN_FILENO, &SavedTerminal) == 0;
    if (silenced) {
        quiet = SavedTerminal;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        EchoIsOff = 1;
        std::signal(SIGINT, RestoreEchoAndDie);
        std::signal(SIGTERM, RestoreEchoAndDie);
        std::signal(SIGHUP, RestoreEchoAndDie);
        ::tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    std::cerr << prompt << std::flush;
    std::string line;
    std::getline(std::cin, line);
    if (silenced) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &SavedTerminal);
        EchoIsOff = 0;
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        std::signal(SIGHUP, SIG_DFL);
        std::cerr << '\n';
    }
    DropLineEnd(line);
    return line;
}

// Terminals and scripts usually hand over UTF-8, while the key file holds single-byte Latin-1
// as the dialogs type it. Valid UTF-8 is decoded (nothing when a character lies beyond
// Latin-1); anything else is taken as Latin-1 already.
std::optional<std::string> ToLatin1(const std::string& text) {
    std::string out;
    size_t i = 0;
    bool beyondLatin1 = false;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        size_t length = c < 0x80             ? 1
                        : (c & 0xE0) == 0xC0 ? 2
                        : (c & 0xF0) == 0xE0 ? 3
                        : (c & 0xF8) == 0xF0 ? 4
                                             : 0;
        if (length == 0 || i + length > text.size())
            return text;
        unsigned code = length == 1 ? c : c & (0x7Fu >> length);
        for (size_t k = 1; k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return text;
            code = (code << 6) | (next & 0x3Fu);
        }
        if (length > 1 && code < 0x80)
            return text; // overlong form: not UTF-8
        if (code > 0xFF)
            beyondLatin1 = true;
        out += static_cast<char>(code & 0xFF);
        i += length;
    }
    if (beyondLatin1)
        return std::nullopt;
    return out;
}

int Fail(const std::string& message) {
    std::cerr << message << '\n';
    return Failure;
}

int RunPasswd(const std::string& userArgument, const std::string& dir) {
    std::optional<std::string> user = ToLatin1(userArgument);
    if (!user || !IsWellFormedUserName(*user))
        return Fail(UserNameNotValidText);

    std::string password, control;
    if (::isatty(STDIN_FILENO)) {
        password = AskSilently("Password: ");
        control = AskSilently("Control: ");
    } else {
        std::getline(std::cin, password);
        DropLineEnd(password);
        control = password;
    }
    std::optional<std::string> password1 = ToLatin1(password);
    std::optional<std::string> password2 = ToLatin1(control);
    if (!password1 || !password2)
        return Fail(PasswordRejectedText);

    TKeyFile keys(TKeyFile::PathIn(dir.empty() ? CurrentProgramDir() : dir));
    TPasswordChange change = ChangePassword(keys, *user, *password1, *password2);
    if (!change.Changed)
        return Fail(change.Message);
    std::cout << change.Message << '\n';
    return Success;
}

} // namespace

void AddUserCommands(CLI::App& app, int& status) {
    auto* passwd = app.add_subcommand("passwd", PasswdHelp);
    auto user = std::make_shared<std::string>();
    auto dir = std::make_shared<std::string>();
    passwd->add_option("USER", *user, "user name")->required();
    passwd->add_option("--dir", *dir,
                       "program directory holding Orvale.KEY (default: the directory of "
                       "orvale-cli, which is the program's own)");
    passwd->callback([user, dir, &status] { status = RunPasswd(*user, *dir); });
}

} // namespace orvale::cli
