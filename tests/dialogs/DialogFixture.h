#pragma once
// What the dialog tests share: the playing document, and the widgets found by name.

#include "tests/support/PlayingDocument.h"

#include <QAccessible>
#include <QWidget>

namespace sonivo::test {

class DialogFixture : public PlayingDocument {
protected:
    template <typename W> static W* child(const QWidget& parent, const char* name)
    {
        W* w = parent.findChild<W*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
};

// The name a screen reader reads for the widget.
inline QString accessibleName(QWidget* w)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

}  // namespace sonivo::test
