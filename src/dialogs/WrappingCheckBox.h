#pragma once

#include <QCheckBox>

// A check box whose caption wraps over as many lines as its width needs; the whole box takes
// clicks.
class WrappingCheckBox final : public QCheckBox
{
    Q_OBJECT
public:
    WrappingCheckBox(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
};
