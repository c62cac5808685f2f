#include "frame/Options.h"

#include "platform/ProfileFile.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr const char* kGeneralSection = "General Options";
constexpr const char* kCompilerSection = "Compiler Options";
constexpr const char* kHistorySection = "History Log";
constexpr const char* kUndoSection = "Undo Options";
constexpr const char* kExportSection = "Export Options";
constexpr const char* kWindowSection = "Main Window";
constexpr const char* kReopenSection = "Reopen Item";

// Every key of the file in its order of writing, handed to V as (section, key, value). Read
// and write walk this one list so that neither can miss a key the other has.
template <class Options, class Compiler, class V> void VisitKeys(Options& o, Compiler& c, V&& v) {
    v(kGeneralSection, "BackColor", o.Editor.BackColor);
    v(kGeneralSection, "TextColor", o.Editor.TextColor);
    v(kGeneralSection, "FontSizeIdx", o.Editor.FontSizeIdx);
    v(kGeneralSection, "UseRightButton", o.Editor.UseRightButton);
    v(kGeneralSection, "EditorPopupMemu", o.Editor.EditorPopupMemu);
    v(kGeneralSection, "AutoIndent", o.Editor.AutoIndent);
    v(kGeneralSection, "BackUnindent", o.Editor.BackUnindent);
    v(kGeneralSection, "CursThrTabs", o.Editor.CursThrTabs);
    v(kGeneralSection, "TabSpaces", o.Editor.TabSpaces);
    v(kGeneralSection, "TextFilesLatin1", o.Editor.TextFilesLatin1);
    v(kGeneralSection, "HostDateFormat", o.Editor.HostDateFormat);
    v(kGeneralSection, "LastProgramFolder", o.LastProgramFolder);
    v(kGeneralSection, "CodePage", o.Editor.CodePage);
    v(kCompilerSection, "PrgProp", c.PrgProp);
    v(kCompilerSection, "PrgDesc", c.PrgDesc);
    v(kCompilerSection, "PrgHist", c.PrgHist);
    v(kCompilerSection, "PreComp", c.PreComp);
    v(kCompilerSection, "CodeComm", c.CComm);
    v(kCompilerSection, "BlankLines", c.BLines);
    v(kCompilerSection, "SecDesc", c.SDesc);
    v(kCompilerSection, "CrtDate", c.CDate);
    v(kCompilerSection, "UpdDate", c.UDate);
    v(kCompilerSection, "LineComm", c.LComm);
    v(kCompilerSection, "SaveComp", c.SaveComp);
    v(kCompilerSection, "LoadComp", c.LoadComp);
    v(kCompilerSection, "RPGPrefix", c.EditPrefix);
    v(kCompilerSection, "ChangeTag", c.ChangeTag);
    v(kCompilerSection, "ChangeTagLeft", c.ChangeTagLeft);
    v(kCompilerSection, "RenumberDated", c.RenumberDated);
    v(kCompilerSection, "LastExportFolder", o.LastExportFolder);
    v(kHistorySection, "AddSec", o.History.AddSec);
    v(kHistorySection, "DelSec", o.History.DelSec);
    v(kHistorySection, "ModSec", o.History.ModSec);
    v(kHistorySection, "ModPrp", o.History.ModPrp);
    v(kHistorySection, "ModSPr", o.History.ModSPr);
    v(kUndoSection, "Previous", o.Undo.Previous);
    v(kUndoSection, "LastOpen", o.Undo.LastOpen);
    v(kUndoSection, "LastSave", o.Undo.LastSave);
    v(kExportSection, "SaveOnExport", o.Export.SaveOnExport);
    v(kExportSection, "CompOnExport", o.Export.CompOnExport);
    v(kExportSection, "BuilOnExport", o.Export.BuilOnExport);
    v(kExportSection, "RecordLength", o.Export.RecordLength);
    v(kExportSection, "DatedRecords", o.Export.DatedRecords);
    v(kExportSection, "DatedReading", o.Export.DatedReading);
    v(kExportSection, "HostCodePage", o.Export.HostCodePage);
    v(kWindowSection, "Geometry", o.Window.Geometry);
    v(kWindowSection, "State", o.Window.State);
    v(kWindowSection, "ButtonBar", o.Window.ButtonBar);
}

