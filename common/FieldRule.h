#pragma once
// The n-th piece (from 1) of a text split at every occurrence of a separator
// (exact comparison); empty when the text has fewer pieces or n is below 1.
// Field 2 of "03.07" split at "." is "07"; field 3 is "".

#include <QString>
#include <QStringView>

namespace sonivo {

QStringView Field(QStringView text, int n, QStringView separator);

}  // namespace sonivo
