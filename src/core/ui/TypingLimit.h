#pragma once
// A field's maximum length limits what the operator types or pastes into it, never what the program
// shows: a stored value longer than the field is shown whole and kept whole until the operator edits
// it. No edit makes it longer than the value shown, and once edits bring it within the limit, the
// limit holds again.

class QLineEdit;
class QString;

// Shows the text whole. The field's maximum length as designed stays its typing limit.
void ShowWhole(QLineEdit* field, const QString& text);
