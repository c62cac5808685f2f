#include "access/Login.h"
#include "support/TempDir.h"
#include <algorithm>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

using orvale::test::TempDir;

namespace {

struct CliRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

std::string ReadAll(int fd) {
    std::string text;
    char buffer[512];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(n));
    return text;
}

int ExitStatus(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs orvale-cli with Input on a pipe as standard input.
CliRun RunCli(std::vector<std::string> args, const std::string& input) {
    args.insert(args.begin(), ORVALE_BIN_DIR "/orvale-cli");
    int in[2], out[2], err[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0 || ::pipe(err) != 0)
        return {};
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
            ::close(fd);
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    // A command that refuses at once may end before it reads its input; the write then fails
    // with EPIPE instead of ending the test program.
    std::signal(SIGPIPE, SIG_IGN);
    ssize_t written = ::write(in[1], input.data(), input.size());
    (void)written;
    ::close(in[1]);
    CliRun run;
    run.Out = ReadAll(out[0]);
    run.Err = ReadAll(err[0]);
    ::close(out[0]);
    ::close(err[0]);
    run.Status = ExitStatus(pid);
    return run;
}

// Reads what the terminal shows until Done says so or a few seconds pass; false on timeout
// or when the program has ended.
template <class Done> bool ReadTerminal(int master, std::string& seen, Done done) {
    char buffer[256];
    while (!done(seen)) {
        pollfd fd{master, POLLIN, 0};
        if (::poll(&fd, 1, 5000) <= 0)
            return false;
        ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0)
            return false;
        seen.append(buffer, static_cast<size_t>(n));
    }
    return true;
}

// Runs orvale-cli on a pseudo-terminal, typing Lines one after another as it asks for them.
// A program that stops asking is ended rather than waited for.
CliRun RunCliOnTerminal(std::vector<std::string> args, std::vector<std::string> lines) {
    args.insert(args.begin(), ORVALE_BIN_DIR "/orvale-cli");
    int master = -1;
    pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
    if (pid == 0) {
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    CliRun run;
    size_t prompts = 0;
    for (const std::string& line : lines) {
        ++prompts;
        // Wait for the next prompt before typing, as a user would.
        auto prompted = [prompts](const std::string& seen) {
            size_t count = 0;
            for (size_t at = seen.find(": "); at != std::string::npos; at = seen.find(": ", at + 1))
                ++count;
            return count >= prompts;
        };
        if (!ReadTerminal(master, run.Out, prompted))
            break;
        std::string typed = line + "\n";
        ssize_t written = ::write(master, typed.data(), typed.size());
        (void)written;
    }
    ReadTerminal(master, run.Out, [](const std::string&) { return false; });
    ::close(master);
    int status = 0;
    for (int i = 0; i < 500 && ::waitpid(pid, &status, WNOHANG) == 0; ++i)
        ::usleep(10000);
    if (::waitpid(pid, &status, WNOHANG) == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        return run;
    }
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

bool LoginWorks(const TempDir& dir, const std::string& user, const std::string& password) {
    TKeyFile keys(TKeyFile::PathIn(dir.Path()));
    return CheckLogin(keys, user, password).Verdict == LoginVerdict::Accepted;
}

} // namespace

TEST(CliPasswd, PasswordFromStandardInputIsStored) {
    TempDir dir;
    CliRun run = RunCli({"passwd", "mario", "--dir", dir.Path()}, "secret\r\nignored\n");
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "The password has been updated!\n");
    EXPECT_EQ(run.Err, "");
    EXPECT_TRUE(LoginWorks(dir, "MARIO", "SECRET"));

    run = RunCli({"passwd", "MARIO", "--dir", dir.Path()}, "changed");
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(LoginWorks(dir, "MARIO", "CHANGED"));
    EXPECT_FALSE(LoginWorks(dir, "MARIO", "SECRET"));
}

TEST(CliPasswd, RefusalsExitTwoWithOneLineAndWriteNothing) {
    TempDir dir;
    struct Case {
        std::vector<std::string> Args;
        std::string Input;
        std::string Message;
    } cases[] = {
        {{"passwd", "abc", "--dir", dir.Path()}, "secret\n", "User Name not valid!\n"},
        {{"passwd", "mario", "--dir", dir.Path()},
         "abc\n",
         "The Password must be at least 4 chars. Password not changed!\n"},
        {{"passwd", "mario", "--dir", dir.Path()},
         "",
         "The Password must be at least 4 chars. Password not changed!\n"},
        // A character beyond Latin-1 could never be typed into the login.
        {{"passwd", "mario", "--dir", dir.Path()},
         "pa\xE2\x82\xACss\n",
         "The new password is not valid. Password not changed!\n"},
    };
    for (const Case& c : cases) {
        CliRun run = RunCli(c.Args, c.Input);
        EXPECT_EQ(run.Status, 2) << c.Message;
        EXPECT_EQ(run.Err, c.Message);
        EXPECT_EQ(run.Out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(TKeyFile::PathIn(dir.Path())));

    CliRun run = RunCli({"passwd", "mario", "--dir", dir.Path() + "/missing"}, "secret\n");
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("Password not changed!"), std::string::npos) << run.Err;
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1);
}

TEST(CliPasswd, Utf8InputMeetsTheLatin1TheDialogTypes) {
    TempDir dir;
    CliRun run = RunCli({"passwd", "jos\xC3\xA9", "--dir", dir.Path()}, "p\xC3\xA4ss\n");
    ASSERT_EQ(run.Status, 0) << run.Err;
    // The dialog turns only a-z into capitals.
    EXPECT_TRUE(LoginWorks(dir, "JOS\xE9", "P\xE4SS"));
}

TEST(CliPasswd, TerminalAsksTwiceWithoutEcho) {
    TempDir dir;
    CliRun run = RunCliOnTerminal({"passwd", "mario", "--dir", dir.Path()}, {"hidden1", "hidden1"});
    EXPECT_EQ(run.Status, 0) << run.Out;
    EXPECT_NE(run.Out.find("Password: "), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("Control: "), std::string::npos) << run.Out;
    EXPECT_EQ(run.Out.find("hidden1"), std::string::npos) << run.Out;
    EXPECT_TRUE(LoginWorks(dir, "MARIO", "HIDDEN1"));

    run = RunCliOnTerminal({"passwd", "mario", "--dir", dir.Path()}, {"other", "OTHER"});
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Out.find("Control differs from Password. Password not changed!"),
              std::string::npos)
        << run.Out;
    EXPECT_TRUE(LoginWorks(dir, "MARIO", "HIDDEN1"));
}
