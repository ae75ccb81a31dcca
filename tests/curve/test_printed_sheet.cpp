// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

// The printed page read back as a person reads the paper: its words through pdftotext, its
// drawing through pdftoppm.
#include "ExerciseFile.h"
#include "ExerciseSamples.h"
#include "Form4.h"
#include "PlotText.h"
#include "RecordingPrompter.h"
#include "SheetPrinting.h"
#include "WidgetTesting.h"

#include <QApplication>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>

namespace {

// The curve window, never shown, with an exercise drawn, as the command line draws it.
struct Drawn {
    RecordingPrompter prompter;
    Form4 form{&prompter};
    explicit Drawn(const Exercise& exercise) {
        form.resize(exercise.drawingSize);
        form.openExercise(exercise);
    }
};

QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Which way the chord runs, in radians, and how long it is, in pixels: the line through the
// black pixels of the drawing that are not on an axis. The axes are the rows and columns that
// are mostly black; the chord is the only other black on the drawing.
struct Chord {
    double angle = 0, length = 0;
};
Chord chordIn(const QImage& image, QRect drawing) {
    const auto black = [&](int x, int y) { return image.pixel(x, y) == qRgb(0, 0, 0); };
    std::vector<int> inRow(image.height()), inColumn(image.width());
    for (int y = drawing.top(); y <= drawing.bottom(); ++y)
        for (int x = drawing.left(); x <= drawing.right(); ++x)
            if (black(x, y))
                ++inRow[y], ++inColumn[x];
    // A line mostly black, or one of the three either side of it that its edges may blacken.
    const auto nearAxis = [](const std::vector<int>& counts, int at, int length) {
        const int last = int(counts.size()) - 1;
        for (int i = std::max(0, at - 3); i <= std::min(last, at + 3); ++i)
            if (counts[i] > length / 2)
                return true;
        return false;
    };
    std::vector<QPointF> points;
    for (int y = drawing.top(); y <= drawing.bottom(); ++y)
        for (int x = drawing.left(); x <= drawing.right(); ++x)
            if (black(x, y) && !nearAxis(inRow, y, drawing.width()) &&
                !nearAxis(inColumn, x, drawing.height()))
                points.emplace_back(x, y);
    if (points.size() < 10)
        return {};
    QPointF mean;
    for (const QPointF& p : points)
        mean += p / double(points.size());
    double xx = 0, yy = 0, xy = 0;
    QRectF extent(points.front(), QSizeF());
    for (const QPointF& p : points) {
        const QPointF d = p - mean;
        xx += d.x() * d.x();
        yy += d.y() * d.y();
        xy += d.x() * d.y();
        extent |= QRectF(p, QSizeF(1, 1));
    }
    return {0.5 * std::atan2(2 * xy, xx - yy), std::hypot(extent.width(), extent.height())};
}

} // namespace

class PrintedSheetTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString printed(Form4& form) {
        const QString pdf = dir.filePath("pagina.pdf");
        const QString failure = saveSheet(sheetOf(form.document()), pdf);
        return failure.isEmpty() ? pdf : failure;
    }

