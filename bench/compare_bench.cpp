// Speed of the compare the program runs (RepeatTracker::compare: both texts prepared, cut,
// counted, listed and located) on article-like texts, beside the naive matcher and the floor pass
// that any exact method must at least do, and on text made to collide; the goals are checked and
// printed at the end.
#include "analysis/analysis.h"
#include "analysis/repeat_tracker.h"
#include "analysis/shingle_hash.h"
#include "article_generator.h"
#include "support/colliding_text.h"
#include "support/reference.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

// Sizes in bytes of UTF-16 per side.
constexpr std::int64_t Kilobyte = 1024;
constexpr std::int64_t Sizes[] = {10 * Kilobyte, 100 * Kilobyte, 1024 * Kilobyte, 8192 * Kilobyte};

struct Pair
{
    std::u16string source;
    std::u16string newText;
};

const Pair& PairOfSize(std::int64_t bytes)
{
    static std::map<std::int64_t, Pair> pairs;
    auto [it, inserted] = pairs.try_emplace(bytes);
    if (inserted) {
        bench::ArticleGenerator generator(static_cast<unsigned>(bytes));
        it->second.source = generator.article(static_cast<std::size_t>(bytes / 2));
        it->second.newText = generator.rewrite(it->second.source);
    }
    return it->second;
}

void SetBytes(benchmark::State& state, const Pair& pair)
{
    state.SetBytesProcessed(
        state.iterations() *
        static_cast<std::int64_t>(2 * (pair.source.size() + pair.newText.size())));
}

// The compare as the program runs it: one tracker for every compare, the texts handed over as
// the panes hand them.
analysis::ComparisonResult Compared(const std::u16string& newText, const std::u16string& source)
{
    static analysis::RepeatTracker tracker;
    return std::get<analysis::ComparisonResult>(
        tracker.compare(analysis::EditableCopy(newText), analysis::EditableCopy(source)));
}

// Times `compare(pair)` on the pair of the state's size.
template <typename Compare> void TimeCompares(benchmark::State& state, Compare&& compare)
{
    const Pair& pair = PairOfSize(state.range(0));
    std::int64_t matches = 0;
    for (auto _ : state) {
        const analysis::ComparisonResult result = compare(pair);
        matches = result.MatchCount;
        benchmark::DoNotOptimize(result.MatchListing.data());
    }
    state.counters["matches"] = static_cast<double>(matches);
    SetBytes(state, pair);
}

void ComparePipeline(benchmark::State& state)
{
    TimeCompares(state, [](const Pair& pair) { return Compared(pair.newText, pair.source); });
}

// A compare again of the texts a tracker follows, as every compare after the first one runs.
void CompareHeld(benchmark::State& state)
{
    analysis::RepeatTracker tracker;
    TimeCompares(state, [&tracker](const Pair& pair) {
        if (!tracker.isActive())
            tracker.compare(analysis::EditableCopy(pair.newText),
                            analysis::EditableCopy(pair.source));
        return std::get<analysis::ComparisonResult>(tracker.compareHeld());
    });
}

// The compare and then every shingle folded, as the second source's worker does: a fresh
// tracker each time, so that no word is known beforehand.
void NearRepeats(benchmark::State& state)
{
    const Pair& pair = PairOfSize(state.range(0));
    std::size_t near = 0;
    for (auto _ : state) {
        analysis::RepeatTracker tracker;
        tracker.compare(analysis::EditableCopy(pair.newText), analysis::EditableCopy(pair.source));
        while (!tracker.foldSome(std::size_t{1} << 16)) {
        }
        near = tracker.nearRepeatCount();
    }
    state.counters["near"] = static_cast<double>(near);
    SetBytes(state, pair);
}

void NaiveMatcher(benchmark::State& state)
{
    const Pair& pair = PairOfSize(state.range(0));
    for (auto _ : state) {
        const auto newList = analysis::ExtractShingles(analysis::PrepareText(pair.newText));
        const auto sourceList = analysis::ExtractShingles(analysis::PrepareText(pair.source));
        analysis::ComparisonResult result;
        benchmark::DoNotOptimize(reference::CompareShingleLists(newList, sourceList, result));
    }
    SetBytes(state, pair);
}

