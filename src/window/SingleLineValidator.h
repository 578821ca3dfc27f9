#pragma once

#include <QValidator>

// Keeps an input line on one line: a line break pasted or set into it (CR LF, CR or LF) becomes
// one blank, so a line sent is one line at the server and a second line can never pass for a
// command of its own.
class SingleLineValidator final : public QValidator
{
    Q_OBJECT
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};
