#include "analysis.h"
#include "match_listing.h"
#include "shingle_counts.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace analysis {

std::vector<std::size_t> ListingEntryLines(std::u16string_view listing, std::size_t entries)
{
    std::vector<std::size_t> lines;
    lines.reserve(entries);
    std::size_t line = 0;
    bool starting = true;
    for (std::size_t i = 0; i < listing.size() && lines.size() <= entries; ++i) {
        if (starting) {
            lines.push_back(line);
            starting = false;
        }
        if (listing[i] != u'\r' && listing[i] != u'\n')
            continue;
        ++line;
        if (listing[i] == u'\r' && i + 1 < listing.size() && listing[i + 1] == u'\n')
            ++i;
        else if (listing[i] == u'\r')
            starting = true;
    }
    lines.resize(std::min(lines.size(), entries));
    return lines;
}

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
    result.MatchListing =
        detail::BuildMatchListing(
            counts.perShingle, counts.total, [&](std::size_t i) { return newText[i].size(); },
            [&](std::size_t i, std::u16string& listing) { listing.append(newText[i]); })
            .text;
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
    return result.isUnique() ? std::u16string_view(u"Текст уникален")
                             : std::u16string_view(u"Текст не уникален");
}

} // namespace analysis
