// Literal, step-by-step transcriptions of the analysis rules, kept slow and obvious on purpose:
// the fast code in analysis/ is checked against them on generated and fuzzed texts.
#pragma once

#include "analysis/analysis.h"
#include "analysis/repeat_tracker.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace reference {

std::u16string PrepareText(std::u16string_view text);
analysis::ShingleList ExtractShingles(std::u16string_view prepared);
// Compares every pair, new text outside, source inside; false when a list is too short.
bool CompareShingleLists(const analysis::ShingleList& newText, const analysis::ShingleList& source,
                         analysis::ComparisonResult& result);
analysis::TextStatistics ComputeTextStatistics(std::u16string_view text);

// Where two texts repeat each other: the characters within a shingle that the other text shares,
// each shingle reaching from the position its first character had before preparation to that of
// its last, as maximal runs; and, for every listed pair in the listing's order, where its two
// shingles lie. As a compare finds them, empty when a text is too short to compare; or, as marks
// followed through edits are, whatever the size.
struct Repeats
{
    std::vector<analysis::TextRange> newTextMarks;
    std::vector<analysis::TextRange> sourceMarks;
    std::vector<std::pair<analysis::TextRange, analysis::TextRange>> pairs;
};
Repeats LocateRepeats(std::u16string_view newText, std::u16string_view source,
                      bool whateverTheSize = false);

// An entry of the listing after edits: its combination, whether it is struck out, and, standing,
// where it leads in each text.
struct ListedEntry
{
    std::u16string text;
    bool struckOut = false;
    std::optional<std::pair<analysis::TextRange, analysis::TextRange>> leadsTo;
};
// What is wrong with the entries for the texts as they stand, or nothing: each combination keeps
// as many entries standing as a compare of the texts counts pairs of it, no more, and each
// standing entry leads to a pair of its combination.
std::string EntriesAgainstTheRules(const std::vector<ListedEntry>& entries,
                                   std::u16string_view newText, std::u16string_view source);

} // namespace reference
