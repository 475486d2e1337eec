#pragma once

class QWidget;

// Screen readers announce a box by its accessible name; the text beside a
// box is its label, so that is the name it gets.
namespace LabelNames {

// Gives every control that a label of the form belongs to (its buddy) the
// label's text, without "&" and with blanks simplified, as accessible name.
// A name the control has of its own is kept; a name given from a label is
// renewed, so the form calls this again after it changed label texts.
void apply(QWidget* form);

} // namespace LabelNames
