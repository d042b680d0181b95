#pragma once

// What every fuzz target shares: a Qt application on the offscreen platform,
// prompts that answer without a person, a document that holds an image given
// directly, and the way a target reports a wrong result.

#include "document/Diablo2Doc.h"
#include "core/Prompts.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Fuzz {

// Creates the application once (offscreen unless QT_QPA_PLATFORM says
// otherwise) and installs the prompts below. Safe to call more than once.
void InitApplication();

// Message boxes are recorded, file questions answered from a queue.
class SilentPrompts final : public IPrompts
{
public:
    void MessageBox(QObject *owner, const QString &text, const QString &caption,
                    MessageIcon icon) override;
    bool GetOpenFileName(QString &path, const QString &defaultExtension,
                         const QString &filter) override;

    // "caption|text" of every message since the last Reset.
    QStringList messages;
    QStringList fileAnswers;
    void Reset()
    {
        messages.clear();
        fileAnswers.clear();
    }
};

SilentPrompts &Prompts();

// A document holding exactly the bytes it is given, without a file and
// without the load's expansion.
class HeldDoc : public CDiablo2Doc
{
public:
    void Hold(const QByteArray &image);
};

// The whole image of a document, read through its accessors.
QByteArray ImageOf(const CDiablo2Doc &doc);

// A directory of its own for the files a target writes, removed at exit.
QString ScratchPath(const QString &name);

// Writes bytes to path whole; aborts when it cannot (the machine, not the
// program, is at fault then).
void WriteFileOrDie(const QString &path, const QByteArray &bytes);
QByteArray ReadFileOrEmpty(const QString &path);

// The real character files of tests/data whose items this program reads, in
// the order of their names, each with where its first "JM" is and whether its
// version keeps a size field and a checksum. Aborts when there is none.
struct RealItemFile
{
    QString name;
    QByteArray image;
    int itemsOffset = 0;
    bool sizeAndChecksum = false;
};
const std::vector<RealItemFile> &RealItemFiles();

// A wrong result: prints what was expected and what came, then aborts, which
// libFuzzer reports as a crash together with the input.
[[noreturn]] void Fail(const char *what, const QString &detail = QString());

inline QByteArray Bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// The expansion of the stat block, written from the file format alone, as the
// yardstick for the document's load. Returns false with the error text the
// load must throw when the bytes are too short for their stat block.
bool ExpectedImage(const QByteArray &file, QByteArray &image, const char *&error);

inline quint32 LittleEndian(const QByteArray &image, quint32 first, quint32 last)
{
    quint32 value = 0;
    for (quint32 k = last + 1; k-- > first;)
        value = (value << 8) | quint8(image[qsizetype(k)]);
    return value;
}

} // namespace Fuzz
