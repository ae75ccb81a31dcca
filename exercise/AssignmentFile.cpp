// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "AssignmentFile.h"

#include "ExerciseFile.h"
#include "FileReading.h"

#include <QJsonArray>
#include <algorithm>
#include <array>

using namespace ExerciseLimits;
using namespace Qt::StringLiterals;

namespace {

constexpr std::array<LockedGroup, 4> Groups = {LockedGroup::Chord, LockedGroup::Target,
                                               LockedGroup::Density, LockedGroup::Increments};

// The names of the values, as refusals give them after "la consegna: ".
const QString TextName = QStringLiteral("testo");
const QString ToleranceName = QStringLiteral("tolleranza");
const QString MaxCurvesName = QStringLiteral("numero massimo di curve");

bool toleranceAllowed(double tolerance) {
    return tolerance > 0 && tolerance <= Assignment::MaxTolerance;
}

QString toleranceRange() {
    return QStringLiteral("dovrebbe essere un numero sopra 0 e non più grande di %1")
        .arg(Assignment::MaxTolerance);
}

std::set<LockedGroup> readLocked(const FileNode& list) {
    std::set<LockedGroup> locked;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const FileNode item =
            list.element(i, QStringLiteral("la consegna: valore bloccato %1").arg(i + 1));
        const QString word = item.text();
        const auto group = std::find_if(Groups.begin(), Groups.end(), [&word](LockedGroup g) {
            return word == QLatin1StringView(lockedGroupKey(g));
        });
        if (group == Groups.end())
            item.refuseWith(QStringLiteral("dovrebbe essere uno tra \"chord\", \"target\", "
                                           "\"density\" e \"increments\""));
        if (!locked.insert(*group).second)
            item.refuseWith(QStringLiteral("è ripetuto"));
    }
    return locked;
}

// The teacher's readings, an object of numbers named as the fields' variables.
QJsonObject valuesObject(const std::array<double, ParameterFieldCount>& values) {
    QJsonObject object;
    for (std::size_t i = 0; i < ParameterFieldCount; ++i)
        object.insert(QLatin1StringView(ParameterVariables[i]), values[i]);
    return object;
}

std::array<double, ParameterFieldCount> readValues(const FileNode& node) {
    const FileNode object = node.naming(QStringLiteral("la consegna: valore di "));
    std::array<double, ParameterFieldCount> values{};
    for (std::size_t i = 0; i < ParameterFieldCount; ++i) {
        const QLatin1StringView variable(ParameterVariables[i]);
        const FileNode value = object.at(variable, variable);
        values[i] = ParameterField(i) == ParameterField::Text9 ? readINST(value) : value.number();
    }
    return values;
}

} // namespace

QJsonObject assignmentObject(const Assignment& assignment) {
    QJsonArray locked;
    for (LockedGroup group : assignment.locked)
        locked.append(QLatin1StringView(lockedGroupKey(group)));
    QJsonObject object{{"text", assignment.text},
                       {"tolerance", assignment.tolerance},
                       {"locked", locked},
                       {"maxCurves", assignment.maxCurves},
                       {"solutionAllowed", assignment.solutionAllowed}};
    if (assignment.fieldValues)
        object.insert("values"_L1, valuesObject(*assignment.fieldValues));
    return object;
}

Assignment readAssignment(const FileNode& node) {
    const FileNode object = node.naming(QStringLiteral("la consegna: "));
    Assignment assignment;
    assignment.text = object.at("text"_L1, TextName).textOfAtMost(MaxAssignmentTextLength);
    const FileNode tolerance = object.at("tolerance"_L1, ToleranceName);
    assignment.tolerance = tolerance.number();
    if (!toleranceAllowed(assignment.tolerance))
        tolerance.refuseWith(toleranceRange());
    assignment.locked = readLocked(object.at("locked"_L1, QStringLiteral("valori bloccati")));
    // A limit above the curves a file may hold would mean nothing.
    assignment.maxCurves =
        object.at("maxCurves"_L1, MaxCurvesName).integerBetween(0, int(MaxCurves));
    assignment.solutionAllowed =
        object.at("solutionAllowed"_L1, QStringLiteral("soluzione permessa")).boolean();
    // Files saved before the teacher's readings were kept have none.
    if (object.has("values"_L1))
        assignment.fieldValues =
            readValues(object.at("values"_L1, QStringLiteral("valori dei campi")));
    return assignment;
}

QString whyNotWritable(const Assignment& assignment) {
    const QString prefix = QStringLiteral("la consegna: ");
    const QString problem = textProblem(assignment.text, MaxAssignmentTextLength);
    if (!problem.isEmpty())
        return prefix + TextName + u' ' + problem;
    if (!toleranceAllowed(assignment.tolerance))
        return prefix + ToleranceName + u' ' + toleranceRange();
    if (assignment.maxCurves < 0 || std::size_t(assignment.maxCurves) > MaxCurves)
        return prefix + MaxCurvesName +
               QStringLiteral(" dovrebbe essere un numero intero da 0 a %1").arg(MaxCurves);
    return {};
}
