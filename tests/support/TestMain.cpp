// Headless test entry: offscreen Qt, every dialog scripted, nothing waits for a person, and each
// test starts on the system clock.
#include "core/Clock.h"
#include "support/ChildProcess.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <optional>

namespace {

class DialogGuard : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override
    {
        Dialogs().reset();
        SetDialogBackend(&Dialogs());
    }
    void OnTestEnd(const testing::TestInfo& info) override
    {
        SetNow(QDateTime());
        if (!info.result()->Failed() && !Dialogs().allAnswered())
            ADD_FAILURE() << "A scripted answer was never asked for";
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt wants a private runtime folder, which a console or a build has none of; the test
    // programs this one starts share it.
    std::optional<QTemporaryDir> runtime;
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        runtime.emplace(QDir::tempPath() + QStringLiteral("/stivora-runtime-XXXXXX"));
        if (runtime->isValid()) setenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime->path()).constData(), 1);
    }
    QApplication app(argc, argv);
    SetDialogBackend(&Dialogs());
    if (const auto code = RunChildIfAsked(argc, argv)) return *code;
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new DialogGuard);
    return RUN_ALL_TESTS();
}
