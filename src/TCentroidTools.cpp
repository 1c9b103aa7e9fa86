// Devices for speed in the range-edge analyses. Each must give the very
// bits of a simple algorithm, and a test runs that algorithm beside it:
// - Ordinate order (SelectionSortOrder): a tournament tree yields the order
//   of an exchange selection sort (for each position, swap in the first
//   strictly smallest key of the rest) in O(n log n) instead of O(n^2), ties
//   included. Held by EdgeSubpopulationTest's
//   SortOnOrdinateMatchesTheExchangeSortOnAnyKeys, which runs that sort.
// - Edge series (EdgeSeries): instead of gathering each year's subpopulation
//   with GetSubpopulation and taking its centroid, the walks of all years
//   advance together patch by patch in ordinate order, each patch's
//   populations read in one sweep, and each keeps only how many steps it
//   took and what its crossing patch kept. The centroids are then summed
//   patch by patch in name order, each patch added to every year whose walk
//   reached it, so that each year's sums take their terms in name order as
//   the centroid of its subpopulation does. Year totals (SpanTotals) are
//   summed patch by patch in name order, the order SumPopulations adds them
//   in. Held by EdgeSubpopulationTest's
//   SeriesEqualTheCentroidsOfEachYearsSubpopulation: random landscapes
//   compared bit for bit with the per-year subpopulations.
// - Occupied run (HasOccupiedRun): one pass keeping the current run length
//   instead of trying every start position; held by PatchCleaningTest's
//   KeepsPatchesWithALongEnoughOccupiedRun.

#include "TCentroidTools.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <numeric>
#include <utility>

#include "TError.h"
#include "TPointTools.h"