// Multiply-xorshift over four code units at a time, as the compare's fixed hash does it.
std::uint64_t FloorHash(std::u16string_view text)
{
    constexpr std::uint64_t Multiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t hash = text.size() * Multiplier;
    const char16_t* data = text.data();
    std::size_t remaining = text.size();
    for (; remaining >= 4; remaining -= 4, data += 4) {
        std::uint64_t word = 0;
        std::memcpy(&word, data, sizeof word);
        hash = (hash ^ word) * Multiplier;
        hash ^= hash >> 29;
    }
    hash = (hash ^ analysis::detail::LastUnits(data, remaining)) * Multiplier;
    return hash ^ (hash >> 32);
}

// Splits a text at spaces, copies every three-word window once and hashes it.
std::uint64_t FloorPassOne(const std::u16string& text, std::u16string& copies)
{
    std::uint64_t sum = 0;
    std::size_t starts[3] = {0, 0, 0};
    int words = 0;
    std::size_t start = 0;
    copies.clear();
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u' ')
            continue;
        starts[words % 3] = start;
        ++words;
        if (words >= 3) {
            const std::size_t windowStart = starts[words % 3];
            const std::size_t offset = copies.size();
            copies.append(text, windowStart, i - windowStart);
            sum += FloorHash(std::u16string_view(copies).substr(offset, i - windowStart));
        }
        start = i + 1;
    }
    return sum;
}

void FloorPass(benchmark::State& state)
{
    const Pair& pair = PairOfSize(state.range(0));
    std::u16string copies;
    copies.reserve(4 * (pair.source.size() + pair.newText.size()));
    for (auto _ : state) {
        benchmark::DoNotOptimize(FloorPassOne(pair.source, copies));
        benchmark::DoNotOptimize(FloorPassOne(pair.newText, copies));
    }
    SetBytes(state, pair);
}

// The compare and the floor pass in turn on the same pair, each timed on its own: two benchmarks
// run one after the other meet a shared machine in different moods, and the goal reads the
// ratio of the medians taken side by side.
void CompareBesideFloor(benchmark::State& state)
{
    const Pair& pair = PairOfSize(state.range(0));
    std::u16string copies;
    copies.reserve(4 * (pair.source.size() + pair.newText.size()));
    std::vector<double> compares;
    std::vector<double> floors;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(Compared(pair.newText, pair.source).MatchCount);
        const auto compared = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(FloorPassOne(pair.source, copies) +
                                 FloorPassOne(pair.newText, copies));
        const auto floored = std::chrono::steady_clock::now();
        compares.push_back(std::chrono::duration<double>(compared - start).count());
        floors.push_back(std::chrono::duration<double>(floored - compared).count());
    }
    const auto median = [](std::vector<double>& times) {
        std::ranges::nth_element(times,
                                 times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2));
        return times[times.size() / 2];
    };
    state.counters["compare_ms"] = median(compares) * 1e3;
    state.counters["floor_ms"] = median(floors) * 1e3;
    state.counters["ratio"] = median(compares) / median(floors);
}

void TextStatistics(benchmark::State& state)
{
    const Pair& pair = PairOfSize(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(analysis::ComputeTextStatistics(pair.newText));
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(2 * pair.newText.size()));
}

