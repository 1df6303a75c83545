#include "line_breaking.h"

#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <cmath>
#include <utility>
#include <vector>

namespace ui {

namespace {

// The runs of a text longer than LongRun without a place to break a line: Qt breaks at the
// boundaries of Unicode's line breaking and at every space (the boundary finder does not
// always report one after spaces).
std::vector<std::pair<int, int>> LongRuns(const QString& text)
{
    std::vector<std::pair<int, int>> runs;
    // Prose has a space every few characters, and no run can hold one: the boundaries, which
    // take far longer to find, are looked for only in a text with a long stretch between spaces.
    qsizetype lastSpace = -1;
    qsizetype longest = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char(' ')) {
            longest = qMax(longest, i - lastSpace - 1);
            lastSpace = i;
        }
    }
    if (qMax(longest, text.size() - lastSpace - 1) <= LongRun)
        return runs;
    const auto keep = [&runs](int start, int end) {
        if (end - start > LongRun)
            runs.emplace_back(start, end);
    };
    QTextBoundaryFinder boundaries(QTextBoundaryFinder::Line, text);
    qsizetype boundary = boundaries.toNextBoundary();
    int start = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (i == boundary) {
            keep(start, i);
            start = i;
            boundary = boundaries.toNextBoundary();
        }
        if (text.at(i).isSpace()) {
            keep(start, i);
            start = i + 1;
        }
    }
    keep(start, static_cast<int>(text.size()));
    return runs;
}

} // namespace

qreal BreakLines(QTextLayout& layout, const QString& text, qreal width, qreal left,
                 LineBreakWork& work)
{
    const QTextOption option = layout.textOption();
    QTextOption anywhere = option;
    anywhere.setWrapMode(QTextOption::WrapAnywhere);
    const bool wordsFirst = option.wrapMode() == QTextOption::WrapAtWordBoundaryOrAnywhere;
    const std::vector<std::pair<int, int>> runs =
        wordsFirst && text.size() > LongRun ? LongRuns(text) : std::vector<std::pair<int, int>>{};
    auto run = runs.begin();
    ++work.paragraphs;

    layout.beginLayout();
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLeadingIncluded(true);
        const int start = line.textStart();
        while (run != runs.end() && run->second <= start)
            ++run;
        const bool inRun = run != runs.end() && run->first <= start;
        if (inRun && run->second - start > LongRun) {
            layout.setTextOption(anywhere);
            line.setLineWidth(width);
            // A line that reaches the run's end may take words after it: lay it out again the
            // ordinary way, which now finds the boundary within the line.
            if (line.textStart() + line.textLength() >= run->second) {
                layout.setTextOption(option);
                line.setLineWidth(width);
                work.charactersScanned += static_cast<quint64>(run->second - start);
            }
            layout.setTextOption(option);
            work.charactersScanned += static_cast<quint64>(line.textLength());
            ++work.linesInLongRuns;
        } else {
            line.setLineWidth(width);
            const int runEnd = inRun ? run->second : start;
            work.charactersScanned += static_cast<quint64>(qMax(line.textLength(), runEnd - start));
        }
        line.setPosition(QPointF(left, height));
        height += line.height();
        if (line.leading() < 0)
            height += std::ceil(line.leading());
    }
    layout.endLayout();
    return height;
}

} // namespace ui
