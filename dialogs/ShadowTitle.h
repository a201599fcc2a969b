#pragma once
// "SONIVO" in Arial Black drawn twice with a small offset, the shadow in one
// colour and the text in another. Read as its text by screen readers.

#include <QColor>
#include <QLabel>

namespace sonivo {

class ShadowTitle final : public QLabel {
public:
    ShadowTitle(const QColor& shadow, const QColor& colour, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor shadow_;
    QColor colour_;
};

}  // namespace sonivo
