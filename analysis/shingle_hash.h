// The hash of a shingle, made of the hashes of its words (the runs of characters between its
// spaces, empty ones included) so that each word of a text is hashed once however many shingles
// hold it. The characters preparation removes take no part. A fixed fast hash is tried first;
// text made against it is met with a hash it cannot foresee, SipHash under a key drawn from the
// system's random source.
#pragma once

#include "keyed_hash.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace analysis::detail {

// The last one to three code units of a text as a block, the first lowest, put together in
// registers: a copy of a few bytes into a block would go through memory and stall the load that
// reads it back.
inline std::uint64_t LastUnits(const char16_t* units, std::size_t count)
{
    std::uint64_t block = 0;
    switch (count) {
    case 3:
        block = std::uint64_t{units[2]} << 32;
        [[fallthrough]];
    case 2:
        block |= std::uint64_t{units[1]} << 16;
        [[fallthrough]];
    case 1:
        block |= units[0];
        break;
    default:
        break;
    }
    return block;
}

class ShingleHash
{
public:
    // The fixed hash.
    ShingleHash() = default;
    explicit ShingleHash(const HashKey& key) : key_(key) {}

    bool isKeyed() const { return key_.has_value(); }

    // The hash of a word, which holds no space; `removed` tells whether it holds characters that
    // preparation removes, which are then left out. `readable` code units from the word's start
    // may be read, the word's own and those after it.
    std::uint64_t word(std::u16string_view characters, bool removed, std::size_t readable) const
    {
        if (key_ || removed)
            return wordLeavingOut(characters);
        if (characters.size() <= 2 * BlockUnits && readable >= 2 * BlockUnits)
            return shortFixedHash(characters.data(), characters.size());
        return fixedHash(characters.data(), characters.size());
    }
    // A shingle's hash from its `count` words' hashes, `wordHash(i)` the i-th.
    template <typename WordHash> std::uint64_t combine(std::size_t count, WordHash&& wordHash) const
    {
        std::uint64_t hash = (key_ ? key_->k1 : 0) ^ (count * Multiplier);
        for (std::size_t i = 0; i < count; ++i)
            hash = step(hash, wordHash(i));
        hash *= Multiplier;
        return hash ^ (hash >> 32);
    }
    // The hash of the shingle [start, end) of a text, its words split at its spaces.
    std::uint64_t shingle(std::u16string_view text, std::size_t start, std::size_t end) const;

private:
    static constexpr std::uint64_t Multiplier = 0x9E3779B97F4A7C15ull;

    static std::uint64_t step(std::uint64_t hash, std::uint64_t block)
    {
        hash = (hash ^ block) * Multiplier;
        return hash ^ (hash >> 29);
    }

    static constexpr std::size_t BlockUnits = 4;

    // Multiply-xorshift over blocks of four code units, the last one filled up with zeros, and
    // at least two blocks: every block but the last stepped in, the last ended with the length.
    static std::uint64_t fixedHash(const char16_t* units, std::size_t size)
    {
        const auto blockAt = [units, size](std::size_t at) {
            if (at + BlockUnits <= size) {
                std::uint64_t block = 0;
                std::memcpy(&block, units + at, sizeof block);
                return block;
            }
            return at < size ? LastUnits(units + at, size - at) : 0;
        };
        std::uint64_t hash = step(Multiplier, blockAt(0));
        std::size_t at = BlockUnits;
        for (; at + BlockUnits < size; at += BlockUnits)
            hash = step(hash, blockAt(at));
        return end(hash, blockAt(at), size);
    }

    // The same for a word of up to two blocks with two blocks to read: without a branch, for a
    // branch on a word's length is mispredicted at nearly every word.
    static std::uint64_t shortFixedHash(const char16_t* units, std::size_t size)
    {
        static constexpr auto Masks = [] {
            std::array<std::array<std::uint64_t, 2>, 2 * BlockUnits + 1> masks{};
            for (std::size_t length = 0; length < masks.size(); ++length) {
                for (std::size_t unit = 0; unit < length; ++unit)
                    masks[length][unit / BlockUnits] |= std::uint64_t{0xFFFF}
                                                        << (16 * (unit % BlockUnits));
            }
            return masks;
        }();
        std::uint64_t blocks[2];
        std::memcpy(blocks, units, sizeof blocks);
        return end(step(Multiplier, blocks[0] & Masks[size][0]), blocks[1] & Masks[size][1], size);
    }

    static std::uint64_t end(std::uint64_t hash, std::uint64_t lastBlock, std::uint64_t length)
    {
        hash = (hash ^ lastBlock ^ (length << 48)) * Multiplier;
        return hash ^ (hash >> 32);
    }

    std::uint64_t wordLeavingOut(std::u16string_view characters) const;

    std::optional<HashKey> key_;
};

} // namespace analysis::detail