namespace {

// A patch that takes part in a centroid: its position in the collection's
// name order and the population it weighs with.
struct Member {
  std::size_t rank;
  double population;
};

double SumOver(const std::vector<const TPatch*>& list, int32_t year) {
  double total = 0.0;
  for (const TPatch* patch : list) {
    if (const double* population = patch->FindYear(year)) total += *population;
  }
  return total;
}

// The patches of `list` that hold `year`, in name order.
std::vector<Member> Holders(const std::vector<const TPatch*>& list,
                            int32_t year) {
  std::vector<Member> members;
  for (std::size_t rank = 0; rank < list.size(); ++rank) {
    if (const double* population = list[rank]->FindYear(year)) {
      members.push_back({rank, *population});
    }
  }
  return members;
}

// Mean position of the members with a population above 0; members must be
// in name order, which is the order of the sums.
TPoint MeanOf(const std::vector<const TPatch*>& list,
              const std::vector<Member>& members) {
  double sx = 0.0;
  double sy = 0.0;
  std::size_t count = 0;
  for (const Member& member : members) {
    if (member.population > 0.0) {
      sx += list[member.rank]->GetX();
      sy += list[member.rank]->GetY();
      ++count;
    }
  }
  const double n = static_cast<double>(count);
  return TPoint(sx / n, sy / n);
}

// Population-weighted centroid of the members, in name order.
TPoint WeightedMeanOf(const std::vector<const TPatch*>& list,
                      const std::vector<Member>& members) {
  double sx = 0.0;
  double sy = 0.0;
  double sp = 0.0;
  for (const Member& member : members) {
    const double p = member.population;
    sx += list[member.rank]->GetX() * p;
    sy += list[member.rank]->GetY() * p;
    sp += p;
  }
  return TPoint(sx / sp, sy / sp);
}

// Whether `threshold` consecutive entries of the patch's year list hold a
// population other than 0. One pass tracking the current run keeps the same
// patches as trying every start position; threshold 0 keeps every patch and
// a negative one none, as that search does.
bool HasOccupiedRun(const TPatch& patch, int32_t threshold) {
  if (threshold <= 0) return threshold == 0;
  int64_t run = 0;
  for (double population : patch.GetPopulations()) {
    run = population != 0.0 ? run + 1 : 0;
    if (run >= threshold) return true;
  }
  return false;
}

// Orders keys as `<` does, with NaN above everything, so that the order is
// strict and weak even when a coordinate is not a number.
bool KeyLess(double a, double b) {
  return !std::isnan(a) && (std::isnan(b) || a < b);
}

// The permutation that an exchange selection sort (for each position, swap
// in the first strictly smallest key of the rest) applies to `keys`, found
// in O(n log n): a tournament tree over the positions not yet fixed yields
// that first smallest key at every step. Its ties, including the order
// that exchanges leave among equal keys, are exactly those of the sort.
std::vector<std::size_t> SelectionSortOrder(std::vector<double> keys) {
  const std::size_t n = keys.size();
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  if (n < 2) return order;
  constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
  std::size_t leaves = 1;
  while (leaves < n) leaves *= 2;
  std::vector<std::size_t> tree(2 * leaves, kNone);
  // Left holds smaller positions than right; on equal keys the left wins.
  auto winner = [&keys](std::size_t left, std::size_t right) {
    if (left == kNone) return right;
    if (right == kNone) return left;
    return KeyLess(keys[right], keys[left]) ? right : left;
  };
  auto update = [&](std::size_t position, std::size_t value) {
    std::size_t node = leaves + position;
    tree[node] = value;
    for (node /= 2; node >= 1; node /= 2) {
      tree[node] = winner(tree[2 * node], tree[2 * node + 1]);
    }
  };
  for (std::size_t i = 0; i < n; ++i) tree[leaves + i] = i;
  for (std::size_t node = leaves - 1; node >= 1; --node) {
    tree[node] = winner(tree[2 * node], tree[2 * node + 1]);
  }
  for (std::size_t i = 0; i + 1 < n; ++i) {
    // A NaN at position i is never beaten: nothing compares below it.
    const std::size_t m = std::isnan(keys[i]) ? i : tree[1];
    std::swap(keys[i], keys[m]);
    std::swap(order[i], order[m]);
    update(i, kNone);
    if (m != i) update(m, m);
  }
  return order;
}

// Positions in `list` (name order) sorted along the axis.
std::vector<std::size_t> OrdinateOrder(const std::vector<const TPatch*>& list,
                                       char axis) {
  std::vector<double> keys;
  keys.reserve(list.size());
  for (const TPatch* patch : list) {
    keys.push_back(axis == 'X' ? patch->GetX() : patch->GetY());
  }
  return SelectionSortOrder(std::move(keys));
}

// The total population of every year of `years` (a year span), as
// SumPopulations gives it. Summed patch by patch in name order, so each
// year's total sees its terms in the same order, while every patch's
// populations are read in one sweep instead of one lookup per year.
std::vector<double> SpanTotals(const std::vector<const TPatch*>& list,
                               const std::vector<int32_t>& years) {
  std::vector<double> totals(years.size(), 0.0);
  if (years.empty()) return totals;
  for (const TPatch* patch : list) {
    const std::vector<double>& populations = patch->GetPopulations();
    // A patch's years lie in the span, so as many populations as the span
    // has years means one for each year, in the span's order: the layout of
    // every patch read from an MP file, summed without a year list. The two
    // lists never overlap, which lets the compiler add several years at a
    // time; each year's sum still takes its terms in the same order.
    if (populations.size() == years.size()) {
      double* __restrict sums = totals.data();
      const double* __restrict terms = populations.data();
      for (std::size_t i = 0; i < years.size(); ++i) sums[i] += terms[i];
      continue;
    }
    const std::vector<int32_t> held = patch->GetYearList();
    for (std::size_t i = 0; i < held.size(); ++i) {
      totals[static_cast<std::size_t>(int64_t{held[i]} - years.front())] +=
          populations[i];
    }
  }
  return totals;
}

// An edge walk of one year: patches are taken in ordinate order until
// their populations reach the target. The one rule of the walk, for
// GetSubpopulation and the edge series alike.
struct EdgeWalk {
  double target = 0.0;
  double accumulated = 0.0;

  // Whether the walk takes further patches. A target of 0 or less, or NaN,
  // takes none.
  bool Walking() const { return target > accumulated; }
  // Takes a patch holding `population` and returns what it contributes:
  // all of it, or for the patch that crosses the target only the part
  // still missing.
  double Take(double population) {
    const double before = accumulated;
    accumulated += population;
    return accumulated > target ? target - before : population;
  }
};

// One year's edge walk in progress, and once done how far it went. Its
// members are the patches of the first `steps` steps of the walk that hold
// the year (the plain mean counts only the occupied ones); each keeps its
// population except the patch that crossed the target, the last one, which
// keeps `crossing_kept`. So no member list is held while the walks go on.
struct YearWalk {
  EdgeWalk walk;
  std::size_t steps = 0;
  bool crossed = false;
  double crossing_kept = 0.0;
};

// One year's centroid in the making: the sums MeanOf (count, x, y) or
// WeightedMeanOf (x and y times the population, the population) form, with
// the members added in name order as there.
struct CentroidSums {
  double x = 0.0;
  double y = 0.0;
  double weight = 0.0;
  std::size_t count = 0;

