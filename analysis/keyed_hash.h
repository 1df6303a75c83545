// SipHash-2-4: a hash whose values cannot be foreseen without its key, so that no text can be
// made to collide on purpose once the key is drawn at random.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace analysis::detail {

struct HashKey
{
    std::uint64_t k0 = 0;
    std::uint64_t k1 = 0;
};

// A key from the system's random source; a text cannot know it.
HashKey RandomHashKey();

std::uint64_t SipHash(const HashKey& key, const unsigned char* bytes, std::size_t size);

inline std::uint64_t SipHash(const HashKey& key, std::u16string_view text)
{
    // An empty view may hold no pointer at all.
    static constexpr unsigned char Nothing = 0;
    return SipHash(key,
                   text.empty() ? &Nothing : reinterpret_cast<const unsigned char*>(text.data()),
                   text.size() * sizeof(char16_t));
}

} // namespace analysis::detail
