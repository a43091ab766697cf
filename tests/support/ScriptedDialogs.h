#pragma once
// Dialog backend for tests: answers come from a script, every message shown is recorded.

#include "core/ui/Dialogs.h"

#include <deque>
#include <functional>
#include <optional>
#include <vector>

class ScriptedDialogs : public DialogBackend {
public:
    // Answers given, in order, to message boxes with more than an OK button.
    void answer(int msgBoxResult) { answers_.push_back(msgBoxResult); }
    // Text typed into the next input box; std::nullopt cancels it.
    void type(std::optional<QString> text) { inputs_.push_back(std::move(text)); }
    // What the next modal window does; returns its result code.
    void onModal(std::function<int(QDialog&)> handler) { modals_.push_back(std::move(handler)); }

    const std::vector<ShownMessage>& messages() const { return messages_; }
    std::vector<QString> prompts() const;
    const std::vector<QString>& inputPrompts() const { return inputPrompts_; }
    int modalCount() const { return modalCount_; }
    // Left-over answers mean a question the test expected was never asked.
    bool allAnswered() const { return answers_.empty() && inputs_.empty() && modals_.empty(); }
    void reset();

    int msgBox(const ShownMessage& message) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    int showModal(QDialog& window) override;

private:
    std::deque<int> answers_;
    std::deque<std::optional<QString>> inputs_;
    std::deque<std::function<int(QDialog&)>> modals_;
    std::vector<ShownMessage> messages_;
    std::vector<QString> inputPrompts_;
    int modalCount_ = 0;
};

// The backend every test runs with; reset before each test.
ScriptedDialogs& Dialogs();
