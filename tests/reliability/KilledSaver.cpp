// The victim of the killed-save test: saves an image of a given size over a
// file again and again through the document's Save, one generation after the
// other, and says on standard output when each save starts and ends:
//
//     qv_killed_saver <file> <size in bytes> <first generation>
//
// It stops by itself after 200 saves; the test kills it long before.

#include "SaveLoop.h"

#include "support/CharacterFixture.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <file> <size> <first generation>\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const qsizetype size = qsizetype(std::strtoll(argv[2], nullptr, 10));
    const quint64 first = std::strtoull(argv[3], nullptr, 10);

    FixtureDoc doc;
    for (quint64 generation = first; generation < first + 200; ++generation) {
        doc.Hold(SaveLoop::Image(generation, size), path);
        std::printf("saving %llu\n", static_cast<unsigned long long>(generation));
        std::fflush(stdout);
        // A failed save reports itself on standard error (no prompts are
        // installed), where the test looks for it.
        if (!doc.Save())
            return 1;
        std::printf("saved %llu\n", static_cast<unsigned long long>(generation));
        std::fflush(stdout);
    }
    return 0;
}
