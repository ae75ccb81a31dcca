#pragma once

#include "ClassSummary.h"

#include <QDialog>
#include <functional>
#include <vector>

class ClassSummaryModel;
class Form4;
class FolderAsker;
class Prompter;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class SaveFileAsker;

// "Riepilogo della classe": the summary of a folder's attempts in a table sortable by every
// column. "Apri" or a double click opens the chosen attempt and closes the dialog; "Salva CSV…"
// writes the file the command line writes.
class ClassSummaryDialog final : public QDialog {
public:
    ClassSummaryDialog(std::vector<SummaryRow> rows, QString folder, SaveFileAsker& saveAsker,
                       Prompter& prompter, QWidget* parent = nullptr);

    // Opens an attempt; true when it was opened.
    std::function<bool(const QString& path)> openAttempt;

    QTableView* table() const { return table_; }

private:
    void openChosen();
    void saveCsv();
    const SummaryRow* chosenRow() const;

    ClassSummaryModel* model_;
    QSortFilterProxyModel* sorted_;
    QTableView* table_;
    QPushButton* open_;
    QString folder_;
    SaveFileAsker& saveAsker_;
    Prompter& prompter_;
};

// The context menu's "Riepilogo della classe…": asks for a folder and shows its attempts'
// summary over the curve window, which opens the attempt chosen.
void showClassSummary(Form4& window, FolderAsker& folders);
