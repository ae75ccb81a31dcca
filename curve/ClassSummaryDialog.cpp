#include "ClassSummaryDialog.h"

#include "AtomicFile.h"
#include "ClassSummaryModel.h"
#include "ExerciseFiles.h"
#include "FileDialogAsker.h"
#include "Form4.h"
#include "Prompter.h"
#include "SummaryCsv.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QProgressDialog>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString Title = QStringLiteral("Riepilogo della classe");

QString csvTargetFor(const QString& chosen) {
    return QFileInfo(chosen).suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0
               ? chosen
               : chosen + QStringLiteral(".csv");
}

// Where the teacher's attempts are most likely kept.
QString startingFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

} // namespace

ClassSummaryDialog::ClassSummaryDialog(std::vector<SummaryRow> rows, QString folder,
                                       SaveFileAsker& saveAsker, Prompter& prompter,
                                       QWidget* parent)
    : QDialog(parent), model_(new ClassSummaryModel(std::move(rows), this)),
      sorted_(new QSortFilterProxyModel(this)), table_(new QTableView(this)),
      folder_(std::move(folder)), saveAsker_(saveAsker), prompter_(prompter) {
    setWindowTitle(Title);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(ClassSummaryModel::SortRole);
    sorted_->setSortCaseSensitivity(Qt::CaseInsensitive);
    sorted_->setSortLocaleAware(true);
    table_->setModel(sorted_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    // One line a row: a long note is cut short, and shown whole as the cell's tooltip.
    table_->setWordWrap(false);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->resizeColumnsToContents();

    auto* buttons = new QDialogButtonBox(this);
    open_ = buttons->addButton(QStringLiteral("Apri"), QDialogButtonBox::AcceptRole);
    QPushButton* save =
        buttons->addButton(QStringLiteral("Salva CSV…"), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QStringLiteral("Chiudi"), QDialogButtonBox::RejectRole);
    open_->setEnabled(false);
    connect(open_, &QPushButton::clicked, this, &ClassSummaryDialog::openChosen);
    connect(save, &QPushButton::clicked, this, &ClassSummaryDialog::saveCsv);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(table_, &QTableView::doubleClicked, this, &ClassSummaryDialog::openChosen);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { open_->setEnabled(chosenRow() != nullptr); });

    // The first attempt is chosen at once, so "Apri" and Enter work straight away.
    if (sorted_->rowCount() > 0)
        table_->selectRow(0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(900, 420);
}

const SummaryRow* ClassSummaryDialog::chosenRow() const {
    const QModelIndexList chosen = table_->selectionModel()->selectedRows();
    if (chosen.isEmpty())
        return nullptr;
    const QModelIndex row = sorted_->mapToSource(chosen.constFirst());
    return &model_->rows()[static_cast<std::size_t>(row.row())];
}

void ClassSummaryDialog::openChosen() {
    const SummaryRow* row = chosenRow();
    if (row && openAttempt && openAttempt(row->path))
        accept();
}

void ClassSummaryDialog::saveCsv() {
    SaveChoice choice{QStringLiteral("Salva riepilogo"),
                      QDir(folder_).filePath(QStringLiteral("riepilogo.csv")),
                      {QStringLiteral("Riepilogo CSV (*.csv)")},
                      [](const QString& chosen, const QString&) { return csvTargetFor(chosen); }};
    QString filter;
    const QString chosen = saveAsker_.askSaveFileName(choice, filter);
    if (chosen.isEmpty())
        return;
    const QString target = csvTargetFor(chosen);
    const QString failure = writeFileAtomically(target, summaryCsv(model_->rows()));
    if (!failure.isEmpty())
        prompter_.MsgBox(saveFailureMessage(QStringLiteral("il riepilogo"), target, failure));
}

void showClassSummary(Form4& window, FolderAsker& folders) {
    const QString folder =
        folders.askFolder(QStringLiteral("Cartella degli esercizi della classe"), startingFolder());
    if (folder.isEmpty())
        return;
    // A folder of long attempts can take seconds: after half a second a bar shows, and
    // "Annulla" gives up the summary.
    const QStringList files = attemptFiles({folder});
    QProgressDialog progress(QStringLiteral("Riepilogo di %1").arg(QDir(folder).dirName()),
                             QStringLiteral("Annulla"), 0, static_cast<int>(files.size()), &window);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    std::vector<SummaryRow> rows;
    for (const QString& path : files) {
        progress.setValue(static_cast<int>(rows.size()));
        if (progress.wasCanceled())
            return;
        rows.push_back(summaryRowOf(path));
    }
    progress.reset();
    ClassSummaryDialog dialog(std::move(rows), folder, window.saveFileAsker(), window.prompter(),
                              &window);
    dialog.openAttempt = [&window](const QString& path) {
        return window.exerciseFiles().open(path);
    };
    dialog.exec();
}
