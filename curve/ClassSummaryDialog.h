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
// column. "Apri" or a double click opens the chosen attempt and closes the dialog; "Salva CSV…"
// writes the file the command line writes. A line above the table says what judges the
// attempts: "Consegna…" chooses the assignment, "Senza consegna" goes back to their own values.
// With an assignment, a second line says the best its own values allow, as the search finds it.
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
    bool judgeBy(std::optional<Exercise> assignment, const QString& path);

    QTableView* table() const { return table_; }

private:
    void openChosen();
    void saveCsv();
    void chooseAssignment();
    const SummaryRow* chosenRow() const;

    ClassSummaryModel* model_;
    QSortFilterProxyModel* sorted_;
    QTableView* table_;
    QLabel* judgedBy_;
    QLabel* best_;
    QPushButton* open_;
    QPushButton* chooseAssignment_;
    QPushButton* withoutAssignment_;
    QString folder_;
    QString assignmentPath_;
    SaveFileAsker& saveAsker_;
    OpenFileAsker* assignmentAsker_ = nullptr;
    Prompter& prompter_;
};

// The context menu's "Riepilogo della classe…": asks for a folder and shows its attempts'
// summary over the window, whose openAttempt opens the attempt chosen; the attempts are judged
// by the assignment chosen last, when it can still be read.
void showClassSummary(QWidget& window, const WindowSeams& seams,
                      const std::function<bool(const QString& path)>& openAttempt);
