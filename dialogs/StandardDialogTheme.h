#pragma once

class QDialog;

// Qt's own dialogs (the file chooser, the colour dialog) in the program's
// dark theme: one rule set for every control they are built of, readable in
// every state. Their captions, filters and controls stay Qt's. GUI thread.
class StandardDialogTheme {
public:
    static void Apply(QDialog* dialog);
};
