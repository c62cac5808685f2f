#include "ui/FormEditOptions.h"

#include "platform/CodePage.h"
#include "ui/ColorComboBox.h"
#include "ui/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QVBoxLayout>

TFormEditOptions::TFormEditOptions(QWidget* parent) : TOptionsDialog(parent) {
    setWindowTitle("Editor Options");

    ComboFont = new QComboBox(this);
    ComboFont->setObjectName("ComboFont");
    for (int i = 0; i < kFontSizeCount; ++i)
        ComboFont->addItem(QString::number(FontSizeForIndex(i)));
    ComboBackCol = new TColorComboBox(this);
    ComboBackCol->setObjectName("ComboBackCol");
    ComboTextCol = new TColorComboBox(this);
    ComboTextCol->setObjectName("ComboTextCol");

    EditTest = new QLineEdit("Editor's Color Test  12345678", this);
    EditTest->setObjectName("EditTest");
    EditTest->setReadOnly(true);
    EditTest->setFocusPolicy(Qt::NoFocus);
    QFont sample("Courier New");
    sample.setStyleHint(QFont::TypeWriter);
    sample.setBold(true);
    EditTest->setFont(sample);

    TrackTabSpace = new QSlider(Qt::Horizontal, this);
    TrackTabSpace->setObjectName("TrackTabSpace");
    TrackTabSpace->setRange(kMinTabSpaces, kMaxTabSpaces);
    TrackTabSpace->setPageStep(1);
    TrackTabSpace->setTickPosition(QSlider::TicksBelow);
    TrackTabSpace->setTickInterval(1);
    LabelTab = new QLabel(this);
    LabelTab->setObjectName("LabelTab");

    CheckAutoIndent = new QCheckBox("&Automatic Indentation", this);
    CheckAutoIndent->setObjectName("CheckAutoIndent");
    CheckBackUnindent = new QCheckBox("&BackSpace Unindent", this);
    CheckBackUnindent->setObjectName("CheckBackUnindent");
    CheckCursThrTabs = new QCheckBox("Cursor Through Tabs", this);
    CheckCursThrTabs->setObjectName("CheckCursThrTabs");
    CheckTextLatin1 = new QCheckBox("Text files in &Latin-1 with CR LF line ends", this);
    CheckTextLatin1->setObjectName("CheckTextLatin1");
    ComboCodePage = new QComboBox(this);
    ComboCodePage->setObjectName("ComboCodePage");
    for (const std::string& name : orvale::CodePage::Offered())
        ComboCodePage->addItem(QString::fromStdString(name));
    CheckHostDates = new QCheckBox("Change dates of dated members as YY/MM/&DD", this);
    CheckHostDates->setObjectName("CheckHostDates");
    RadioRightMouse =
        new TRadioGroup("&Right Mouse Button",
                        {"Use to &Activate Popup Menu", "&Use to Cut, Copy and Paste"}, this);
    RadioRightMouse->setObjectName("RadioRightMouse");

    auto* fields = new QGridLayout;
    auto label = [this](const char* text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    fields->addWidget(label("Default Font Size:", ComboFont), 0, 0);
    fields->addWidget(ComboFont, 0, 1);
    fields->addWidget(label("BackGround Color", ComboBackCol), 1, 0);
    fields->addWidget(ComboBackCol, 1, 1);
    fields->addWidget(label("Text Color", ComboTextCol), 2, 0);
    fields->addWidget(ComboTextCol, 2, 1);
    fields->addWidget(EditTest, 3, 0, 1, 2);
    auto* tab = new QHBoxLayout;
    tab->addWidget(TrackTabSpace, 1);
    tab->addWidget(LabelTab);
    fields->addWidget(label("Tabulation Size:", TrackTabSpace), 4, 0);
    fields->addLayout(tab, 4, 1);
    fields->addWidget(label("Code &Page of Programs:", ComboCodePage), 5, 0);
    fields->addWidget(ComboCodePage, 5, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(CheckAutoIndent);
    layout->addWidget(CheckBackUnindent);
    layout->addWidget(CheckCursThrTabs);
    layout->addWidget(CheckTextLatin1);
    layout->addWidget(CheckHostDates);
    layout->addWidget(RadioRightMouse);
    AddButtons(layout);

    connect(ComboFont, &QComboBox::currentIndexChanged, this, &TFormEditOptions::UpdateSample);
    connect(ComboBackCol, &QComboBox::currentIndexChanged, this, &TFormEditOptions::UpdateSample);
    connect(ComboTextCol, &QComboBox::currentIndexChanged, this, &TFormEditOptions::UpdateSample);
    connect(TrackTabSpace, &QSlider::valueChanged, this, &TFormEditOptions::UpdateTabLabel);
    LoadFrom(TOptions());
}

void TFormEditOptions::LoadFrom(const TOptions& options) {
    const TEditorOptions& e = options.Editor;
    LoadedFontIndex = e.FontSizeIdx;
    ComboFont->setCurrentIndex(e.FontSizeIdx >= 0 && e.FontSizeIdx < kFontSizeCount ? e.FontSizeIdx
                                                                                    : -1);
    ComboBackCol->SetColorValue(e.BackColor);
    ComboTextCol->SetColorValue(e.TextColor);
    TrackTabSpace->setValue(e.TabSpaces);
    CheckAutoIndent->setChecked(e.AutoIndent);
    CheckBackUnindent->setChecked(e.BackUnindent);
    CheckCursThrTabs->setChecked(e.CursThrTabs);
    CheckTextLatin1->setChecked(e.TextFilesLatin1);
    std::string codePage = orvale::CodePage::Canonical(e.CodePage);
    int shown = ComboCodePage->findText(QString::fromStdString(codePage));
    ComboCodePage->setCurrentIndex(shown >= 0 ? shown : 0);
    CheckHostDates->setChecked(e.HostDateFormat);
    RadioRightMouse->SetItemIndex(e.UseRightButton ? 1 : 0);
    UpdateSample();
    UpdateTabLabel();
}

void TFormEditOptions::StoreInto(TOptions& options) const {
    TEditorOptions& e = options.Editor;
    e.BackColor = ComboBackCol->ColorValue();
    e.TextColor = ComboTextCol->ColorValue();
    e.FontSizeIdx = ComboFont->currentIndex() >= 0 ? ComboFont->currentIndex() : LoadedFontIndex;
    e.AutoIndent = CheckAutoIndent->isChecked();
    e.BackUnindent = CheckBackUnindent->isChecked();
    e.CursThrTabs = CheckCursThrTabs->isChecked();
    e.TextFilesLatin1 = CheckTextLatin1->isChecked();
    e.CodePage = ComboCodePage->currentText().toStdString();
    e.HostDateFormat = CheckHostDates->isChecked();
    e.TabSpaces = TrackTabSpace->value();
    e.EditorPopupMemu = RadioRightMouse->ItemIndex() == 0;
    e.UseRightButton = RadioRightMouse->ItemIndex() == 1;
}

void TFormEditOptions::UpdateSample() {
    QPalette palette = EditTest->palette();
    palette.setColor(QPalette::Base, ColorFromValue(ComboBackCol->ColorValue()));
    palette.setColor(QPalette::Text, ColorFromValue(ComboTextCol->ColorValue()));
    EditTest->setPalette(palette);
    QFont font = EditTest->font();
    font.setPointSize(FontSizeForIndex(ComboFont->currentIndex()));
    EditTest->setFont(font);
    // The whole sample stays in view at every size.
    EditTest->setMinimumWidth(QFontMetrics(font).horizontalAdvance(EditTest->text()) + 16);
    EditTest->setCursorPosition(0);
}

void TFormEditOptions::UpdateTabLabel() {
    LabelTab->setText("[" + QString::number(TrackTabSpace->value()) + "]");
}
