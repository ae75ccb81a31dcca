#pragma once

#include <QObject>

class Form4;

// An exercise file dropped anywhere on the curve window, on a field too, opens as "Apri
// esercizio…" opens it: of several files, the first exercise among them. Every other drop goes
// where it went before, so a text dropped on a field still goes in the field.
class ExerciseDrop : public QObject {
public:
    // Owned by the window.
    explicit ExerciseDrop(Form4& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Form4& window_;
};
