// The library as the program binds it: a shared object whose only visible symbols are the
// fifteen exports, called here through the object itself.

#include "calvex/Calvex.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <string_view>

namespace {

const char* const kExports[] = {
    "GetRPG3DllVersion",     "ConvertRPG3Header", "ConvertRPG3Files", "ConvertRPG3Exten",
    "ConvertRPG3LCount",     "ConvertRPG3Input",  "ConvertRPG3Calcs", "ConvertRPG3SubR",
    "ConvertRPG3GetOutList", "ConvertRPG3Output", "ConvertRPG3Array", "CompileRPG3GetPreComp",
    "CompileRPG3Source",     "CompileRPG3Spec",   "CompileRPG3Array",
};

class Library : public ::testing::Test {
protected:
    void SetUp() override {
        Handle = dlopen(ORVALE_BIN_DIR "/libcalvex.so", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(Handle, nullptr) << dlerror();
    }
    void TearDown() override {
        if (Handle)
            dlclose(Handle);
    }
    // Whether the name is found through the library's handle and stands in the library itself
    // (dlsym also searches the libraries it depends on).
    bool DefinedInLibrary(const char* name) const {
        void* symbol = dlsym(Handle, name);
        Dl_info info{};
        if (!symbol || !dladdr(symbol, &info) || !info.dli_fname)
            return false;
        return std::string_view(info.dli_fname).ends_with("/libcalvex.so");
    }
    void* Handle = nullptr;
};

} // namespace

TEST_F(Library, ExportsTheFifteenFunctionsAndNothingElse) {
    for (const char* name : kExports)
        EXPECT_TRUE(DefinedInLibrary(name)) << name;
    // Internals, the section code compiled into the library included, stay hidden. The text
    // rules are the platform's, reached through the library's own dependency: found, but not
    // in the library.
    for (const char* name :
         {"_ZN6calvex9IsIntegerESt17basic_string_viewIcSt11char_traitsIcEE",
          "_ZN12TParseString13FindSeparatorESt17basic_string_viewIcSt11char_traitsIcEES3_",
          "_Z12TrimLeftViewSt17basic_string_viewIcSt11char_traitsIcEE"})
        EXPECT_FALSE(DefinedInLibrary(name)) << name;
}

TEST_F(Library, VersionThroughTheSharedObject) {
    auto version = reinterpret_cast<void (*)(std::string&)>(dlsym(Handle, "GetRPG3DllVersion"));
    ASSERT_NE(version, nullptr);
    std::string text;
    version(text);
    EXPECT_EQ(text, "1.32 - 27/08/1997");
    // The program links the library and calls it directly too.
    std::string linked;
    GetRPG3DllVersion(linked);
    EXPECT_EQ(linked, text);
}

TEST_F(Library, ConvertsAndCompilesSectionsItIsGiven) {
    StringList source{"     FCUSTMASTIF  E           K        DISK"};
    TEDITSection printer("Printer", ""), display("Display", ""), special("Special", ""),
        disk("Logical", "");
    EXPECT_EQ(ConvertRPG3Files(source, 0, printer, display, special, disk, "&%"), 1);
    ASSERT_EQ(disk.LinesCount(), 1);
    TCompileResult result{};
    TCompileOptions options{};
    CompileRPG3Source(&result, nullptr, disk, {}, 'F', options, true);
    ASSERT_EQ(disk.CompiledCount(), 1u);
    EXPECT_EQ(disk.CompiledTexts()[0].substr(0, source[0].size()), source[0]);
    EXPECT_EQ(std::string(result.Name, result.NameLength), "Logical");
    EXPECT_EQ(result.Lines, 1);
}
