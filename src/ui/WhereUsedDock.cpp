#include "ui/WhereUsedDock.h"

#include "platform/TextFile.h"
#include "ui/LibraryEdge.h"

#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace orvale::library;

namespace {

constexpr int kMemberRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;

} // namespace

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

TWhereUsedDock::TWhereUsedDock(QWidget* parent) : QDockWidget("Where Used", parent) {
    setObjectName("WhereUsedDock");
    auto* body = new QWidget(this);
    EditName = new QLineEdit(body);
    EditName->setObjectName("EditName");
    EditName->setPlaceholderText("Name: file, format, field, program, data area, copy member");
    ComboKind = new QComboBox(body);
    ComboKind->setObjectName("ComboKind");
    ComboKind->addItem("Any kind", -1);
    for (int k = 0; k < kNameKinds; ++k)
        ComboKind->addItem(NameKindText(static_cast<NameKind>(k)), k);
    BtnFind = new QPushButton("&Where Used", body);
    BtnFind->setObjectName("BtnFind");
    BtnSave = new QPushButton("Save as &CSV...", body);
    BtnSave->setObjectName("BtnSave");
    BtnSave->setEnabled(false);
    ListHits = new QTreeWidget(body);
    ListHits->setObjectName("ListHits");
    ListHits->setRootIsDecorated(false);
    ListHits->setUniformRowHeights(true);
    ListHits->setSortingEnabled(false);
    ListHits->setHeaderLabels({"Member", "Line", "Role", "Kind", "Name", "Operation", "Text"});
    ListHits->header()->setStretchLastSection(true);
    LabelCount = new QLabel(body);
    LabelCount->setObjectName("LabelCount");

    auto* row = new QHBoxLayout;
    row->addWidget(EditName, 1);
    row->addWidget(ComboKind);
    row->addWidget(BtnFind);
    row->addWidget(BtnSave);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(row);
    layout->addWidget(ListHits, 1);
    layout->addWidget(LabelCount);
    setWidget(body);

    connect(BtnFind, &QPushButton::clicked, this, [this] { Show(EditName->text()); });
    connect(EditName, &QLineEdit::returnPressed, this, [this] { Show(EditName->text()); });
    connect(BtnSave, &QPushButton::clicked, this, &TWhereUsedDock::SaveRequested);
    connect(ListHits, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (item)
            emit PlaceActivated(item->data(0, kMemberRole).toByteArray(),
                                item->data(0, kLineRole).toInt());
    });
}

void TWhereUsedDock::SetIndex(LibraryIndex* index) {
    Index = index;
    ListHits->clear();
    Found.clear();
    LabelCount->clear();
    BtnSave->setEnabled(false);
}

int TWhereUsedDock::Show(const QString& name) {
    QString trimmed = name.trimmed();
    EditName->setText(trimmed);
    ListHits->clear();
    Found.clear();
    BtnSave->setEnabled(false);
    if (!Index || !Index->IsOpen()) {
        LabelCount->setText("No library is open (File > Open Library...).");
        return 0;
    }
    if (trimmed.isEmpty()) {
        LabelCount->setText("Type a name, or place the cursor on one and press Ctrl+Shift+U.");
        return 0;
    }
    int kind = ComboKind->currentData().toInt();
    NameKind wanted = static_cast<NameKind>(kind < 0 ? 0 : kind);
    Found = Index->WhereUsed(LibraryEdge().FromQt(trimmed), kind < 0 ? nullptr : &wanted);
    Index->FillTexts(Found);
    QList<QTreeWidgetItem*> items;
    QStringList members;
    for (const THit& h : Found) {
        QString member = QFile::decodeName(QByteArray::fromStdString(h.Member));
        std::string_view op = OperationText(h.Op);
        QString operation = LibraryEdge().ToQt(op);
        if (h.Via != CallVia::Name)
            operation += (operation.isEmpty() ? "" : ", ") + QString(CallViaText(h.Via));
        auto* item = new QTreeWidgetItem({member, QString::number(h.Line), RoleText(h.Role),
                                          NameKindText(h.Kind), LibraryEdge().ToQt(h.Name),
                                          operation, LibraryEdge().ToQt(h.Text)});
        item->setData(0, kMemberRole, QByteArray::fromStdString(h.Member));
        item->setData(0, kLineRole, h.Line);
        item->setTextAlignment(1, Qt::AlignRight);
        item->setFont(6, QFontDatabase::systemFont(QFontDatabase::FixedFont));
        items.append(item);
        if (members.isEmpty() || members.back() != member)
            members.append(member);
    }
    ListHits->addTopLevelItems(items);
    for (int c = 0; c < 6; ++c)
        ListHits->resizeColumnToContents(c);
    LabelCount->setText(QString("%1: %2 lines in %3 members")
                            .arg(trimmed.toUpper())
                            .arg(Found.size())
                            .arg(members.size()));
    BtnSave->setEnabled(!Found.empty());
    return static_cast<int>(Found.size());
}

bool TWhereUsedDock::SaveCsv(const std::string& path, std::string& error) const {
    StringList lines = {"member,line,role,kind,name,operation,text"};
    for (const THit& h : Found) {
        std::string op(OperationText(h.Op));
        if (h.Via != CallVia::Name)
            op += (op.empty() ? "" : " ") + std::string(CallViaText(h.Via));
        // The texts are the members' ISO-8859-1; a CSV file is read as UTF-8 today.
        auto utf8 = [](const std::string& s) {
            return LibraryEdge().ToQt(s).toUtf8().toStdString();
        };
        lines.push_back(
            CsvField(
                QFile::decodeName(QByteArray::fromStdString(h.Member)).toUtf8().toStdString()) +
            "," + std::to_string(h.Line) + "," + RoleText(h.Role) + "," + NameKindText(h.Kind) +
            "," + CsvField(utf8(h.Name)) + "," + CsvField(op) + "," + CsvField(utf8(h.Text)));
    }
    return orvale::WriteTextFile(path, lines, &error);
}
