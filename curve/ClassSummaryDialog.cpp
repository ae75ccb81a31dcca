// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ClassSummaryDialog.h"

#include "AssignmentWork.h"
#include "AtomicFile.h"
#include "ClassSummaryModel.h"
#include "ExerciseCommands.h"
#include "ExerciseFile.h"
#include "FileAskers.h"
#include "LongWorkProgress.h"
#include "NumberText.h"
#include "Prompter.h"
#include "RecentExercises.h"
#include "SearchValues.h"
#include "StartingFolder.h"
#include "SummaryCsv.h"
#include "WindowSeams.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <memory>

namespace {

const QString Title = QStringLiteral("Riepilogo della classe");

QString csvTargetFor(const QString& chosen) {
    return QFileInfo(chosen).suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0
               ? chosen
               : chosen + QStringLiteral(".csv");
}

// The exercise in the file at path, to judge a class by; nothing for an empty path, and nothing,
// said why, when it cannot be read.
std::optional<Exercise> readSummaryAssignment(const QString& path, Prompter& prompter) {
    if (path.isEmpty())
        return std::nullopt;
    ExerciseReading reading = readExerciseFile(path);
    if (!reading.exercise)
        prompter.MsgBox(reading.message);
    return std::move(reading.exercise);
}

// What judges the attempts, in a line above the table.
QString judgedByText(const std::optional<Exercise>& handout, const QString& path) {
    if (!handout)
        return QStringLiteral("Senza consegna: ogni esercizio è giudicato con i propri valori, "
                              "bersaglio e tolleranza scritti nel suo file.");
    const QString target =
        QStringLiteral("(%1; %2)")
            .arg(DoubleToReadableText(teacherValue(*handout, ParameterField::Text3)),
                 DoubleToReadableText(teacherValue(*handout, ParameterField::Text8)));
    const QString name = QFileInfo(path).fileName();
    if (!handout->assignment)
        return QStringLiteral("Consegna \"%1\": bersaglio %2, senza tolleranza.").arg(name, target);
    return QStringLiteral("Consegna \"%1\": bersaglio %2, raggiunto entro %3.")
        .arg(name, target, DoubleToReadableText(handout->assignment->tolerance));
}

// Keeps what a search would say of the assignment's fields, for the line that says why it was
// not made.
class CollectingPrompter final : public Prompter {
public:
    QStringList messages;
    void MsgBox(const QString& text) override { messages << text; }
};

// "Migliore possibile: orizzontale H, verticale V, distanza D": the search's exact answer for
// the assignment's own values, or why there is none. A long search shows a bar after half a
// second, whose "Annulla" stops it.
QString bestPossibleText(const Exercise& handout, QWidget* window) {
    const QString start = QStringLiteral("Migliore possibile: ");
    CollectingPrompter fields;
    LongWorkProgress progress(window, QStringLiteral("Ricerca degli spostamenti"));
    const ExerciseSolution solution =
        solutionOf(handout, fields, [&](std::int64_t done, std::int64_t total) {
            return progress.proceed(double(done), double(total));
        });
    switch (solution.outcome) {
    case ExerciseSolution::Outcome::Found:
        return start + solutionText(solution.found);
    case ExerciseSolution::Outcome::FieldRefused:
        return start +
               QStringLiteral("non cercato (%1).").arg(fields.messages.join(QStringLiteral("; ")));
    case ExerciseSolution::Outcome::Stopped:
        return start + QStringLiteral("ricerca annullata.");
    case ExerciseSolution::Outcome::NoPosition:
        break;
    }
    QString none = noDisplacementsText();
    none[0] = none[0].toLower();
    return start + none + u'.';
}

} // namespace

ClassSummaryDialog::ClassSummaryDialog(std::vector<SummaryRow> rows, QString folder,
                                       SaveFileAsker& saveAsker, Prompter& prompter,
                                       QWidget* parent)
    : QDialog(parent), model_(new ClassSummaryModel(std::move(rows), this)),
      sorted_(new QSortFilterProxyModel(this)), table_(new QTableView(this)),
      judgedBy_(new QLabel(judgedByText(std::nullopt, {}), this)), best_(new QLabel(this)),
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
    previous_ = buttons->addButton(QStringLiteral("Precedente"), QDialogButtonBox::ActionRole);
    next_ = buttons->addButton(QStringLiteral("Successivo"), QDialogButtonBox::ActionRole);
    // Alt and an arrow, back and forward as in a browser: the arrows alone, the page keys, Home
    // and End still move through the table without opening anything.
    previous_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    previous_->setToolTip(
        QStringLiteral("Apre il lavoro precedente nell'ordine della tabella (Alt+Sinistra)"));
    next_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    next_->setToolTip(
        QStringLiteral("Apre il lavoro successivo nell'ordine della tabella (Alt+Destra)"));
    QPushButton* save =
        buttons->addButton(QStringLiteral("Salva CSV…"), QDialogButtonBox::ActionRole);
    chooseAssignment_ =
        buttons->addButton(QStringLiteral("Consegna…"), QDialogButtonBox::ActionRole);
    withoutAssignment_ =
        buttons->addButton(QStringLiteral("Senza consegna"), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QStringLiteral("Chiudi"), QDialogButtonBox::RejectRole);
    chooseAssignment_->hide();
    withoutAssignment_->hide();
    connect(chooseAssignment_, &QPushButton::clicked, this, &ClassSummaryDialog::chooseAssignment);
    connect(withoutAssignment_, &QPushButton::clicked, this, [this] {
        if (judgeBy(std::nullopt, QString()))
            storeSummaryAssignment(QString());
    });
    connect(open_, &QPushButton::clicked, this, [this] { openRow(chosen()); });
    connect(previous_, &QPushButton::clicked, this, [this] { openRow(neighbour(-1)); });
    connect(next_, &QPushButton::clicked, this, [this] { openRow(neighbour(1)); });
    connect(save, &QPushButton::clicked, this, &ClassSummaryDialog::saveCsv);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(table_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { openRow(index.row()); });
    // The buttons follow the chosen attempt; a sort keeps it and changes its neighbours.
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ClassSummaryDialog::followChoice);
    connect(sorted_, &QAbstractItemModel::layoutChanged, this, &ClassSummaryDialog::followChoice);
    connect(sorted_, &QAbstractItemModel::modelReset, this, &ClassSummaryDialog::followChoice);
    followChoice();

    // The first attempt is chosen at once, so "Apri" and Enter work straight away.
    if (sorted_->rowCount() > 0)
        table_->selectRow(0);

    judgedBy_->setWordWrap(true);
    best_->setWordWrap(true);
    best_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(judgedBy_);
    layout->addWidget(best_);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(1180, 440);
}

