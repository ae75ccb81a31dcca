#pragma once

#include <QString>
#include <cstdint>
#include <functional>

class Prompter;
class Surface;

// The behaviour of the calibration window: the ratio Incr between the height and the width of
// the user scale, the axes and the test figure drawn with it, and the two commands. The window
// provides the drawing surface, the message box and the ratio field through the three
// functions at the bottom, so the same logic runs against recording doubles in the tests.
class Calibration {
public:
    // The ratio shown after an activation, before the scroll bar has been moved.
    static constexpr double InitialRatio = 0.51;
    // "OK - continua" accepts only a ratio strictly above this bound.
    static constexpr double AcceptedAbove = 0.53;
    static constexpr float FigureScaleWidth = 146367.36f;
    static constexpr double FigureRadius = 36367.36328125;
    static constexpr int FigureColor = 4;
    static inline const QString RefusalMessage = QStringLiteral("Impostare la risoluzione SCHERMO");

    virtual ~Calibration() = default;

    // The ratio that a scroll position stands for.
    static double ratioAt(std::int16_t position);

    float P1 = 0;
    double Incr = 0;
    float CX = 0;
    float CY = 0;
    double XR = 0;
    double YR = 0;

    // Opens the curve window; ends the program.
    std::function<void()> showCurveWindow;
    std::function<void()> endProgram;

    void Form_Activate();
    void HScroll1_Change(std::int16_t position);
    void Command1_Click();
    void Command3_Click();

protected:
    virtual Surface& drawingSurface() = 0;
    virtual Prompter& prompter() = 0;
    virtual void showRatio(const QString& text) = 0;

private:
    void COORDINATE();
    void TRACCIA();
};