  // Adds a member at (px, py) holding `population`; the plain mean counts
  // it only when occupied.
  void Add(double px, double py, double population, bool weighted) {
    if (weighted) {
      x += px * population;
      y += py * population;
      weight += population;
    } else if (population > 0.0) {
      x += px;
      y += py;
      ++count;
    }
  }

  TPoint Centroid(bool weighted) const {
    if (weighted) return TPoint(x / weight, y / weight);
    const double n = static_cast<double>(count);
    return TPoint(x / n, y / n);
  }
};

// The edge centroid series without building a collection per year: the
// members each year's subpopulation would hold, with the populations it
// would hold, summed in name order as its centroid sums them.
// The walks of all years advance together, patch by patch in ordinate
// order: each step reads one patch's populations front to back for the
// years still walking, instead of visiting the patches anew every year.
std::unique_ptr<TCentroids> EdgeSeries(const TPatches& patches, double share,
                                       char axis, bool fromStart,
                                       bool weighted) {
  const std::vector<const TPatch*> list = patches.GetPatchList();
  const std::vector<std::size_t> order = OrdinateOrder(list, axis);
  const std::vector<int32_t> years = TCentroidTools::MakeYearList(patches);
  const std::vector<double> totals = SpanTotals(list, years);
  // The patches in walk order. As in SpanTotals, a patch holding every year
  // of the span holds year index i at position i, found without a lookup;
  // the others (null here) are looked up by year.
  std::vector<std::size_t> walk_ranks(order.size());
  std::vector<const double*> walk_spans(order.size());
  for (std::size_t step = 0; step < order.size(); ++step) {
    const std::size_t rank = order[fromStart ? step : order.size() - 1 - step];
    const std::vector<double>& populations = list[rank]->GetPopulations();
    walk_ranks[step] = rank;
    walk_spans[step] =
        populations.size() == years.size() ? populations.data() : nullptr;
  }
  auto population_at = [&](std::size_t step, std::size_t index) {
    return walk_spans[step] != nullptr
               ? walk_spans[step] + index
               : list[walk_ranks[step]]->FindYear(years[index]);
  };
  std::vector<YearWalk> walks(years.size());
  std::vector<std::size_t> walking;
  for (std::size_t index = 0; index < years.size(); ++index) {
    walks[index].walk.target = totals[index] * share;
    if (walks[index].walk.Walking()) {
      walks[index].steps = order.size();
      walking.push_back(index);
    }
  }
  for (std::size_t step = 0; step < order.size() && !walking.empty(); ++step) {
    std::size_t still_walking = 0;
    for (std::size_t index : walking) {
      YearWalk& year_walk = walks[index];
      if (const double* population = population_at(step, index)) {
        const double kept = year_walk.walk.Take(*population);
        if (!year_walk.walk.Walking()) {
          year_walk.steps = step + 1;
          year_walk.crossed = true;
          year_walk.crossing_kept = kept;
          continue;
        }
      }
      walking[still_walking++] = index;
    }
    walking.resize(still_walking);
  }
  // Each year's centroid sums its members in name order. Taking the
  // patches in name order and adding each to every year whose walk reached
  // it gives each year's sums the same terms in the same order, while every
  // patch's populations are read in one sweep. The years are ranked by how
  // many patches their walks took whole, deepest first, so that the years
  // holding the patch of a given step whole are a leading run of that
  // ranking, and those it crossed in follow them: each patch visits just
  // the years it belongs to.
  std::vector<std::size_t> step_of_rank(list.size());
  for (std::size_t step = 0; step < walk_ranks.size(); ++step) {
    step_of_rank[walk_ranks[step]] = step;
  }
  auto whole_steps = [&walks](std::size_t index) {
    return walks[index].steps - (walks[index].crossed ? 1 : 0);
  };
  std::vector<std::size_t> by_depth(years.size());
  std::iota(by_depth.begin(), by_depth.end(), std::size_t{0});
  std::sort(by_depth.begin(), by_depth.end(),
            [&whole_steps](std::size_t a, std::size_t b) {
              return whole_steps(a) > whole_steps(b);
            });
  std::size_t deepest = 0;
  for (const YearWalk& year_walk : walks) {
    deepest = std::max(deepest, year_walk.steps);
  }
  // whole_at_least[s]: how many years took at least s patches whole, for
  // s up to the deepest walk; the years that took more than s come first.
  std::vector<std::size_t> whole_at_least(deepest + 2, 0);
  for (std::size_t j = 0, s = deepest + 1; s-- > 0;) {
    while (j < by_depth.size() && whole_steps(by_depth[j]) >= s) ++j;
    whole_at_least[s] = j;
  }
  std::vector<CentroidSums> sums(years.size());
  for (std::size_t rank = 0; rank < list.size(); ++rank) {
    const std::size_t step = step_of_rank[rank];
    if (step >= deepest) continue;
    const double x = list[rank]->GetX();
    const double y = list[rank]->GetY();
    const std::size_t whole = whole_at_least[step + 1];
    for (std::size_t j = 0; j < whole; ++j) {
      const std::size_t index = by_depth[j];
      if (const double* population = population_at(step, index)) {
        sums[index].Add(x, y, *population, weighted);
      }
    }
    for (std::size_t j = whole; j < whole_at_least[step]; ++j) {
      const std::size_t index = by_depth[j];
      if (walks[index].crossed) {
        sums[index].Add(x, y, walks[index].crossing_kept, weighted);
      }
    }
  }
  auto series = std::make_unique<TCentroids>("");
  for (std::size_t index = 0; index < years.size(); ++index) {
    series->SetCoords(years[index], sums[index].Centroid(weighted));
  }
  return series;
}

std::vector<TPoint> PointsOf(const TCentroids& series,
                             const std::vector<int32_t>& years) {
  std::vector<TPoint> points;
  points.reserve(years.size());
  for (int32_t year : years) points.push_back(series.GetCoords(year));
  return points;
}

void RequireWindow(int32_t window, const char* operation) {
  if (window < 1) {
    throw TError(std::string(operation) + ": window size " +
                     std::to_string(window) + " is below 1",
                 TError::Kind::kInternal);
  }
}

// Windows of `window` consecutive positions in a list of `n`: the number
// of them, 0 when the list is shorter.
std::size_t WindowCount(std::size_t n, int32_t window) {
  const std::size_t w = static_cast<std::size_t>(window);
  return n >= w ? n - w + 1 : 0;
}

// The sums of the x and of the y values of `count` points from `first` on,
// each added left to right. A NaN sum stays NaN whatever is added to it, so
// the rest is skipped once both sums are NaN: the empty years of a year span
// stretched by a far-off start year have NaN centroids, and a long window
// over them would otherwise add millions of terms per window for nothing.
TPoint WindowSum(const std::vector<TPoint>& points, std::size_t first,
                 std::size_t count) {
  double sx = 0.0;
  double sy = 0.0;
  for (std::size_t j = first; j < first + count; ++j) {
    sx += points[j].X();
    sy += points[j].Y();
    if (std::isnan(sx) && std::isnan(sy)) break;
  }
  return TPoint(sx, sy);
}

}  // namespace

