#include "platform/linux/atspi_bridge_guard.h"

#include "platform/linux/atspi_text_answers.h"
#include "platform/workarounds.h"

#include <QAccessible>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QHash>
#include <QLibraryInfo>
#include <QTimer>
#include <QVersionNumber>

#include <algorithm>
#include <optional>

namespace {

// Where Qt's bridge answers for every accessible object, on the connection
// that it names "a11y".
const QString BridgePath = QStringLiteral("/org/a11y/atspi/accessible");
const QLatin1String Atspi("org.a11y.atspi.");
constexpr uint LastTextBoundary = 6;  // ATSPI_TEXT_BOUNDARY_LINE_END
constexpr uint WindowCoordinates = 1; // ATSPI_COORD_TYPE_WINDOW

// What Qt's bridge reads from a request, as a D-Bus signature, by interface
// and method; a property by "Get" or "Set" and its name. The bridge reads the
// arguments unchecked, one that is missing from past the end of the list.
const QHash<QString, QString> &argumentsRead()
{
    static const QHash<QString, QString> read = [] {
        const struct {
            const char *signature, *methods;
        } table[] = {
            {"i",
             "Accessible.GetChildAtIndex Action.DoAction Action.GetName Action.GetDescription "
             "Action.GetKeyBinding Text.GetAttributes Text.GetCharacterAtOffset "
             "Text.GetSelection Text.RemoveSelection Text.SetCaretOffset EditableText.PasteText "
             "Table.GetRowAtIndex Table.GetColumnAtIndex Table.GetRowDescription "
             "Table.GetColumnDescription Table.GetRowColumnExtentsAtIndex Table.GetRowHeader "
             "Table.GetColumnHeader Table.IsRowSelected Table.IsColumnSelected "
             "Table.AddRowSelection Table.AddColumnSelection Table.RemoveRowSelection "
             "Table.RemoveColumnSelection"},
            {"u", "Component.GetExtents Component.GetPosition"},
            {"ii", "Text.AddSelection Text.GetText EditableText.CopyText EditableText.CutText "
                   "EditableText.DeleteText Table.GetAccessibleAt Table.GetIndexAt "
                   "Table.GetRowExtentAt Table.GetColumnExtentAt Table.IsSelected"},
            {"iu", "Text.GetCharacterExtents Text.GetTextAfterOffset Text.GetTextAtOffset "
                   "Text.GetTextBeforeOffset"},
            {"iiu", "Component.Contains Component.GetAccessibleAtPoint Text.GetOffsetAtPoint "
                    "Text.GetRangeExtents"},
            {"ib", "Text.GetAttributeRun"},
            {"is", "Text.GetAttributeValue"},
            {"iii", "Text.SetSelection"},
            {"isi", "EditableText.InsertText"},
            {"s", "EditableText.SetTextContents"},
            {"ssv", "Application.SetId Value.SetCurrentValue"},
            {"iiiiuuu", "Text.GetBoundedRanges"}};
        QHash<QString, QString> read;
        for (const auto &[signature, methods] : table)
            for (const QString &method : QString::fromLatin1(methods).split(u' '))
                read.insert(method, QString::fromLatin1(signature));
        return read;
    }();
    return read;
}

// Qt 6.8's bridge, measured, gives a text's character at an offset whole, as
// answered here for older ones; that part of the guard stays off there.
bool qtGivesWholeCharacters()
{
    static const bool whole = QLibraryInfo::version() >= QVersionNumber(6, 8);
    return whole;
}

QAccessibleInterface *target(const QString &path)
{
    if (path == BridgePath + QLatin1String("/root"))
        return QAccessible::queryAccessibleInterface(qApp);
    bool number = false;
    const QAccessible::Id id = path.section(u'/', -1).toUInt(&number);
    return number && path.section(u'/', 0, -2) == BridgePath ? QAccessible::accessibleInterface(id)
                                                             : nullptr;
}

// As the bridge gives boxes in window coordinates: from the corner of the
// window or dialog that holds the object.
QRect inWindow(QAccessibleInterface *accessible, const QRect &box)
{
    for (QAccessibleInterface *up = accessible; up != nullptr; up = up->parent())
        if (up->role() == QAccessible::Window || up->role() == QAccessible::Dialog)
            return box.translated(-up->rect().topLeft());
    return box;
}

// Why a request to an object is refused, if it is: edits of what is no
// editable text, a table's requests to what is no table or to a cell that
// does not exist, unknown text boundaries, and a text's bounded ranges,
// whose type the bridge cannot send.
std::optional<QDBusError::ErrorType> refusal(const QString &method, const QVariantList &args,
                                             QAccessibleInterface *accessible)
{
    QAccessibleTableInterface *table = accessible->tableInterface();
    if ((method.startsWith(QLatin1String("EditableText.")) &&
         accessible->editableTextInterface() == nullptr) ||
        (method.startsWith(QLatin1String("Table.")) && table == nullptr))
        return QDBusError::InvalidArgs;
    if (method.startsWith(QLatin1String("Text.GetText")) &&
        method.endsWith(QLatin1String("Offset")) && args.at(1).toUInt() > LastTextBoundary)
        return QDBusError::InvalidArgs;
    const auto cell = [table](int row, int column) {
        if (row < 0 || column < 0 || row >= table->rowCount() || column >= table->columnCount())
            return false;
        QAccessibleInterface *cell = table->cellAt(row, column);
        return cell != nullptr && cell->tableCellInterface() != nullptr;
    };
    if ((method == QLatin1String("Table.GetRowExtentAt") ||
         method == QLatin1String("Table.GetColumnExtentAt") ||
         method == QLatin1String("Table.IsSelected")) &&
        !cell(args.at(0).toInt(), args.at(1).toInt()))
        return QDBusError::InvalidArgs;
    if (method == QLatin1String("Table.GetRowColumnExtentsAtIndex")) {
        const int index = args.at(0).toInt();
        const int columns = table->columnCount();
        if (columns > 0 && !cell(index / columns, index % columns))
            return QDBusError::InvalidArgs;
    }
    if (method == QLatin1String("Text.GetBoundedRanges"))
        return QDBusError::NotSupported;
    return std::nullopt;
}

// A range's box: at once from a text of the program's own, character by
// character from any other.
QRect rangeBox(QAccessibleTextInterface *text, int start, int end)
{
    if (const auto *answers = dynamic_cast<const dielektra::atspi::TextAnswers *>(text))
        return answers->rangeBox(start, end);
    QRect box;
    for (int offset = start; offset < end; ++offset)
        box |= text->characterRect(offset);
    return box;
}

// Whether an edit was taken: a text of the program's own says; any other
// takes every edit.
bool taken(QAccessibleEditableTextInterface *text)
{
    const auto *answers = dynamic_cast<const dielektra::atspi::TextAnswers *>(text);
    return answers == nullptr || answers->lastEditTaken();
}

// The requests answered here rather than by the bridge: a text's range
// extents and its character at an offset (the bridge asks for each
// character's box in turn, and gives the first byte of a character's local
// 8-bit encoding), and an insertion, its length held to its text, and a text
// set whole, each answered whether it was taken (the bridge says true).
std::optional<QVariantList> ownAnswer(const QString &method, const QVariantList &args,
                                      QAccessibleInterface *accessible)
{
    QAccessibleTextInterface *text = accessible->textInterface();
    if (method == QLatin1String("Text.GetRangeExtents") && text != nullptr) {
        const int length = text->characterCount();
        const int start = std::clamp(args.at(0).toInt(), 0, length);
        const int end =
            args.at(1).toInt() == -1 ? length : std::clamp(args.at(1).toInt(), 0, length);
        QRect box(-1, -1, 0, 0);
        if (start < end) {
            box = rangeBox(text, start, end);
            if (args.at(2).toUInt() == WindowCoordinates)
                box = inWindow(accessible, box);
        }
        return QVariantList{box.x(), box.y(), box.width(), box.height()};
    }
    if (method == QLatin1String("Text.GetCharacterAtOffset") && text != nullptr &&
        !qtGivesWholeCharacters()) {
        int start = 0;
        int end = 0;
        const QString character =
            text->textAtOffset(args.at(0).toInt(), QAccessible::CharBoundary, &start, &end);
        return QVariantList{character.isEmpty() ? 0 : int(character.toUcs4().constFirst())};
    }
    QAccessibleEditableTextInterface *editable = accessible->editableTextInterface();
    if (method == QLatin1String("EditableText.InsertText")) {
        // Its length counts UTF-16 units, as the bridge reads it; a negative
        // one, as in GTK, or one beyond the text, takes the whole text.
        QString inserted = args.at(1).toString();
        if (const int length = args.at(2).toInt(); length >= 0 && length < inserted.size()) {
            inserted.truncate(length);
            if (length > 0 && inserted.back().isHighSurrogate())
                inserted.chop(1);
        }
        editable->insertText(args.at(0).toInt(), inserted);
        return QVariantList{taken(editable)};
    }
    if (method == QLatin1String("EditableText.SetTextContents") && text != nullptr) {
        editable->replaceText(0, text->characterCount(), args.at(0).toString());
        return QVariantList{taken(editable)};
    }
    return std::nullopt;
}

// Stands in front of Qt's bridge and hands it only what it can take: the
// arguments that it reads, offsets, rows and columns that name something, and
// edits only for editable text (for any other object the bridge edits a copy
// of its value, and an insertion far beyond its end fills gigabytes with
// blanks). A text's range extents and its character at an offset it answers
// itself: the bridge asks for each character's box in turn, for as many as
// the offsets span, and gives the first byte of a character's local 8-bit
// encoding. And each request gets its answer: the bridge sends none for a text's
// bounded ranges, whose type it cannot send, nor when it takes the
// application's id.
class BridgeGuard : public QDBusVirtualObject {
public:
    explicit BridgeGuard(QDBusVirtualObject *bridge) : QDBusVirtualObject(bridge), bridge(bridge) {}