// The same three words repeated 100,000 times in both texts: N x S equal pairs.
void PathologicalRepeats(benchmark::State& state)
{
    std::u16string text;
    for (int i = 0; i < 100'000; ++i)
        text += u"да нет да ";
    for (auto _ : state) {
        std::int64_t matches = Compared(text, text).MatchCount;
        benchmark::DoNotOptimize(matches);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

// A text compared with itself, as both panes would hold it.
void CompareWithItself(benchmark::State& state, const std::u16string& text)
{
    for (auto _ : state) {
        auto matches = Compared(text, text).MatchCount;
        benchmark::DoNotOptimize(matches);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(4 * text.size()));
}

// Text made for the fixed hash, a megabyte a side: a third of its shingles share one slot.
void CollidingText(benchmark::State& state)
{
    const std::u16string text =
        testsupport::SameSlotText(static_cast<int>(Sizes[2] / 2 / 12)); // "a b xxxx " is 12
    CompareWithItself(state, text);
}

// Ordinary text of the colliding text's shape: "a b" and a word of four letters drawn at random,
// so that only the collisions tell the two apart.
void SameShapeText(benchmark::State& state)
{
    const int count = static_cast<int>(Sizes[2] / 2 / 12);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> letter(0, 31);
    std::u16string text;
    for (int made = 0; made < count; ++made) {
        text += u"a b ";
        for (int i = 0; i < 4; ++i)
            text += static_cast<char16_t>(u'\u0430' + letter(random));
        text += u' ';
    }
    CompareWithItself(state, text);
}

// What the goals compare runs nine times each, and the goals take the medians: on a shared
// machine one run may fall in a neighbour's burst.
constexpr int GoalRepetitions = 9;
BENCHMARK(ComparePipeline)
    ->Arg(Sizes[0])
    ->Arg(Sizes[1])
    ->Arg(Sizes[3])
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ComparePipeline)
    ->Arg(Sizes[2])
    ->Repetitions(GoalRepetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(CompareHeld)
    ->Arg(Sizes[2])
    ->Repetitions(GoalRepetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(FloorPass)->Arg(Sizes[0])->Arg(Sizes[1])->Arg(Sizes[3])->Unit(benchmark::kMillisecond);
BENCHMARK(FloorPass)
    ->Arg(Sizes[2])
    ->Repetitions(GoalRepetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(CompareBesideFloor)->Arg(Sizes[2])->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(NaiveMatcher)->Arg(Sizes[0])->Arg(Sizes[1])->Unit(benchmark::kMillisecond)->MinTime(1);
BENCHMARK(NearRepeats)->Arg(Sizes[2])->Arg(Sizes[3])->Unit(benchmark::kMillisecond);
BENCHMARK(TextStatistics)->Arg(Sizes[2])->Unit(benchmark::kMillisecond);
BENCHMARK(SameShapeText)
    ->Repetitions(GoalRepetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(CollidingText)
    ->Repetitions(GoalRepetitions)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PathologicalRepeats)->Unit(benchmark::kMillisecond)->Iterations(3);

// Keeps each run's time per iteration so that the goals can be checked afterwards.
class GoalReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        // A repeated run counts by its median; its other figures are only shown.
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")
                continue;
            seconds_[run.run_name.function_name + "/" + run.run_name.args] =
                run.GetAdjustedRealTime() / 1e3;
            if (const auto ratio = run.counters.find("ratio"); ratio != run.counters.end())
                besideFloor_ = ratio->second;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printGoals() const
    {
        const auto ratio = [this](const std::string& a, const std::string& b) {
            const auto x = seconds_.find(a);
            const auto y = seconds_.find(b);
            return x == seconds_.end() || y == seconds_.end() ? -1.0 : x->second / y->second;
        };
        const std::string big = std::to_string(Sizes[2]);
        const std::string mid = std::to_string(Sizes[1]);
        // Taken side by side where that ran, else from the two benchmarks apart.
        const double pipelineToFloor =
            besideFloor_ >= 0 ? besideFloor_ : ratio("ComparePipeline/" + big, "FloorPass/" + big);
        const double naiveToPipeline = ratio("NaiveMatcher/" + mid, "ComparePipeline/" + mid);
        std::printf("\nGoal: the compare at 1 MB within 1.25x the floor pass: %.2fx %s\n",
                    pipelineToFloor,
                    pipelineToFloor >= 0 && pipelineToFloor <= 1.25 ? "met" : "NOT MET");
        std::printf("Goal: the compare at 100 KB at least 200x faster than naive: %.0fx %s\n",
                    naiveToPipeline, naiveToPipeline >= 200 ? "met" : "NOT MET");
        const double collidingToOrdinary = ratio("CollidingText/", "SameShapeText/");
        std::printf("Goal: text made to collide within 2x ordinary text of its shape at 1 MB: "
                    "%.2fx %s\n",
                    collidingToOrdinary,
                    collidingToOrdinary >= 0 && collidingToOrdinary <= 2 ? "met" : "NOT MET");
        const auto near = seconds_.find("NearRepeats/" + big);
        if (near != seconds_.end())
            std::printf("Goal: the near repeats of 1 MB x 1 MB, compare included, under 1 s: "
                        "%.3f s %s\n",
                        near->second, near->second < 1 ? "met" : "NOT MET");
        const auto repeats = seconds_.find("PathologicalRepeats/");
        if (repeats != seconds_.end())
            std::printf("Goal: 100,000 repeats in both texts under 1 s: %.3f s %s\n",
                        repeats->second, repeats->second < 1 ? "met" : "NOT MET");
    }

private:
    std::map<std::string, double> seconds_;
    double besideFloor_ = -1;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    GoalReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printGoals();
    benchmark::Shutdown();
    return 0;
}
