#pragma once

// A titled group of radio buttons read and set by the index of the checked one, as the option
// dialogs offer their choices.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& title, const QStringList& items, QWidget* parent = nullptr);

    // The checked button's index; -1 when none is.
    int ItemIndex() const;
    // Checks button Index; an index out of range leaves none checked.
    void SetItemIndex(int index);
    QRadioButton* Button(int index) const;
    int Count() const;

signals:
    void ItemIndexChanged(int index);

private:
    QButtonGroup* Group = nullptr;
};
