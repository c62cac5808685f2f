#include "ui/AboutBox.h"
#include "calvex/Calvex.h"
#include "support/QtApp.h"

#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>

#include <gtest/gtest.h>

namespace {

sysinfo::TSystemInfo SampleInfo() {
    sysinfo::TSystemInfo info;
    info.System = {"Sample OS", "7", "6.1.0-9"};
    info.Processor = "Sample CPU (4 processors)";
    info.Owner = "Ann Smith";
    info.Organisation = "buildhost";
    info.Memory = {16384256, 8000000, 2097148, -1};
    return info;
}

} // namespace

TEST(AboutBox, ShowsTheSystemAndSwitchesToTheLibraries) {
    orvale::test::QtApp();
    std::vector<TLibraryVersion> libraries = {{"Calvex", "RPG/400 conversion", "9.9 - test"},
                                              {"Lumbro", "Print layout", "1.2 - test"}};
    TAboutBox box(SampleInfo(), libraries);
    EXPECT_EQ(box.windowTitle(), "About Orvale");
    EXPECT_EQ(box.LabelVersion->text(), "Version 1.0");
    EXPECT_EQ(box.LabelOS->text(), "Operating System: Sample OS - V. 7 build 6.1.0-9");
    EXPECT_EQ(box.LabelProcessor->text(), "Sample CPU (4 processors)");
    EXPECT_EQ(box.LabelOwner->text(), "Ann Smith");
    EXPECT_EQ(box.LabelOrganisation->text(), "buildhost");
    EXPECT_EQ(box.LabelTotalMemory->text(), "16,384,256 KB");
    EXPECT_EQ(box.LabelFreeMemory->text(), "8,000,000 KB");
    EXPECT_EQ(box.LabelSwap->text(), "2,097,148 KB (unknown free)");

    EXPECT_EQ(box.Pages->currentWidget(), box.PanelInfo);
    EXPECT_FALSE(box.BtnInfo->isEnabled());
    box.BtnDLL->click();
    EXPECT_EQ(box.Pages->currentWidget(), box.PanelDLL);
    auto* lumbro = box.PanelDLL->findChild<QLabel*>("LabelVersionLumbro");
    ASSERT_NE(lumbro, nullptr);
    EXPECT_EQ(lumbro->text(), "1.2 - test");
    bool roleShown = false;
    for (QLabel* label : box.PanelDLL->findChildren<QLabel*>())
        roleShown = roleShown || label->text() == "Calvex - RPG/400 conversion:";
    EXPECT_TRUE(roleShown);
    box.BtnInfo->click();
    EXPECT_EQ(box.Pages->currentWidget(), box.PanelInfo);
}

TEST(AboutBox, LibrariesAreAskedInTheirOrder) {
    std::vector<TLibraryVersion> versions = LibraryVersions();
    ASSERT_EQ(versions.size(), 6u);
    const char* order[] = {"Calvex", "Ondrel", "Verrow", "Caddis", "Tessary", "Lumbro"};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(versions[i].Library, order[i]);
        EXPECT_FALSE(versions[i].Version.empty()) << order[i];
        EXPECT_FALSE(versions[i].Role.empty()) << order[i];
    }
    std::string calvex;
    GetRPG3DllVersion(calvex);
    EXPECT_EQ(versions[0].Version, calvex);
}