int ClassSummaryDialog::chosen() const {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

int ClassSummaryDialog::neighbour(int step) const {
    const int from = chosen();
    if (from < 0)
        return -1;
    for (int row = from + step; row >= 0 && row < sorted_->rowCount(); row += step)
        if (!rowAt(row).refused)
            return row;
    return -1;
}

const SummaryRow& ClassSummaryDialog::rowAt(int row) const {
    const QModelIndex index = sorted_->mapToSource(sorted_->index(row, 0));
    return model_->rows()[static_cast<std::size_t>(index.row())];
}

void ClassSummaryDialog::followChoice() {
    open_->setEnabled(chosen() >= 0);
    previous_->setEnabled(neighbour(-1) >= 0);
    next_->setEnabled(neighbour(1) >= 0);
}

void ClassSummaryDialog::openRow(int row) {
    if (row < 0 || !openAttempt || !openAttempt(rowAt(row).path))
        return;
    table_->selectRow(row);
    table_->scrollTo(sorted_->index(row, 0));
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

void ClassSummaryDialog::offerAssignments(OpenFileAsker& asker) {
    assignmentAsker_ = &asker;
    chooseAssignment_->show();
    withoutAssignment_->show();
}

void ClassSummaryDialog::chooseAssignment() {
    const QString start = assignmentPath_.isEmpty() ? folder_ : assignmentPath_;
    const QString path = assignmentAsker_->askOpenFileName(QStringLiteral("Consegna della classe"),
                                                           start, exerciseFileFilters());
    std::optional<Exercise> handout = readSummaryAssignment(path, prompter_);
    if (handout && judgeBy(std::move(handout), path))
        storeSummaryAssignment(path);
}

bool ClassSummaryDialog::judgeBy(std::optional<Exercise> handout, const QString& path) {
    // A folder of long attempts can take seconds: once the judging looks like taking more than
    // half a second a bar shows, and "Annulla" gives it up.
    const QStringList files = attemptFiles({folder_});
    LongWorkProgress progress(isVisible() ? this : parentWidget(),
                              QStringLiteral("Riepilogo di %1").arg(QDir(folder_).dirName()));
    std::vector<SummaryRow> rows;
    for (const QString& file : files) {
        if (!progress.proceed(double(rows.size()), double(files.size())))
            return false;
        rows.push_back(summaryRowOf(file, handout));
    }
    model_->setRows(std::move(rows));
    table_->resizeColumnsToContents();
    if (sorted_->rowCount() > 0)
        table_->selectRow(0);
    judgedBy_->setText(judgedByText(handout, path));
    judgedBy_->setToolTip(QDir::toNativeSeparators(path));
    best_->setText(handout ? bestPossibleText(*handout, isVisible() ? this : parentWidget())
                              : QString());
    best_->setVisible(handout.has_value());
    withoutAssignment_->setEnabled(handout.has_value());
    assignmentPath_ = handout ? path : QString();
    return true;
}

ClassSummaryDialog* showClassSummary(QWidget& window, const WindowSeams& seams,
                                     const std::function<bool(const QString& path)>& openAttempt,
                                     ClassSummaryDialog* shown) {
    const QString folder =
        seams.folder->askFolder(QStringLiteral("Cartella degli esercizi della classe"),
                                startingFolder(UsersFolder::Documents));
    if (folder.isEmpty())
        return shown;
    auto dialog = std::make_unique<ClassSummaryDialog>(std::vector<SummaryRow>(), folder,
                                                       *seams.saveFile, *seams.messages, &window);
    dialog->offerAssignments(*seams.openFile);
    const QString remembered = loadSummaryAssignment();
    std::optional<Exercise> handout = readSummaryAssignment(remembered, *seams.messages);
    if (!dialog->judgeBy(std::move(handout), remembered))
        return shown;
    dialog->openAttempt = openAttempt;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (shown) {
        dialog->restoreGeometry(shown->saveGeometry());
        shown->close();
    } else {
        // In the window's lower left corner, under its controls, rather than over the middle of
        // the drawing: the curves seldom go where both coordinates are negative.
        const QRect area = window.geometry();
        dialog->setGeometry(QRect(QPoint(area.left(), area.bottom() + 1 - dialog->height()),
                                  dialog->size()));
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog.release();
}
