#include "ui/AboutBox.h"

#include "qtedge/TextEdge.h"

#include <QFont>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

using sysinfo::FormatKilobytes;

namespace {

QLabel* Value(const orvale::TextEdge& edge, QWidget* parent, const std::string& text,
              const char* name) {
    auto* label = new QLabel(edge.ToQt(text), parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

TAboutBox::TAboutBox(const sysinfo::TSystemInfo& info,
                     const std::vector<TLibraryVersion>& libraries, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle("About Orvale");

    auto* product = new QLabel("Orvale", this);
    QFont big = product->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    product->setFont(big);
    LabelVersion = new QLabel("Version 1.0", this);
    LabelVersion->setObjectName("LabelVersion");
    auto* purpose = new QLabel("RPG/400 development environment", this);

    PanelInfo = new QWidget(this);
    PanelInfo->setObjectName("PanelInfo");
    LabelOS = Value(Edge, PanelInfo, sysinfo::FormatOperatingSystem(info.System), "LabelOS");
    LabelProcessor = Value(Edge, PanelInfo, info.Processor, "LabelProcessor");
    LabelOwner = Value(Edge, PanelInfo, info.Owner, "LabelOwner");
    LabelOrganisation = Value(Edge, PanelInfo, info.Organisation, "LabelOrganisation");
    LabelTotalMemory =
        Value(Edge, PanelInfo, FormatKilobytes(info.Memory.Total), "LabelTotalMemory");
    LabelFreeMemory = Value(Edge, PanelInfo, FormatKilobytes(info.Memory.Free), "LabelFreeMemory");
    LabelSwap = Value(Edge, PanelInfo,
                      FormatKilobytes(info.Memory.SwapTotal) + " (" +
                          FormatKilobytes(info.Memory.SwapFree) + " free)",
                      "LabelSwap");
    auto* infoLayout = new QFormLayout(PanelInfo);
    infoLayout->addRow(LabelOS);
    infoLayout->addRow("Processor:", LabelProcessor);
    infoLayout->addRow("Registered Owner:", LabelOwner);
    infoLayout->addRow("Organisation:", LabelOrganisation);
    infoLayout->addRow("Total Memory:", LabelTotalMemory);
    infoLayout->addRow("Free Memory:", LabelFreeMemory);
    infoLayout->addRow("Swap File:", LabelSwap);

    PanelDLL = new QWidget(this);
    PanelDLL->setObjectName("PanelDLL");
    auto* dllLayout = new QGridLayout(PanelDLL);
    int row = 0;
    for (const TLibraryVersion& library : libraries) {
        auto* role = new QLabel(Edge.ToQt(library.Library + " - " + library.Role + ":"), PanelDLL);
        auto* version =
            Value(Edge, PanelDLL, library.Version, ("LabelVersion" + library.Library).c_str());
        dllLayout->addWidget(role, row, 0);
        dllLayout->addWidget(version, row, 1);
        ++row;
    }
    dllLayout->setRowStretch(row, 1);

    Pages = new QStackedWidget(this);
    Pages->setObjectName("Pages");
    Pages->addWidget(PanelInfo);
    Pages->addWidget(PanelDLL);

    BtnDLL = new QPushButton("DLL", this);
    BtnDLL->setObjectName("BtnDLL");
    BtnDLL->setAutoDefault(false);
    BtnInfo = new QPushButton("Info", this);
    BtnInfo->setObjectName("BtnInfo");
    BtnInfo->setAutoDefault(false);
    BtnOK = new QPushButton("OK", this);
    BtnOK->setObjectName("BtnOK");
    BtnOK->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnDLL);
    buttons->addWidget(BtnInfo);
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(product);
    layout->addWidget(LabelVersion);
    layout->addWidget(purpose);
    layout->addWidget(Pages, 1);
    layout->addLayout(buttons);

    connect(BtnDLL, &QPushButton::clicked, this, [this] { ShowPanel(PanelDLL); });
    connect(BtnInfo, &QPushButton::clicked, this, [this] { ShowPanel(PanelInfo); });
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    ShowPanel(PanelInfo);
}

void TAboutBox::ShowAbout(QWidget* parent) {
    TAboutBox box(sysinfo::ReadSystemInfo(), LibraryVersions(), parent);
    box.exec();
}

void TAboutBox::ShowPanel(QWidget* panel) {
    Pages->setCurrentWidget(panel);
    BtnDLL->setEnabled(panel != PanelDLL);
    BtnInfo->setEnabled(panel != PanelInfo);
}
