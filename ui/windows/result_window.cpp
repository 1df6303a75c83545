#include "result_window.h"

#include "ui/common/colour_value.h"
#include "ui/common/controls.h"
#include "ui/common/design_fonts.h"
#include "ui/common/listing_pane.h"
#include "ui/common/strings.h"
#include "ui/common/twips.h"
#include "ui/common/window_setup.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <limits>

namespace ui {

namespace {

constexpr int ClientWidth = 4830;
constexpr int DesignClientHeight = 825;
// The outer heights were laid out for a tool window whose title bar and borders take this much;
// keeping the client area they imply keeps what each height shows on every platform.
constexpr int DesignFrameHeight = 345;
constexpr int CollapsedOuterHeight = 999;
constexpr int ExpandedOuterHeight = 2760;

const QString LeadIn = QStringLiteral("Тексты совпадают на ");
const QString ListingTitle = QStringLiteral("Для уникализации исправьте следующие сочетания:");

ListingPane* MakeListingPane(QWidget* parent, const char* name, const QRect& place)
{
    auto* pane = MakeControl<ListingPane>(parent, name, place);
    pane->setFont(DesignFont(QStringLiteral("MS Sans Serif"), 8.5));
    pane->setBackgroundColour(ColourWindow);
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return pane;
}

} // namespace

// The listing pane counts its positions in int; no listing comes near that.
static_assert(analysis::MatchListingCharacterLimit < std::numeric_limits<int>::max());

QPoint FirstPlacement(const QRect& owner, const QSize& frame, const QRect& available)
{
    constexpr int Gap = 8;
    const QPoint candidates[] = {
        {owner.right() + 1 + Gap, owner.top()},            // beside the owner, on the right
        {owner.left() - Gap - frame.width(), owner.top()}, // on the left
        {owner.right() + 1 - frame.width(), owner.top()},  // over its upper right corner
    };
    for (const QPoint& place : candidates) {
        if (available.contains(QRect(place, frame)))
            return place;
    }
    // A screen too small for the window: keep its title bar and left edge on it.
    const QPoint last = candidates[std::size(candidates) - 1];
    return {std::clamp(last.x(), available.left(),
                       std::max(available.left(), available.right() + 1 - frame.width())),
            std::clamp(last.y(), available.top(),
                       std::max(available.top(), available.bottom() + 1 - frame.height()))};
}

ResultWindow::ResultWindow(QWidget* owner)
    : QDialog(owner,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    // The comparison sets the caption before the window is first shown.
    SetUpSecondaryWindow(this, "Form4", QString());
    // The design gives the result window no icon; not even the application's.
    setWindowIcon(QIcon());
    setFixedSize(TwipsToPixels(ClientWidth), TwipsToPixels(DesignClientHeight));

    auto* okButton = MakeButton(this, "Command1", QStringLiteral("Окей..."),
                                TwipsRect(3600, 120, 1095, 255), LabelFont());
    // The focused default of the dialog; Esc rejects the dialog, which closes it like "Окей...".
    okButton->setAutoDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    resultLine_ = MakeLabel(this, "Label2", QStringLiteral("00"), TwipsRect(1920, 360, 2535, 255));
    MakeLabel(this, "Label1", LeadIn, TwipsRect(120, 360, 1695, 255));
    heading_ = MakeLabel(this, "Label4", QStringLiteral("Даные по Окну №1"),
                         TwipsRect(120, 120, 2175, 255));
    listingTitle_ = MakeLabel(this, "Label3", ListingTitle, TwipsRect(240, 600, 4215, 255));
    listingTitle_->hide();
    listing_ = MakeListingPane(this, "RichTextBox1", TwipsRect(240, 840, 4335, 1575));
    listing_->hide();

    // The design's second block, below the highest height the window is ever given.
    MakeLabel(this, "Label5", QStringLiteral("Даные по Окну №2"), TwipsRect(120, 2880, 2175, 255));
    MakeLabel(this, "Label6", LeadIn, TwipsRect(120, 3120, 1695, 255));
    MakeLabel(this, "Label7", QStringLiteral("00"), TwipsRect(2040, 3120, 2535, 255));
    MakeLabel(this, "Label8", ListingTitle, TwipsRect(240, 3360, 4215, 255));
    MakeListingPane(this, "RichTextBox2", TwipsRect(240, 3600, 4335, 1575));
    auto* separator = MakeControl<QFrame>(this, "Line1", TwipsRect(0, 2760, 4800, 15));
    separator->setFrameShape(QFrame::HLine);

    okButton->setFocus();
}

void ResultWindow::present(const analysis::ComparisonResult& result, int shownShingleLength)
{
    resultLine_->setText(
        ToQString(analysis::FormatResultLine(result.Percentage, shownShingleLength)));
    setOuterHeightTwips(CollapsedOuterHeight);
    heading_->hide();
    if (result.Percentage > 0) {
        setOuterHeightTwips(ExpandedOuterHeight);
        listingTitle_->show();
        listing_->replacePlainText(ToQString(result.MatchListing));
        listing_->show();
        heading_->show();
    }
    SetWindowCaption(this, ToQString(analysis::VerdictCaption(result)));
    if (!placed_) {
        placed_ = true;
        placeNearOwner();
    }
    ShowInFront(this);
}

void ResultWindow::placeNearOwner()
{
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen* shownOn = owner ? owner->screen() : screen();
    if (!owner || !shownOn)
        return;
    // The frame is not known before the window is first shown; the owner's is the best guess.
    const QMargins frame(owner->geometry().left() - owner->frameGeometry().left(),
                         owner->geometry().top() - owner->frameGeometry().top(),
                         owner->frameGeometry().right() - owner->geometry().right(),
                         owner->frameGeometry().bottom() - owner->geometry().bottom());
    // Room for the highest height a later comparison may give the window, so it stays whole.
    const QSize client(width(), TwipsToPixels(ExpandedOuterHeight - DesignFrameHeight));
    const QSize outer = client.grownBy(frame);
    move(FirstPlacement(owner->frameGeometry(), outer, shownOn->availableGeometry()));
}

void ResultWindow::setOuterHeightTwips(int twips)
{
    outerHeightTwips_ = twips;
    setFixedHeight(TwipsToPixels(twips - DesignFrameHeight));
}

} // namespace ui
