#include "shingle_counts.h"

#include "keyed_hash.h"

#include <algorithm>
#include <limits>

namespace analysis::detail {

namespace {

// Ordinary text looks at two or three slots a shingle; text that makes the fixed hash look at
// more than 16 was made against it.
std::uint64_t ProbeBudget(std::size_t shingles)
{
    return 16 * static_cast<std::uint64_t>(shingles) + 1024;
}

struct FixedHash
{
    static constexpr bool Keyed = false;
    std::uint64_t operator()(std::u16string_view shingle) const { return HashShingle(shingle); }
};

struct KeyedHash
{
    static constexpr bool Keyed = true;
    HashKey key;
    std::uint64_t operator()(std::u16string_view shingle) const { return SipHash(key, shingle); }
};

// The first occurrence of a shingle stands for all equal ones. The table gives up once its
// probes pass the budget, and with the fixed hash also when two different shingles have the same
// hash: only text made for it does either.
//
// The table is far larger than the caches for long texts, so every probe would wait for memory:
// both filling and reading hash a batch of shingles first and prefetch their slots.
template <typename Hash> class ShingleTable
{
public:
    static constexpr std::size_t Ahead = 16;

    ShingleTable(std::span<const std::u16string_view> shingles, const Hash& hash,
                 std::uint64_t probeBudget)
        : keys_(shingles), hash_(hash), probeBudget_(probeBudget)
    {
        std::size_t capacity = 16;
        while (capacity < shingles.size() + shingles.size() / 2)
            capacity *= 2;
        slots_.resize(capacity);
        mask_ = capacity - 1;
        std::vector<std::uint64_t> hashes(shingles.size());
        for (std::size_t i = 0; i < shingles.size() && !gaveUp(); ++i) {
            hashes[i] = hash_(shingles[i]);
            if (i >= Ahead)
                add(i - Ahead, hashes[i - Ahead]);
            prefetch(hashes[i]);
        }
        for (std::size_t i = shingles.size() > Ahead ? shingles.size() - Ahead : 0;
             i < shingles.size() && !gaveUp(); ++i)
            add(i, hashes[i]);
    }

    std::uint64_t probes() const { return probes_; }
    bool gaveUp() const { return probes_ > probeBudget_; }

    void prefetch(std::uint64_t hash) const { __builtin_prefetch(&slots_[hash & mask_]); }

    std::int64_t countOf(std::u16string_view shingle, std::uint64_t hash)
    {
        for (std::size_t i = hash & mask_, probes = 1;; i = (i + 1) & mask_, ++probes) {
            const Slot& slot = slots_[i];
            if (slot.count == 0) {
                probes_ += probes;
                return 0;
            }
            if (slot.hash == hash) {
                if (keys_[slot.key] == shingle) {
                    probes_ += probes;
                    return slot.count;
                }
                twoShinglesOneHash();
            }
        }
    }

private:
    void twoShinglesOneHash()
    {
        if constexpr (!Hash::Keyed)
            probeBudget_ = 0;
    }

    struct Slot
    {
        std::uint64_t hash = 0;
        std::uint32_t key = 0;
        std::uint32_t count = 0;
    };

    void add(std::size_t index, std::uint64_t hash)
    {
        for (std::size_t i = hash & mask_, probes = 1;; i = (i + 1) & mask_, ++probes) {
            Slot& slot = slots_[i];
            if (slot.count == 0) {
                slot = {hash, static_cast<std::uint32_t>(index), 1};
                probes_ += probes;
                return;
            }
            if (slot.hash == hash) {
                if (keys_[slot.key] == keys_[index]) {
                    ++slot.count;
                    probes_ += probes;
                    return;
                }
                twoShinglesOneHash();
            }
        }
    }

    std::span<const std::u16string_view> keys_;
    Hash hash_;
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::uint64_t probes_ = 0;
    std::uint64_t probeBudget_;
};

// False when the table gave up; the probes count in any case.
template <typename Hash>
bool TryCount(std::span<const std::u16string_view> newText,
              std::span<const std::u16string_view> source, const Hash& hash,
              std::uint64_t probeBudget, MatchCounts& counts)
{
    ShingleTable<Hash> table(source, hash, probeBudget);
    const auto finish = [&](bool done) {
        counts.probes += table.probes();
        return done;
    };
    if (table.gaveUp())
        return finish(false);

    std::vector<std::uint64_t> hashes(newText.size());
    for (std::size_t i = 0; i < newText.size(); ++i)
        hashes[i] = hash(newText[i]);
    constexpr std::size_t Ahead = ShingleTable<Hash>::Ahead;
    for (std::size_t i = 0; i < std::min(Ahead, newText.size()); ++i)
        table.prefetch(hashes[i]);
    counts.perShingle.assign(newText.size(), 0);
    counts.total = 0;
    for (std::size_t i = 0; i < newText.size(); ++i) {
        if (i + Ahead < newText.size())
            table.prefetch(hashes[i + Ahead]);
        counts.perShingle[i] = table.countOf(newText[i], hashes[i]);
        counts.total += counts.perShingle[i];
        if (table.gaveUp())
            return finish(false);
    }
    return finish(true);
}

} // namespace

MatchCounts CountMatches(std::span<const std::u16string_view> newText,
                         std::span<const std::u16string_view> source)
{
    MatchCounts counts;
    if (!TryCount(newText, source, FixedHash(), ProbeBudget(newText.size() + source.size()),
                  counts)) {
        // Text made to collide under the fixed hash: a hash it cannot foresee, drawn afresh.
        TryCount(newText, source, KeyedHash{RandomHashKey()},
                 std::numeric_limits<std::uint64_t>::max(), counts);
    }
    return counts;
}

} // namespace analysis::detail
