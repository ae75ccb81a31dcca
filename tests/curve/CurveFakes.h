#pragma once

#include "CurveModel.h"
#include "RecordingPrompter.h"
#include "RecordingSurface.h"

#include <QString>
#include <map>

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
