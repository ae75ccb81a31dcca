#include "DisplacementSearch.h"

#include "CurveFormula.h"
#include "CurveModel.h"
#include "Single.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <tuple>
#include <vector>

// The search walks the plot's angles for all pairs at once. At an angle a point's x depends on
// SPTX alone and its y on SPTY alone, and each coordinate is monotone in its bar's position
// (each step of the formula is), so:
// - the positions of a bar whose coordinate is still within the bounds form an interval, and
//   the pairs still drawing are the product of the two bars' intervals;
// - the smallest dx² at an angle is next to where dx changes sign, found by halving, and the
//   smallest squared distance of the pairs still drawing is the sum of the two bars' smallest.
// A first walk finds the smallest square of all; then, at the angles whose smallest comes within
// a hair of it, the pairs that do are taken with the distance the plot would measure there.
// Each pair's first smallest square is its nearest point, as in the plot, and the nearest of
// those pairs wins.

namespace {

// Far beyond the rounding of squares, sums and hypot, so that no pair whose measured distance
// could equal or beat the best one's is left out.
double withinReach(double best) {
    return best + best * 0x1p-40 + 0x1p-1000;
}

// A bar's position at one angle: its coordinate's offset from the target's, squared as the
// plot squares it.
struct Offset {
    int position;
    double offset, square;
};

// Consecutive positions of a bar at one angle.
struct Span {
    int first;
    std::vector<Offset> offsets;

    const Offset* at(int position) const {
        const int i = position - first;
        return i >= 0 && i < int(offsets.size()) ? &offsets[std::size_t(i)] : nullptr;
    }
};

// One bar: its positions still drawing, and at the current angle their coordinates.
template <typename Coordinate> struct Bar {
    int first, last; // still drawing; none when first > last
    double target;
    Coordinate coordinate;

    double offset(int position) const { return coordinate(position) - target; }

    // Keeps the positions whose coordinate is within the bounds at this angle too.
    template <typename Holds> bool narrow(Holds holds) {
        while (first <= last && !holds(coordinate(first)))
            ++first;
        while (first <= last && !holds(coordinate(last)))
            --last;
        return first <= last;
    }

    // The position with the smallest square of the offset from the target.
    Offset nearest() const {
        const bool rising = offset(first) <= offset(last);
        // The first position whose offset has reached 0, or last when none has.
        int low = first, high = last;
        while (low < high) {
            const int middle = low + (high - low) / 2;
            const double o = offset(middle);
            if (rising ? o >= 0 : o <= 0)
                high = middle;
            else
                low = middle + 1;
        }
        Offset best = of(low);
        if (low > first) {
            const Offset before = of(low - 1);
            if (before.square < best.square)
                best = before;
        }
        return best;
    }

    Offset of(int position) const {
        const double o = offset(position);
        return {position, o, o * o};
    }

    // The positions around the nearest one whose square, added to the other bar's smallest,
    // is still within reach: squares only grow away from the nearest position.
    Span around(const Offset& nearest, double otherSmallest, double reach) const {
        const auto close = [&](int p) { return of(p).square + otherSmallest <= reach; };
        int low = nearest.position, high = nearest.position;
        while (low > first && close(low - 1))
            --low;
        while (high < last && close(high + 1))
            ++high;
        Span span{low, {}};
        for (int p = low; p <= high; ++p)
            span.offsets.push_back(of(p));
        return span;
    }
};

template <typename Coordinate>
Bar<Coordinate> bar(int first, int last, double target, Coordinate coordinate) {
    return {first, last, target, coordinate};
}

// An angle that may hold the smallest square: where it is, the positions still drawing there,
// and the smallest square of their pairs.
struct Angle {
    double ALFA;
    int hFirst, hLast, vFirst, vLast;
    double smallest;
};

// The pairs that come within reach at each angle that does, the angles in order.
struct Near {
    Span h, v;

