// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

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

// Every allocation counted: the most bytes held at once since the last reset.
namespace {
std::size_t held = 0, mostHeld = 0;
} // namespace

void* operator new(std::size_t size) {
    // The size is kept before the block, so that delete knows what it gives back.
    auto* block = static_cast<std::size_t*>(std::malloc(size + sizeof(std::max_align_t)));
    if (!block)
        throw std::bad_alloc();
    *block = size;
    held += size;
    mostHeld = std::max(mostHeld, held);
    return reinterpret_cast<char*>(block) + sizeof(std::max_align_t);
}
void operator delete(void* pointer) noexcept {
    if (!pointer)
        return;
    auto* block =
        reinterpret_cast<std::size_t*>(static_cast<char*>(pointer) - sizeof(std::max_align_t));
    held -= *block;
    std::free(block);
}
void operator delete(void* pointer, std::size_t) noexcept {
    operator delete(pointer);
}

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

    void compareWithEveryPlot(const Texts& texts, const DisplacementRanges& ranges, bool replay,
                              double incr = 0.75) {
        Rig rig;
        rig.incr = incr;
        for (const auto& [field, text] : texts)
            rig.fields.texts[field] = text;
        rig.model.setUpScale(rig.incr);
        const auto found = nearestDisplacements(rig.model.readForSearch(), ranges);
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
        QTest::addColumn<double>("incr");
        const DisplacementRanges small{-20, 20, -15, 15};
        QTest::newRow("as the window opens") << Texts{} << small << 0.75;
        QTest::newRow("a target within reach")
            << Texts{{Field::Text3, "80"}, {Field::Text8, "75"}} << small << 0.75;
        QTest::newRow("fractional values, INST 3.7")
            << Texts{{Field::Text3, "61.25"}, {Field::Text8, "75"},     {Field::Text9, "3.7"},
                     {Field::Text10, "0.3"},  {Field::Text11, "-1.75"}, {Field::Text1, "-35.125"}}
            << DisplacementRanges{-60, 60, -40, 40} << 0.75;
        QTest::newRow("curves that stop early at the top")
            << Texts{{Field::Text9, "20"},
                     {Field::Text10, "1.2"},
                     {Field::Text5, "300"},
                     {Field::Text3, "100"},
                     {Field::Text8, "420"}}
            << DisplacementRanges{-20, 20, 60, 120} << 0.75;
        QTest::newRow("curves that stop early at the right")
            << Texts{{Field::Text4, "500"}, {Field::Text3, "520"}, {Field::Text8, "80"}}
            << DisplacementRanges{200, 260, -10, 10} << 0.75;
        QTest::newRow("a target no curve reaches")
            << Texts{{Field::Text3, "5000"}, {Field::Text8, "-4000"}} << small << 0.75;
        QTest::newRow("a target so far that squares overflow")
            << Texts{{Field::Text3, "1e200"}, {Field::Text8, "3e199"}} << small << 0.75;
        QTest::newRow("tie: x ignores SPTX, the smallest |h| wins")
            << Texts{{Field::Text11, "0"}} << DisplacementRanges{-12, -3, -15, 15} << 0.75;
        QTest::newRow("tie: neither bar bends the curve")
            << Texts{{Field::Text11, "0"}, {Field::Text10, "0"}} << small << 0.75;
        QTest::newRow("negative INST: no pair draws")
            << Texts{{Field::Text9, "-5"}} << small << 0.75;
        QTest::newRow("a chord of one point at INST 1000: every angle ties")
            << Texts{{Field::Text1, "100"}, {Field::Text2, "100"},  {Field::Text4, "100"},
                     {Field::Text5, "100"}, {Field::Text9, "1000"}, {Field::Text10, "0"},
                     {Field::Text11, "0"}}
            << small << 0.75;
        // A pair whose smallest square is a rounding above the smallest of all comes as near,
        // and is nearer to the bars' zero.
        QTest::newRow("a pair with a larger square ties by its distance")
            << Texts{{Field::Text1, "-187"},
                     {Field::Text2, "100"},
                     {Field::Text3, "10000940.906453753"},
                     {Field::Text4, "-64"},
                     {Field::Text5, "-174"},
                     {Field::Text8, "243.27601619714744"},
                     {Field::Text9, "972"},
                     {Field::Text10, "1.9548554496238806"},
                     {Field::Text11, "1"}}
            << DisplacementRanges{-429, -405, 237, 249} << 0.37073796400430015;
        QTest::newRow("chord beyond the bounds: no pair draws")
            << Texts{{Field::Text1, "900"}, {Field::Text4, "900"}} << small << 0.75;
    }
    void sameAsEveryPlot() {
        QFETCH(Texts, texts);
        QFETCH(DisplacementRanges, ranges);
        QFETCH(double, incr);
        compareWithEveryPlot(texts, ranges, false, incr);
    }

    // The whole of both bars, as the window opens: 1,202,201 plots.
    void fullRangesAsEveryPlot() {
#ifdef CURVE_SANITIZED
        QSKIP("1,202,201 plots take minutes under the sanitizers; the plain build walks them");
#else
        compareWithEveryPlot({}, {}, true);
#endif
    }

    // Where every pair ties or nearly ties at every angle, the search holds a few MiB at the
    // longest plot, as elsewhere: nothing grows with the angles times the pairs.
    void memoryStaysSmall_data() {
        QTest::addColumn<Texts>("texts");
        QTest::addColumn<QString>("answer");
        QTest::newRow("a target 1e20 away") << Texts{{Field::Text3, "1e20"}} << "0 0";
        QTest::newRow("a target where every square is infinite")
            << Texts{{Field::Text3, "1e300"}, {Field::Text8, "1e300"}} << "0 0";
        QTest::newRow("a chord of one point that no bar bends")
            << Texts{{Field::Text1, "100"}, {Field::Text2, "100"}, {Field::Text4, "100"},
                     {Field::Text5, "100"}, {Field::Text10, "0"},  {Field::Text11, "0"}}
            << "0 0";
        QTest::newRow("as the window opens") << Texts{} << "542 447";
    }
    void memoryStaysSmall() {
        QFETCH(Texts, texts);
        QFETCH(QString, answer);
        Rig rig;
        texts[Field::Text9] = "100000";
        for (const auto& [field, text] : texts)
            rig.fields.texts[field] = text;
        rig.model.setUpScale(rig.incr);
        const PlotRecord values = rig.model.readForSearch();
        mostHeld = held;
        const std::size_t before = held;
        const auto found = nearestDisplacements(values);
        const double mib = double(mostHeld - before) / (1 << 20);
        QVERIFY2(mib < 4, qPrintable(QString::number(mib) + " MiB"));
        QCOMPARE(QString("%1 %2").arg(found->SPTX).arg(found->SPTY), answer);
    }

    // Progress reaches the total in order, reported in each walk of the angles; a progress that
    // says stop, in whichever walk, stops the search and is not asked again.
    void progressAndStop_data() {
        QTest::addColumn<Texts>("texts");
        QTest::addColumn<int>("stopAtQuarter"); // stop at the first report from that quarter on
        const Texts opening{{Field::Text9, "1000"}};
        const Texts everyAngleTies{{Field::Text1, "100"},  {Field::Text2, "100"},
                                   {Field::Text4, "100"},  {Field::Text5, "100"},
                                   {Field::Text9, "1000"}, {Field::Text10, "0"},
                                   {Field::Text11, "1"}};
        QTest::newRow("to the end") << opening << -1;
        for (int quarter : {0, 1, 2})
            QTest::addRow("stopped from quarter %d", quarter) << opening << quarter;
        QTest::newRow("every angle ties, to the end") << everyAngleTies << -1;
        QTest::newRow("every angle ties, stopped in the second walk") << everyAngleTies << 1;
    }
    void progressAndStop() {
        QFETCH(Texts, texts);
        QFETCH(int, stopAtQuarter);
        Rig rig;
        for (const auto& [field, text] : texts)
            rig.fields.texts[field] = text;
        rig.model.setUpScale(rig.incr);
        int calls = 0, afterStop = 0;
        bool ordered = true, stopped = false;
        std::int64_t last = 0, total = 0;
        const auto report = [&](std::int64_t done, std::int64_t all) {
            afterStop += stopped;
            ordered = ordered && done > last && done <= all;
            last = done;
            total = all;
            ++calls;
            stopped = stopAtQuarter >= 0 && done * 4 >= stopAtQuarter * all && done < all;
            return !stopped;
        };
        const auto found = nearestDisplacements(rig.model.readForSearch(), {}, report);
        QVERIFY(ordered);
        QCOMPARE(afterStop, 0);
        QCOMPARE(found.has_value(), stopAtQuarter < 0);
        if (stopAtQuarter < 0)
            QVERIFY(calls > 3 && last == total);
        else
            QVERIFY2(last * 4 >= stopAtQuarter * total, qPrintable(QString::number(last)));
    }
};

QTEST_MAIN(DisplacementSearchTest)
#include "test_displacement_search.moc"
