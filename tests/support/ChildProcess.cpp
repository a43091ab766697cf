#include "support/ChildProcess.h"

#include <QCoreApplication>

#include <map>
#include <string>

namespace {

std::map<std::string, ChildMain>& registry()
{
    static std::map<std::string, ChildMain> children;
    return children;
}

} // namespace

ChildRegistration::ChildRegistration(const char* name, ChildMain main) { registry()[name] = std::move(main); }

std::unique_ptr<QProcess> StartChild(const QString& name, const QStringList& args, const QProcessEnvironment& environment)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--child"), name} + args);
    process->waitForStarted(-1);
    return process;
}

std::optional<int> RunChildIfAsked(int argc, char** argv)
{
    if (argc < 3 || std::string(argv[1]) != "--child") return std::nullopt;
    const auto it = registry().find(argv[2]);
    if (it == registry().end()) return 2;
    QStringList args;
    for (int i = 3; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    return it->second(args);
}