private slots:
    void initTestCase() {
        useLocale();
        for (const char* tool : {"pdftotext", "pdftoppm"})
            QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(),
                     "poppler-utils is missing: scripts/install-deps.sh installs it");
    }

    // The header, the values as the fields hold them, the bars and the mode; the latest
    // curve's distance line and equations only when a curve was drawn.
    void words_data() {
        QTest::addColumn<Exercise>("exercise");
        QTest::addColumn<QStringList>("says");
        QTest::addColumn<bool>("curve");
        const QStringList values{"DAX = 20",  "DAY = 30", "ALX = 150", "ALY = 70", "RAX = 300",
                                 "RAY = 270", "INST = 5", "AVY = 1",   "AVX = 1"};
        Exercise typed = handedOutExercise();
        typed.controls.field(ParameterField::Text9) = " 2,5 ";
        typed.controls.HScroll2 = -250;
        QTest::newRow("handed out")
            << handedOutExercise() << values + QStringList{"SPTX = 0", "SPTY = 0", "Curve Singole"}
            << false;
        QTest::newRow("attempt") << attemptExercise()
                                 << values + QStringList{"SPTX = 40", "Curve Multiple"} << true;
        QTest::newRow("as typed") << typed << QStringList{"INST = 2,5", "SPTY = -250"} << false;
        // A field's longest text is cut on its own: the names after it stay on the paper.
        Exercise longest = handedOutExercise();
        longest.controls.field(ParameterField::Text1) =
            QString(ExerciseLimits::MaxFieldLength, u'W');
        longest.controls.field(ParameterField::Text3) =
            QString(ExerciseLimits::MaxFieldLength, u'7');
        QTest::newRow("the longest values")
            << longest
            << QStringList{"DAX = WWW", "W… DAY = 30 ALX = 150 ALY = 70", "RAX = 777",
                           "7… RAY = 270"}
            << false;
    }
    void words() {
        QFETCH(Exercise, exercise);
        QFETCH(QStringList, says);
        QFETCH(bool, curve);
        Drawn drawn(exercise);
        const QString text = run("pdftotext", {printed(drawn.form), "-"}).simplified();
        says << "Nome ______ Classe ______ Data ______";
        const PlotRecord& plot = drawn.form.model().lastPlot();
        const QStringList curveLines = QStringList{distanceLine(plot)} + equationLines(plot);
        if (curve)
            says << curveLines;
        for (const QString& line : says)
            QVERIFY2(text.contains(line.simplified()), qPrintable(line + "\nnot in\n" + text));
        QCOMPARE(text.contains("x(α)"), curve);
        const QString info = run("pdfinfo", {printed(drawn.form)});
        QVERIFY2(info.contains(QRegularExpression("Pages: +1\n")) && info.contains("(A4)"),
                 qPrintable(info));
    }

    // The drawing goes on the paper with one scale across and down, whatever its shape: the
    // chord runs as it does in the window, within a pixel at its far end, and the text under
    // the drawing still fits on the page.
    void chordKeepsItsSlope_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("as wide as the page") << QSize(1280, 990);
        QTest::newRow("tall: as high as the room left") << QSize(500, 1400);
        QTest::newRow("flat") << QSize(1600, 500);
    }
    void chordKeepsItsSlope() {
        QFETCH(QSize, size);
        Exercise exercise = attemptExercise({5});
        exercise.drawingSize = size;
        // A steep chord and the target marker, also black, off the drawing.
        exercise.curves[0].ALY = 200;
        exercise.curves[0].RAX = exercise.curves[0].RAY = 5000;
        Drawn drawn(exercise);
        const Chord window = chordIn(drawn.form.drawing(), drawn.form.drawing().rect());

        const QString pdf = printed(drawn.form), page = dir.filePath("pagina");
        QVERIFY(run("pdftotext", {pdf, "-"})
                    .contains(equationLines(drawn.form.model().lastPlot()).last()));
        QProcess::execute("pdftoppm", {"-r", "150", "-aa", "no", "-aaVector", "no", "-png",
                                       "-singlefile", pdf, page});
        const QImage paper = QImage(page + ".png").convertToFormat(QImage::Format_RGB32);
        const QRect drawing = extentOf(paper, drawn.form.retainedDrawing().background());
        QVERIFY(!drawing.isEmpty());
        const Chord printed = chordIn(paper, drawing);
        QVERIFY(window.length > 100 && printed.length > 50);
        QVERIFY2(std::abs(printed.angle - window.angle) * printed.length <= 1,
                 qPrintable(QStringLiteral("window %1 rad, paper %2 rad over %3 pixels")
                                .arg(window.angle)
                                .arg(printed.angle)
                                .arg(printed.length)));
    }

    // Ctrl+P from a field opens the preview of the one page; closing it prints nothing.
    void ctrlPOpensThePreview() {
        Drawn drawn(attemptExercise());
        QVERIFY(showActive(drawn.form));
        int pages = 0;
        QTimer user;
        connect(&user, &QTimer::timeout, [&] {
            if (auto* dialog =
                    qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
                pages = dialog->findChild<QPrintPreviewWidget*>()->pageCount();
                dialog->reject();
            }
        });
        user.start(20);
        QTest::keyClick(drawn.form.Text1, Qt::Key_P, Qt::ControlModifier);
        QCOMPARE(pages, 1);
        QVERIFY(drawn.prompter.messages.isEmpty());
    }
};

QTEST_MAIN(PrintedSheetTest)
#include "test_printed_sheet.moc"
