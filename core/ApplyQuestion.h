#pragma once

#include <QString>

class QWidget;

// Shows what was found and asks whether to apply it: "Applica" or "Chiudi", which changes
// nothing.
class ApplyQuestion {
public:
    virtual ~ApplyQuestion() = default;
    virtual bool askToApply(const QString& text) = 0;
};

// The real question, a message box modal over the given window.
class MessageBoxApplyQuestion final : public ApplyQuestion {
public:
    explicit MessageBoxApplyQuestion(QWidget* parent) : parent_(parent) {}
    bool askToApply(const QString& text) override;

private:
    QWidget* parent_;
};