std::vector<int32_t> TCentroidTools::MakeYearList(const TPatches& patches) {
  const std::vector<const TPatch*> list = patches.GetPatchList();
  if (list.empty()) return {};
  int32_t lo = list[0]->GetMinYear();
  int32_t hi = list[0]->GetMaxYear();
  for (std::size_t i = 1; i < list.size(); ++i) {
    if (list[i]->GetMinYear() < lo) lo = list[i]->GetMinYear();
    if (list[i]->GetMaxYear() > hi) hi = list[i]->GetMaxYear();
  }
  if (hi < lo) return {};
  const int64_t span = int64_t{hi} - lo + 1;
  if (span > kMaxYearSpan) {
    // The maximum year never drops below 0, so patches whose years are all
    // negative stretch the span up to year 0.
    throw TError("the years run from " + std::to_string(lo) + " to " +
                 std::to_string(hi) + ": a span of " + std::to_string(span) +
                 " years, more than the " + std::to_string(kMaxYearSpan) +
                 " this tool analyses (check startyear)");
  }
  std::vector<int32_t> years(static_cast<std::size_t>(span));
  for (std::size_t i = 0; i < years.size(); ++i) {
    years[i] = static_cast<int32_t>(lo + static_cast<int64_t>(i));
  }
  return years;
}

