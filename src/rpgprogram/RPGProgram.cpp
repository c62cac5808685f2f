#include "RPGProgram.h"

TRPGProgram::TRPGProgram(orvale::Prompter& prompter) : TEDITProgram(prompter) {
    FileExt = ".RPG";
    SubRoutinesNode = nullptr;
    RegisterNodeSlot(ArraysNode);
    RegisterNodeSlot(FilesNode);
    RegisterNodeSlot(OutputNode);
    RegisterNodeSlot(AllFlagsNode);
    RegisterNodeSlot(ArraysFolder.Node);
    RegisterNodeSlot(OutputFolder.Node);
    // A program closed with a save keeps the member lines its statements came from.
    OwnSaveArea = [this](ProgramTextWriter& out) { WriteOriginArea(*this, out, false); };
}

const TFormGenRPG& TRPGProgram::Options() const {
    static const TFormGenRPG defaults;
    return FormGenRPG ? *FormGenRPG : defaults;
}

bool TRPGProgram::IsRpgSection(const TEDITSection* s) const {
    return s == &ExtensionSection || s == &LineCountSection || s == &InputSection ||
           s == &SpecialSection || s == &LogicalSection || s == &DisplaySection ||
           s == &PrinterSection || s == &InitSubRoutineSection;
}

void TRPGProgram::BuildTree() {
    Tree.BeginUpdate();
    TEDITProgram::BuildTree();
    TreeNode* root = Tree.Root();
    int at = MainRoutineNode->Index();
    auto insert = [&](TreeNode* parent, int index, const std::string& text, int image) {
        TreeNode* node = Tree.Insert(parent, index, text);
        node->ImageIndex = node->SelectedIndex = image;
        return node;
    };
    auto section = [&](TreeNode* parent, int index, TEDITSection& s, int image) {
        insert(parent, index, s.Properties.Name, image)->SetSection(&s);
    };
    FilesNode = insert(root, at++, "Files", 10);
    FilesNode->SetGrouping();
    section(FilesNode, -1, LogicalSection, 13);
    section(FilesNode, -1, DisplaySection, 15);
    section(FilesNode, -1, PrinterSection, 16);
    section(FilesNode, -1, SpecialSection, 14);
    section(root, at++, ExtensionSection, 17);
    section(root, at++, LineCountSection, 19);
    section(root, at++, InputSection, 18);
    ArraysNode = insert(root, at++, "Arrays", 11);
    ArraysNode->SetFolder(&ArraysFolder);
    ArraysFolder.Node = ArraysNode;
    section(root, MainRoutineNode->Index() + 1, InitSubRoutineSection, 12);
    // The output folder's node reads "Output" while the folder's own name is "OutPut".
    OutputNode = insert(root, -1, "Output", 23);
    OutputNode->SetFolder(&OutputFolder);
    OutputFolder.Node = OutputNode;
    AllFlagsNode = insert(root, -1, "All Flags", 25);
    AllFlagsNode->SetGrouping();
    insert(AllFlagsNode, -1, "Indicators", 22);
    insert(AllFlagsNode, -1, "Comm Keys", 21);
    insert(AllFlagsNode, -1, "Break Level", 26);
    insert(AllFlagsNode, -1, "System Flag", 27);
    insert(AllFlagsNode, -1, "Output Flag", 28);
    Tree.Select(root);
    CurrentNode = root;
    Tree.EndUpdate();
}

void TRPGProgram::InitProperties(const std::string& sourceLib, const std::string& sourceFile) {
    size_t dot = FileName.find('.');
    std::string member = dot == std::string::npos ? std::string() : FileName.substr(0, dot);
    PropertySection.AddLine("Owner=" + UserName);
    PropertySection.AddLine("Name=" + FileName);
    PropertySection.AddLine("Description= ");
    PropertySection.AddLine("Source Mbr=" + member);
    PropertySection.AddLine("Source File=" + sourceFile);
    PropertySection.AddLine("Source Lib=" + sourceLib);
    PropertySection.AddLine("Use SQL=NO");
    PropertySection.AddLine("Work Mode=Batch");
    for (int i = 0; i < 5; ++i)
        PropertySection.AddLine("Text= ");
}

bool TRPGProgram::NewProgram() {
    if (Opened && !CloseProgram())
        return false;
    FilePath.clear();
    FileName = "NoName.RPG";
    FileExt = ".RPG";
    BuildTree();
    InitSubRoutineSection.AddLine("                Begsr(*INZSR)");
    InitSubRoutineSection.AddLine("");
    InitSubRoutineSection.AddLine("                Endsr()");
    InitProperties("", "");
    if (View)
        View->SetGridRowCount(PropertySection.LinesCount());
    Untitled = true;
    Modified = true;
    Closing = false;
    ShowSelected();
    return true;
}

TEDITSection* TRPGProgram::AddArray(const std::string& name, const std::string& description) {
    TreeNode* node = AddSection(ArraysNode, name, description);
    if (!node)
        return nullptr;
    Tree.SetImage(node, 20);
    Modified = true;
    return SectionFoundForAdded(node);
}

TEDITSection* TRPGProgram::AddOutput(const std::string& name, const std::string& description) {
    TreeNode* node = AddSection(OutputNode, name, description);
    if (!node)
        return nullptr;
    Tree.SetImage(node, 19);
    Modified = true;
    return SectionFoundForAdded(node);
}

void TRPGProgram::ShowSelected() {
    TEDITProgram::ShowSelected();
    TreeNode* node = Tree.Selected();
    if (node && !Closing) {
        TreeNode* parent = node->Parent();
        TEDITSection* section = node->Section();
        if (node == ArraysNode || node == OutputNode || node == AllFlagsNode || node == FilesNode) {
            ShowObjectList(node);
            ShowPages(false, true, false, false, 2);
        } else if (AllFlagsNode && parent == AllFlagsNode) {
            ShowFlagReport(node);
            ShowPages(false, true, false, false, 2);
        } else if (section && ((ArraysNode && parent == ArraysNode) ||
                               (OutputNode && parent == OutputNode) || IsRpgSection(section))) {
            ShowInEditor(*section);
        }
    }
    EditorModified = false;
}
