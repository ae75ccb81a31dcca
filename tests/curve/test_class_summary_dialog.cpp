// "Riepilogo della classe": the table sorts every column, numbers as numbers; it stays beside the
// real curve window, whose attempts it opens one after another in the table's order, without the
// assignment's text, and goes with the window; "Salva CSV…" writes what the command line writes.
#include "AssignmentWork.h"
#include "ClassSummaryDialog.h"
#include "ExerciseCommands.h"
#include "ExerciseFile.h"
#include "ExerciseSamples.h"
#include "ExerciseWindow.h"
#include "SummaryCsv.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <optional>

Q_DECLARE_METATYPE(std::optional<Assignment>)

namespace {

// The summary's folder, the assignment's file, the CSV's name.
class ClassAskers : public SaveFileAsker, public FolderAsker, public OpenFileAsker {
public:
    QString answer;
    QString opened;
    QString askSaveFileName(const SaveChoice&, QString&) override { return answer; }
    QString askFolder(const QString&, const QString&) override { return answer; }
    QString askOpenFileName(const QString&, const QString&, const QStringList&) override {
        return opened;
    }
};

// The summaries shown beside the window.
QList<ClassSummaryDialog*> summariesBeside(Form4& form) {
    QList<ClassSummaryDialog*> shown;
    for (ClassSummaryDialog* dialog : form.findChildren<ClassSummaryDialog*>())
        if (dialog->isVisible())
            shown << dialog;
    return shown;
}

// "Riepilogo della classe…" from the window's menu, and the summary beside it afterwards.
ClassSummaryDialog* chooseSummary(Form4& form) {
    chooseEntry(form, "Riepilogo della classe…");
    const QList<ClassSummaryDialog*> shown = summariesBeside(form);
    return shown.size() == 1 ? shown.constFirst() : nullptr;
}

// The menu's first line up to its colon: "Curva 3", or "Nessuna curva tracciata".
QString curvesShown(Form4& form) {
    QMenu menu;
    form.fillContextMenu(menu);
    return menu.actions().constFirst()->text().section(':', 0, 0);
}

// The texts of a column of the summary, top to bottom.
QStringList column(const ClassSummaryDialog& dialog, SummaryColumn c) {
    QStringList texts;
    for (int r = 0; r < dialog.table()->model()->rowCount(); ++r)
        texts << dialog.table()->model()->index(r, int(c)).data().toString();
    return texts;
}

SummaryRow row(const char* file, int curves, double distance, int sptx) {
    SummaryRow row;
    row.file = QString::fromUtf8(file);
    row.curves = curves;
    row.nearest = NearestCurve{distance, 1, static_cast<std::int16_t>(sptx), 0};
    return row;
}

std::vector<SummaryRow> sampleRows() {
    SummaryRow refused;
    refused.file = "zeta.curva";
    refused.refused = true;
    refused.note = "rifiutato";
    return {row("bruno.curva", 10, 100, 5), row("Anna.curva", 2, 9.5, -20), refused,
            row("carlo.curva", 9, 10.25, 100)};
}

QPushButton* button(QWidget& dialog, const QString& text) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

// The summary's only row, from "Distanza minima" to "Nota".
QStringList judged(ClassSummaryDialog& dialog) {
    QStringList texts;
    for (int c = int(SummaryColumn::Distance); c < SummaryColumnCount; ++c)
        texts << dialog.table()->model()->index(0, c).data().toString();
    return texts;
}

const QString TeachersText = QStringLiteral("Porta la curva sul punto muovendo le barre.");

// A class's attempts, each with its own number of curves so that the window's menu tells them
// apart (a.curva 5, c.curva 1, d.curva 3), b.curva no exercise at all; the curve window shown,
// and "Riepilogo della classe…" chosen on their folder.
struct ClassReview {
    PrivateSettings settings;
    QTemporaryDir folder;
    Window window;
    ClassAskers folders;
    ClassSummaryDialog* summary = nullptr;

