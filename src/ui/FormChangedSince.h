#pragma once

// The two questions of the Search menu about a dated member: since when ("Changed Since...")
// and which sequence number ("Go to Sequence Number...").

#include <QDialog>

#include <cstdint>

class QDateEdit;
class QLineEdit;

class TFormChangedSince : public QDialog {
    Q_OBJECT
public:
    explicit TFormChangedSince(QWidget* parent = nullptr);

    // The date shown first (YYMMDD; 0: today) and the one chosen.
    void SetDate(std::int32_t yymmdd);
    std::int32_t Date() const;

    QDateEdit* EditDate = nullptr;
};

class TFormGoToSequence : public QDialog {
    Q_OBJECT
public:
    explicit TFormGoToSequence(QWidget* parent = nullptr);

    QLineEdit* EditSequence = nullptr;
};
