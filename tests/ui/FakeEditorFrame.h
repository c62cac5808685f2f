#pragma once

#include "platform/Prompter.h"
#include "platform/RegionalSettings.h"
#include "rpgprogram/RPGProgram.h"
#include "support/QtApp.h"
#include "ui/EditorFrame.h"
#include "ui/EditorsHolder.h"

#include <gtest/gtest.h>

#include <QPrinter>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvale::test {

// A main frame without windows of its own: records what the editor windows ask of it and
// answers its dialogs from queues (nothing queued: the user cancels).
class FakeEditorFrame : public TEditorFrame {
public:
    std::vector<std::string> Reopened;
    std::vector<bool> EditCommands;
    std::vector<bool> EditButtons;
    std::vector<std::string> HelpKeywords;
    std::vector<int> FontSizeIndexes;
    int ClipboardNormalised = 0;
    // The windows SetFontSizeIdx applies to, as the real frame's MDI children.
    std::vector<TEditorsHolder*> Windows;
    // Where the print dialog sends the job; empty: the user cancels the dialog.
    std::string PrintTo;
    std::deque<std::optional<std::string>> ImportFiles, ExportFiles, SaveFiles;

    void AddToReopenList(const std::string& path) override { Reopened.push_back(path); }
    void EnableEditCommands(bool enabled) override { EditCommands.push_back(enabled); }
    void EnableEditButtons(bool enabled) override { EditButtons.push_back(enabled); }
    void SetFontSizeIdx(int index) override {
        FontSizeIndexes.push_back(index);
        for (TEditorsHolder* window : Windows)
            window->ApplyFontSizeIdx(index);
    }
    void ShowHelpKeyword(const std::string& keyword) override { HelpKeywords.push_back(keyword); }
    bool ExecPrintDialog(QPrinter& printer) override {
        if (PrintTo.empty())
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(PrintTo));
        return true;
    }
    void NormaliseClipboard() override { ++ClipboardNormalised; }
    std::optional<std::string> ChooseSaveFile(const std::string&, const std::string&,
                                              const std::string&) override {
        return Next(SaveFiles);
    }
    std::optional<std::string> ChooseTextFileToImport() override { return Next(ImportFiles); }
    std::optional<std::string> ChooseTextFileToExport() override { return Next(ExportFiles); }

private:
    static std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers) {
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// A program window of its own on the fake frame, in day/month/year regional settings, with
// single-section compiles reporting through the window's prompter.
class EditorWindowTest : public ::testing::Test {
protected:
    EditorWindowTest() {
        QtApp();
        Saved = RegionalSettings::Current();
        RegionalSettings::SetCurrent(RegionalSettings("%d/%m/%Y", "%H:%M:%S"));
        Prompter::SetDefault(&Box);
        Window =
            std::make_unique<TEditorsHolder>(Box, TEditorSetup{"USER1", 2, nullptr, ""}, &Frame);
    }
    ~EditorWindowTest() override {
        Window.reset();
        Prompter::SetDefault(nullptr);
        RegionalSettings::SetCurrent(Saved);
    }

    TRPGProgram& Doc() { return *Window->Document; }
    TreeNode* Node(const std::string& text) { return Doc().FindNodeByText(text); }

    RegionalSettings Saved = RegionalSettings("%d/%m/%Y", "%H:%M:%S");
    ScriptedPrompter Box;
    FakeEditorFrame Frame;
    std::unique_ptr<TEditorsHolder> Window;
};

} // namespace orvale::test
