// The copy of the queued songs' files as the window runs it, without the window:
// every file into the folder, answering "Sì a tutti" should one be there already.
// Side by side with cp on the same files it gives the copy's speed as a ratio.
// With --cancel, "Annulla" is pressed as the first file's first bytes are copied
// and the time from then to the copy's end is printed.
//   bench-copy [--cancel] FOLDER FILE...

#include "shell/CopiaFile.h"
#include "tests/support/ScriptedDialogs.h"

#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>
#include <cstring>

using namespace sonivo;

int main(int argc, char** argv)
{
    const bool cancel = argc > 1 && std::strcmp(argv[1], "--cancel") == 0;
    const int first = cancel ? 2 : 1;
    if (argc < first + 2) {
        std::fprintf(stderr, "bench-copy [--cancel] FOLDER FILE...\n");
        return 2;
    }
    QStringList files;
    for (int i = first + 1; i < argc; ++i)
        files << QString::fromLocal8Bit(argv[i]);
    test::ScriptedDialogs dialogs;
    dialogs.answers = {DesktopDialogs::Answer::YesToAll};
    QElapsedTimer sinceCancel;
    CopiaFile copier(dialogs, [&](const CopyProgress& p) {
        if (cancel && p.bytesDone > 0 && !sinceCancel.isValid())
            sinceCancel.start();
        return !sinceCancel.isValid();
    });
    const CopyOutcome outcome = copier.copy(files, QString::fromLocal8Bit(argv[first]));
    if (cancel) {
        std::printf("from Annulla to the copy's end: %.1f ms\n", double(sinceCancel.nsecsElapsed()) / 1e6);
        return 0;
    }
    for (const QString& line : outcome.notCopied)
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    return outcome.notCopied.isEmpty() ? 0 : 1;
}
