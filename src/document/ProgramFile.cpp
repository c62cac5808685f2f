// The program file: the tree text written into SaveLines and read from SourceLines, saving
// and closing.

#include "EditProgram.h"

#include "platform/Prompter.h"
#include "platform/SafeSave.h"
#include "platform/TextFile.h"

#include <optional>
#include <string_view>

using orvale::Prompter;

namespace {

constexpr const char* kBeginOfProgram = "[Begin Of Tree Program]";
constexpr const char* kEndOfProgram = "[End Of Program]";
constexpr const char* kFolderMarker = "SectionFolder";

std::string Bracketed(const std::string& value) {
    return "[" + value + "]";
}

} // namespace

void TEDITProgram::WriteLines() {
    SaveLines.clear();
    if (!SaveStream) {
        size_t estimate = 2;
        ForEachNode([&](TreeNode* n) {
            if (const TEDITSection* s = n->Section())
                estimate += s->Lines().size() + 8;
            else
                estimate += 6;
            return true;
        });
        SaveLines.reserve(estimate);
    }
    SaveLines.emplace_back(kBeginOfProgram);
    ForEachNode([&](TreeNode* n) {
        if (TEDITSection* s = n->Section()) {
            SaveLines.push_back(Bracketed(std::to_string(n->ImageIndex)));
            // The section's block as WriteToLines makes it, its text lines not copied when
            // they go straight to the file.
            s->WriteHeadToLines(SaveLines);
            AppendSaveLines(s->Lines());
            SaveLines.emplace_back(kEndOfSection);
            SaveLines.emplace_back();
            FlushSaveLines();
        } else if (const TEDITFolder* folder = n->Folder()) {
            SaveLines.push_back(Bracketed(std::to_string(n->ImageIndex)));
            SaveLines.push_back(Bracketed(kFolderMarker));
            SaveLines.push_back(Bracketed(n->Text));
            SaveLines.push_back(Bracketed(folder->Description));
            SaveLines.push_back(Bracketed(std::to_string(n->Count())));
            SaveLines.emplace_back();
        }
        return true;
    });
    SaveLines.emplace_back(kEndOfProgram);
}

int TEDITProgram::ParseLines() {
    BusyCursor busy(*this);
    // Counts the messages that say the file is not whole.
    orvale::CountingPrompter box(Box);
    const int count = static_cast<int>(SourceLines.size());
    auto exists = [&](int i) { return i >= 0 && i < count; };
    auto line = [&](int i) -> std::string_view {
        return exists(i) ? std::string_view(SourceLines[static_cast<size_t>(i)])
                         : std::string_view();
    };
    // Loading restores history; it never adds to it.
    bool logAdd = LogAdd;
    LogAdd = false;

    int i = 1;
    if (line(0) != kBeginOfProgram) {
        box.Error(kWrongFormatError);
    } else {
        int folderLeft = 0;
        std::string folderName;
        std::string folderDescription;
        TreeNode* folderNode = nullptr;
        while (exists(i) && line(i) != kEndOfProgram) {
            int image = BracketNumber(line(i));
            if (image == -1) {
                box.Warning(kCorruptedFileWarning);
                break;
            }
            std::string name = BracketValue(line(i + 1));
            if (name == kFolderMarker) {
                folderName = BracketValue(line(i + 2));
                folderDescription = BracketValue(line(i + 3));
                folderLeft = BracketNumber(line(i + 4));
                folderNode = nullptr;
                if (folderLeft < 0) {
                    box.Warning(kCorruptedFileWarning);
                    break;
                }
                if (folderLeft > 0) {
                    i += 6;
                    image = BracketNumber(line(i));
                    name = BracketValue(line(i + 1));
                }
            }
            TEDITSection* target = nullptr;
            if (folderLeft == 0 && name != kFolderMarker) {
                target = FindSectionByName(name);
            } else if (folderLeft > 0) {
                // The same folder serves all its children; adding them cannot change which
                // node comes first with that text.
                if (!folderNode)
                    folderNode = FindNodeByText(folderName);
                if (!folderNode || !folderNode->Folder()) {
                    box.Warning(kCorruptedFileWarning);
                    break;
                }
                folderNode->Folder()->Description = folderDescription;
                TreeNode* node = AddSection(folderNode, name, "");
                // A child's image line that is not a number is not checked, but it must not
                // be taken either: written back as "[-1]", it would end the next reading of
                // the file at this child. The child keeps the image a new node gets.
                if (image != -1)
                    Tree.SetImages(node, image, image);
                target = node->Section();
                --folderLeft;
            } else if (TreeNode* empty = FindNodeByText(folderName); empty && empty->Folder()) {
                // An empty folder still keeps the description the user gave it.
                empty->Folder()->Description = folderDescription;
            }
            if (target) {
                // A file text that is not kept for restoring is dropped once read, so its
                // lines can move into the section instead of being copied.
                i = KeepOpen ? target->ReadFromLines(SourceLines, i + 2, box)
                             : target->TakeFromLines(SourceLines, i + 2, box);
            } else if (name != kFolderMarker) {
                box.Warning(kCorruptedFileWarning);
                break;
            } else {
                i += 6;
            }
        }
    }
    if (!exists(i) || line(i) != kEndOfProgram)
        box.Warning(kCorruptedFileWarning);
    LogAdd = logAdd;
    ReadWhole = box.Errors + box.Warnings == 0;
    return i + 2;
}

void TEDITProgram::FlushSaveLines() {
    if (!SaveStream || SaveLines.empty())
        return;
    SaveStream->WriteLines(SaveLines);
    SaveLines.clear();
}

void TEDITProgram::AppendSaveLines(const StringList& lines) {
    if (!SaveStream) {
        SaveLines.insert(SaveLines.end(), lines.begin(), lines.end());
        return;
    }
    FlushSaveLines();
    SaveStream->WriteLines(lines);
}

namespace {

// The texts of Lines added to Save, or written straight to Stream when a save is writing.
template <class Line>
void AppendTexts(StringList& save, orvale::SafeFileWriter* stream, const std::vector<Line>& lines) {
    if (!stream) {
        for (const Line& line : lines)
            save.push_back(line.Text);
        return;
    }
    for (const Line& line : lines)
        stream->WriteLine(line.Text);
}

} // namespace

void TEDITProgram::AppendSaveLines(const std::vector<SectionLine>& lines) {
    FlushSaveLines();
    AppendTexts(SaveLines, SaveStream, lines);
}

void TEDITProgram::AppendSaveLines(const std::vector<CompiledLine>& lines) {
    FlushSaveLines();
    AppendTexts(SaveLines, SaveStream, lines);
}

void TEDITProgram::SetFileName(const std::string& path) {
    FilePath = orvale::ExtractFilePath(path);
    FileName = orvale::ExtractFileName(path);
    FileExt = orvale::ExtractFileExt(path);
}

bool TEDITProgram::SaveWith(const std::string& fileName, const std::function<void()>& appendArea) {
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
        SaveStream = &stream.emplace(fileName);
        if (SkipUnchangedSave)
            stream->KeepIfUnchanged();
    }
    WriteLines();
    if (appendArea)
        appendArea();
    FlushSaveLines();
    SaveStream = nullptr;
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
