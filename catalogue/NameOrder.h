#pragma once
// The order a file manager shows a folder's entries in: by the rules of the
// user's language, letter case aside, accents after the plain letter and numbers
// by value ("2" before "10"). A byte of a name that is not UTF-8 sorts after
// every letter, so the rest of the name keeps its place.

#include "platform/Directory.h"

#include <QCollator>

namespace sonivo {

class NameOrder {
public:
    // Reads the user's locale; one order serves a whole scan.
    NameOrder();
    void sort(std::vector<DirEntry>& entries) const;

private:
    QCollator collator_;
};

}  // namespace sonivo
