// "Riepilogo della classe": the table sorts every column, numbers as numbers; "Apri" opens the
// chosen attempt in the real curve window; "Salva CSV…" writes what the command line writes.
#include "AssignmentWork.h"
#include "ClassSummaryDialog.h"
#include "ExerciseCommands.h"
#include "ExerciseFile.h"
#include "ExerciseSamples.h"
#include "FileAskers.h"
#include "Form4.h"
#include "LongWorkProgress.h"
#include "RecordingPrompter.h"
#include "SummaryCsv.h"
#include "WidgetTesting.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// "Riepilogo della classe…" over the window, which opens the attempt chosen.
void showSummaryOver(Form4& form) {
    showClassSummary(form, form.seams(),
                     [&form](const QString& path) { return form.exerciseCommands().open(path); });
}

class ScriptedAsker : public SaveFileAsker, public FolderAsker, public OpenFileAsker {
public:
    QString answer;
    QString opened;
    QString askSaveFileName(const SaveChoice&, QString&) override { return answer; }
    QString askFolder(const QString&, const QString&) override { return answer; }
    QString askOpenFileName(const QString&, const QString&, const QStringList&) override {
        return opened;
    }
};

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
        ScriptedAsker asker;
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

    // Chosen from the context menu's folder, sorted by the number of curves, the first row
    // opens in the window and the dialog closes.
    void apriOpensTheAttemptInTheWindow() {
        QTemporaryDir folder;
        for (const auto& [name, curves] : {std::pair{"a.curva", 3}, std::pair{"b.curva", 1}}) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(exerciseToJson(attemptExercise(std::vector<double>(curves, 5))));
        }
        RecordingPrompter prompter;
        Form4 form(&prompter);
        form.readIncr = [] { return 0.61; };
        form.resize(800, 600);
        QVERIFY(showActive(form));
        ScriptedAsker folders;
        folders.answer = folder.path();
        bool clicked = false;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = dynamic_cast<ClassSummaryDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Riepilogo della classe"));
            dialog->table()->sortByColumn(int(SummaryColumn::Curves), Qt::AscendingOrder);
            dialog->table()->selectRow(0);
            button(*dialog, "Apri")->click();
            clicked = true;
        });
        form.replaceSeams({.folder = &folders});
        showSummaryOver(form);
        QVERIFY(clicked);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(form.model().curves().size(), 1u);
        QCOMPARE(prompter.messages, QStringList());
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
        ScriptedAsker askers;
        askers.answer = folder.path();
        askers.opened = folder.filePath("consegna");
        form.replaceSeams({.openFile = &askers, .folder = &askers});
        const auto summary = [&](const std::function<void(ClassSummaryDialog&)>& use) {
            QTimer::singleShot(0, this, [&] {
                auto* dialog = dynamic_cast<ClassSummaryDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                use(*dialog);
                button(*dialog, "Chiudi")->click();
            });
            showSummaryOver(form);
        };
        const QStringList byTheTeacher{"5", "1", "0", "0", "no", "sì", "sì", "0", ""};
        const QStringList byItsOwn{
            "0", "1", "0", "0", "sì", "", "", "0", "giudicato con i propri valori, senza consegna"};
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

    // With an assignment, the best its own values allow, above the table: the chord is the point
    // (10; 10), and at 45 degrees, where cos α sin α is a half, the bars 6 and 8 reach (13; 14).
    // A long search can be given up, and the class is judged all the same.
    void bestPossibleAboveTheTable_data() {
        QTest::addColumn<QString>("DAX"); // empty: no assignment
        QTest::addColumn<QString>("INST");
        QTest::addColumn<QString>("shown"); // empty: no such line
        QTest::newRow("no assignment") << ""
                                       << "2"
                                       << "";
        QTest::newRow("the point reached")
            << "10"
            << "2"
            << "Migliore possibile: orizzontale 6, verticale 8, distanza 0";
        QTest::newRow("no position draws a point")
            << "10"
            << "-2"
            << "Migliore possibile: nessuna posizione delle barre disegna un punto della curva.";
        QTest::newRow("a field no plot takes")
            << "dieci"
            << "2"
            << "Migliore possibile: non cercato (DAX non è un numero).";
        QTest::newRow("cancelled") << "10"
                                   << "100000"
                                   << "Migliore possibile: ricerca annullata.";
    }
    void bestPossibleAboveTheTable() {
        QFETCH(QString, DAX);
        QFETCH(QString, INST);
        QFETCH(QString, shown);
        Exercise handout = pointChordExercise("1", false);
        handout.controls.field(ParameterField::Text1) = DAX;
        handout.controls.field(ParameterField::Text9) = INST;
        std::optional<Exercise> assignment;
        if (!DAX.isEmpty())
            assignment = assignmentOf(handout, {});
        QTemporaryDir folder;
        ScriptedAsker asker;
        RecordingPrompter prompter;
        ClassSummaryDialog dialog({}, folder.path(), asker, prompter);
        bool cancelled = false;
        QTimer clicker;
        connect(&clicker, &QTimer::timeout, [&] {
            if (auto* bar = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget()))
                cancelled =
                    bar->labelText() == "Ricerca degli spostamenti" && (bar->cancel(), true);
        });
        clicker.start(20);
        // The search takes about a quarter of a second: its bar must show on a fast machine too.
        const auto showAfter =
            std::exchange(LongWorkProgress::showAfter, std::chrono::milliseconds(100));
        QVERIFY(dialog.judgeBy(assignment, folder.filePath("consegna.curva")));
        LongWorkProgress::showAfter = showAfter;
        QCOMPARE(cancelled, QTest::currentDataTag() == QString("cancelled"));
        QString line;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            if (label->isVisibleTo(&dialog) && label->text().startsWith("Migliore possibile"))
                line = label->text();
        QCOMPARE(line, shown);
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
        ScriptedAsker asker;
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
