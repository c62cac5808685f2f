#pragma once

// A member of the library shown read-only (members that are no RPG III programs: data
// descriptions, control language, RPG IV, copy members of other kinds), with its lines
// numbered, a line to go to, and F3 or Ctrl+click on a /COPY line to open the copy member.

#include "platform/StringList.h"

#include <QWidget>

#include <functional>
#include <string>

class QLabel;
class QPlainTextEdit;

class TMemberViewer : public QWidget {
    Q_OBJECT
public:
    // Path is the member's path relative to its library, Lines its text.
    TMemberViewer(std::string member, StringList lines, QWidget* parent = nullptr);

    const std::string& Member() const { return Member_; }
    const StringList& Lines() const { return Lines_; }
    // Shows line Line (from 1) selected and in view.
    void GoToLine(int line);
    // The line of the cursor, from 1.
    int CurrentLine() const;

    // Opens the copy member a /COPY line names; false when the line names none it finds.
    std::function<bool(const std::string& member, const std::string& line)> OpenCopyMember;

    QPlainTextEdit* EditText = nullptr;
    QLabel* LabelStatus = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OpenCopyAtLine(int line);

    std::string Member_;
    StringList Lines_;
};
