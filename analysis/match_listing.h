// The listing of the equal pairs, written as the new shingles are counted in order: each new
// shingle's text once for every source shingle it equals, each followed by a carriage return, as
// many entries as both bounds allow, and a closing "… (+K)" line for the entries left out. Where
// each entry starts is recorded as it is written, so that nothing needs to read the listing back.
#pragma once

#include "analysis.h"

#include <algorithm>
#include <string>
#include <vector>

namespace analysis::detail {

class MatchListingWriter
{
public:
    // Whether no more entries fit.
    bool isFull() const { return full_; }
    std::int64_t entries() const { return static_cast<std::int64_t>(starts_.size()); }

    // Lists a new shingle `matches` times, as far as the bounds allow: its text is `length` code
    // units long, and `append(text)` appends it. Gives the number of entries it took.
    template <typename Append>
    std::int64_t add(std::int64_t matches, std::size_t length, Append&& append)
    {
        std::int64_t taken = 0;
        for (; taken < matches && !full_; ++taken) {
            // Room left for the closing line, however many entries it may sum up.
            if (entries() == MatchListingLimit ||
                text_.size() + length + 1 > MatchListingCharacterLimit - LongestListingSummary) {
                full_ = true;
                break;
            }
            starts_.push_back(text_.size());
            append(text_);
            text_.push_back(u'\r');
        }
        return taken;
    }

    // The listing and the start of each entry, then where the entries end; `matchCount` entries
    // in all, of which those that did not fit are summed up in the closing line.
    void finish(std::int64_t matchCount, std::u16string& listing, std::vector<std::size_t>& starts)
    {
        const std::int64_t listed = entries();
        starts_.push_back(text_.size());
        if (matchCount > listed) {
            text_.append(u"\u2026 (+");
            const std::string omitted = std::to_string(matchCount - listed);
            text_.append(omitted.begin(), omitted.end());
            text_.append(u")\r");
        }
        listing = std::move(text_);
        starts = std::move(starts_);
    }

private:
    std::u16string text_;
    std::vector<std::size_t> starts_;
    bool full_ = false;
};

} // namespace analysis::detail
