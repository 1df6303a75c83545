// The live figures of a text document, kept up to date from the document's change notifications:
// an edit costs the paragraphs it touches, so the 1 ms statistics timer only reads them.
#pragma once

#include "analysis/analysis.h"

#include <QObject>
#include <QPointer>

class QTextDocument;

namespace ui {

class DocumentStatistics : public QObject
{
    Q_OBJECT

public:
    explicit DocumentStatistics(QTextDocument* document, QObject* parent = nullptr);

    // Equal to ComputeTextStatistics of the document's plain text (line breaks as CR LF).
    analysis::TextStatistics statistics() const { return live_.statistics(); }
    // Characters of the document read to keep the figures, since it was watched.
    std::uint64_t charactersExamined() const { return live_.charactersExamined(); }

private:
    void update(int from, int removed, int added);
    void replaceBlocks(int first, int count, int last);

    QPointer<QTextDocument> document_;
    analysis::LiveTextStatistics live_;
};

} // namespace ui