    explicit ClassReview(std::optional<Assignment> assignment = Assignment{TeachersText, 0.01}) {
        for (const auto& [name, curves] :
             {std::pair{"a.curva", 5}, {"c.curva", 1}, {"d.curva", 3}}) {
            Exercise attempt = attemptExercise(std::vector<double>(curves, 5));
            attempt.assignment = assignment;
            writeFile(folder.filePath(name), exerciseToJson(attempt));
        }
        writeFile(folder.filePath("b.curva"), "{");
        folders.answer = folder.path();
        window.form.replaceSeams({.folder = &folders});
    }
    [[nodiscard]] bool shown() {
        if (!showActive(window.form))
            return false;
        summary = chooseSummary(window.form);
        return summary &&
               QTest::qWaitFor([this] { return QApplication::activeWindow() == summary; });
    }
    // The row chosen in the summary, and the attempt the window shows: "c.curva: Curva 1".
    QString seen() {
        const QModelIndexList chosen = summary->table()->selectionModel()->selectedRows();
        const QString file = chosen.isEmpty() ? QString() : chosen.constFirst().data().toString();
        return file + ": " + curvesShown(window.form);
    }
    void chooseRow(const QString& file) {
        summary->table()->selectRow(column(*summary, SummaryColumn::File).indexOf(file));
    }
    void press(Qt::Key arrow) {
        QPushButton* moving = button(*summary, arrow == Qt::Key_Left ? "Precedente" : "Successivo");
        QTest::keyClick(summary->table(), arrow, Qt::AltModifier);
        // The key clicks its button as a click of the mouse would, a moment later.
        QTest::qWait(150);
        QVERIFY(!moving->isDown());
    }
};

} // namespace

class ClassSummaryDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useLocale(); }

    // Text order would put 10 before 9 and -20 before 5; an empty field goes last.
    void sortsEveryColumn_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("ascending");
        QTest::newRow("file") << int(SummaryColumn::File)
                              << QStringList{"Anna.curva", "bruno.curva", "carlo.curva",
                                             "zeta.curva"};
        QTest::newRow("curves") << int(SummaryColumn::Curves) << QStringList{"2", "9", "10", ""};
        QTest::newRow("distance") << int(SummaryColumn::Distance)
                                  << QStringList{"9,5", "10,25", "100", ""};
        QTest::newRow("horizontal bar")
            << int(SummaryColumn::Horizontal) << QStringList{"-20", "5", "100", ""};
    }
    void sortsEveryColumn() {
        QFETCH(int, column);
        QFETCH(QStringList, ascending);
        ClassAskers asker;
        RecordingPrompter prompter;
        ClassSummaryDialog dialog(sampleRows(), QString(), asker, prompter);
        QHeaderView* header = dialog.table()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 5, 5));
        QStringList shown;
        for (int r = 0; r < dialog.table()->model()->rowCount(); ++r)
            shown << dialog.table()->model()->index(r, column).data().toString();
        if (header->sortIndicatorOrder() == Qt::DescendingOrder)
            std::reverse(shown.begin(), shown.end());
        QCOMPARE(shown, ascending);
    }

    // "Apri", a double click, "Precedente", "Successivo" and their keys open the attempts in the
    // table's order as sorted, past the file that was refused, and choose the row opened; over
    // unsaved work they ask first, and "Annulla" leaves the attempt and the row as they were.
    void reviewOneAfterAnother_data() {
        QTest::addColumn<int>("sortedBy");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("seen");
        const int curves = int(SummaryColumn::Curves), file = int(SummaryColumn::File);
        QTest::newRow("Apri, then Successivo by the number of curves")
            << curves << QStringList{"Apri", "Successivo", "Successivo"} << ""
            << QStringList{"c.curva: Curva 1", "d.curva: Curva 3", "a.curva: Curva 5"};
        QTest::newRow("by file name, past the refused file and back")
            << file << QStringList{"Apri", "Successivo", "Successivo", "Precedente", "Precedente"}
            << ""
            << QStringList{"a.curva: Curva 5", "c.curva: Curva 1", "d.curva: Curva 3",
                           "c.curva: Curva 1", "a.curva: Curva 5"};
        QTest::newRow("Alt+Destra and Alt+Sinistra")
            << curves << QStringList{"Apri", "Alt+Destra", "Alt+Destra", "Alt+Sinistra"} << ""
            << QStringList{"c.curva: Curva 1", "d.curva: Curva 3", "a.curva: Curva 5",
                           "d.curva: Curva 3"};
        QTest::newRow("a double click on the second row, then Successivo")
            << curves << QStringList{"doppio clic", "Successivo"} << ""
            << QStringList{"d.curva: Curva 3", "a.curva: Curva 5"};
        QTest::newRow("unsaved work, Annulla stays")
            << curves << QStringList{"Apri", "ESEGUI", "Successivo"} << "Annulla"
            << QStringList{"c.curva: Curva 1", "c.curva: Curva 2", "c.curva: Curva 2"};
        QTest::newRow("unsaved work, Non salvare moves on")
            << curves << QStringList{"Apri", "ESEGUI", "Successivo"} << "Non salvare"
            << QStringList{"c.curva: Curva 1", "c.curva: Curva 2", "d.curva: Curva 3"};
        QTest::newRow("unsaved work, Alt+Sinistra and Annulla")
            << curves << QStringList{"Apri", "Successivo", "ESEGUI", "Alt+Sinistra"} << "Annulla"
            << QStringList{"c.curva: Curva 1", "d.curva: Curva 3", "d.curva: Curva 4",
                           "d.curva: Curva 4"};
    }
    void reviewOneAfterAnother() {
        QFETCH(int, sortedBy);
        QFETCH(QStringList, steps);
        QFETCH(QString, answer);
        QFETCH(QStringList, seen);
        ClassReview review;
        QVERIFY(review.shown());
        QTableView* table = review.summary->table();
        table->sortByColumn(sortedBy, Qt::AscendingOrder);
        table->selectRow(0);
        if (!answer.isEmpty())
            review.window.question.answers = {answer == "Annulla" ? SaveQuestion::Answer::Cancel
                                                                  : SaveQuestion::Answer::Discard};
        QStringList shown;
        for (const QString& step : steps) {
            if (step == "ESEGUI") {
                review.window.form.Command1_Click();
            } else if (step == "Alt+Destra" || step == "Alt+Sinistra") {
                review.press(step == "Alt+Destra" ? Qt::Key_Right : Qt::Key_Left);
            } else if (step == "doppio clic") {
                // As the desktop sends it: a press, a release, then a second press.
                const QRect second = table->visualRect(table->model()->index(1, 0));
                QTest::mouseDClick(review.summary->windowHandle(), Qt::LeftButton, {},
                                   table->viewport()->mapTo(review.summary, second.center()));
            } else {
                button(*review.summary, step)->click();
            }
            shown << review.seen();
        }
        QCOMPARE(shown, seen);
        QCOMPARE(review.window.question.asked.size(), answer.isEmpty() ? 0 : 1);
        QVERIFY(review.summary->isVisible());
    }

    // At either end of the table's order, "Precedente" or "Successivo" and its key are disabled,
    // not going round: the teacher sees the class is done. The refused file is no end.
    void reviewStopsAtEitherEnd_data() {
        QTest::addColumn<int>("sortedBy");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("previous");
        QTest::addColumn<bool>("next");
        const int curves = int(SummaryColumn::Curves), file = int(SummaryColumn::File);
        QTest::newRow("the first row") << curves << "c.curva" << false << true;
        QTest::newRow("between") << curves << "d.curva" << true << true;
        QTest::newRow("the last attempt, the refused file after it")
            << curves << "a.curva" << true << false;
        QTest::newRow("the refused file last") << curves << "b.curva" << true << false;
        QTest::newRow("the refused file between") << file << "b.curva" << true << true;
        QTest::newRow("the first by file name") << file << "a.curva" << false << true;
        QTest::newRow("the last by file name") << file << "d.curva" << true << false;
    }
    void reviewStopsAtEitherEnd() {
        QFETCH(int, sortedBy);
        QFETCH(QString, chosen);
        QFETCH(bool, previous);
        QFETCH(bool, next);
        ClassReview review;
        QVERIFY(review.shown());
        review.summary->table()->sortByColumn(sortedBy, Qt::AscendingOrder);
        review.chooseRow(chosen);
        QCOMPARE(button(*review.summary, "Precedente")->isEnabled(), previous);
        QCOMPARE(button(*review.summary, "Successivo")->isEnabled(), next);
        if (!previous)
            review.press(Qt::Key_Left);
        if (!next)
            review.press(Qt::Key_Right);
        QCOMPARE(review.seen(), chosen + ": Nessuna curva tracciata");
    }

    // The assignment's text comes with an opening for the student, not with the summary's, whose
    // teacher wrote it; "Mostra consegna" shows it again, and is disabled without a text.
    void theTeachersTextWhenWanted_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<std::optional<Assignment>>("assignment");
        QTest::addColumn<bool>("offered");
        QTest::addColumn<QStringList>("messages");
        const Assignment assignment{TeachersText, 0.01};
        const QStringList box{"Consegna: " + TeachersText};
        QTest::newRow("Apri esercizio…")
            << "Apri esercizio…" << std::optional(assignment) << true << box;
        QTest::newRow("Apri of the summary")
            << "Apri" << std::optional(assignment) << true << QStringList();
        QTest::newRow("Successivo of the summary")
            << "Successivo" << std::optional(assignment) << true << QStringList();
        QTest::newRow("Mostra consegna after the summary's Apri")
            << "Mostra consegna" << std::optional(assignment) << true << box;
        QTest::newRow("Mostra consegna, the text empty")
            << "Mostra consegna" << std::optional(Assignment{"", 0.01}) << false << QStringList();
        QTest::newRow("Mostra consegna, no assignment")
            << "Mostra consegna" << std::optional<Assignment>() << false << QStringList();
    }
    void theTeachersTextWhenWanted() {
        QFETCH(QString, way);
        QFETCH(std::optional<Assignment>, assignment);
        QFETCH(bool, offered);
        QFETCH(QStringList, messages);
        ClassReview review(assignment);
        Form4& form = review.window.form;
        QVERIFY(review.shown());
        if (way == "Apri esercizio…") {
            review.window.asker.answers = {review.folder.filePath("a.curva")};
            chooseEntry(form, way);
        } else {
            button(*review.summary, way == "Successivo" ? way : "Apri")->click();
        }
        QCoreApplication::processEvents();
        QMenu menu;
        QAction* show = menuEntry(form, menu, "Mostra consegna");
        QCOMPARE(show->isEnabled(), offered);
        if (way == "Mostra consegna")
            show->trigger();
        QCOMPARE(review.window.prompter.messages, messages);
    }

    // Closing the curve window closes the summary, unless the closing was cancelled; another
    // summary takes the place of the one shown, whose folder may have had attempts added: a
    // folder not chosen leaves the one shown as it was.
    void theSummaryGoesWithTheWindow_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QStringList>("files");
        const QStringList first{"a.curva", "b.curva", "c.curva", "d.curva"};
        QTest::newRow("closing the window") << "closing" << QStringList();
        QTest::newRow("closing cancelled over unsaved work") << "closing, Annulla" << first;
        QTest::newRow("another summary") << "another" << QStringList{"z.curva"};
        QTest::newRow("another summary, no folder chosen") << "another, no folder" << first;
    }
    void theSummaryGoesWithTheWindow() {
        QFETCH(QString, way);
        QFETCH(QStringList, files);
        ClassReview review;
        Form4& form = review.window.form;
        QVERIFY(review.shown());
        if (way.startsWith("closing")) {
            button(*review.summary, "Apri")->click();
            if (way.endsWith("Annulla"))
                form.Command1_Click();
            form.close();
        } else {
            QTemporaryDir other;
            writeFile(other.filePath("z.curva"), exerciseToJson(attemptExercise()));
            review.folders.answer = way.endsWith("no folder") ? QString() : other.path();
            chooseEntry(form, "Riepilogo della classe…");
        }
        const QList<ClassSummaryDialog*> shown = summariesBeside(form);
        QCOMPARE(shown.size(), files.isEmpty() ? 0 : 1);
        if (!files.isEmpty())
            QCOMPARE(column(*shown.constFirst(), SummaryColumn::File), files);
    }

    // An attempt that moved its target onto its own curve and raised its tolerance reads
    // "Raggiunto sì" by its own values; "Consegna…" judges it by the teacher's, the next summary
    // starts with the same assignment, and "Senza consegna" goes back.
    void consegnaJudgesByTheTeachersValues() {
        QTemporaryDir folder;
        Exercise attempt = pointChordExercise("0,5", true);
        attempt.assignment = Assignment{"", Assignment::MaxTolerance, {}, 0, false};
        attempt.curves[0].RAX = attempt.curves[0].RAY = 10;
        const Exercise assignment = assignmentOf(pointChordExercise("0,5", false), {});
        // Named so that the folder does not list it among the attempts.
        for (const auto& [name, exercise] :
             {std::pair{"anna.curva", attempt}, {"consegna", assignment}}) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(exerciseToJson(exercise)) > 0);
        }
        RecordingPrompter prompter;
        Form4 form(&prompter);
        ClassAskers askers;
        askers.answer = folder.path();
        askers.opened = folder.filePath("consegna");
        form.replaceSeams({.openFile = &askers, .folder = &askers});
        const auto summary = [&](const std::function<void(ClassSummaryDialog&)>& use) {
            ClassSummaryDialog* dialog = chooseSummary(form);
            QVERIFY(dialog);
            use(*dialog);
            button(*dialog, "Chiudi")->click();
        };
        const QStringList byTheTeacher{"5", "1", "0", "0", "no", "sì", ""};
        const QStringList byItsOwn{
            "0", "1", "0", "0", "sì", "", "giudicato con i propri valori, senza consegna"};
        summary([&](ClassSummaryDialog& dialog) {
            QCOMPARE(judged(dialog), byItsOwn);
            button(dialog, "Consegna…")->click();
            QCOMPARE(judged(dialog), byTheTeacher);
        });
        summary([&](ClassSummaryDialog& dialog) {
            QCOMPARE(judged(dialog), byTheTeacher);
            button(dialog, "Senza consegna")->click();
            QCOMPARE(judged(dialog), byItsOwn);
        });
        QCOMPARE(prompter.messages, QStringList());
    }

    // Cancelled, nothing is written, not even beside the program; a name without a suffix gets
    // ".csv".
    void saveCsvWritesTheCommandLinesFile_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("written");
        QTest::newRow("cancelled") << ""
                                   << "";
        QTest::newRow("named") << "riepilogo"
                               << "riepilogo.csv";
    }
    void saveCsvWritesTheCommandLinesFile() {
        QFETCH(QString, answer);
        QFETCH(QString, written);
        QTemporaryDir folder;
        const QString before = QDir::currentPath();
        QDir::setCurrent(folder.path());
        ClassAskers asker;
        asker.answer = answer.isEmpty() ? QString() : folder.filePath(answer);
        RecordingPrompter prompter;
        ClassSummaryDialog dialog(sampleRows(), folder.path(), asker, prompter);
        button(dialog, "Salva CSV…")->click();
        QDir::setCurrent(before);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 written.isEmpty() ? QStringList() : QStringList{written});
        if (!written.isEmpty()) {
            QFile file(folder.filePath(written));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), summaryCsv(sampleRows()));
        }
    }
};

QTEST_MAIN(ClassSummaryDialogTest)
#include "test_class_summary_dialog.moc"
