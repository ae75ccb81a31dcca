// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "MeasuredCurves.h"

#include "CurveModel.h"
#include "Prompter.h"
#include "UnseenSurface.h"

namespace {

// A replay reads no field and shows no message.
class NoFields final : public CurveFields {
public:
    QString fieldText(Field) const override { return {}; }
    void setFieldText(Field, const QString&) override {}
};

class NoMessages final : public Prompter {
public:
    void MsgBox(const QString&) override {}
};

} // namespace

std::vector<PlotRecord> measuredCurves(const std::vector<PlotRecord>& curves,
                                       const std::optional<QPointF>& target) {
    UnseenSurface surface;
    NoFields fields;
    NoMessages prompter;
    CurveModel model(surface, fields, prompter, [] { return 0.0; });
    for (PlotRecord curve : curves) {
        if (target) {
            curve.RAX = target->x();
            curve.RAY = target->y();
        }
        model.replay(curve);
    }
    return model.takeCurves();
}
