#include "analysis.h"
#include "shingle_counts.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace analysis {

namespace {

constexpr char16_t CarriageReturn = u'\r';

std::u16string BuildMatchListing(std::span<const std::u16string_view> newText,
                                 const std::vector<std::int64_t>& matchesPerShingle,
                                 std::int64_t matchCount)
{
    // The entries from the first on, as many as both bounds allow.
    const std::size_t entryRoom = MatchListingCharacterLimit - LongestListingSummary;
    std::int64_t listed = 0;
    std::size_t length = 0;
    for (std::size_t i = 0; i < newText.size() && listed < matchCount; ++i) {
        const std::size_t entry = newText[i].size() + 1;
        std::int64_t take = std::min(matchesPerShingle[i], MatchListingLimit - listed);
        if (static_cast<std::size_t>(take) * entry > entryRoom - length)
            take = static_cast<std::int64_t>((entryRoom - length) / entry);
        length += static_cast<std::size_t>(take) * entry;
        listed += take;
        if (take < matchesPerShingle[i])
            break;
    }

    std::u16string listing;
    listing.reserve(length + LongestListingSummary);
    std::int64_t entries = 0;
    for (std::size_t i = 0; entries < listed; ++i) {
        const std::int64_t take = std::min(matchesPerShingle[i], listed - entries);
        for (std::int64_t k = 0; k < take; ++k) {
            listing.append(newText[i]);
            listing.push_back(CarriageReturn);
        }
        entries += take;
    }
    if (matchCount > listed) {
        listing.append(u"\u2026 (+");
        const std::string omitted = std::to_string(matchCount - listed);
        listing.append(omitted.begin(), omitted.end());
        listing.append(u")\r");
    }
    return listing;
}

} // namespace

int ComputePercentage(std::int64_t matchCount, std::int64_t newCount, std::int64_t sourceCount)
{
    const double meanSize = static_cast<double>(sourceCount + newCount) / 2;
    const double ratio = static_cast<double>(matchCount) / meanSize;
    const double percent = ratio * 100;
    const double whole = std::floor(percent);
    return whole > 100 ? 100 : static_cast<int>(whole);
}

ComparisonOutcome CompareShingleViews(std::span<const std::u16string_view> newText,
                                      std::span<const std::u16string_view> source)
{
    if (source.size() < MinimumShingleCount || newText.size() < MinimumShingleCount)
        return TooFewShingles{};

    // Counting each source shingle once gives, for every new shingle in order, the number of
    // equal pairs it takes part in: the same count and listing order as comparing every pair.
    const detail::MatchCounts counts = detail::CountMatches(newText, source);

    ComparisonResult result;
    result.NewShingleCount = static_cast<std::int64_t>(newText.size());
    result.SourceShingleCount = static_cast<std::int64_t>(source.size());
    result.MatchCount = counts.total;
    result.MatchListing = BuildMatchListing(newText, counts.perShingle, counts.total);
    result.Percentage =
        ComputePercentage(counts.total, result.NewShingleCount, result.SourceShingleCount);
    return result;
}

ComparisonOutcome CompareShingleLists(const ShingleList& newText, const ShingleList& source)
{
    const ShingleViews newViews(newText.begin(), newText.end());
    const ShingleViews sourceViews(source.begin(), source.end());
    return CompareShingleViews(newViews, sourceViews);
}

ComparisonOutcome CompareTexts(std::u16string_view newText, std::u16string_view source)
{
    const std::u16string preparedNew = PrepareText(newText);
    const std::u16string preparedSource = PrepareText(source);
    return CompareShingleViews(ExtractShingleViews(preparedNew),
                               ExtractShingleViews(preparedSource));
}

std::u16string_view VerdictCaption(const ComparisonResult& result)
{
    return result.IsUnique() ? std::u16string_view(u"Текст уникален")
                             : std::u16string_view(u"Текст не уникален");
}

} // namespace analysis
