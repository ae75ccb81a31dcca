#pragma once

#include <QString>

class QWidget;

// Asks, before changes would be lost, whether to save them first: "Salva", "Non salvare" or
// "Annulla", which leaves everything as it was.
class SaveQuestion {
public:
    enum class Answer { Save, Discard, Cancel };
    virtual ~SaveQuestion() = default;
    virtual Answer askToSave(const QString& text) = 0;
};

// The real question, a message box modal over the given window.
class MessageBoxSaveQuestion final : public SaveQuestion {
public:
    explicit MessageBoxSaveQuestion(QWidget* parent) : parent_(parent) {}
    Answer askToSave(const QString& text) override;

private:
    QWidget* parent_;
};
