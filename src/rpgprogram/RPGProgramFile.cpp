// Opening and saving ".RPG" program files: the tree text, the compiled area and the line
// origins, made and read in ProgramFile.

#include "RPGProgram.h"

#include "platform/TextFile.h"

bool TRPGProgram::LoadFromFile(const std::string& fileName, orvale::Diagnostics& found) {
    StringList lines;
    {
        BusyCursor busy(*this);
        std::string error;
        if (!orvale::ReadTextFile(fileName, lines, &error)) {
            found.Error(error);
            return false;
        }
    }
    SourceLines = std::move(lines);
    SetFileName(fileName);
    BuildTree();
    {
        BusyCursor busy(*this);
        // A file text that is not kept for restoring is dropped once read, so its lines can
        // move into the sections instead of being copied.
        ReadProgramText(*this, SourceLines, Options().LoadComp, !KeepOpen, found);
    }
    // Released, not just emptied: the list of a large file's lines is as large as a good part
    // of the program, and the build that follows would run beside it.
    if (!KeepOpen)
        StringList().swap(SourceLines);
    if (View)
        View->SetGridRowCount(PropertySection.LinesCount());
    Opened = true;
    Modified = false;
    Closing = false;
    ShowSelected();
    return true;
}

std::string TRPGProgram::Save() {
    if (Untitled)
        return SaveAs();
    SaveToFile(FilePath + FileName);
    return FilePath + FileName;
}

std::string TRPGProgram::SaveAs() {
    if (View) {
        std::string dir = FilePath;
        if (!dir.empty() && dir.back() == '/')
            dir.pop_back();
        if (auto chosen = View->ChooseSaveFile(kSaveProgramTitle, dir, FileName))
            SaveToFile(*chosen);
    }
    return FilePath + FileName;
}

bool TRPGProgram::SaveToFile(const std::string& fileName) {
    return SaveWith(fileName, [this](ProgramTextWriter& out) {
        if (Options().SaveComp)
            WriteCompiledArea(*this, out);
        WriteOriginArea(*this, out, Options().SaveComp);
    });
}
