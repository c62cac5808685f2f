#pragma once

// The program's message boxes: each question the documents and libraries ask through a
// Prompter becomes a modal QMessageBox with the icon of its kind and its buttons.

#include "platform/Prompter.h"
#include "qtedge/TextEdge.h"

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QMessageBox;

class TMessageBoxPrompter : public orvale::Prompter {
public:
    // The code page of the messages.
    orvale::TextEdge Edge;

    // Parent: the window the boxes are modal to (none: the active window). An empty caption
    // in Show means the application's display name, the program's title.
    explicit TMessageBoxPrompter(QWidget* parent = nullptr);

    Answer Show(Kind kind, const std::string& text, Buttons buttons,
                const std::string& caption = {}) override;
    // The next box, and only that one, opens with its top-left corner at (x, y) on the screen
    // instead of centred on its parent.
    void PlaceNextBox(int x, int y) override;
    void KeepNextBoxClearOf(int left, int top, int right, int bottom) override;

    // Called with every box right before it runs, so that tests can answer it.
    void SetBeforeExec(std::function<void(QMessageBox&)> hook) { BeforeExec = std::move(hook); }

    // The box as Show builds it, without running it (Answer reads back the button pressed).
    static void Build(QMessageBox& box, Kind kind, const QString& text, Buttons buttons,
                      const QString& caption);
    static Answer AnswerOf(const QMessageBox& box, Buttons buttons);

private:
    QPointer<QWidget> Parent;
    std::optional<QPoint> NextPlace;
    std::optional<QRect> KeepClear;
    std::function<void(QMessageBox&)> BeforeExec;
};
