// Form4: the verdict in the caption, the percentage line and, above 0 %, the shingles that
// the new text shares with the source.
#pragma once

#include "analysis/analysis.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace ui {

class ListingPane;

class ResultWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ResultWindow(QWidget* owner);

    // Fills the window with a comparison's outcome and shows it, modeless. What this does not
    // set keeps the state an earlier comparison left.
    void present(const analysis::ComparisonResult& result, int shownShingleLength);

    // The outer height last set, title bar and borders included, in twips.
    int outerHeightTwips() const { return outerHeightTwips_; }

private:
    void setOuterHeightTwips(int twips);
    void placeNearOwner();

    int outerHeightTwips_ = 0;
    QMargins frame_;                 // as the window manager draws it, once known
    QLabel* resultLine_ = nullptr;   // Label2
    QLabel* heading_ = nullptr;      // Label4
    QLabel* listingTitle_ = nullptr; // Label3
    ListingPane* listing_ = nullptr; // RichTextBox1
};

} // namespace ui
