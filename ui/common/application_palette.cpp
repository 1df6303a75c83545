#include "application_palette.h"

#include <QCoreApplication>
#include <QEvent>

namespace ui {

namespace {

class ApplicationPaletteFollower : public QObject
{
public:
    ApplicationPaletteFollower(QObject* control, std::function<void()> apply)
        : QObject(control), apply_(std::move(apply))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == QCoreApplication::instance() &&
            event->type() == QEvent::ApplicationPaletteChange)
            apply_();
        return false;
    }

private:
    std::function<void()> apply_;
};

} // namespace

void FollowApplicationPalette(QObject* control, std::function<void()> apply)
{
    apply();
    new ApplicationPaletteFollower(control, std::move(apply));
}

} // namespace ui