    // The pair's square and distance here, when it is within reach.
    std::optional<std::pair<double, double>> of(int hPosition, int vPosition, double reach) const {
        const Offset *x = h.at(hPosition), *y = v.at(vPosition);
        if (!x || !y || !(x->square + y->square <= reach))
            return std::nullopt;
        return std::pair{x->square + y->square, std::hypot(x->offset, y->offset)};
    }
};

// Each pair's nearest point is the first of its smallest squares, as in the plot, and none of
// them is out of reach; of the pairs, the nearest, then the smallest |h| + |v|, h, v. Each pair
// is weighed at the first angle where it is within reach.
std::optional<Displacements> nearestPair(const std::vector<Near>& near, double reach) {
    std::optional<Displacements> best;
    const auto key = [](const Displacements& d) {
        return std::make_tuple(d.distance, std::abs(d.SPTX) + std::abs(d.SPTY), d.SPTX, d.SPTY);
    };
    for (auto at = near.begin(); at != near.end(); ++at)
        for (const Offset& x : at->h.offsets)
            for (const Offset& y : at->v.offsets) {
                const auto here = at->of(x.position, y.position, reach);
                if (!here || std::any_of(near.begin(), at, [&](const Near& n) {
                        return n.of(x.position, y.position, reach).has_value();
                    }))
                    continue;
                auto [squared, distance] = *here;
                for (auto later = at + 1; later != near.end(); ++later)
                    if (const auto there = later->of(x.position, y.position, reach);
                        there && there->first < squared)
                        std::tie(squared, distance) = *there;
                const Displacements pair{std::int16_t(x.position), std::int16_t(y.position),
                                         distance};
                if (!best || key(pair) < key(*best))
                    best = pair;
            }
    return best;
}

} // namespace

std::optional<Displacements> findDisplacements(const PlotRecord& plot,
                                               const DisplacementRanges& ranges,
                                               const SearchProgress& progress) {
    PlotRecord values = plot;
    values.P1 = DegreeInRadians;
    const CurveFormula formula = CurveFormula::of(values);
    const PlotBounds bounds = CurveModel::boundsFor(plot.Incr);
    const double step = 2 / plot.INST;
    if (!(step > 0))
        return std::nullopt;

    CurveFormula::Trig trig{};
    auto h = bar(ranges.hFirst, ranges.hLast, plot.RAX,
                 [&](int p) { return formula.x(trig, std::int16_t(p)); });
    auto v = bar(ranges.vFirst, ranges.vLast, plot.RAY,
                 [&](int p) { return formula.y(trig, std::int16_t(p)); });
    if (h.first > h.last || v.first > v.last)
        return std::nullopt;

    // Bounded so that the count fits whatever INST: the plot's own bound keeps it far below.
    const std::int64_t total = std::int64_t(std::min(90 / step, 1e15)) + 1;
    std::int64_t done = 0;
    // First the smallest square of all, keeping the angles that might come near it.
    std::vector<Angle> angles;
    std::size_t keptAtLastSweep = 0;
    double best = std::numeric_limits<double>::infinity();
    bool drawn = false;
    for (double ALFA = 0; ALFA <= 90; ALFA += step) {
        if (++done % 4096 == 0 && progress && !progress(std::min(done, total), total))
            return std::nullopt;
        trig = formula.trig(ALFA);
        if (!trig.hasPoint())
            continue;
        const bool hDraws = h.narrow([&](double PX) { return bounds.holdsX(PX); });
        if (!hDraws || !v.narrow([&](double PY) { return bounds.holdsY(PY); }))
            break;
        const double smallest = h.nearest().square + v.nearest().square;
        best = std::min(best, smallest);
        const double reach = withinReach(best);
        // An infinite square never replaces a pair's first point: only there does it count.
        if (smallest <= reach && (std::isfinite(smallest) || !drawn))
            angles.push_back({ALFA, h.first, h.last, v.first, v.last, smallest});
        // Angles left behind by a nearer one are swept out now and then.
        if (angles.size() > 2 * keptAtLastSweep + 64) {
            std::erase_if(angles, [&](const Angle& a) { return a.smallest > reach; });
            keptAtLastSweep = angles.size();
        }
        drawn = true;
    }
    if (progress && !progress(total, total))
        return std::nullopt;

    // Then, at the angles that come near it, the pairs that do.
    const double reach = withinReach(best);
    std::vector<Near> near;
    for (const Angle& angle : angles) {
        if (angle.smallest > reach)
            continue;
        trig = formula.trig(angle.ALFA);
        std::tie(h.first, h.last, v.first, v.last) =
            std::tie(angle.hFirst, angle.hLast, angle.vFirst, angle.vLast);
        const Offset hNearest = h.nearest(), vNearest = v.nearest();
        near.push_back({h.around(hNearest, vNearest.square, reach),
                        v.around(vNearest, hNearest.square, reach)});
    }
    return nearestPair(near, reach);
}
