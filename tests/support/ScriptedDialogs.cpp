#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QDialog>

std::vector<QString> ScriptedDialogs::prompts() const
{
    std::vector<QString> out;
    for (const auto& m : messages_) out.push_back(m.prompt);
    return out;
}

void ScriptedDialogs::reset()
{
    answers_.clear();
    inputs_.clear();
    modals_.clear();
    messages_.clear();
    inputPrompts_.clear();
    modalCount_ = 0;
}

int ScriptedDialogs::msgBox(const ShownMessage& message)
{
    messages_.push_back(message);
    if (message.buttons() == vbOKOnly && answers_.empty()) return vbOK;
    if (answers_.empty()) {
        ADD_FAILURE() << "Unscripted question: " << message.prompt.toStdString();
        return message.buttons() == vbYesNo ? vbNo : vbCancel;
    }
    int a = answers_.front();
    answers_.pop_front();
    return a;
}

std::optional<QString> ScriptedDialogs::inputBox(const QString& prompt, const QString&, const QString&)
{
    inputPrompts_.push_back(prompt);
    if (inputs_.empty()) {
        ADD_FAILURE() << "Unscripted input box: " << prompt.toStdString();
        return std::nullopt;
    }
    const bool cancelled = !inputs_.front().has_value();
    const QString text = inputs_.front().value_or(QString());
    inputs_.pop_front();
    if (cancelled) return std::nullopt;
    return text;
}

int ScriptedDialogs::showModal(QDialog& window)
{
    ++modalCount_;
    if (modals_.empty()) {
        ADD_FAILURE() << "Unscripted modal window: " << window.objectName().toStdString();
        return QDialog::Rejected;
    }
    auto h = std::move(modals_.front());
    modals_.pop_front();
    return h(window);
}

ScriptedDialogs& Dialogs()
{
    static ScriptedDialogs instance;
    return instance;
}
