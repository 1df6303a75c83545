// Literal, step-by-step transcriptions of the analysis rules, kept slow and obvious on purpose:
// the fast code in analysis/ is checked against them on generated and fuzzed texts.
#pragma once

#include "analysis/analysis.h"

namespace reference {

std::u16string PrepareText(std::u16string_view text);
analysis::ShingleList ExtractShingles(std::u16string_view prepared);
// Compares every pair, new text outside, source inside; false when a list is too short.
bool CompareShingleLists(const analysis::ShingleList& newText, const analysis::ShingleList& source,
                         analysis::ComparisonResult& result);
analysis::TextStatistics ComputeTextStatistics(std::u16string_view text);

} // namespace reference
