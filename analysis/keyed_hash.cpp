#include "keyed_hash.h"

#include <bit>
#include <cstring>
#include <random>

namespace analysis::detail {

namespace {

struct SipState
{
    std::uint64_t v0;
    std::uint64_t v1;
    std::uint64_t v2;
    std::uint64_t v3;

    void round()
    {
        v0 += v1;
        v1 = std::rotl(v1, 13);
        v1 ^= v0;
        v0 = std::rotl(v0, 32);
        v2 += v3;
        v3 = std::rotl(v3, 16);
        v3 ^= v2;
        v0 += v3;
        v3 = std::rotl(v3, 21);
        v3 ^= v0;
        v2 += v1;
        v1 = std::rotl(v1, 17);
        v1 ^= v2;
        v2 = std::rotl(v2, 32);
    }

    void absorb(std::uint64_t block)
    {
        v3 ^= block;
        round();
        round();
        v0 ^= block;
    }
};

} // namespace

HashKey RandomHashKey()
{
    std::random_device source;
    const auto draw = [&source] {
        return static_cast<std::uint64_t>(source()) << 32 | static_cast<std::uint64_t>(source());
    };
    return {draw(), draw()};
}

std::uint64_t SipHash(const HashKey& key, const unsigned char* bytes, std::size_t size)
{
    SipState state{key.k0 ^ 0x736f6d6570736575ull, key.k1 ^ 0x646f72616e646f6dull,
                   key.k0 ^ 0x6c7967656e657261ull, key.k1 ^ 0x7465646279746573ull};
    std::size_t remaining = size;
    for (; remaining >= 8; remaining -= 8, bytes += 8) {
        std::uint64_t block = 0;
        std::memcpy(&block, bytes, sizeof block);
        state.absorb(block);
    }
    std::uint64_t last = static_cast<std::uint64_t>(size) << 56;
    for (std::size_t i = 0; i < remaining; ++i)
        last |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    state.absorb(last);
    state.v2 ^= 0xff;
    for (int i = 0; i < 4; ++i)
        state.round();
    return state.v0 ^ state.v1 ^ state.v2 ^ state.v3;
}

} // namespace analysis::detail