    QString introspect(const QString &path) const override { return bridge->introspect(path); }

    bool handleMessage(const QDBusMessage &message, const QDBusConnection &bus) override
    {
        QString interface = message.interface();
        QString function = message.member();
        const QVariantList args = message.arguments();
        const auto refuse = [&](QDBusError::ErrorType error) {
            bus.send(message.createErrorReply(error, QStringLiteral("Refused: %1").arg(function)));
            return true;
        };
        if (interface == QLatin1String("org.freedesktop.DBus.Properties")) {
            // GetAll names no property, but the bridge reads one all the same.
            const QString needs =
                function == QLatin1String("Set") ? QStringLiteral("ssv") : QStringLiteral("ss");
            if (function == QLatin1String("GetAll") || message.signature() != needs)
                return refuse(QDBusError::InvalidArgs);
            interface = args.at(0).toString();
            function += args.at(1).toString();
        }
        if (!interface.startsWith(Atspi))
            return bridge->handleMessage(message, bus);
        const QString method = interface.mid(Atspi.size()) + u'.' + function;
        const auto read = argumentsRead().constFind(method);
        if (read != argumentsRead().cend() && *read != message.signature())
            return refuse(QDBusError::InvalidArgs);
        QAccessibleInterface *accessible = target(message.path());
        if (accessible == nullptr || !accessible->isValid())
            return bridge->handleMessage(message, bus);
        if (const auto error = refusal(method, args, accessible))
            return refuse(*error);
        if (const auto values = ownAnswer(method, args, accessible)) {
            bus.send(message.createReply(*values));
            return true;
        }
        // The bridge takes the application's id without an answer.
        if (method == QLatin1String("Application.SetId")) {
            if (!bridge->handleMessage(message, bus))
                return false;
            bus.send(message.createReply());
            return true;
        }
        return bridge->handleMessage(message, bus);
    }

private:
    QDBusVirtualObject *bridge;
};

void guard()
{
    QDBusConnection bus(QStringLiteral("a11y"));
    if (!bus.isConnected())
        return; // no accessibility bus, so no request can come
    auto *bridge = qobject_cast<QDBusVirtualObject *>(bus.objectRegisteredAt(BridgePath));
    if (bridge == nullptr) {
        // A later Qt that names its connection or its object otherwise: the
        // bridge then goes unguarded, and a test must say so.
        qWarning("AT-SPI bridge guard: Qt %s has no bridge object at %s on its connection "
                 "\"a11y\"; requests reach Qt's bridge unchecked",
                 qVersion(), qPrintable(BridgePath));
        return;
    }
    if (dynamic_cast<BridgeGuard *>(bridge) != nullptr)
        return;
    bus.unregisterObject(BridgePath);
    bus.registerVirtualObject(BridgePath, new BridgeGuard(bridge), QDBusConnection::SubPath);
}

// The bridge registers its object as soon as it has said it is active.
class Starts : public QAccessible::ActivationObserver {
public:
    Starts()
    {
        later_.setSingleShot(true);
        later_.setInterval(0);
        QObject::connect(&later_, &QTimer::timeout, qApp, guard);
    }
    void accessibilityActiveChanged(bool active) override
    {
        if (active)
            later_.start();
    }

private:
    QTimer later_; // the guard goes in once the bridge has registered
};

} // namespace

void dielektra::atspi::guardBridge()
{
    if (!platform::workaroundOn("atspi_bridge_guard"))
        return;
    static Starts *const starts = [] {
        auto *starts = new Starts;
        QAccessible::installActivationObserver(starts);
        return starts;
    }();
    starts->accessibilityActiveChanged(QAccessible::isActive());
}
