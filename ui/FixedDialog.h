#pragma once

class QDialog;

// The program's small dialogs are fixed dialogs centred on the screen: a title
// bar with a close button only (no minimise or maximise button, no resizing),
// moved to the middle of the screen each time they are shown.
namespace FixedDialog {

// Call once, in the dialog's constructor, after its layout fixes its size.
void prepare(QDialog* dialog);

}  // namespace FixedDialog
