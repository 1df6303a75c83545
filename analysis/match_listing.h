// The listing of the equal pairs, as both comparisons build it: for each new shingle in order,
// its text once for every source shingle it equals, each followed by a carriage return, as many
// entries as both bounds allow, and a closing "… (+K)" line for the entries left out.
#pragma once

#include "analysis.h"

#include <algorithm>
#include <string>
#include <vector>

namespace analysis::detail {

struct MatchListing
{
    std::u16string text;
    std::int64_t entries = 0; // the entries it lists, less the closing line
};

// `lengthOf(i)` is the length of new shingle i; `append(i, listing)` appends its text.
template <typename LengthOf, typename Append>
MatchListing BuildMatchListing(const std::vector<std::int64_t>& matchesPerShingle,
                               std::int64_t matchCount, LengthOf&& lengthOf, Append&& append)
{
    // The entries from the first on, as many as both bounds allow.
    const std::size_t entryRoom = MatchListingCharacterLimit - LongestListingSummary;
    MatchListing listing;
    std::size_t length = 0;
    for (std::size_t i = 0; i < matchesPerShingle.size() && listing.entries < matchCount; ++i) {
        const std::size_t entry = lengthOf(i) + 1;
        std::int64_t take = std::min(matchesPerShingle[i], MatchListingLimit - listing.entries);
        if (static_cast<std::size_t>(take) * entry > entryRoom - length)
            take = static_cast<std::int64_t>((entryRoom - length) / entry);
        length += static_cast<std::size_t>(take) * entry;
        listing.entries += take;
        if (take < matchesPerShingle[i])
            break;
    }

    listing.text.reserve(length + LongestListingSummary);
    std::int64_t entries = 0;
    for (std::size_t i = 0; entries < listing.entries; ++i) {
        const std::int64_t take = std::min(matchesPerShingle[i], listing.entries - entries);
        for (std::int64_t k = 0; k < take; ++k) {
            append(i, listing.text);
            listing.text.push_back(u'\r');
        }
        entries += take;
    }
    if (matchCount > listing.entries) {
        listing.text.append(u"\u2026 (+");
        const std::string omitted = std::to_string(matchCount - listing.entries);
        listing.text.append(omitted.begin(), omitted.end());
        listing.text.append(u")\r");
    }
    return listing;
}

} // namespace analysis::detail
