#include "analysis.h"

#include <cmath>

namespace analysis {

int ComputePercentage(std::int64_t matchCount, std::int64_t newCount, std::int64_t sourceCount)
{
    const double meanSize = static_cast<double>(sourceCount + newCount) / 2;
    const double ratio = static_cast<double>(matchCount) / meanSize;
    const double percent = ratio * 100;
    const double whole = std::floor(percent);
    return whole > 100 ? 100 : static_cast<int>(whole);
}

std::u16string_view VerdictCaption(const ComparisonResult& result)
{
    return result.isUnique() ? std::u16string_view(u"Текст уникален")
                             : std::u16string_view(u"Текст не уникален");
}

} // namespace analysis
