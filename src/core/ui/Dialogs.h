#pragma once
// The one way the program asks a person anything: message boxes, input boxes, modal windows and
// the hourglass. The program shows Qt dialogs; tests install a backend that scripts the answers.

#include <QString>

#include <functional>
#include <optional>

class QDialog;
class QWidget;

// Button sets, icons and answers keep the values the program's messages were written with.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,
};

enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// Title used where a message gives none.
inline const QString kAppTitle = QStringLiteral("Stivora");

struct ShownMessage {
    QString prompt;
    int style = vbOKOnly;
    QString title;
    int buttons() const { return style & 7; }
    int icon() const { return style & 0x70; }
};

class DialogBackend {
public:
    virtual ~DialogBackend() = default;
    virtual int msgBox(const ShownMessage& message) = 0;
    // No value when the person cancelled.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& defaultText) = 0;
    // Runs the window modally and returns its result code.
    virtual int showModal(QDialog& window) = 0;
};

// Replaces the backend (nullptr restores the Qt one). The caller keeps ownership.
void SetDialogBackend(DialogBackend* backend);
DialogBackend& CurrentDialogBackend();

// Where messages go while nobody is there to answer them: the handler tells a message its own way
// and gives its answer, or gives nothing to let the message box show.
using UnattendedMessages = std::function<std::optional<int>(const ShownMessage& message)>;
// An empty handler lets every message box show.
void SetUnattendedMessages(UnattendedMessages handler);

// The answer of a message box closed without a button: No to a yes/no question, OK to a plain
// message, else Cancel.
int UnansweredResult(int buttons);

int MsgBox(const QString& prompt, int style = vbOKOnly, const QString& title = kAppTitle);
// Message boxes shown so far in this run: who calls a handler can tell whether it stopped at one.
int MessaggiMostrati();
// The text typed, or "" when cancelled, as the program expects of an input box.
QString InputBox(const QString& prompt, const QString& title = kAppTitle, const QString& defaultText = QString());
int ShowModal(QDialog& window);

// Hourglass pointer for the life of the object.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
