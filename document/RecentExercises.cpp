// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "RecentExercises.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <memory>

namespace {

const QString Key = QStringLiteral("recentExercises");
const QString SummaryAssignmentKey = QStringLiteral("summaryAssignment");

std::unique_ptr<QSettings> programSettings() {
    const QString name = QStringLiteral("curve-sulla-corda");
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, name, name);
}

QString absolutePath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Two names of one file: the same path once links are followed, or, when either file is gone,
// the same absolute path.
bool sameFile(const QString& a, const QString& b) {
    const QString first = QFileInfo(a).canonicalFilePath();
    const QString second = QFileInfo(b).canonicalFilePath();
    if (!first.isEmpty() && !second.isEmpty())
        return first == second;
    return absolutePath(a) == absolutePath(b);
}

} // namespace

RecentExercises::RecentExercises(const QStringList& paths) {
    for (auto path = paths.crbegin(); path != paths.crend(); ++path)
        if (!path->isEmpty())
            add(*path);
}

void RecentExercises::add(const QString& path) {
    remove(path);
    paths_.prepend(absolutePath(path));
    if (paths_.size() > Capacity)
        paths_.resize(Capacity);
}

void RecentExercises::remove(const QString& path) {
    paths_.removeIf([&](const QString& kept) { return sameFile(kept, path); });
}

RecentExercises loadRecentExercises() {
    return RecentExercises(programSettings()->value(Key).toStringList());
}

void storeRecentExercises(const RecentExercises& recent) {
    const auto settings = programSettings();
    if (recent.paths().isEmpty())
        settings->remove(Key);
    else
        settings->setValue(Key, recent.paths());
}

QString loadSummaryAssignment() {
    return programSettings()->value(SummaryAssignmentKey).toString();
}

void storeSummaryAssignment(const QString& path) {
    const auto settings = programSettings();
    if (path.isEmpty())
        settings->remove(SummaryAssignmentKey);
    else
        settings->setValue(SummaryAssignmentKey, absolutePath(path));
}
