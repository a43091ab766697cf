#pragma once
// Benchmarks run unattended: a message, input box or window nobody scripted is answered at once
// with No / Cancel and remembered, and the benchmark that caused it stops with an error.

#include "core/ui/Dialogs.h"

#include <QDialog>

#include <benchmark/benchmark.h>

class UnscriptedDialogs : public DialogBackend {
public:
    int msgBox(const ShownMessage& message) override
    {
        shown_ = message.prompt;
        return message.buttons() == vbYesNo || message.buttons() == vbYesNoCancel ? vbNo : vbCancel;
    }
    std::optional<QString> inputBox(const QString& prompt, const QString&, const QString&) override
    {
        shown_ = prompt;
        return std::nullopt;
    }
    int showModal(QDialog& window) override
    {
        shown_ = window.windowTitle();
        return QDialog::Rejected;
    }

    // True, with the benchmark stopped, when something was shown since the last call.
    bool failed(benchmark::State& state)
    {
        if (shown_.isEmpty()) return false;
        state.SkipWithError(("unscripted dialog: " + shown_.toStdString()).c_str());
        shown_.clear();
        return true;
    }

private:
    QString shown_;
};

// Installed for the whole run.
inline UnscriptedDialogs& BenchDialogs()
{
    static UnscriptedDialogs dialogs;
    SetDialogBackend(&dialogs);
    return dialogs;
}
