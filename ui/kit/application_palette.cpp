#include "application_palette.h"

#include <QCoreApplication>
#include <QEvent>

namespace ui {

namespace {

// One filter for the whole application, however many controls follow it: a filter on the
// application object sees every event of the program, so there is only ever one.
class ApplicationPaletteSignal : public QObject
{
    Q_OBJECT

public:
    static ApplicationPaletteSignal* instance()
    {
        QCoreApplication* application = QCoreApplication::instance();
        auto* existing = application->findChild<ApplicationPaletteSignal*>(
            QString(), Qt::FindDirectChildrenOnly);
        return existing ? existing : new ApplicationPaletteSignal(application);
    }

signals:
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ApplicationPaletteChange && watched == parent())
            emit changed();
        return false;
    }

private:
    explicit ApplicationPaletteSignal(QCoreApplication* application) : QObject(application)
    {
        application->installEventFilter(this);
    }
};

} // namespace

void FollowApplicationPalette(QObject* control, std::function<void()> apply)
{
    apply();
    QObject::connect(ApplicationPaletteSignal::instance(), &ApplicationPaletteSignal::changed,
                     control, std::move(apply));
}

} // namespace ui

#include "application_palette.moc"
