// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ClassSummary.h"

#include "AssignmentWork.h"
#include "ExerciseFile.h"
#include "MeasuredCurves.h"
#include "NumberText.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

const QString OwnValuesNote = QStringLiteral("giudicato con i propri valori, senza consegna");

QString yesNo(const std::optional<bool>& answer) {
    if (!answer)
        return {};
    return *answer ? QStringLiteral("sì") : QStringLiteral("no");
}

std::optional<NearestCurve> nearestOf(const std::vector<PlotRecord>& curves,
                                      const std::optional<QPointF>& target) {
    std::optional<NearestCurve> nearest;
    for (const PlotRecord& curve : measuredCurves(curves, target))
        if (curve.points > 0 && (!nearest || curve.nearest.distance < nearest->distance))
            nearest = NearestCurve{curve.nearest.distance, curve.curve, curve.SPTX, curve.SPTY};
    return nearest;
}

// The rules a teacher sets, not the readings of the fields, which "Valori cambiati" judges.
bool sameRules(const std::optional<Assignment>& attempt, const std::optional<Assignment>& given) {
    if (!attempt || !given)
        return !attempt && !given;
    return attempt->text == given->text && attempt->tolerance == given->tolerance &&
           attempt->locked == given->locked && attempt->maxCurves == given->maxCurves &&
           attempt->solutionAllowed == given->solutionAllowed;
}

} // namespace

SummaryRow summaryRowOf(const QString& path, const std::optional<Exercise>& handout) {
    SummaryRow row;
    row.path = path;
    row.file = QFileInfo(path).fileName();
    const ExerciseReading reading = readExerciseFile(path);
    if (!reading.exercise) {
        row.refused = true;
        row.note = reading.message;
        return row;
    }
    const Exercise& attempt = *reading.exercise;
    row.student = attempt.student;
    row.curves = static_cast<int>(attempt.curves.size());
    row.bySearch = static_cast<int>(std::count_if(attempt.curves.begin(), attempt.curves.end(),
                                                  [](const PlotRecord& c) { return c.bySearch; }));
    if (attempt.curves.empty())
        row.note = QStringLiteral("nessuna curva");
    else if (!handout)
        row.note = OwnValuesNote;
    // The teacher's target and tolerance judge when given; the attempt's own, which whoever
    // holds the file can edit, only without them.
    std::optional<QPointF> target;
    if (handout)
        target = QPointF(teacherValue(*handout, ParameterField::Text3),
                         teacherValue(*handout, ParameterField::Text8));
    row.nearest = nearestOf(attempt.curves, target);
    const std::optional<Assignment>& judge =
        handout ? handout->assignment : attempt.assignment;
    if (judge)
        row.reached = row.nearest && judge->reaches(row.nearest->distance);
    if (handout) {
        row.changedLocked = changesLockedValue(attempt, *handout);
        row.changedAssignment = !sameRules(attempt.assignment, handout->assignment);
    }
    return row;
}

QString summaryTitle(SummaryColumn column) {
    static const char* const titles[] = {"File",
                                         "Studente",
                                         "Curve",
                                         "Distanza minima",
                                         "Curva",
                                         "Orizzontale",
                                         "Verticale",
                                         "Raggiunto",
                                         "Valori cambiati",
                                         "Consegna cambiata",
                                         "Trova spostamenti",
                                         "Nota"};
    return QString::fromUtf8(titles[static_cast<int>(column)]);
}

std::optional<double> summaryNumber(const SummaryRow& row, SummaryColumn column) {
    if (column == SummaryColumn::Curves && !row.refused)
        return row.curves;
    if (column == SummaryColumn::BySearch && !row.refused)
        return row.bySearch;
    if (!row.nearest)
        return std::nullopt;
    switch (column) {
    case SummaryColumn::Distance:
        return row.nearest->distance;
    case SummaryColumn::Curve:
        return row.nearest->curve;
    case SummaryColumn::Horizontal:
        return row.nearest->SPTX;
    case SummaryColumn::Vertical:
        return row.nearest->SPTY;
    default:
        return std::nullopt;
    }
}

QString summaryText(const SummaryRow& row, SummaryColumn column) {
    switch (column) {
    case SummaryColumn::File:
        return row.file;
    case SummaryColumn::Student:
        return row.student;
    case SummaryColumn::Reached:
        return yesNo(row.reached);
    case SummaryColumn::Changed:
        return yesNo(row.changedLocked);
    case SummaryColumn::AssignmentChanged:
        return yesNo(row.changedAssignment);
    case SummaryColumn::Note:
        return row.note;
    case SummaryColumn::Distance:
        return row.nearest ? DoubleToReadableText(row.nearest->distance) : QString();
    default: {
        const std::optional<double> number = summaryNumber(row, column);
        return number ? QString::number(static_cast<long long>(*number)) : QString();
    }
    }
}

QStringList attemptFiles(const QStringList& paths) {
    QStringList files;
    for (const QString& path : paths) {
        if (!QFileInfo(path).isDir()) {
            files << path;
            continue;
        }
        const QDir folder(path);
        for (const QString& name :
             folder.entryList({QStringLiteral("*.curva")}, QDir::Files, QDir::Name))
            files << folder.filePath(name);
    }
    return files;
}

std::vector<SummaryRow> summarise(const QStringList& files,
                                  const std::optional<Exercise>& handout) {
    std::vector<SummaryRow> rows;
    rows.reserve(static_cast<std::size_t>(files.size()));
    for (const QString& path : files)
        rows.push_back(summaryRowOf(path, handout));
    return rows;
}
