#include "shingle_classes.h"

#include "buffer_room.h"

namespace analysis::detail {

bool KeptEqual(const ClassCharacters& a, const ClassCharacters& b)
{
    // Shingles copied from one text to the other are the same characters, punctuation included.
    if (a.end - a.start == b.end - b.start &&
        (a.end == a.start || std::memcmp(a.text.data() + a.start, b.text.data() + b.start,
                                         (a.end - a.start) * sizeof(char16_t)) == 0))
        return true;
    std::size_t i = a.start;
    std::size_t k = b.start;
    while (true) {
        while (i < a.end && !Kept(a.text[i]))
            ++i;
        while (k < b.end && !Kept(b.text[k]))
            ++k;
        if (i == a.end || k == b.end)
            return i == a.end && k == b.end;
        if (a.text[i++] != b.text[k++])
            return false;
    }
}

ShingleClasses::ShingleClasses(std::size_t expected, ShingleHash hash)
{
    reset(expected, hash);
}

void ShingleClasses::reset(std::size_t expected, ShingleHash hash)
{
    hash_ = hash;
    // Filled to at most three quarters before it grows.
    std::size_t capacity = 16;
    while (capacity * 3 < expected * 4)
        capacity *= 2;
    EmptyForRoom(slots_, capacity);
    slots_.assign(capacity, 0);
    old_ = std::vector<std::uint64_t>();
    moving_ = 0;
    filled_ = 0;
    EmptyForRoom(entries_, expected);
    entries_.reserve(expected);
    EmptyForRoom(flags_, expected);
    flags_.reserve(expected);
    EmptyForRoom(store_, 0);
    storedClasses_ = 0;
    probes_ = 0;
    lookups_ = 0;
    sameHash_ = false;
}

void ShingleClasses::keep(std::uint32_t shingleClass, const ClassCharacters& characters)
{
    const std::size_t position = store_.size();
    store_.resize(position + 2 + (characters.end - characters.start));
    const std::size_t length =
        CopyKept(characters.text.substr(characters.start, characters.end - characters.start),
                 store_.data() + position + 2);
    store_.resize(position + 2 + length);
    assert(store_.size() <= std::numeric_limits<std::uint32_t>::max());
    store_[position] = static_cast<char16_t>(length & 0xFFFF);
    store_[position + 1] = static_cast<char16_t>(length >> 16);
    entries_[shingleClass].position = static_cast<std::uint32_t>(position);
    flags_[shingleClass] |= Stored;
    ++storedClasses_;
}

} // namespace analysis::detail
