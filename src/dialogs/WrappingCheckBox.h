#pragma once

#include <QCheckBox>

// A check box whose caption wraps over as many lines as its width needs; the whole box takes
// clicks.
class WrappingCheckBox final : public QCheckBox
{
    Q_OBJECT
public:
    WrappingCheckBox(const QString& text, QWidget* parent);

    bool hasHeightForWidth() const override { return true; }
    // The height the caption takes wrapped at width, or the indicator's if more.
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    // Where the indicator is drawn, and where the caption goes beside it, for a box of width.
    QRect indicatorRect() const;
    QRect captionRect(int width, int height) const;
};
