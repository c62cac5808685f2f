// Saving and closing a program document; the text of its file is made and read in
// ProgramFile.

#include "EditProgram.h"

#include "platform/Prompter.h"
#include "platform/SafeSave.h"
#include "platform/TextFile.h"

#include <optional>

using orvale::Prompter;

namespace {

// The lines of the tree text of Program, to make room for them at once.
size_t TreeTextLines(const TEDITProgram& program) {
    size_t estimate = 2;
    program.ForEachNode([&](TreeNode* n) {
        if (const TEDITSection* s = n->Section())
            estimate += s->Lines().size() + 8;
        else
            estimate += 6;
        return true;
    });
    return estimate;
}

} // namespace

void TEDITProgram::WriteLines() {
    SaveLines.clear();
    SaveLines.reserve(TreeTextLines(*this));
    ProgramTextWriter out(SaveLines);
    WriteTreeText(*this, out);
}

int TEDITProgram::ParseLines(orvale::Diagnostics& found) {
    BusyCursor busy(*this);
    // A file text that is not kept for restoring is dropped once read, so its lines can move
    // into the sections instead of being copied.
    return ReadTreeText(*this, SourceLines, !KeepOpen, found);
}

void TEDITProgram::SetFileName(const std::string& path) {
    FilePath = orvale::ExtractFilePath(path);
    FileName = orvale::ExtractFileName(path);
    FileExt = orvale::ExtractFileExt(path);
}

bool TEDITProgram::SaveWith(const std::string& fileName,
                            const std::function<void(ProgramTextWriter&)>& appendArea) {
    BusyCursor busy(*this);
    CommitCurrent();
    // Kept so that a failed write leaves the last-save restore point as it was.
    StringList previousLines = std::move(SaveLines);
    std::vector<std::pair<TEDITSection*, int>> previousIndexes;
    ForEachNode([&](TreeNode* n) {
        if (TEDITSection* s = n->Section())
            previousIndexes.emplace_back(s, s->SaveLineIndex);
        return true;
    });

    // A text that is not kept goes to the file section by section instead of being held whole.
    std::optional<orvale::SafeFileWriter> stream;
    if (!KeepSave) {
        stream.emplace(fileName);
        if (SkipUnchangedSave)
            stream->KeepIfUnchanged();
    } else {
        SaveLines.reserve(TreeTextLines(*this));
    }
    {
        ProgramTextWriter out(SaveLines, stream ? &*stream : nullptr);
        WriteTreeText(*this, out);
        if (appendArea)
            appendArea(out);
        out.Flush();
    }
    SetFileName(fileName);
    std::string error;
    bool written = stream ? stream->Commit(orvale::ProgramBackupPath(fileName), &error)
                          : orvale::WriteLinesSafely(fileName, SaveLines,
                                                     orvale::ProgramBackupPath(fileName), &error);
    if (!written) {
        SaveLines = std::move(previousLines);
        for (auto& [section, index] : previousIndexes)
            section->SaveLineIndex = index;
        Box.Error(error);
        return false;
    }
    if (!KeepSave)
        SaveLines.clear();
    if (TreeNode* root = Tree.Root())
        Tree.SetText(root, FileName);
    Opened = true;
    Untitled = false;
    Modified = false;
    return true;
}

bool TEDITProgram::SaveToFile(const std::string& fileName) {
    return SaveWith(fileName, OwnSaveArea);
}

bool TEDITProgram::CloseProgram() {
    BusyCursor busy(*this);
    CommitCurrent();
    Prompter::Answer answer = Prompter::Answer::No;
    if (Modified)
        answer = Box.Show(Prompter::Kind::Confirmation, "Save changes to file " + FileName + "?",
                          Prompter::Buttons::YesNoCancel);
    if (answer == Prompter::Answer::Cancel)
        return false;
    if (answer == Prompter::Answer::Yes) {
        if (Untitled && View) {
            std::string dir = FilePath;
            if (!dir.empty() && dir.back() == '/')
                dir.pop_back();
            auto chosen = View->ChooseSaveFile(kSaveProgramTitle, dir, FileName);
            // A cancelled dialog closes without saving; a failed save keeps the program open.
            if (chosen && !SaveToFile(*chosen))
                return false;
        } else if (!SaveToFile(FilePath + FileName)) {
            return false;
        }
    }
    Closing = true;
    ForEachNode([](TreeNode* n) {
        if (TEDITSection* s = n->Section())
            s->ClearAll();
        return true;
    });
    ClearTree();
    SourceLines.clear();
    SaveLines.clear();
    if (View) {
        View->SetEditorLines({});
        View->ClearObjectList();
        View->SetRpgViewLines({});
    }
    EditorModified = false;
    Modified = false;
    return true;
}
