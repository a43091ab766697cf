#include "core/ui/Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

class QtDialogs : public DialogBackend {
public:
    int msgBox(const ShownMessage& m) override
    {
        QMessageBox box(iconOf(m.icon()), m.title, m.prompt, QMessageBox::NoButton, QApplication::activeWindow());
        const int set = m.buttons();
        auto add = [&](QMessageBox::StandardButton b) { box.addButton(b); };
        switch (set) {
        case vbOKCancel: add(QMessageBox::Ok); add(QMessageBox::Cancel); break;
        case vbAbortRetryIgnore: add(QMessageBox::Abort); add(QMessageBox::Retry); add(QMessageBox::Ignore); break;
        case vbYesNoCancel: add(QMessageBox::Yes); add(QMessageBox::No); add(QMessageBox::Cancel); break;
        case vbYesNo: add(QMessageBox::Yes); add(QMessageBox::No); break;
        case vbRetryCancel: add(QMessageBox::Retry); add(QMessageBox::Cancel); break;
        default: add(QMessageBox::Ok); break;
        }
        const auto buttons = box.buttons();
        if (m.style & vbDefaultButton2 && buttons.size() > 1)
            box.setDefaultButton(qobject_cast<QPushButton*>(buttons.at(1)));
        box.exec();
        switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Cancel: return vbCancel;
        case QMessageBox::Abort: return vbAbort;
        case QMessageBox::Retry: return vbRetry;
        case QMessageBox::Ignore: return vbIgnore;
        case QMessageBox::Yes: return vbYes;
        case QMessageBox::No: return vbNo;
        case QMessageBox::Ok: return vbOK;
        default: break;
        }
        // Closed with Escape or the window's close button.
        return UnansweredResult(set);
    }

    std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& defaultText) override
    {
        bool ok = false;
        QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt, QLineEdit::Normal, defaultText, &ok);
        if (!ok) return std::nullopt;
        return text;
    }

    int showModal(QDialog& window) override { return window.exec(); }

private:
    static QMessageBox::Icon iconOf(int icon)
    {
        switch (icon) {
        case vbCritical: return QMessageBox::Critical;
        case vbQuestion: return QMessageBox::Question;
        case vbExclamation: return QMessageBox::Warning;
        case vbInformation: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
        }
    }
};

QtDialogs& qtDialogs()
{
    static QtDialogs instance;
    return instance;
}

DialogBackend* g_backend = nullptr;
UnattendedMessages g_unattended;
int g_messaggi = 0;

} // namespace

void SetDialogBackend(DialogBackend* backend) { g_backend = backend; }

DialogBackend& CurrentDialogBackend() { return g_backend ? *g_backend : qtDialogs(); }

void SetUnattendedMessages(UnattendedMessages handler) { g_unattended = std::move(handler); }

int UnansweredResult(int buttons)
{
    if (buttons == vbYesNo) return vbNo;
    return buttons == vbOKOnly ? vbOK : vbCancel;
}

int MsgBox(const QString& prompt, int style, const QString& title)
{
    ++g_messaggi;
    const ShownMessage message{prompt, style, title.isEmpty() ? kAppTitle : title};
    if (g_unattended)
        if (const std::optional<int> answer = g_unattended(message)) return *answer;
    return CurrentDialogBackend().msgBox(message);
}

int MessaggiMostrati() { return g_messaggi; }

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText)
{
    return CurrentDialogBackend().inputBox(prompt, title.isEmpty() ? kAppTitle : title, defaultText).value_or(QString());
}

int ShowModal(QDialog& window) { return CurrentDialogBackend().showModal(window); }

WaitCursor::WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

WaitCursor::~WaitCursor() { QApplication::restoreOverrideCursor(); }