double TCentroidTools::SumPopulations(const TPatches& patches, int32_t year) {
  return SumOver(patches.GetPatchList(), year);
}

std::vector<TPoint> TCentroidTools::GetNonzeroPoints(const TPatches& patches,
                                                     int32_t year) {
  std::vector<TPoint> points;
  for (const TPatch* patch : patches.GetPatchList()) {
    const double* population = patch->FindYear(year);
    if (population != nullptr && *population > 0.0) {
      points.push_back(patch->GetCoordinates());
    }
  }
  return points;
}

TPoint TCentroidTools::Means(const TPatches& patches, int32_t year) {
  const std::vector<const TPatch*> list = patches.GetPatchList();
  return MeanOf(list, Holders(list, year));
}

TPoint TCentroidTools::WeightedMeans(const TPatches& patches, int32_t year) {
  const std::vector<const TPatch*> list = patches.GetPatchList();
  return WeightedMeanOf(list, Holders(list, year));
}

std::unique_ptr<TCentroids> TCentroidTools::Means(const TPatches& patches) {
  auto series = std::make_unique<TCentroids>("");
  for (int32_t year : MakeYearList(patches)) {
    series->SetCoords(year, Means(patches, year));
  }
  return series;
}

std::unique_ptr<TCentroids> TCentroidTools::WeightedMeans(
    const TPatches& patches) {
  auto series = std::make_unique<TCentroids>("");
  for (int32_t year : MakeYearList(patches)) {
    series->SetCoords(year, WeightedMeans(patches, year));
  }
  return series;
}

std::unique_ptr<TPatches> TCentroidTools::CleanPatches(const TPatches& patches,
                                                       int32_t threshold) {
  auto cleaned = std::make_unique<TPatches>();
  cleaned->SetResolution(patches.GetResolution());
  for (const TPatch* patch : patches.GetPatchList()) {
    if (HasOccupiedRun(*patch, threshold)) cleaned->AddPatch(patch->Clone());
  }
  return cleaned;
}

std::vector<std::string> TCentroidTools::SortOnOrdinate(const TPatches& patches,
                                                        char axis) {
  const std::vector<std::string> names = patches.GetNames();
  std::vector<std::string> sorted;
  sorted.reserve(names.size());
  for (std::size_t position : OrdinateOrder(patches.GetPatchList(), axis)) {
    sorted.push_back(names[position]);
  }
  return sorted;
}

std::unique_ptr<TPatches> TCentroidTools::GetSubpopulation(
    const TPatches& patches, std::vector<std::string> names, double share,
    int32_t year, bool fromStart) {
  auto subpopulation = std::make_unique<TPatches>();
  EdgeWalk walk;
  walk.target = SumPopulations(patches, year) * share;
  // Never past either end of the list, even when the target is not reached.
  for (std::size_t step = 0; step < names.size() && walk.Walking(); ++step) {
    const TPatch& patch =
        patches.GetPatch(names[fromStart ? step : names.size() - 1 - step]);
    const double* population = patch.FindYear(year);
    if (population == nullptr) continue;
    std::unique_ptr<TPatch> copy = patch.ShallowClone();
    copy->SetYear(year, walk.Take(*population));
    subpopulation->AddPatch(std::move(copy));
  }
  return subpopulation;
}

std::unique_ptr<TCentroids> TCentroidTools::GetSubpopulationMeans(
    const TPatches& patches, double share, char axis, bool fromStart) {
  return EdgeSeries(patches, share, axis, fromStart, false);
}

std::unique_ptr<TCentroids> TCentroidTools::GetSubpopulationWeightedMeans(
    const TPatches& patches, double share, char axis, bool fromStart) {
  return EdgeSeries(patches, share, axis, fromStart, true);
}

std::unique_ptr<TCentroids> TCentroidTools::MovingAverage(
    const TCentroids& series, int32_t window) {
  RequireWindow(window, "MovingAverage");
  const std::vector<int32_t> years = series.GetYearList();
  const std::vector<TPoint> points = PointsOf(series, years);
  const std::size_t w = static_cast<std::size_t>(window);
  const std::size_t centre = (w - 1) / 2;
  auto smoothed = std::make_unique<TCentroids>("");
  for (std::size_t i = 0; i < WindowCount(years.size(), window); ++i) {
    const TPoint sum = WindowSum(points, i, w);
    const double divisor = static_cast<double>(window);
    smoothed->SetCoords(years[i + centre],
                        TPoint(sum.X() / divisor, sum.Y() / divisor));
  }
  return smoothed;
}

