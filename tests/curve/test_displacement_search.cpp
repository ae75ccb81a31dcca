// The search for the bars whose curve passes nearest the target, against the real plot of every
// pair: the same pair, and the distance the plot records for it, to the last bit.
#include "CurveFakes.h"
#include "DisplacementSearch.h"

#include <QTest>
#include <cstdlib>
#include <cstring>
#include <tuple>

using Field = CurveFields::Field;
using Texts = std::map<Field, QString>;

Q_DECLARE_METATYPE(DisplacementRanges)

namespace {

// The pair whose plot records the nearest point, by the search's order of ties; nothing when
// no plot draws a point. Each plot goes through CALCOLA, or replays the first plot's values
// with other bars when there are too many for reading the fields each time.
std::optional<Displacements> everyPlot(Rig& rig, const DisplacementRanges& r, bool replay) {
    rig.surface.keepCalls = false;
    const PlotRecord first = rig.plot({}, r.hFirst, r.vFirst);
    std::optional<Displacements> best;
    const auto key = [](const Displacements& d) {
        return std::make_tuple(d.distance, std::abs(d.SPTX) + std::abs(d.SPTY), d.SPTX, d.SPTY);
    };
    for (int h = r.hFirst; h <= r.hLast; ++h)
        for (int v = r.vFirst; v <= r.vLast; ++v) {
            PlotRecord values = first;
            values.SPTX = std::int16_t(h);
            values.SPTY = std::int16_t(v);
            if (replay)
                rig.model.replay(values);
            const PlotRecord& plot = replay ? rig.model.lastPlot() : rig.plot({}, h, v);
            const Displacements found{plot.SPTX, plot.SPTY, plot.nearest.distance};
            if (plot.points > 0 && (!best || key(found) < key(*best)))
                best = found;
            std::ignore = rig.model.takeCurves();
        }
    return best;
}

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

class DisplacementSearchTest : public QObject {
    Q_OBJECT

    void compareWithEveryPlot(const Texts& texts, const DisplacementRanges& ranges, bool replay) {
        Rig rig;
        for (const auto& [field, text] : texts)
            rig.fields.texts[field] = text;
        rig.model.setUpScale(rig.incr);
        const auto found = findDisplacements(rig.model.readForSearch(), ranges);
        const auto expected = everyPlot(rig, ranges, replay);
        QCOMPARE(found.has_value(), expected.has_value());
        if (!found)
            return;
        QVERIFY2(found->SPTX == expected->SPTX && found->SPTY == expected->SPTY &&
                     sameBits(found->distance, expected->distance),
                 qPrintable(QString::asprintf("found %d, %d at %.17g; the plots %d, %d at %.17g",
                                              found->SPTX, found->SPTY, found->distance,
                                              expected->SPTX, expected->SPTY, expected->distance)));
    }

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void sameAsEveryPlot_data() {
        QTest::addColumn<Texts>("texts");
        QTest::addColumn<DisplacementRanges>("ranges");
        const DisplacementRanges small{-20, 20, -15, 15};
        QTest::newRow("as the window opens") << Texts{} << small;
        QTest::newRow("a target within reach")
            << Texts{{Field::Text3, "80"}, {Field::Text8, "75"}} << small;
        QTest::newRow("fractional values, INST 3.7")
            << Texts{{Field::Text3, "61.25"}, {Field::Text8, "75"},     {Field::Text9, "3.7"},
                     {Field::Text10, "0.3"},  {Field::Text11, "-1.75"}, {Field::Text1, "-35.125"}}
            << DisplacementRanges{-60, 60, -40, 40};
        QTest::newRow("curves that stop early at the top") << Texts{{Field::Text9, "20"},
                                                                    {Field::Text10, "1.2"},
                                                                    {Field::Text5, "300"},
                                                                    {Field::Text3, "100"},
                                                                    {Field::Text8, "420"}}
                                                           << DisplacementRanges{-20, 20, 60, 120};
        QTest::newRow("curves that stop early at the right")
            << Texts{{Field::Text4, "500"}, {Field::Text3, "520"}, {Field::Text8, "80"}}
            << DisplacementRanges{200, 260, -10, 10};
        QTest::newRow("a target no curve reaches")
            << Texts{{Field::Text3, "5000"}, {Field::Text8, "-4000"}} << small;
        QTest::newRow("a target so far that squares overflow")
            << Texts{{Field::Text3, "1e200"}, {Field::Text8, "3e199"}} << small;
        QTest::newRow("tie: x ignores SPTX, the smallest |h| wins")
            << Texts{{Field::Text11, "0"}} << DisplacementRanges{-12, -3, -15, 15};
        QTest::newRow("tie: neither bar bends the curve")
            << Texts{{Field::Text11, "0"}, {Field::Text10, "0"}} << small;
        QTest::newRow("negative INST: no pair draws") << Texts{{Field::Text9, "-5"}} << small;
        QTest::newRow("chord beyond the bounds: no pair draws")
            << Texts{{Field::Text1, "900"}, {Field::Text4, "900"}} << small;
    }
    void sameAsEveryPlot() {
        QFETCH(Texts, texts);
        QFETCH(DisplacementRanges, ranges);
        compareWithEveryPlot(texts, ranges, false);
    }

    // The whole of both bars, as the window opens: 1,202,201 plots.
    void fullRangesAsEveryPlot() {
#ifdef CURVE_SANITIZED
        QSKIP("1,202,201 plots take minutes under the sanitizers; the plain build walks them");
#else
        compareWithEveryPlot({}, {}, true);
#endif
    }

    // Progress reaches the total; a progress that says stop stops the search and is not
    // asked again.
    void progressAndStop_data() {
        QTest::addColumn<int>("stopAt"); // the call that says stop, 0: none
        QTest::newRow("to the end") << 0;
        QTest::newRow("stopped at the third report") << 3;
    }
    void progressAndStop() {
        QFETCH(int, stopAt);
        Rig rig;
        rig.fields.texts[Field::Text9] = "1000";
        rig.model.setUpScale(rig.incr);
        int calls = 0;
        bool ordered = true;
        std::int64_t last = 0, total = 0;
        const auto report = [&](std::int64_t done, std::int64_t all) {
            ordered = ordered && done > last && done <= all;
            last = done;
            total = all;
            return ++calls != stopAt;
        };
        const auto found = findDisplacements(rig.model.readForSearch(), {}, report);
        QVERIFY(ordered);
        QCOMPARE(found.has_value(), stopAt == 0);
        if (stopAt == 0)
            QVERIFY(calls > 3 && last == total);
        else
            QCOMPARE(calls, stopAt);
    }
};

QTEST_MAIN(DisplacementSearchTest)
#include "test_displacement_search.moc"
