#pragma once

#include <QByteArray>
#include <QString>

// Checks of the fuzz targets. A failed one prints what differed and aborts, so libFuzzer keeps
// the input that caused it.
[[noreturn]] void fuzzFailure(const char* condition, const char* file, int line);
[[noreturn]] void fuzzFailure(const char* condition, const char* file, int line,
                              const QString& actual, const QString& expected);

QString fuzzDescribe(const QString& text);
QString fuzzDescribe(const QByteArray& bytes);
QString fuzzDescribe(qint64 number);

#define FUZZ_CHECK(condition) ((condition) ? void() : fuzzFailure(#condition, __FILE__, __LINE__))

#define FUZZ_CHECK_EQUAL(actual, expected)                                                         \
    (((actual) == (expected)) ? void()                                                             \
                              : fuzzFailure(#actual " == " #expected, __FILE__, __LINE__,          \
                                            fuzzDescribe(actual), fuzzDescribe(expected)))
