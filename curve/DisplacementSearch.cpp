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

// The search walks the plot's angles once for all pairs. At an angle a point's x depends on
// SPTX alone and its y on SPTY alone, and each coordinate is monotone in its bar's position
// (each step of the formula is), so:
// - the positions of a bar whose coordinate is still within the bounds form an interval, and
//   the pairs still drawing are the product of the two bars' intervals;
// - the smallest dx² at an angle is next to where dx changes sign, found by halving, and the
//   smallest squared distance of the pairs still drawing is the sum of the two bars' smallest.
// The pairs whose sum comes within a hair of the smallest so far are kept with the distance
// the plot would measure; at the end, each pair's first smallest square is its nearest point,
// as in the plot, and the nearest of those pairs wins.

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
    void around(const Offset& nearest, double otherSmallest, double reach,
                std::vector<Offset>& out) const {
        out.clear();
        const auto close = [&](const Offset& o) { return o.square + otherSmallest <= reach; };
        for (int p = nearest.position; p >= first; --p) {
            const Offset o = of(p);
            if (!close(o))
                break;
            out.push_back(o);
        }
        for (int p = nearest.position + 1; p <= last; ++p) {
            const Offset o = of(p);
            if (!close(o))
                break;
            out.push_back(o);
        }
    }
};

template <typename Coordinate>
Bar<Coordinate> bar(int first, int last, double target, Coordinate coordinate) {
    return {first, last, target, coordinate};
}

// A pair's squared distance at one angle, and the distance the plot would measure there.
struct Candidate {
    std::int16_t h, v;
    double squared, distance;
};

// The plot's nearest point of each pair that kept candidates is its first smallest square;
// of those pairs, the nearest, then the smallest |h| + |v|, h, v.
std::optional<Displacements> nearestPair(std::vector<Candidate>& candidates) {
    std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
        return std::tie(a.h, a.v) < std::tie(b.h, b.v);
    });
    const auto key = [](const Candidate& c) {
        return std::make_tuple(c.distance, std::abs(c.h) + std::abs(c.v), c.h, c.v);
    };
    std::optional<Candidate> best;
    for (auto pair = candidates.begin(); pair != candidates.end();) {
        auto nearest = pair, next = pair;
        for (; next != candidates.end() && next->h == pair->h && next->v == pair->v; ++next)
            if (next->squared < nearest->squared)
                nearest = next;
        if (!best || key(*nearest) < key(*best))
            best = *nearest;
        pair = next;
    }
    if (!best)
        return std::nullopt;
    return Displacements{best->h, best->v, best->distance};
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

    const std::int64_t total = std::int64_t(90 / step) + 1;
    std::int64_t done = 0;
    std::vector<Candidate> candidates;
    std::size_t keptAtLastSweep = 0;
    std::vector<Offset> hs, vs;
    double best = std::numeric_limits<double>::infinity();
    bool drawn = false;
    for (double ALFA = 0; ALFA <= 90; ALFA += step) {
        if (++done % 4096 == 0 && progress && !progress(done, total))
            return std::nullopt;
        trig = formula.trig(ALFA);
        if (!trig.hasPoint())
            continue;
        const bool hDraws = h.narrow([&](double PX) { return bounds.holdsX(PX); });
        if (!hDraws || !v.narrow([&](double PY) { return bounds.holdsY(PY); }))
            break;
        const auto hNearest = h.nearest(), vNearest = v.nearest();
        const double smallest = hNearest.square + vNearest.square;
        best = std::min(best, smallest);
        const double reach = withinReach(best);
        // An infinite square never replaces a pair's first point: only there does it count.
        if (smallest <= reach && (std::isfinite(smallest) || !drawn)) {
            h.around(hNearest, vNearest.square, reach, hs);
            v.around(vNearest, hNearest.square, reach, vs);
            for (const auto& x : hs)
                for (const auto& y : vs)
                    if (const double squared = x.square + y.square; squared <= reach)
                        candidates.push_back({std::int16_t(x.position), std::int16_t(y.position),
                                              squared, std::hypot(x.offset, y.offset)});
            // Candidates left behind by a better angle are swept out now and then.
            if (candidates.size() > 2 * keptAtLastSweep + 1024) {
                std::erase_if(candidates, [&](const Candidate& c) { return c.squared > reach; });
                keptAtLastSweep = candidates.size();
            }
        }
        drawn = true;
    }
    if (progress && !progress(total, total))
        return std::nullopt;
    const double reach = withinReach(best);
    std::erase_if(candidates, [&](const Candidate& c) { return c.squared > reach; });
    return nearestPair(candidates);
}
