// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// Prints how long plots take on a 1920 x 1080 window: one default plot including the repaint
// of the window image, and points per second against the bare arithmetic of the same walk.
#include "BenchSupport.h"
#include "CurveModel.h"
#include "SurfaceWidget.h"
#include "UnseenSurface.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace {

class DefaultFields final : public CurveFields {
public:
    explicit DefaultFields(QString inst) {
        texts_ = {{Field::Text1, "20"},  {Field::Text2, "30"}, {Field::Text4, "150"},
                  {Field::Text5, "70"},  {Field::Text9, inst}, {Field::Text3, "300"},
                  {Field::Text8, "270"}, {Field::Text10, "1"}, {Field::Text11, "1"}};
    }
    QString fieldText(Field field) const override { return texts_.at(field); }
    void setFieldText(Field field, const QString& text) override { texts_[field] = text; }

private:
    std::map<Field, QString> texts_;
};

// The same walk with every drawing call doing nothing: what the arithmetic alone costs. The
// points are counted and their positions kept alive, so the walk is not optimised away.
class NullSurface final : public UnseenSurface {
public:
    void PSet(float x, float y) override { sink_ += x + y; }
    void PSet(float x, float y, QRgb) override {
        sink_ += x + y;
        ++points;
    }
    long points = 0;

private:
    float sink_ = 0;
};

constexpr double Incr = 1080.0 / 1920.0;

// Seconds that one call of plot takes.
template <typename Plot> double timed(Plot plot) {
    QElapsedTimer clock;
    clock.start();
    plot();
    return clock.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    useOffscreenUnlessAsked();
    QApplication app(argc, argv);
    SilentPrompter prompter;

    SurfaceWidget window;
    window.resize(1920, 1080);
    window.show();
    QApplication::processEvents();

    // As in the program: the plot only records, then the event loop runs the one repaint of
    // the changed rectangle that the plot asked for.
    auto plotOnWindow = [&](CurveModel& model) {
        model.CALCOLA();
        QCoreApplication::sendPostedEvents(); // rasterizes and asks for the repaint
        QCoreApplication::sendPostedEvents(); // paints the changed rectangle
    };

    {
        DefaultFields fields("5");
        CurveModel model(window, fields, prompter, [] { return Incr; });
        model.Form_Activate();
        std::vector<double> runs;
        for (int i = 0; i < 200; ++i)
            runs.push_back(timed([&] { plotOnWindow(model); }));
        std::printf("default plot (INST 5, 224 points) with repaint: %.1f us (median of 200)\n",
                    median(runs) * 1e6);
    }

    for (const char* inst : {"1000", "100000"}) {
        DefaultFields fields(inst);
        CurveModel model(window, fields, prompter, [] { return Incr; });
        model.Form_Activate();
        NullSurface null;
        CurveModel bare(null, fields, prompter, [] { return Incr; });
        bare.Form_Activate();
        const int repeats = QString(inst) == "1000" ? 41 : 9;
        std::vector<double> drawn, arithmetic, ratios;
        for (int i = 0; i < repeats; ++i) {
            window.Cls();
            QCoreApplication::sendPostedEvents(); // the cleared window is repainted untimed
            QCoreApplication::sendPostedEvents();
            drawn.push_back(timed([&] { plotOnWindow(model); }));
            null.points = 0;
            arithmetic.push_back(timed([&] { bare.CALCOLA(); }));
            ratios.push_back(drawn.back() / arithmetic.back());
        }
        const double points = double(null.points);
        const double withDrawing = median(drawn), bareLoop = median(arithmetic);
        std::printf("INST %s: %.0f points; plot %.1f ms = %.1f M points/s; bare arithmetic "
                    "%.1f ms = %.1f M points/s; ratio %.2f (median of %d pairs)\n",
                    inst, points, withDrawing * 1e3, points / withDrawing / 1e6, bareLoop * 1e3,
                    points / bareLoop / 1e6, median(ratios), repeats);
    }
    return 0;
}
