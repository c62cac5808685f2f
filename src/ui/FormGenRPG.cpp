#include "ui/FormGenRPG.h"

#include "qtedge/TextEdge.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <utility>

TFormGenRPGWindow::TFormGenRPGWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Generate RPG/400 Source");

    // Each box writes its flag as soon as it is clicked.
    auto check = [this](QGroupBox* group, const char* name, const char* caption,
                        bool TFormGenRPG::*flag) {
        auto* box = new QCheckBox(caption, group);
        box->setObjectName(name);
        group->layout()->addWidget(box);
        connect(box, &QCheckBox::toggled, this, [this, flag](bool on) { Options_.*flag = on; });
        return box;
    };
    auto group = [this](const char* title) {
        auto* g = new QGroupBox(title, this);
        new QVBoxLayout(g);
        return g;
    };

    QGroupBox* include = group("Include in the Source:");
    PrgProp = check(include, "PrgProp", "Program Property", &TFormGenRPG::PrgProp);
    PrgHist = check(include, "PrgHist", "Program History", &TFormGenRPG::PrgHist);
    PrgDesc = check(include, "PrgDesc", "Program Description", &TFormGenRPG::PrgDesc);
    PreComp = check(include, "PreComp", "Pre compiler Instruction", &TFormGenRPG::PreComp);
    QGroupBox* information = group("Information to Include");
    SDesc = check(information, "SDesc", "Section Description", &TFormGenRPG::SDesc);
    CDate = check(information, "CDate", "Creation Date", &TFormGenRPG::CDate);
    UDate = check(information, "UDate", "Last Update Date", &TFormGenRPG::UDate);
    LComm = check(information, "LComm", "Comment Lines", &TFormGenRPG::LComm);
    QGroupBox* compiled = group("Compiled Section:");
    SaveComp = check(compiled, "SaveComp", "Save in Program File", &TFormGenRPG::SaveComp);
    LoadComp = check(compiled, "LoadComp", "Load From Program File", &TFormGenRPG::LoadComp);
    QGroupBox* additional = group("Additional");
    CComm = check(additional, "CComm", "Code Comments", &TFormGenRPG::CComm);
    BLines = check(additional, "BLines", "Blank Lines", &TFormGenRPG::BLines);

    EditPrefix = new QLineEdit(this);
    EditPrefix->setObjectName("EditPrefix");
    EditPrefix->setMaxLength(2);
    // The prefix stands in columns 75-76 of the source: printable single-byte characters.
    EditPrefix->setValidator(new QRegularExpressionValidator(
        QRegularExpression("[\\x{21}-\\x{7E}\\x{A1}-\\x{FF}]{0,2}"), EditPrefix));
    connect(EditPrefix, &QLineEdit::textChanged, this,
            [this](const QString& text) { Options_.EditPrefix = Edge.FromQt(text); });
    auto* prefixLabel = new QLabel("Orvale Prefix for non standard data indicators:", this);
    prefixLabel->setBuddy(EditPrefix);

    EditChangeTag = new QLineEdit(this);
    EditChangeTag->setObjectName("EditChangeTag");
    EditChangeTag->setMaxLength(6);
    EditChangeTag->setPlaceholderText("none");
    EditChangeTag->setValidator(new QRegularExpressionValidator(
        QRegularExpression("[\\x{20}-\\x{7E}\\x{A1}-\\x{FF}]{0,6}"), EditChangeTag));
    connect(EditChangeTag, &QLineEdit::textChanged, this,
            [this](const QString& text) { Options_.ChangeTag = Edge.FromQt(text); });
    auto* tagLabel = new QLabel("Change tag of new lines:", this);
    tagLabel->setBuddy(EditChangeTag);
    ChangeTagColumns = new QComboBox(this);
    ChangeTagColumns->setObjectName("ChangeTagColumns");
    ChangeTagColumns->addItems({"in columns 75-80", "in columns 1-5"});
    connect(ChangeTagColumns, &QComboBox::currentIndexChanged, this,
            [this](int index) { Options_.ChangeTagLeft = index == 1; });

    EditChangeDate = new QLineEdit(this);
    EditChangeDate->setObjectName("EditChangeDate");
    EditChangeDate->setMaxLength(6);
    EditChangeDate->setPlaceholderText("today");
    EditChangeDate->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9]{0,6}"), EditChangeDate));
    connect(EditChangeDate, &QLineEdit::textChanged, this,
            [this](const QString& text) { Options_.ChangeDate = Edge.FromQt(text); });
    auto* dateLabel = new QLabel("Dated members: date of the changed lines (YYMMDD):", this);
    dateLabel->setBuddy(EditChangeDate);
    RenumberDated = new QCheckBox("Renumber from 1.00 by 1.00 when new lines find no room", this);
    RenumberDated->setObjectName("RenumberDated");
    connect(RenumberDated, &QCheckBox::toggled, this,
            [this](bool on) { Options_.RenumberDated = on; });

    BtnOK = new QPushButton("OK", this);
    BtnOK->setObjectName("BtnOK");
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton("Cancel", this);
    BtnCancel->setObjectName("BtnCancel");
    BtnCancel->setAutoDefault(false);
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* groups = new QGridLayout;
    groups->addWidget(include, 0, 0);
    groups->addWidget(information, 0, 1);
    groups->addWidget(compiled, 1, 0);
    groups->addWidget(additional, 1, 1);
    auto* prefix = new QHBoxLayout;
    prefix->addWidget(prefixLabel);
    prefix->addWidget(EditPrefix);
    prefix->addStretch();
    auto* tag = new QHBoxLayout;
    tag->addWidget(tagLabel);
    tag->addWidget(EditChangeTag);
    tag->addWidget(ChangeTagColumns);
    tag->addStretch();
    auto* dated = new QHBoxLayout;
    dated->addWidget(dateLabel);
    dated->addWidget(EditChangeDate);
    dated->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(prefix);
    layout->addLayout(tag);
    layout->addLayout(dated);
    layout->addWidget(RenumberDated);
    layout->addLayout(buttons);

    SetOptions(TFormGenRPG());
}

void TFormGenRPGWindow::SetOptions(const TFormGenRPG& options) {
    const std::pair<QCheckBox*, bool> boxes[] = {
        {PrgProp, options.PrgProp}, {PrgDesc, options.PrgDesc},   {PrgHist, options.PrgHist},
        {PreComp, options.PreComp}, {SDesc, options.SDesc},       {CDate, options.CDate},
        {UDate, options.UDate},     {LComm, options.LComm},       {CComm, options.CComm},
        {BLines, options.BLines},   {SaveComp, options.SaveComp}, {LoadComp, options.LoadComp}};
    for (auto [box, on] : boxes)
        box->setChecked(on);
    // A prefix from the file is shown as it is, even one the field would not let be typed.
    EditPrefix->setText(Edge.ToQt(options.EditPrefix.substr(0, 2)));
    EditChangeTag->setText(Edge.ToQt(options.ChangeTag.substr(0, 6)));
    ChangeTagColumns->setCurrentIndex(options.ChangeTagLeft ? 1 : 0);
    EditChangeDate->setText(Edge.ToQt(options.ChangeDate.substr(0, 6)));
    RenumberDated->setChecked(options.RenumberDated);
    Options_ = options;
    Options_.EditPrefix = Edge.FromQt(EditPrefix->text());
    Options_.ChangeTag = Edge.FromQt(EditChangeTag->text());
}
