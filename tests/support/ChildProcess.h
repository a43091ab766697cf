#pragma once
// Code a test runs in a child process of its own: the test program is started again with
// "--child NAME ARGS...", and the test main runs the function registered under NAME instead of the tests.

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

using ChildMain = std::function<int(const QStringList& args)>;

struct ChildRegistration {
    ChildRegistration(const char* name, ChildMain main);
};

// Started, not awaited; the child's standard output is kept for the caller.
std::unique_ptr<QProcess> StartChild(const QString& name, const QStringList& args,
                                     const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

// The exit code of the registered function when the command line asks for a child, else nothing.
std::optional<int> RunChildIfAsked(int argc, char** argv);
