// The listing of the equal pairs, written as the new shingles are counted in order: each new
// shingle's text once for every source shingle it equals, each followed by a carriage return, as
// many entries as both bounds allow, and a closing "… (+K)" line for the entries left out. Where
// each entry starts is recorded as it is written, so that nothing needs to read the listing back.
#pragma once

#include "analysis.h"
#include "character_scan.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace analysis::detail {

class MatchListingWriter
{
public:
    // Room for `characters` code units and `entries` entries, so that writing never copies.
    void reserve(std::size_t characters, std::size_t entries)
    {
        text_.reserve(std::min(characters, MatchListingCharacterLimit));
        starts_.reserve(std::min(entries, static_cast<std::size_t>(MatchListingLimit)) + 1);
    }

    std::int64_t entries() const { return static_cast<std::int64_t>(starts_.size()); }

    // Lists a new shingle `matches` times, as far as the bounds allow: its text is what
    // preparation keeps of `characters`. Gives the number of entries it took. Once an entry did
    // not fit, none after it is listed, however short: the listing is the entries' first part.
    std::int64_t add(std::int64_t matches, std::u16string_view characters)
    {
        if (full_)
            return 0;
        // The text is written where it stands, past its length, and taken back if it does not fit.
        makeRoom(length_ + characters.size());
        const std::size_t at = length_;
        const std::size_t kept = CopyKept(characters, text_.data() + at);
        std::int64_t taken = 0;
        for (; taken < matches; ++taken) {
            // Room left for the closing line, however many entries it may sum up.
            const std::size_t end = length_ + kept + 1;
            if (entries() == MatchListingLimit ||
                end > MatchListingCharacterLimit - LongestListingSummary) {
                full_ = true;
                break;
            }
            makeRoom(end);
            starts_.push_back(length_);
            if (taken > 0)
                std::copy_n(text_.data() + at, kept, text_.data() + length_);
            text_[length_ + kept] = u'\r';
            length_ += kept + 1;
        }
        return taken;
    }

    // The listing and the start of each entry, then where the entries end; `matchCount` entries
    // in all, of which those that did not fit are summed up in the closing line.
    void finish(std::int64_t matchCount, std::u16string& listing, std::vector<std::size_t>& starts)
    {
        text_.resize(length_);
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
    void makeRoom(std::size_t end)
    {
        if (text_.size() < end)
            text_.resize(std::max(2 * text_.size(), end));
    }

    // Written up to `length_`; what lies after it is room.
    std::u16string text_;
    std::size_t length_ = 0;
    std::vector<std::size_t> starts_;
    bool full_ = false;
};

} // namespace analysis::detail
