// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "ClassSummary.h"

#include <QDialog>
#include <functional>
#include <vector>

class ClassSummaryModel;
class OpenFileAsker;
class Prompter;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class SaveFileAsker;
struct WindowSeams;

// "Riepilogo della classe": the summary of a folder's attempts in a table sortable by every
// column, kept open beside the curve window while the teacher reviews them. "Apri" or a double
// click opens the chosen attempt, which stays chosen; "Precedente" and "Successivo" (Alt+Sinistra
// and Alt+Destra) open the one before or after it in the table's order as sorted, past the files
// that were refused, and are disabled at either end. "Salva CSV…" writes the file the command
// line writes. A line above the table says what judges the attempts: "Consegna…" chooses the
// assignment, "Senza consegna" goes back to their own values. With an assignment, a second line says
// the best its own values allow, as the search finds it.
class ClassSummaryDialog final : public QDialog {
public:
    ClassSummaryDialog(std::vector<SummaryRow> rows, QString folder, SaveFileAsker& saveAsker,
                       Prompter& prompter, QWidget* parent = nullptr);

    // Opens an attempt; true when it was opened.
    std::function<bool(const QString& path)> openAttempt;

    // Shows "Consegna…" and "Senza consegna", which judge the attempts again and remember the
    // choice for the next summary; the assignment's file is asked for with it.
    void offerAssignments(OpenFileAsker& asker);
    // Judges the folder's attempts by the assignment read from the file at path, or by their own
    // values without one. A long judging shows a bar after half a second; false when its
    // "Annulla" gave it up, the table as it was. The search for the assignment's best shows its
    // own bar, whose "Annulla" leaves that line without an answer.
    bool judgeBy(std::optional<Exercise> handout, const QString& path);

    QTableView* table() const { return table_; }

private:
    // Opens the attempt of a row in the table's order and chooses that row. A row not opened
    // (an "Annulla" to the question about unsaved work, a file that cannot be read) leaves the
    // choice as it was.
    void openRow(int row);
    // The chosen row in the table's order, -1 when none; the nearest row before (step -1) or
    // after (step 1) it whose file was read, -1 when none.
    int chosen() const;
    int neighbour(int step) const;
    const SummaryRow& rowAt(int row) const;
    void followChoice();
    void saveCsv();
    void chooseAssignment();

    ClassSummaryModel* model_;
    QSortFilterProxyModel* sorted_;
    QTableView* table_;
    QLabel* judgedBy_;
    QLabel* best_;
    QPushButton* open_;
    QPushButton* previous_;
    QPushButton* next_;
    QPushButton* chooseAssignment_;
    QPushButton* withoutAssignment_;
    QString folder_;
    QString assignmentPath_;
    SaveFileAsker& saveAsker_;
    OpenFileAsker* assignmentAsker_ = nullptr;
    Prompter& prompter_;
};

// The context menu's "Riepilogo della classe…": asks for a folder and shows its attempts'
// summary beside the window, not modal, whose openAttempt opens the attempt chosen; the attempts
// are judged by the assignment chosen last, when it can still be read. The new summary takes the
// place of the one already shown, where the teacher put it; a folder not chosen or a judging
// given up leaves that one as it was. Returns the summary beside the window afterwards.
ClassSummaryDialog* showClassSummary(QWidget& window, const WindowSeams& seams,
                                     const std::function<bool(const QString& path)>& openAttempt,
                                     ClassSummaryDialog* shown);
