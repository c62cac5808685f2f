#include "ui/FormChangedSince.h"

#include "document/HostRecord.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace {

QDialogButtonBox* Buttons(QDialog& dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

} // namespace

TFormChangedSince::TFormChangedSince(QWidget* parent) : QDialog(parent) {
    setObjectName("FormChangedSince");
    setWindowTitle("Changed Since");
    EditDate = new QDateEdit(this);
    EditDate->setObjectName("EditDate");
    EditDate->setCalendarPopup(true);
    // The host's two-digit years reach from 1940 to 2039.
    EditDate->setDateRange(QDate(1940, 1, 1), QDate(2039, 12, 31));
    EditDate->setDate(QDate::currentDate());
    auto* layout = new QFormLayout(this);
    layout->addRow("Lines changed on or &after:", EditDate);
    layout->addRow(Buttons(*this));
}

void TFormChangedSince::SetDate(std::int32_t yymmdd) {
    if (!IsHostDate(yymmdd))
        return;
    EditDate->setDate(QDate(HostDateYear(yymmdd), yymmdd / 100 % 100, yymmdd % 100));
}

std::int32_t TFormChangedSince::Date() const {
    QDate day = EditDate->date();
    return (day.year() % 100) * 10000 + day.month() * 100 + day.day();
}

TFormGoToSequence::TFormGoToSequence(QWidget* parent) : QDialog(parent) {
    setObjectName("FormGoToSequence");
    setWindowTitle("Go to Sequence Number");
    EditSequence = new QLineEdit(this);
    EditSequence->setObjectName("EditSequence");
    EditSequence->setPlaceholderText("12.01, or 1201 as the listing prints it");
    auto* layout = new QFormLayout(this);
    layout->addRow("&Sequence number:", EditSequence);
    layout->addRow(Buttons(*this));
}
