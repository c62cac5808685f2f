#pragma once

// Plays the user in front of the main frame: answers its file dialogs, its modal dialogs
// (and those of the editor windows) and the program browser from queues, and records what
// was asked. Nothing queued: the user cancels.

#include "access/KeyFile.h"
#include "access/PasswordChange.h"
#include "support/QtApp.h"
#include "ui/MainForm.h"
#include "ui/PasswordDlg.h"
#include "ui/Sicurezza.h"
#include "ui/TextTransfer.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvale::test {

struct FileDialogSeen {
    std::string Title;
    int Filter = 0;
    std::string DefaultSuffix;
};

class FrameUser {
public:
    using DialogAnswer = std::function<bool(QDialog&)>;

    // Answers of the open and save dialogs, in order; nothing: cancel.
    std::deque<std::optional<std::string>> Files;
    std::vector<FileDialogSeen> FileDialogs;
    // Answers of the modal dialogs of the frame and the windows, in order.
    std::deque<DialogAnswer> Dialogs;
    // Window titles of the modal dialogs, in order.
    std::vector<std::string> DialogTitles;
    // What the program browser hands back.
    std::deque<std::string> Browsed;
    int RepositoryShown = 0;

    TMainFormServices Services() {
        TMainFormServices services = TMainFormServices::Default();
        services.RunDialog = [this](QDialog& dialog) { return Answer(dialog); };
        services.RunFileDialog = [this](QFileDialog& dialog) { return AnswerFile(dialog); };
        services.BrowseProgram = [this](const orvale::CodePage&) {
            if (Browsed.empty())
                return std::string();
            std::string path = Browsed.front();
            Browsed.pop_front();
            return path;
        };
        services.ShowRepository = [this](const orvale::CodePage&) { ++RepositoryShown; };
        services.Editor.RunDialog = [this](QDialog& dialog) { return Answer(dialog); };
        services.Editor.PrintDesign = [](StringList&, const orvale::CodePage&) { return false; };
        return services;
    }

    bool Answer(QDialog& dialog) {
        DialogTitles.push_back(dialog.windowTitle().toStdString());
        if (Dialogs.empty())
            return false;
        DialogAnswer answer = std::move(Dialogs.front());
        Dialogs.pop_front();
        return answer(dialog);
    }

    bool AnswerFile(QFileDialog& dialog) {
        FileDialogs.push_back({dialog.windowTitle().toStdString(), FilterIndex(dialog),
                               dialog.defaultSuffix().toStdString()});
        if (Files.empty())
            return false;
        std::optional<std::string> file = Files.front();
        Files.pop_front();
        if (!file)
            return false;
        dialog.selectFile(QString::fromStdString(*file));
        return true;
    }

    // -- Ready-made answers

    static void Type(QLineEdit* edit, const std::string& text) {
        edit->clear();
        QTest::keyClicks(edit, QString::fromStdString(text));
    }

    // Types a user name and a password into the login and presses OK, as often as the
    // dialog refuses them; then presses Cancel.
    static DialogAnswer Login(const std::string& name, const std::string& password) {
        return [name, password](QDialog& dialog) {
            auto& login = dynamic_cast<TPasswordDlg&>(dialog);
            Type(login.EditUserName, name);
            Type(login.EditPassword, password);
            QTest::mouseClick(login.BtnOK, Qt::LeftButton);
            if (!login.LoginAccepted())
                QTest::mouseClick(login.BtnCancel, Qt::LeftButton);
            return login.LoginAccepted();
        };
    }

    // The first login of an installation: the name, and the password twice, in the login.
    static DialogAnswer Enrol(const std::string& name, const std::string& password) {
        return [name, password](QDialog& dialog) {
            auto& login = dynamic_cast<TPasswordDlg&>(dialog);
            Type(login.EditUserName, name);
            Type(login.EditPassword, password);
            Type(login.EditRepeat, password);
            QTest::mouseClick(login.BtnOK, Qt::LeftButton);
            return login.LoginAccepted();
        };
    }

    static DialogAnswer Cancel() {
        return [](QDialog& dialog) {
            dialog.reject();
            return false;
        };
    }

    static DialogAnswer Ok() {
        return [](QDialog& dialog) {
            dialog.accept();
            return true;
        };
    }

    // Changes a dialog's controls, then presses OK.
    template <class D> static DialogAnswer Change(std::function<void(D&)> change) {
        return [change](QDialog& dialog) {
            change(dynamic_cast<D&>(dialog));
            dialog.accept();
            return true;
        };
    }
};

// An enabled user with a password, written into the key file of Dir.
inline void AddUser(const std::string& dir, const std::string& name, const std::string& password) {
    TKeyFile keys(TKeyFile::PathIn(dir));
    ChangePassword(keys, name, password, password);
}

} // namespace orvale::test
