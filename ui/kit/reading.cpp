#include "reading.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QHash>
#include <QLabel>
#include <QPointer>

namespace ui {

namespace {

struct Phrase
{
    QString caption;
    QList<QPointer<QLabel>> parts;
};

// Keyed by the widget that reads the phrase, or that is left out (with no phrase).
QHash<const QObject*, Phrase>& Readings()
{
    static QHash<const QObject*, Phrase> readings;
    return readings;
}

class ReadingAccessible : public QAccessibleWidget
{
public:
    explicit ReadingAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::StaticText)
    {
    }
};

class PhraseAccessible : public ReadingAccessible
{
public:
    PhraseAccessible(QWidget* widget, Phrase phrase)
        : ReadingAccessible(widget), phrase_(std::move(phrase))
    {
    }

    QString text(QAccessible::Text type) const override
    {
        if (type != QAccessible::Name)
            return ReadingAccessible::text(type);
        QStringList shown;
        for (const QPointer<QLabel>& part : phrase_.parts) {
            if (part && !part->isHidden())
                shown << part->text().trimmed();
        }
        return phrase_.caption + shown.join(QLatin1Char(' '));
    }

private:
    Phrase phrase_;
};

class LeftOutAccessible : public ReadingAccessible
{
public:
    explicit LeftOutAccessible(QWidget* widget) : ReadingAccessible(widget) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        return state;
    }
    QString text(QAccessible::Text) const override { return {}; }
};

QAccessibleInterface* ReadingFactory(const QString&, QObject* object)
{
    const auto found = Readings().constFind(object);
    if (found == Readings().constEnd())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (found->parts.isEmpty())
        return new LeftOutAccessible(widget);
    return new PhraseAccessible(widget, *found);
}

void Remember(QWidget* widget, const Phrase& phrase)
{
    static const bool installed = [] {
        QAccessible::installFactory(ReadingFactory);
        return true;
    }();
    Q_UNUSED(installed)
    Readings().insert(widget, phrase);
    QObject::connect(widget, &QObject::destroyed, [widget] { Readings().remove(widget); });
    // An interface made before (a tooltip set tells assistive technology of it) gives way.
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget);
    if (made && !dynamic_cast<ReadingAccessible*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

// Qt's AT-SPI bridge tells of a new description by the object's reference instead of the text,
// and screen readers speak the value an event carries. So the event is sent again, with the text,
// on the bridge's own connection (the one it names "a11y"), as the object and application the
// bridge names; a reader that already had the text takes the second as no change.
void TellTheBridgesReaders(QWidget* widget, const QString& words)
{
    const QDBusConnection bridge(QStringLiteral("a11y"));
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(widget);
    if (!bridge.isConnected() || !read)
        return;
    const QString prefix = QStringLiteral("/org/a11y/atspi/accessible/");
    QDBusMessage changed = QDBusMessage::createSignal(
        prefix + QString::number(QAccessible::uniqueId(read)),
        QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("PropertyChange"));
    QDBusArgument application;
    application.beginStructure();
    application << bridge.baseService() << QDBusObjectPath(prefix + QStringLiteral("root"));
    application.endStructure();
    changed << QStringLiteral("accessible-description") << 0 << 0
            << QVariant::fromValue(QDBusVariant(words)) << QVariant::fromValue(application);
    bridge.send(changed);
}

} // namespace

void SayOfFocused(QWidget* widget, const QString& words)
{
    if (widget->accessibleDescription() == words)
        return;
    widget->setAccessibleDescription(words);
    if (!words.isEmpty() && QAccessible::isActive())
        TellTheBridgesReaders(widget, words);
}

void ReadAsOne(const QString& caption, const QList<QLabel*>& parts)
{
    if (parts.isEmpty())
        return;
    Phrase phrase{caption, {}};
    for (QLabel* part : parts)
        phrase.parts.append(part);
    for (qsizetype i = 0; i + 1 < parts.size(); ++i)
        LeaveOutOfReading(parts[i]);
    Remember(parts.last(), phrase);
}

void LeaveOutOfReading(QWidget* widget)
{
    Remember(widget, {});
}

} // namespace ui
