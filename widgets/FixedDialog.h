#pragma once

class QDialog;
class QLayout;
class QPushButton;

// The program's small dialogs are fixed dialogs centred on the screen: a title
// bar with a close button only (no minimise or maximise button, no resizing),
// moved to the middle of the screen each time they are shown.
namespace FixedDialog {

// Call once, in the dialog's constructor, after its layout fixes its size.
void prepare(QDialog* dialog);

// The OK button ("BitBtn1", the default, accepting) and the キャンセル button
// ("BitBtn2", rejecting) of the dialog.
struct Buttons {
  QPushButton* ok;
  QPushButton* cancel;
};
Buttons okAndCancel(QDialog* dialog);

// The dialog's fields above its buttons, centred, at the size they need.
void layOut(QDialog* dialog, QLayout* fields, const Buttons& buttons);

}  // namespace FixedDialog
