// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "DisplacementSearch.h"

#include "CurveFormula.h"
#include "CurveModel.h"
#include "Single.h"

#include <algorithm>
#include <bit>
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
// - a bar's squared offset from the target falls and then rises along its positions, so the
//   smallest dx² is next to where dx changes sign, found by halving, and the smallest square of
//   the pairs still drawing is the sum of the two bars' smallest.
// The walks, each over the plot's own angles:
// 1. the smallest square of all, m;
// 2. the pairs that reach m, each at the first angle where it does: that is its nearest point,
//    as in the plot, and the nearest of them wins the first round;
// 3. a pair that never reaches m can still tie or beat that distance only through the rounding
//    of squares and hypot, so only when its square comes within a hair of m: those pairs whose
//    distance there is no larger are suspects;
// 4. each suspect walked on its own, as its plot would, for its own nearest point.
// Walk 1 keeps the few angles near m for walks 2 and 3, unless there are too many: then they
// walk every angle again and end once no pair is left that they could change. Besides those
// angles, a bit per pair and the suspects (a batch at a time) are all that is held, so memory
// does not grow with the angles times the pairs.

namespace {

// Far beyond the rounding of squares, sums and hypot: a pair whose smallest square is beyond it
// is farther than any pair that reaches m.
double reachOf(double m) {
    return m + m * 0x1p-46 + 0x1p-1000;
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

    Offset of(int position) const {
        const double o = coordinate(position) - target;
        return {position, o, o * o};
    }

    // Keeps the positions whose coordinate is within the bounds at this angle too, telling
    // gone(position) of each position that leaves.
    template <typename Holds, typename Gone> bool narrow(Holds holds, Gone gone) {
        while (first <= last && !holds(coordinate(first)))
            gone(first++);
        while (first <= last && !holds(coordinate(last)))
            gone(last--);
        return first <= last;
    }

    // The position with the smallest square of the offset from the target.
    Offset nearest() const {
        const bool rising = of(first).offset <= of(last).offset;
        // The first position whose offset has reached 0, or last when none has.
        int low = first, high = last;
        while (low < high) {
            const int middle = low + (high - low) / 2;
            const double o = of(middle).offset;
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

    // The positions around the nearest one whose square, added to add, is at most limit: the
    // sum only grows away from the nearest position. Empty (first > last) when none is.
    std::pair<int, int> within(const Offset& nearest, double add, double limit) const {
        const auto close = [&](int p) { return of(p).square + add <= limit; };
        if (!close(nearest.position))
            return {1, 0};
        int low = first, high = nearest.position; // the first close one on the left
        while (low < high) {
            const int middle = low + (high - low) / 2;
            if (close(middle))
                high = middle;
            else
                low = middle + 1;
        }
        const int left = low;
        low = nearest.position;
        high = last; // the last close one on the right
        while (low < high) {
            const int middle = high - (high - low) / 2;
            if (close(middle))
                low = middle;
            else
                high = middle - 1;
        }
        return {left, low};
    }
};

template <typename Coordinate>
Bar<Coordinate> bar(int first, int last, double target, Coordinate coordinate) {
    return {first, last, target, coordinate};
}

// The order of the answers: the nearest, then the smallest |SPTX| + |SPTY|, SPTX, SPTY.
auto orderOf(const Displacements& d) {
    return std::make_tuple(d.distance, std::abs(d.SPTX) + std::abs(d.SPTY), d.SPTX, d.SPTY);
}

void keepBetter(std::optional<Displacements>& best, const Displacements& pair) {
    if (!best || orderOf(pair) < orderOf(*best))
        best = pair;
}

// A bit for each pair of the ranges, by row and column from 0.
class PairSet {
public:
    PairSet(int rows, int columns)
        : words_(std::size_t(columns + 63) / 64), bits_(std::size_t(rows) * words_) {}

    bool has(int row, int column) const { return word(row, column) & mask(column); }
    void add(int row, int column) { word(row, column) |= mask(column); }
    // How many of the columns from first to last of the row are in the set.
    int count(int row, int first, int last) const {
        int n = 0;
        for (int c = first; c <= last;) {
            const int bit = c % 64, take = std::min(64 - bit, last - c + 1);
            const std::uint64_t bits = word(row, c) >> bit;
            n += std::popcount(take == 64 ? bits : bits & ((std::uint64_t(1) << take) - 1));
            c += take;
        }
        return n;
    }
    // Calls f(column) for each column from first to last of the row not in the set.
    template <typename F> void forEachMissing(int row, int first, int last, F f) const {
        for (int c = first; c <= last;) {
            const int bit = c % 64, take = std::min(64 - bit, last - c + 1);
            std::uint64_t missing = ~(word(row, c) >> bit);
            if (take < 64)
                missing &= (std::uint64_t(1) << take) - 1;
            while (missing) {
                f(c + std::countr_zero(missing));
                missing &= missing - 1;
            }
            c += take;
        }
    }

private:
    std::uint64_t& word(int row, int column) {
        return bits_[std::size_t(row) * words_ + std::size_t(column / 64)];
    }
    std::uint64_t word(int row, int column) const {
        return bits_[std::size_t(row) * words_ + std::size_t(column / 64)];
    }
    static std::uint64_t mask(int column) { return std::uint64_t(1) << (column % 64); }

    std::size_t words_;
    std::vector<std::uint64_t> bits_;
};

// Reports the walks' progress in angles, never past the total and never the same figure twice.
class Progress {
public:
    Progress(const SearchProgress& report, std::int64_t perWalk)
        : report_(report), perWalk_(perWalk), total_(Walks * perWalk) {}
    static constexpr int Walks = 4;

    // Within the given walk (0 to Walks - 1), done angles of it; false to stop.
    bool at(int walk, double doneInWalk) {
        const std::int64_t inWalk = std::int64_t(std::min(doneInWalk, double(perWalk_)));
        const std::int64_t done = std::min(total_, walk * perWalk_ + inWalk);
        if (!report_ || done <= last_)
            return true;
        last_ = done;
        return report_(done, total_);
    }
    bool finished() { return at(Walks, 0); }
    std::int64_t perWalk() const { return perWalk_; }

private:
    const SearchProgress& report_;
    std::int64_t perWalk_, total_;
    std::int64_t last_ = 0;
};

// The positions of both bars still drawing.
struct Drawing {
    int hFirst, hLast, vFirst, vLast;
};

// What the walks share: the plot's formula, bounds and angles, the ranges, the pairs that reach
// the smallest square and the best answer so far.
class Search {
public:
    Search(const PlotRecord& plot, const DisplacementRanges& ranges, const SearchProgress& report)
        : formula_(formulaOf(plot)), bounds_(CurveModel::boundsFor(plot.Incr)),
          step_(2 / plot.INST), RAX_(plot.RAX), RAY_(plot.RAY), ranges_(ranges),
          rows_(std::max(0, ranges.hLast - ranges.hFirst + 1)),
          columns_(std::max(0, ranges.vLast - ranges.vFirst + 1)),
          progress_(report, std::int64_t(std::min(90 / step_, 1e15)) + 1),
          reached_(rows_, columns_) {}

    std::optional<Displacements> run() {
        if (!(step_ > 0) || rows_ == 0 || columns_ == 0)
            return std::nullopt;
        const std::optional<double> smallest = smallestSquare();
        if (!smallest)
            return std::nullopt;
        smallest_ = *smallest;
        reach_ = reachOf(smallest_);
        if (!pairsReachingSmallest() || !findSuspects() || !walkSuspects() || !progress_.finished())
            return std::nullopt;
        return best_;
    }

private:
    // The angles walk 1 keeps for the others: where the smallest square came within reach of
    // the smallest so far, with the positions drawing there. Past this many, the others walk
    // every angle again.
    static constexpr std::size_t MostKept = 1 << 14;
    struct Kept {
        double ALFA;
        Drawing drawing;
        double smallest;
    };

    static CurveFormula formulaOf(PlotRecord values) {
        values.P1 = DegreeInRadians;
        return CurveFormula::of(values);
    }

    auto hBar(int first, int last) {
        return bar(first, last, RAX_, [this](int p) { return formula_.x(trig_, std::int16_t(p)); });
    }
    auto vBar(int first, int last) {
        return bar(first, last, RAY_, [this](int p) { return formula_.y(trig_, std::int16_t(p)); });
    }

    // Walks the plot's angles with the pairs still drawing at each: at(h, v) where there is a
    // point, gone(position, horizontal, drawing) for each bar position that leaves, with the
    // positions drawing just before it left. Stops where no pair draws any more or at returns
    // false. The progress reported is from's share of the walk's angles onwards, part of them a
    // walk; false when the progress asked to stop.
    template <typename At, typename Gone>
    bool walk(int number, At at, Gone gone, double from = 0, double part = 1) {
        trig_ = {};
        auto h = hBar(ranges_.hFirst, ranges_.hLast);
        auto v = vBar(ranges_.vFirst, ranges_.vLast);
        const double start = from * double(progress_.perWalk());
        std::int64_t index = 0;
        for (double ALFA = 0; ALFA <= 90; ALFA += step_, ++index) {
            if (index % 4096 == 0 && !progress_.at(number, start + part * double(index)))
                return false;
            trig_ = formula_.trig(ALFA);
            if (!trig_.hasPoint())
                continue;
            const Drawing before{h.first, h.last, v.first, v.last};
            const bool hDraws = h.narrow([&](double PX) { return bounds_.holdsX(PX); },
                                         [&](int p) { gone(p, true, before); });
            const Drawing rowsLeft{h.first, h.last, v.first, v.last};
            if (!hDraws || !v.narrow([&](double PY) { return bounds_.holdsY(PY); },
                                     [&](int p) { gone(p, false, rowsLeft); }))
                break;
            if (!at(ALFA, h, v))
                break;
        }
        return true;
    }

    // The angles where the smallest square comes within limit, with the pairs drawing there:
    // the kept ones, or every angle walked again. at returns whether pairs are left for it.
    template <typename At> bool anglesWithin(int number, double limit, At at) {
        unreached_ = std::int64_t(rows_) * columns_ - reachedCount_;
        if (keptAll_) {
            for (std::size_t i = 0; i < kept_.size(); ++i) {
                const Kept& k = kept_[i];
                if (i % 256 == 0 && !progress_.at(number, double(progress_.perWalk()) * double(i) /
                                                              double(kept_.size())))
                    return false;
                if (!(k.smallest <= limit))
                    continue;
                trig_ = formula_.trig(k.ALFA);
                const auto h = hBar(k.drawing.hFirst, k.drawing.hLast);
                const auto v = vBar(k.drawing.vFirst, k.drawing.vLast);
                if (!at(h, v))
                    break;
            }
            return true;
        }
        return walk(
            number,
            [&](double, const auto& h, const auto& v) {
                return !(h.nearest().square + v.nearest().square <= limit) || at(h, v);
            },
            [&](int p, bool horizontal, const Drawing& drawing) { leave(p, horizontal, drawing); });
    }

    // Walk 1: the smallest square of all, keeping the angles that may come near it; nothing
    // when no pair draws a point.
    std::optional<double> smallestSquare() {
        std::optional<double> best;
        std::size_t keptAtLastSweep = 0;
        const bool walked = walk(
            0,
            [&](double ALFA, const auto& h, const auto& v) {
                const double square = h.nearest().square + v.nearest().square;
                best = best ? std::min(*best, square) : square;
                if (!keptAll_)
                    return true;
                const double reach = reachOf(*best);
                if (square <= reach)
                    kept_.push_back({ALFA, {h.first, h.last, v.first, v.last}, square});
                // Angles left behind by a nearer one are swept out now and then.
                if (kept_.size() > 2 * keptAtLastSweep + 64) {
                    std::erase_if(kept_, [&](const Kept& k) { return !(k.smallest <= reach); });
                    keptAtLastSweep = kept_.size();
                    if (kept_.size() > MostKept) {
                        keptAll_ = false;
                        kept_ = {};
                    }
                }
                return true;
            },
            [](int, bool, const Drawing&) {});
        return walked ? best : std::nullopt;
    }

    bool rowAllReached(int position, int vFirst, int vLast) const {
        return reached_.count(position - ranges_.hFirst, vFirst - ranges_.vFirst,
                              vLast - ranges_.vFirst) == vLast - vFirst + 1;
    }

    // A bar position leaves a walk of every angle: the pairs of its row that still drew (the
    // columns still drawing), or of its column (the rows), leave the count of those unreached.
    void leave(int position, bool horizontal, const Drawing& drawing) {
        if (horizontal) {
            unreached_ -= (drawing.vLast - drawing.vFirst + 1) -
                          reached_.count(position - ranges_.hFirst, drawing.vFirst - ranges_.vFirst,
                                         drawing.vLast - ranges_.vFirst);
            return;
        }
        const int column = position - ranges_.vFirst;
        for (int row = drawing.hFirst - ranges_.hFirst; row <= drawing.hLast - ranges_.hFirst;
             ++row)
            if (!reached_.has(row, column))
                --unreached_;
    }

    // Walk 2: each pair that reaches the smallest square, at the first angle where it does: its
    // nearest point.
    bool pairsReachingSmallest() {
        return anglesWithin(1, smallest_, [&](const auto& h, const auto& v) {
            const Offset hNearest = h.nearest(), vNearest = v.nearest();
            const auto [rowFirst, rowLast] = h.within(hNearest, vNearest.square, smallest_);
            for (int hp = rowFirst; hp <= rowLast; ++hp) {
                if (rowAllReached(hp, v.first, v.last))
                    continue;
                const Offset x = h.of(hp);
                const auto [first, last] = v.within(vNearest, x.square, smallest_);
                if (first > last)
                    continue;
                const int row = hp - ranges_.hFirst;
                reached_.forEachMissing(
                    row, first - ranges_.vFirst, last - ranges_.vFirst, [&](int column) {
                        const Offset y = v.of(column + ranges_.vFirst);
                        reached_.add(row, column);
                        ++reachedCount_;
                        --unreached_;
                        keepBetter(best_, {std::int16_t(hp), std::int16_t(y.position),
                                           std::hypot(x.offset, y.offset)});
                    });
            }
            return unreached_ > 0;
        });
    }

    // Walk 3: the pairs that never reach the smallest square but come within reach of it at a
    // distance no larger than the best one's.
    bool findSuspects() {
        if (!(reach_ > smallest_) || reachedCount_ == std::int64_t(rows_) * columns_)
            return true;
        const double bestDistance = best_->distance;
        // No distance is below either offset: past the first offset beyond the best distance,
        // a side is done, since offsets only grow away from the nearest positions.
        const auto beyond = [&](const Offset& x, const Offset& y) {
            return std::max(std::abs(x.offset), std::abs(y.offset)) > bestDistance;
        };
        PairSet suspected(rows_, columns_);
        return anglesWithin(2, reach_, [&](const auto& h, const auto& v) {
            const Offset hNearest = h.nearest(), vNearest = v.nearest();
            // The pairs of one row within reach, from a column outwards on one side, up to and
            // without the columns that reach the smallest square.
            const auto columns = [&](const Offset& x, int from, int to, int direction) {
                const int row = x.position - ranges_.hFirst;
                for (int p = from; direction < 0 ? p >= to : p <= to; p += direction) {
                    const Offset y = v.of(p);
                    if (beyond(x, y))
                        return;
                    const int column = p - ranges_.vFirst;
                    if (reached_.has(row, column) || suspected.has(row, column) ||
                        std::hypot(x.offset, y.offset) > bestDistance)
                        continue;
                    suspected.add(row, column);
                    suspects_.push_back({std::int16_t(x.position), std::int16_t(p)});
                }
            };
            const auto rows = [&](int from, int direction) {
                for (int hp = from; hp >= h.first && hp <= h.last; hp += direction) {
                    const Offset x = h.of(hp);
                    if (!(x.square + vNearest.square <= reach_) || beyond(x, vNearest))
                        return;
                    if (rowAllReached(hp, v.first, v.last))
                        continue;
                    const auto [first, last] = v.within(vNearest, x.square, reach_);
                    const auto [inFirst, inLast] = v.within(vNearest, x.square, smallest_);
                    if (inFirst > inLast) {
                        columns(x, vNearest.position, first, -1);
                        columns(x, vNearest.position + 1, last, 1);
                    } else {
                        columns(x, inFirst - 1, first, -1);
                        columns(x, inLast + 1, last, 1);
                    }
                }
            };
            rows(hNearest.position, -1);
            rows(hNearest.position + 1, 1);
            return unreached_ > 0;
        });
    }

    // Walk 4: each suspect as its own plot walks it, taking the first of its smallest squares,
    // a batch at a time so that memory stays small whatever their number.
    bool walkSuspects() {
        struct Walked {
            std::int16_t SPTX, SPTY;
            double square = std::numeric_limits<double>::quiet_NaN();
            double distance = 0;
            bool drawing = true;
        };
        constexpr std::size_t Batch = 1 << 15;
        const std::size_t batches = (suspects_.size() + Batch - 1) / Batch;
        for (std::size_t b = 0; b < batches; ++b) {
            std::vector<Walked> walked;
            for (std::size_t i = b * Batch; i < std::min(suspects_.size(), (b + 1) * Batch); ++i)
                walked.push_back({suspects_[i].first, suspects_[i].second});
            std::size_t drawing = walked.size();
            const bool went = walk(
                3,
                [&](double, const auto& h, const auto& v) {
                    for (Walked& w : walked) {
                        if (!w.drawing)
                            continue;
                        if (w.SPTX < h.first || w.SPTX > h.last || w.SPTY < v.first ||
                            w.SPTY > v.last) {
                            w.drawing = false;
                            --drawing;
                            continue;
                        }
                        const Offset x = h.of(w.SPTX), y = v.of(w.SPTY);
                        const double square = x.square + y.square;
                        if (!(square >= w.square)) {
                            w.square = square;
                            w.distance = std::hypot(x.offset, y.offset);
                        }
                    }
                    return drawing > 0;
                },
                [](int, bool, const Drawing&) {}, double(b) / double(batches), 1 / double(batches));
            if (!went)
                return false;
            for (const Walked& w : walked)
                keepBetter(best_, {w.SPTX, w.SPTY, w.distance});
        }
        return true;
    }

    CurveFormula formula_;
    PlotBounds bounds_;
    double step_;
    double RAX_, RAY_;
    DisplacementRanges ranges_;
    int rows_, columns_;
    Progress progress_;
    CurveFormula::Trig trig_{};
    std::vector<Kept> kept_;
    bool keptAll_ = true;
    double smallest_ = 0, reach_ = 0;
    PairSet reached_;
    std::int64_t reachedCount_ = 0;
    // Of the pairs still drawing in a walk of every angle, those that did not reach the smallest
    // square; in a walk of the kept angles, of all pairs.
    std::int64_t unreached_ = 0;
    std::optional<Displacements> best_;
    std::vector<std::pair<std::int16_t, std::int16_t>> suspects_;
};

} // namespace

std::optional<Displacements> nearestDisplacements(const PlotRecord& plot,
                                               const DisplacementRanges& ranges,
                                               const SearchProgress& progress) {
    return Search(plot, ranges, progress).run();
}
