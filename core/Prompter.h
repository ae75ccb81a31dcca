#pragma once

#include <QString>

class QWidget;

// Shows the program's modal messages: the text and an OK button, no icon, the application's
// title in the title bar. Logic that reports to the user takes one of these, so tests can
// record the messages instead of clicking boxes away.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void MsgBox(const QString& text) = 0;
};

// The real message box, modal over the given window.
class MessageBoxPrompter final : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* parent) : parent_(parent) {}
    void MsgBox(const QString& text) override;

private:
    QWidget* parent_;
};
