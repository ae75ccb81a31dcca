#pragma once

#include <QString>
#include <memory>

class QWidget;

// Shows the program's modal messages: the text and an OK button, no icon, the application's
// title in the title bar. Logic that reports to the user takes one of these, so tests can
// record the messages instead of clicking boxes away.
class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void MsgBox(const QString& text) = 0;
    // A message with a title of its own in place of the application's.
    virtual void MsgBox(const QString& title, const QString& text) {
        Q_UNUSED(title);
        MsgBox(text);
    }
};

// The real message box, modal over the given window.
class MessageBoxPrompter final : public Prompter {
public:
    explicit MessageBoxPrompter(QWidget* parent) : parent_(parent) {}
    void MsgBox(const QString& text) override;
    void MsgBox(const QString& title, const QString& text) override;

private:
    QWidget* parent_;
};

// The prompter a window reports to: the one it was given, or message boxes over the window.
class WindowPrompter {
public:
    WindowPrompter(Prompter* given, QWidget* window)
        : own_(given ? nullptr : std::make_unique<MessageBoxPrompter>(window)),
          prompter_(given ? *given : *own_) {}
    Prompter& get() const { return prompter_; }

private:
    std::unique_ptr<Prompter> own_;
    Prompter& prompter_;
};
