// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "CurveModel.h"
#include "RecordingPrompter.h"
#include "RecordingSurface.h"

#include <QString>
#include <map>
#include <vector>

// The nine fields with the window's initial texts.
class FieldTexts : public CurveFields {
public:
    std::map<Field, QString> texts = {
        {Field::Text1, "20"},  {Field::Text2, "30"}, {Field::Text4, "150"},
        {Field::Text5, "70"},  {Field::Text9, "5"},  {Field::Text3, "300"},
        {Field::Text8, "270"}, {Field::Text10, "1"}, {Field::Text11, "1"},
    };

    QString fieldText(Field field) const override { return texts.at(field); }
    void setFieldText(Field field, const QString& text) override { texts[field] = text; }
};

// A curve model over a recording surface and the fields as the window opens.
struct Rig {
    RecordingSurface surface;
    FieldTexts fields;
    RecordingPrompter prompter;
    double incr = 0.75;
    CurveModel model{surface, fields, prompter, [this] { return incr; }};

    // Plots once with the given field texts (the others as they are) and displacements.
    const PlotRecord& plot(const std::map<CurveFields::Field, QString>& texts, int sptx = 0,
                           int spty = 0) {
        for (const auto& [field, text] : texts)
            fields.texts[field] = text;
        model.SPTX = static_cast<std::int16_t>(sptx);
        model.SPTY = static_cast<std::int16_t>(spty);
        model.Form_Activate();
        return model.lastPlot();
    }
};

// The angles at which a plot drew its points, first to last: it adds its step to the angle
// from 0, where there is no point.
inline std::vector<double> drawnAngles(const PlotRecord& plot) {
    std::vector<double> angles;
    for (double alfa = plot.step; long(angles.size()) < plot.points; alfa += plot.step)
        angles.push_back(alfa);
    return angles;
}