std::unique_ptr<TCentroids> TCentroidTools::ExponentialSmoothing(
    const TCentroids& series, double alpha) {
  const std::vector<int32_t> years = series.GetYearList();
  auto smoothed = std::make_unique<TCentroids>("");
  if (years.empty()) return smoothed;
  TPoint previous = series.GetCoords(years[0]);
  smoothed->SetCoords(years[0], previous);
  for (std::size_t k = 1; k < years.size(); ++k) {
    const TPoint current = series.GetCoords(years[k]);
    previous = TPoint((current.X() - previous.X()) * alpha + previous.X(),
                      (current.Y() - previous.Y()) * alpha + previous.Y());
    smoothed->SetCoords(years[k], previous);
  }
  return smoothed;
}

std::unique_ptr<TCentroids> TCentroidTools::MedianSmoothing(
    const TCentroids& series, int32_t window) {
  RequireWindow(window, "MedianSmoothing");
  const std::vector<int32_t> years = series.GetYearList();
  const std::vector<TPoint> points = PointsOf(series, years);
  const std::size_t w = static_cast<std::size_t>(window);
  // The lower median; it sits at the same position in the window as the
  // year it is stored under.
  const std::size_t rank = (w - 1) / 2;
  auto smoothed = std::make_unique<TCentroids>("");
  // The work lists are only made when a window fits: a window far longer
  // than the series must not allocate its size.
  const std::size_t windows = WindowCount(years.size(), window);
  if (windows == 0) return smoothed;
  std::vector<double> xs(w);
  std::vector<double> ys(w);
  for (std::size_t i = 0; i < windows; ++i) {
    for (std::size_t j = 0; j < w; ++j) {
      xs[j] = points[i + j].X();
      ys[j] = points[i + j].Y();
    }
    std::stable_sort(xs.begin(), xs.end(), KeyLess);
    std::stable_sort(ys.begin(), ys.end(), KeyLess);
    smoothed->SetCoords(years[i + rank], TPoint(xs[rank], ys[rank]));
  }
  return smoothed;
}

std::vector<double> TCentroidTools::MovingAverageSmoothing(
    std::vector<double> values, int32_t window) {
  RequireWindow(window, "MovingAverageSmoothing");
  const std::size_t w = static_cast<std::size_t>(window);
  std::vector<double> means;
  for (std::size_t i = 0; i < WindowCount(values.size(), window); ++i) {
    double sum = 0.0;
    for (std::size_t j = i; j < i + w; ++j) sum += values[j];
    means.push_back(sum / static_cast<double>(window));
  }
  return means;
}

std::vector<double> TCentroidTools::ExponentialSmoothing(
    std::vector<double> values, double alpha) {
  std::vector<double> smoothed;
  smoothed.reserve(values.size());
  for (std::size_t k = 0; k < values.size(); ++k) {
    if (k == 0) {
      smoothed.push_back(values[0]);
    } else {
      const double previous = smoothed[k - 1];
      smoothed.push_back((values[k] - previous) * alpha + previous);
    }
  }
  return smoothed;
}

std::unique_ptr<TCentroids> TCentroidTools::GetRangeCoordShifts(
    const TCentroids& series, int32_t burnIn) {
  const std::vector<int32_t> years = series.GetYearList();
  if (burnIn < 0 || static_cast<std::size_t>(burnIn) >= years.size()) {
    throw TError("GetRangeCoordShifts: burn-in " + std::to_string(burnIn) +
                     " is outside 0 to " + std::to_string(years.size()) +
                     " - 1, the positions of the series",
                 TError::Kind::kInternal);
  }
  const TPoint reference = series.GetCoords(years[burnIn]);
  auto shifts = std::make_unique<TCentroids>("");
  for (std::size_t k = static_cast<std::size_t>(burnIn); k < years.size();
       ++k) {
    shifts->SetCoords(years[k], reference.Diff(series.GetCoords(years[k])));
  }
  return shifts;
}

