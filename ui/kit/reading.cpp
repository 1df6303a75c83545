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
    std::function<QString()> words; // read instead of the parts' texts when set
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
        if (phrase_.words)
            return phrase_.caption + phrase_.words();
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

// An AT-SPI event of the object, sent as Qt's bridge sends its own: on the bridge's connection
// (the one it names "a11y"), from the object and application the bridge names. Where a screen
// reader is listening, and only there, the bridge is connected.
void SendToReaders(QWidget* widget, const QString& event, const QString& detail,
                   const QVariant& value)
{
    // Checked first: every settle of the marks comes here, and without a reader nothing else
    // is needed, not even the widget's interface.
    if (!QAccessible::isActive())
        return;
    const QDBusConnection bridge(QStringLiteral("a11y"));
    QAccessibleInterface* read = QAccessible::queryAccessibleInterface(widget);
    if (!bridge.isConnected() || !read)
        return;
    const QString prefix = QStringLiteral("/org/a11y/atspi/accessible/");
    QDBusMessage message =
        QDBusMessage::createSignal(prefix + QString::number(QAccessible::uniqueId(read)),
                                   QStringLiteral("org.a11y.atspi.Event.Object"), event);
    QDBusArgument application;
    application.beginStructure();
    application << bridge.baseService() << QDBusObjectPath(prefix + QStringLiteral("root"));
    application.endStructure();
    message << detail << 0 << 0 << QVariant::fromValue(QDBusVariant(value))
            << QVariant::fromValue(application);
    bridge.send(message);
}

} // namespace

void SayOfFocused(QWidget* widget, const QString& words)
{
    if (widget->accessibleDescription() == words)
        return;
    widget->setAccessibleDescription(words);
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    // Qt 6.4's AT-SPI bridge tells of a new description by the object's reference instead of the
    // text, and screen readers speak the value an event carries; so the event goes again with the
    // text. Qt 6.8's carries the text itself.
    if (!words.isEmpty())
        SendToReaders(widget, QStringLiteral("PropertyChange"),
                      QStringLiteral("accessible-description"), words);
#endif
}

// Qt's AT-SPI bridge passes on no change of text attributes, which is what a screen reader
// listens to, as a spell checker's marks change, to say whether the word at the caret is marked.
void TellReadersOfNewAttributes(QWidget* widget)
{
    SendToReaders(widget, QStringLiteral("TextAttributesChanged"), QString(), QString());
}

void ReadAsOne(const QString& caption, const QList<QLabel*>& parts)
{
    if (parts.isEmpty())
        return;
    Phrase phrase{caption, {}, {}};
    for (QLabel* part : parts)
        phrase.parts.append(part);
    for (qsizetype i = 0; i + 1 < parts.size(); ++i)
        LeaveOutOfReading(parts[i]);
    Remember(parts.last(), phrase);
}

void ReadAs(QLabel* label, const QString& caption, std::function<QString()> words)
{
    Remember(label, {caption, {label}, std::move(words)});
}

void LeaveOutOfReading(QWidget* widget)
{
    Remember(widget, Phrase{});
}

} // namespace ui
