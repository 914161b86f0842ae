#pragma once

class QEvent;
class QLineEdit;

// Drags and drops onto a numeric field. A drag is answered Copy, from its
// first hover on, where the number it holds would be taken, and refused
// elsewhere, so that its source keeps its text; a drop pastes its number
// where it falls, as pasteNumber does.
class FieldDrops {
public:
    // Whether the event was a drag's or a drop's, and so handled here.
    bool handle(QLineEdit *field, QEvent *event);

private:
    bool forwarding_ = false; // while a drag offering only a copy goes to the field
};