std::unique_ptr<TCentroids> TCentroidTools::GetDiffInitial(const TCentroids& a,
                                                           const TCentroids& c,
                                                           int32_t burnIn) {
  const std::vector<int32_t> years = c.GetYearList();
  if (years.empty() || burnIn < 0 ||
      static_cast<std::size_t>(burnIn) > years.size()) {
    throw TError("GetDiffInitial: burn-in " + std::to_string(burnIn) +
                     " is outside 0 to " + std::to_string(years.size()) +
                     ", or the series is empty",
                 TError::Kind::kInternal);
  }
  const std::size_t reference_position =
      burnIn > 0 ? static_cast<std::size_t>(burnIn) - 1 : 0;
  const TPoint reference = a.GetCoords(years[reference_position]);
  auto differences = std::make_unique<TCentroids>("");
  for (std::size_t k = static_cast<std::size_t>(burnIn); k < years.size();
       ++k) {
    differences->SetCoords(years[k], reference.Diff(c.GetCoords(years[k])));
  }
  return differences;
}

std::unique_ptr<TCentroids> TCentroidTools::GetPropInitialRangeCoordShifts(
    const TCentroids& a, const TCentroids& c, int32_t burnIn) {
  if (burnIn < 0 || static_cast<std::size_t>(burnIn) >= c.GetNumYears()) {
    throw TError("GetPropInitialRangeCoordShifts: burn-in " +
                     std::to_string(burnIn) + " is outside 0 to " +
                     std::to_string(c.GetNumYears()) +
                     " - 1, the positions of the series",
                 TError::Kind::kInternal);
  }
  const std::unique_ptr<TCentroids> differences = GetDiffInitial(a, c, burnIn);
  const std::vector<int32_t> years = differences->GetYearList();
  const TPoint base = differences->GetCoords(years[0]);
  const double bx = std::fabs(base.X());
  const double by = std::fabs(base.Y());
  auto percentages = std::make_unique<TCentroids>("");
  for (int32_t year : years) {
    const TPoint p = differences->GetCoords(year);
    percentages->SetCoords(
        year, TPoint((std::fabs(std::fabs(p.X()) - bx) / bx) * 100.0,
                     (std::fabs(std::fabs(p.Y()) - by) / by) * 100.0));
  }
  return percentages;
}

std::unique_ptr<TCentroids> TCentroidTools::GetDiffs(const TCentroids& a,
                                                     const TCentroids& c) {
  auto differences = std::make_unique<TCentroids>("");
  for (int32_t year : a.GetYearList()) {
    differences->SetCoords(year, a.GetCoords(year).Diff(c.GetCoords(year)));
  }
  return differences;
}

std::unique_ptr<TCentroids> TCentroidTools::GetYearlyRangeCoordShifts(
    const TCentroids& series) {
  const std::vector<int32_t> years = series.GetYearList();
  auto shifts = std::make_unique<TCentroids>("");
  for (std::size_t k = 1; k < years.size(); ++k) {
    // The calendar year before, not the previous entry: a gap is an error.
    const int32_t year = years[k];
    shifts->SetCoords(year,
                      series.GetCoords(year).Diff(series.GetCoords(year - 1)));
  }
  return shifts;
}

std::unique_ptr<TCentroids> TCentroidTools::GetPropYearlyRangeCoordShifts(
    const TCentroids& a, const TCentroids& c) {
  const std::unique_ptr<TCentroids> differences = GetDiffs(a, c);
  const std::unique_ptr<TCentroids> yearly = GetYearlyRangeCoordShifts(c);
  auto percentages = std::make_unique<TCentroids>("");
  for (int32_t year : yearly->GetYearList()) {
    const TPoint d = differences->GetCoords(year);
    const TPoint v = yearly->GetCoords(year);
    percentages->SetCoords(
        year, TPoint((v.X() / d.X()) * 100.0, (v.Y() / d.Y()) * 100.0));
  }
  return percentages;
}

double TCentroidTools::GetMCPArea(const TPatches& patches, int32_t year) {
  const std::vector<TPoint> hull =
      TPointTools::FindConvexHull(GetNonzeroPoints(patches, year));
  if (hull.empty()) return 0.0;
  return TPointTools::FindConvexPolygonArea(hull);
}

std::vector<double> TCentroidTools::GetMCPAreas(const TPatches& patches) {
  std::vector<double> areas;
  for (int32_t year : MakeYearList(patches)) {
    areas.push_back(GetMCPArea(patches, year));
  }
  return areas;
}