struct KeyReader {
    const orvale::ProfileFile& Profile;

    void operator()(const char* section, const char* key, int& value) const {
        value = Profile.ReadInteger(section, key, value);
    }
    void operator()(const char* section, const char* key, bool& value) const {
        value = Profile.ReadBool(section, key, value);
    }
    void operator()(const char* section, const char* key, std::string& value) const {
        value = Profile.ReadString(section, key, value);
    }
};

struct KeyWriter {
    orvale::ProfileFile& Profile;
    bool Ok = true;

    void operator()(const char* section, const char* key, int value) {
        Ok = Profile.WriteInteger(section, key, value) && Ok;
    }
    void operator()(const char* section, const char* key, bool value) {
        Ok = Profile.WriteBool(section, key, value) && Ok;
    }
    void operator()(const char* section, const char* key, const std::string& value) {
        Ok = Profile.WriteString(section, key, value) && Ok;
    }
};

bool CarriesLineBreak(const std::string& text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos;
}

} // namespace

int FontSizeForIndex(int index) {
    if (index < 0 || index >= kFontSizeCount)
        return 12;
    return kFirstFontSize + index;
}

std::string TOptions::DefaultExportFolder() {
    const char* home = std::getenv("HOME");
    if (!home || !*home)
        return "/";
    std::string folder(home);
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

void ReadOptions(const orvale::ProfileFile& profile, TOptions& options, TFormGenRPG& compiler) {
    VisitKeys(options, compiler, KeyReader{profile});
    // The editor and the document repeat blanks by the tab width; a hand-edited value must not
    // make them build huge or negative runs.
    options.Editor.TabSpaces = std::clamp(options.Editor.TabSpaces, kMinTabSpaces, kMaxTabSpaces);
    options.Export.DatedReading = std::clamp(options.Export.DatedReading, 0, 2);

    // The file keeps "0" as the most recent program; adding from the highest key down leaves
    // it on top. The keys are counted by the lines present, so that a list written shorter
    // than an earlier one still brings the earlier entries back.
    size_t count = profile.ReadSectionLines(kReopenSection).size();
    for (size_t i = count; i-- > 0;)
        options.Reopen.AddToReopenList(profile.ReadString(kReopenSection, std::to_string(i)));
}

bool WriteOptions(orvale::ProfileFile& profile, const TOptions& options,
                  const TFormGenRPG& compiler) {
    KeyWriter writer{profile};
    VisitKeys(options, compiler, writer);

    StringList captions = options.Reopen.Captions();
    size_t key = 0;
    for (const std::string& caption : captions) {
        // A path with a line break cannot be kept in a line of the file; it is left out rather
        // than failing the whole save.
        if (CarriesLineBreak(caption)) {
            writer.Ok = false;
            continue;
        }
        writer(kReopenSection, std::to_string(key++).c_str(), caption);
    }
    return writer.Ok;
}

std::string OptionsFilePath(const std::string& programDir) {
    if (programDir.empty() || programDir.back() == '/')
        return programDir + kOptionsFileName;
    return programDir + "/" + kOptionsFileName;
}

bool LoadOptionsFile(const std::string& path, TOptions& options, TFormGenRPG& compiler,
                     std::string* error) {
    options = TOptions();
    compiler = TFormGenRPG();
    orvale::ProfileFile profile(path);
    if (!profile.Load(error))
        return false;
    // A new installation indents on Enter and unindents on Backspace; a file that holds the
    // two keys keeps what it says.
    options.Editor.AutoIndent = true;
    options.Editor.BackUnindent = true;
    ReadOptions(profile, options, compiler);
    return true;
}

bool SaveOptionsFile(const std::string& path, const TOptions& options, const TFormGenRPG& compiler,
                     std::string* error) {
    orvale::ProfileFile profile(path);
    // The file is rewritten from what it held; if that cannot be read, writing would drop it.
    if (!profile.Load(error))
        return false;
    bool complete = WriteOptions(profile, options, compiler);
    if (!profile.Save(error))
        return false;
    if (!complete && error)
        *error = path + ": an option could not be stored (its value holds a line break)";
    return complete;
}
