#pragma once
// An error raised to the caller with a number, a source and a description, as the engine and the
// environment class report them. Callers that handle errors catch it; the rest let it travel up.

#include <QString>

#include <stdexcept>

class AppError : public std::runtime_error {
public:
    AppError(long number, QString source, QString description)
        : std::runtime_error(description.toStdString()), number_(number), source_(std::move(source)),
          description_(std::move(description))
    {
    }
    long number() const { return number_; }
    const QString& source() const { return source_; }
    const QString& description() const { return description_; }

private:
    long number_;
    QString source_;
    QString description_;
};
