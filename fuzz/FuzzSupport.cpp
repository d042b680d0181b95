#include "FuzzSupport.h"

#include "document/format/Parse.h"
#include "document/format/items/ItemDecoder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace Fuzz {

namespace {

// The application needs its argument count for its whole life.
int g_argc = 1;
char g_argv0[] = "quarvinel-fuzz";
char *g_argv[] = {g_argv0, nullptr};

std::unique_ptr<QTemporaryDir> &Scratch()
{
    static std::unique_ptr<QTemporaryDir> dir;
    return dir;
}

} // namespace

void InitApplication()
{
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's own warnings (the offscreen platform's notes on window sizes) are
    // not findings and would bury libFuzzer's report; fatal messages still end
    // the run.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtFatalMsg || type == QtCriticalMsg)
            Fail("Qt reported a fatal or critical error", message);
    });
    // Deliberately never destroyed: libFuzzer leaves through exit(), and the
    // widgets of a target live as long as the process.
    new QApplication(g_argc, g_argv);
    SetPrompts(&Prompts());
    // Saving syncs the file to disk; on a memory file system that costs
    // nothing, and a run makes thousands of saves.
    const QString memory = QStringLiteral("/dev/shm");
    Scratch() = QFileInfo(memory).isDir() && QFileInfo(memory).isWritable()
                    ? std::make_unique<QTemporaryDir>(memory + QStringLiteral("/quarvinel-fuzz-XXXXXX"))
                    : std::make_unique<QTemporaryDir>();
    if (!Scratch()->isValid())
        Fail("cannot create a scratch directory");
    std::atexit([] { Scratch().reset(); });
}

void SilentPrompts::MessageBox(QObject *, const QString &text, const QString &caption, MessageIcon)
{
    messages.append(caption + QLatin1Char('|') + text);
}

bool SilentPrompts::GetOpenFileName(QString &path, const QString &, const QString &)
{
    if (fileAnswers.isEmpty())
        return false;
    path = fileAnswers.takeFirst();
    return !path.isEmpty();
}

SilentPrompts &Prompts()
{
    static SilentPrompts prompts;
    return prompts;
}

void HeldDoc::Hold(const QByteArray &image)
{
    Clear();
    ReplaceImage(image);
}

QByteArray ImageOf(const CDiablo2Doc &doc)
{
    QByteArray image(qsizetype(doc.GetSize()), '\0');
    if (!image.isEmpty())
        doc.GetBytes(0, doc.GetSize() - 1, reinterpret_cast<quint8 *>(image.data()));
    return image;
}

QString ScratchPath(const QString &name)
{
    return Scratch()->filePath(name);
}

void WriteFileOrDie(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()
        || !file.flush())
        Fail("cannot write a scratch file", path);
}

QByteArray ReadFileOrEmpty(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

const std::vector<RealItemFile> &RealItemFiles()
{
    static const std::vector<RealItemFile> files = [] {
        std::vector<RealItemFile> found;
        const QDir dir(QStringLiteral(QUARVINEL_TEST_DATA));
        for (const QString &name : dir.entryList({QStringLiteral("*.d2s")}, QDir::Files, QDir::Name)) {
            RealItemFile real{name, ReadFileOrEmpty(dir.filePath(name))};
            const Format::ParseResult parsed = Format::Parse(real.image);
            if (!parsed.Opened() || !Format::Items::ItemRulesOf(parsed.character.version))
                continue;
            real.itemsOffset = parsed.character.sections.items;
            real.sizeAndChecksum = parsed.character.layout->sizeAndChecksum;
            found.push_back(std::move(real));
        }
        if (found.empty())
            Fail("no real character file whose items are read", QStringLiteral(QUARVINEL_TEST_DATA));
        return found;
    }();
    return files;
}

void Fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "\n==FINDING== %s\n%s\n", what, detail.toLocal8Bit().constData());
    std::fflush(stderr);
    std::abort();
}

bool ExpectedImage(const QByteArray &file, QByteArray &image, const char *&error)
{
    // Offsets of the stat block in the file as stored: the two mask bytes, a
    // fixed head up to the first optional value, two optional values, 28 fixed
    // bytes, three optional values, then the rest of the file.
    constexpr qsizetype maskLow = 562, maskHigh = 563, head = 581, middle = 28, slot = 4;
    image.clear();
    error = nullptr;
    if (file.isEmpty())
        return true;
    // A file of another version than 71, one without the signature
    // 55 AA 55 AA, or one too short to name a version, is held exactly as
    // read, however short.
    const bool version71 = file.size() >= 8 && file.startsWith(QByteArray::fromHex("55aa55aa"))
        && quint8(file[4]) == 71 && file[5] == 0 && file[6] == 0 && file[7] == 0;
    if (!version71) {
        image = file;
        return true;
    }
    if (file.size() <= maskHigh) {
        error = "offset out of range";
        return false;
    }
    const quint8 low = quint8(file[maskLow]);
    const quint8 high = quint8(file[maskHigh]);
    const bool present[5] = {(low & 0x10) != 0, (low & 0x20) != 0, (high & 0x20) != 0,
                             (high & 0x40) != 0, (high & 0x80) != 0};
    int count = 0;
    for (bool p : present)
        count += p ? 1 : 0;
    if (count == 5) {
        image = file;
        return true;
    }
    if (file.size() < head + middle + slot * count) {
        error = "offset out of range";
        return false;
    }
    qsizetype from = 0;
    auto take = [&](qsizetype n) {
        image.append(file.mid(from, n));
        from += n;
    };
    auto optional = [&](bool p) {
        if (p)
            take(slot);
        else
            image.append(QByteArray(slot, '\0'));
    };
    take(head);
    optional(present[0]);
    optional(present[1]);
    take(middle);
    optional(present[2]);
    optional(present[3]);
    optional(present[4]);
    take(file.size() - from);
    image[maskHigh] = char(0xFF);
    image[maskLow] = char(0xFF);
    return true;
}

} // namespace Fuzz
