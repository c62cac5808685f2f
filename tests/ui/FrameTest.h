#pragma once

#include "FrameUser.h"
#include "platform/Prompter.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace orvale::test {

// A program directory with one user, and the frame started in it as the user starts the
// program: logged in, shown, and (for the keyboard) the active window.
class FrameTest : public ::testing::Test {
protected:
    static constexpr const char* kUser = "MARIO";
    static constexpr const char* kPassword = "SECRET";

    FrameTest() {
        QtApp();
        ProgramDir = Dir.Path() + "/";
        AddUser(ProgramDir, kUser, kPassword);
    }

    std::unique_ptr<TMainForm> Start() {
        User.Dialogs.push_back(FrameUser::Login(kUser, kPassword));
        auto frame = std::make_unique<TMainForm>(Box, User.Services());
        frame->ProgramDir = ProgramDir;
        frame->show();
        frame->Startup();
        frame->activateWindow();
        QApplication::processEvents();
        return frame;
    }

    TempDir Dir;
    std::string ProgramDir;
    ScriptedPrompter Box;
    FrameUser User;
};

} // namespace orvale::test
