// The buffers a compare fills, emptied for the next one. Edits grow them past what a compare of
// the same texts needs (a book pasted over an article after a compare), and their pages would
// stay resident as long as the tracker lives.
#pragma once

#include <cstddef>

namespace analysis::detail {

// Empties `buffer` (a vector or a string), giving its memory back when it holds room for more
// than a quarter over `needed` elements.
template <typename Buffer> void EmptyForRoom(Buffer& buffer, std::size_t needed)
{
    if (buffer.capacity() > needed + needed / 4)
        Buffer().swap(buffer);
    buffer.clear();
}

} // namespace analysis::detail
