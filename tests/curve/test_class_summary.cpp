// The class summary's judging: with an assignment given, its target, tolerance and locked values
// judge, as the teacher's window read them, whatever the file says and whatever the settings of
// the machine that judges; without one, each row says it was judged by the file's own values.
#include "AssignmentWork.h"
#include "ClassSummary.h"
#include "ExerciseFile.h"
#include "ExerciseSamples.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace {

QLocale settings(const QString& name) {
    return name == "it"   ? QLocale(QLocale::Italian, QLocale::Italy)
           : name == "en" ? QLocale(QLocale::English, QLocale::UnitedStates)
                          : QLocale::c();
}

void write(const QString& path, const QByteArray& contents) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size());
}

} // namespace

class ClassSummaryTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void judging_data() {
        // given: "" none, "saved" an assignment as the window saves it, "old" one saved before
        // the teacher's readings were kept, "plain" an exercise without an assignment.
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("teacher"); // the settings the teacher typed AVX in
        QTest::addColumn<double>("tolerance");
        QTest::addColumn<QString>("edit");      // what the student's file says otherwise
        QTest::addColumn<QString>("judge");     // the settings of the machine that judges
        QTest::addColumn<QStringList>("shown"); // distance, reached, changed, note
        const QString own = "giudicato con i propri valori, senza consegna";
        const auto row = [](const char* name, const char* given, const char* teacher,
                            double tolerance, const char* edit, const char* judge,
                            const QStringList& shown) {
            QTest::newRow(name) << QString(given) << QString(teacher) << tolerance << QString(edit)
                                << QString(judge) << shown;
        };
        row("own values: tolerance", "", "it", 0, "", "C", {"5", "no", "", own});
        row("own values: target moved onto the curve", "", "it", 0, "target", "C",
            {"0", "sì", "", own});
        row("own values: tolerance raised", "", "it", 0, "tolerance", "C", {"5", "sì", "", own});
        row("given: target moved in the file", "saved", "it", 2, "target", "C",
            {"5", "no", "sì", ""});
        row("given: tolerance raised in the file", "saved", "it", 2, "tolerance", "C",
            {"5", "no", "no", ""});
        row("given: distance at the tolerance", "saved", "it", 5, "", "C", {"5", "sì", "no", ""});
        row("given: distance just under", "saved", "it", std::nextafter(5.0, 6.0), "", "C",
            {"5", "sì", "no", ""});
        row("given: distance just over", "saved", "it", std::nextafter(5.0, 0.0), "", "C",
            {"5", "no", "no", ""});
        row("given: a locked increment changed", "saved", "it", 5, "AVX", "C",
            {"5", "sì", "sì", ""});
        row("teacher's 0,5 judged in English", "saved", "it", 5, "", "en", {"5", "sì", "no", ""});
        row("teacher's 0,5 judged in Italian", "saved", "it", 5, "", "it", {"5", "sì", "no", ""});
        row("older file: 0,5 judged in C", "old", "it", 5, "", "C", {"5", "sì", "no", ""});
        row("older file: 0.5 judged in Italian", "old", "en", 5, "", "it", {"5", "sì", "no", ""});
        row("plain exercise: its target, no tolerance", "plain", "it", 0, "tolerance", "C",
            {"5", "", "no", ""});
    }
    void judging() {
        QFETCH(QString, given);
        QFETCH(QString, teacher);
        QFETCH(double, tolerance);
        QFETCH(QString, edit);
        QFETCH(QString, judge);
        QFETCH(QStringList, shown);
        const QString AVX = teacher == "it" ? "0,5" : "0.5";

        // The teacher saves the assignment in her window's settings.
        QLocale::setDefault(settings(teacher));
        Assignment set;
        set.tolerance = tolerance > 0 ? tolerance : 1;
        set.locked = {LockedGroup::Chord, LockedGroup::Target, LockedGroup::Increments};
        Exercise assignment = assignmentOf(pointChordExercise(AVX, false), set);
        if (given == "plain")
            assignment.assignment.reset();
        QByteArray file = exerciseToJson(assignment);
        if (given == "old") {
            QJsonObject top = QJsonDocument::fromJson(file).object();
            QJsonObject object = top["assignment"].toObject();
            object.remove("values");
            top["assignment"] = object;
            file = QJsonDocument(top).toJson();
        }
        const QString assignmentPath = dir.filePath("consegna.curva");
        write(assignmentPath, file);

        // The student's curve, drawn at AVX 0.5, and her file, which she may have edited.
        Exercise attempt = pointChordExercise(AVX, true);
        attempt.assignment = set;
        attempt.assignment->tolerance = edit == "tolerance" ? 1000 : 2;
        PlotRecord& curve = attempt.curves[0];
        if (edit == "target")
            curve.RAX = curve.RAY = 10;
        if (edit == "AVX")
            curve.AVX = 1;
        const QString attemptPath = dir.filePath("anna.curva");
        write(attemptPath, exerciseToJson(attempt));

        QLocale::setDefault(settings(judge));
        std::optional<Exercise> judgedBy;
        if (!given.isEmpty())
            judgedBy = readExerciseFile(assignmentPath).exercise;
        QCOMPARE(judgedBy.has_value(), !given.isEmpty());
        const SummaryRow row = summaryRowOf(attemptPath, judgedBy);
        QStringList seen;
        for (SummaryColumn column : {SummaryColumn::Distance, SummaryColumn::Reached,
                                     SummaryColumn::Changed, SummaryColumn::Note})
            seen << summaryText(row, column);
        QCOMPARE(seen, shown);
    }
};

QTEST_GUILESS_MAIN(ClassSummaryTest)
#include "test_class_summary.moc"
