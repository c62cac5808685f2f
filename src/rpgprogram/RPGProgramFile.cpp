// Opening and saving ".RPG" program files, with the compiled-section area behind the tree
// text.

#include "RPGProgram.h"

#include "platform/Prompter.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

bool TRPGProgram::LoadFromFile(const std::string& fileName) {
    StringList lines;
    {
        BusyCursor busy(*this);
        std::string error;
        if (!orvale::ReadTextFile(fileName, lines, &error)) {
            Box.Error(error);
            return false;
        }
    }
    SourceLines = std::move(lines);
    SetFileName(fileName);
    BuildTree();
    int start = ParseLines();
    if (Options().LoadComp)
        ReadCompiledBlocks(start);
    ReadOriginBlocks(start);
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
    return SaveWith(fileName, [this] {
        if (Options().SaveComp)
            WriteCompiledBlocks();
        WriteOriginBlocks(Options().SaveComp);
    });
}

void TRPGProgram::WriteCompiledBlocks() {
    SaveLines.emplace_back();
    SaveLines.emplace_back(kBeginOfCompiled);
    ForEachNode([&](TreeNode* n) {
        if (const TEDITSection* s = n->Section()) {
            SaveLines.push_back("[" + s->Properties.Name + "]");
            if (s->CompiledValid) {
                SaveLines.push_back("[" + std::to_string(s->CompiledCount()) + "]");
                AppendSaveLines(s->Compiled());
            } else {
                // A cache that no longer matches the text is not worth keeping.
                SaveLines.emplace_back("[0]");
            }
            SaveLines.emplace_back(kEndOfSection);
            SaveLines.emplace_back();
            FlushSaveLines();
        }
        return true;
    });
    SaveLines.emplace_back(kEndOfCompiled);
}

void TRPGProgram::ReadCompiledBlocks(int start) {
    BusyCursor busy(*this);
    const int count = static_cast<int>(SourceLines.size());
    if (start < 0 || start >= count)
        return;
    auto exists = [&](int i) { return i >= 0 && i < count; };
    auto line = [&](int i) -> std::string_view {
        return exists(i) ? std::string_view(SourceLines[static_cast<size_t>(i)])
                         : std::string_view();
    };
    int i = start;
    if (line(start) != kBeginOfCompiled) {
        Box.Error(kWrongFormatError);
    } else {
        // Name look-up ignoring case, built once: the tree does not change while the area is
        // read. The area holds one block per section in tree order, so when several sections
        // share a name (two output groups of one file) their blocks go to them in turn;
        // giving every block to the last of them would double its lines in the next build.
        // A block beyond the sections of its name goes to the last one.
        struct Named {
            std::vector<TEDITSection*> Sections;
            size_t Blocks = 0; // blocks of this name read so far
        };
        std::unordered_map<std::string, Named> byName;
        ForEachNode([&](TreeNode* n) {
            if (TEDITSection* s = n->Section())
                byName[UpperCase(n->Text)].Sections.push_back(s);
            return true;
        });
        auto next = [&](std::string_view blockName) -> TEDITSection* {
            auto found = byName.find(UpperCase(BracketValue(blockName)));
            if (found == byName.end())
                return nullptr;
            Named& named = found->second;
            size_t k = std::min(named.Blocks++, named.Sections.size() - 1);
            return named.Sections[k];
        };
        i = start + 1;
        while (exists(i) && line(i) != kEndOfCompiled) {
            if (line(i + 2) == kEndOfSection) {
                next(line(i));
                i += 4;
                continue;
            }
            TEDITSection* section = next(line(i));
            if (!section) {
                Box.Warning(kCorruptedFileWarning);
                break;
            }
            // As with the sections' text, lines of a file text that is not kept are moved.
            int after = KeepOpen ? section->ReadCompiledFromLines(SourceLines, i + 1, Box)
                                 : section->TakeCompiledFromLines(SourceLines, i + 1, Box);
            if (after < 0)
                return; // the count did not match; the warning has been shown
            i = after;
        }
    }
    if (!exists(i) || line(i) != kEndOfCompiled)
        Box.Warning(kCorruptedFileWarning);
}
