#pragma once
// Shows a text in a label that may be too narrow for it: the text is cut with an
// ellipsis at its end until it fits 97 % of the label's width, and the full text
// becomes the label's tooltip when it was cut.

#include <QString>

class QLabel;

namespace sonivo {

void fitToLabel(const QString& text, QLabel& label);

}  // namespace sonivo
