#include "ui/widgets/field_drops.h"

#include "ui/widgets/numeric_field_validator.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>

namespace {

// Whether a drag may be copied and holds a number that the field takes: where
// it would be dropped, or, as it enters the field, anywhere (Qt sends no more
// of a drag to a field that refused its entry).
bool offersNumber(QLineEdit *field, const QDropEvent *drag)
{
    const auto *validator = NumericFieldValidator::of(field);
    if (validator == nullptr || field->isReadOnly() ||
        (drag->possibleActions() & Qt::CopyAction) == 0 || !drag->mimeData()->hasText())
        return false;
    const QString text = drag->mimeData()->text();
    if (drag->type() == QEvent::DragEnter)
        return validator->takes(0, text) || validator->takes(int(field->text().size()), text);
    return validator->takes(field->cursorPositionAt(drag->position().toPoint()), text);
}

// A drag that holds a number is shown where it would go, by the field itself,
// and answered Copy whatever action it proposes; any other is refused where
// it hovers. The field's own handler takes the action that Qt proposes, which
// under X11 is the foreign source's first action even where that is not
// offered to the field: so the field is given a drag that offers only a copy
// (forwarded: while it runs, this filter lets the field have it), and the
// answer is set here.
template <typename Drag> bool dragOver(QLineEdit *field, Drag *drag, bool &forwarded)
{
    if (forwarded)
        return false;
    if (!offersNumber(field, drag)) {
        drag->ignore();
        return true;
    }
    Drag copy(drag->position().toPoint(), Qt::CopyAction, drag->mimeData(), drag->buttons(),
              drag->modifiers());
    forwarded = true;
    QCoreApplication::sendEvent(field, &copy);
    forwarded = false;
    drag->setDropAction(Qt::CopyAction);
    drag->setAccepted(copy.isAccepted());
    return true;
}

// A drop pastes its number where it is dropped, as a copy.
void dropNumber(QLineEdit *field, QDropEvent *drop)
{
    if (!offersNumber(field, drop)) {
        drop->ignore();
        return;
    }
    field->setCursorPosition(field->cursorPositionAt(drop->position().toPoint()));
    if (pasteNumber(field, drop->mimeData()->text())) {
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
    } else {
        drop->ignore();
    }
    QDragLeaveEvent leave; // the drag's caret goes, as after Qt's own drop
    QCoreApplication::sendEvent(field, &leave);
}

} // namespace

bool FieldDrops::handle(QLineEdit *field, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
        return dragOver(field, static_cast<QDragEnterEvent *>(event), forwarding_);
    case QEvent::DragMove:
        return dragOver(field, static_cast<QDragMoveEvent *>(event), forwarding_);
    case QEvent::Drop:
        dropNumber(field, static_cast<QDropEvent *>(event));
        return true;
    default:
        return false;
    }
}
