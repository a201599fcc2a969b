#pragma once
// Picks an entry of a drop-down list as a user does with the keyboard: Down from
// no choice to the first entry, then Down until the entry is reached.

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>

#include <gtest/gtest.h>

namespace sonivo::test {

inline void chooseByKeyboard(QComboBox* combo, int index)
{
    for (int pressed = 0; combo->currentIndex() < index && pressed <= combo->count(); ++pressed) {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(combo, &down);
    }
    ASSERT_EQ(combo->currentIndex(), index);
}

}  // namespace sonivo::test
