// Writes the starting inputs of the fuzz targets from the test fixtures:
//
//     fuzz_make_seeds <fuzz/corpus>
//
// Those inputs are kept in the repository; run this again when the fixtures
// change and commit what it writes.

#include "support/CharacterFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

QByteArray LittleEndian(quint32 value, int width)
{
    QByteArray bytes;
    for (int k = 0; k < width; ++k)
        bytes.append(char((value >> (8 * k)) & 0xFF));
    return bytes;
}

bool Write(const QDir &root, const QString &target, const QString &name, const QByteArray &bytes)
{
    if (!root.mkpath(target))
        return false;
    QFile file(root.filePath(target + QLatin1Char('/') + name));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    bool ok = true;

    // Characters: the default one, each kind of left-out stat value, lengths
    // at the edges of what the load and the window accept, odd bytes.
    using O = CharacterFixture::Optional;
    const QByteArray hero = CharacterFixture().Build();
    const struct
    {
        const char *name;
        QByteArray bytes;
    } characters[] = {
        {"default.d2s", hero},
        {"without-experience-gold-stash.d2s",
         CharacterFixture().Without(O::Experience | O::Gold | O::GoldInStash).Build()},
        {"without-everything.d2s", CharacterFixture().Without(O::All).Build()},
        {"without-points.d2s", CharacterFixture().Without(O::AttributePoints | O::SkillPoints).Build()},
        {"shortest-shown.d2s", CharacterFixture().Length(661).Build()},
        {"too-short-to-show.d2s", CharacterFixture().Length(660).Build()},
        {"stat-block-cut.d2s", CharacterFixture().Without(O::Gold).Length(620).Build()},
        {"mask-only.d2s", hero.left(564)},
        {"odd-values.d2s", CharacterFixture().Class(9).Level(0).StatLevel(150).DifficultyFlags(0xFF)
                               .Name("ABCDEFGHIJKLMNO").Gold(4294967295u).Health(65535).Build()},
        {"empty.d2s", QByteArray()},
    };
    for (const auto &c : characters)
        ok = Write(root, QStringLiteral("fuzz_load"), QString::fromLatin1(c.name), c.bytes) && ok;
    // The document alone: a range and a value for the accessors (offset 621,
    // four bytes, 0x01020304), then the file.
    const QByteArray range = QByteArray::fromHex("6d020000050000000403020100");
    for (const auto &c : characters)
        ok = Write(root, QStringLiteral("fuzz_document"), QString::fromLatin1(c.name), range.left(12) + c.bytes) && ok;

    // Compare: length of the edited image, the edited image, the compare file.
    auto pair = [](const QByteArray &edited, const QByteArray &compare) {
        return LittleEndian(quint32(edited.size()), 2) + edited + compare;
    };
    const QByteArray expanded = CharacterFixture().Expanded();
    ok = Write(root, QStringLiteral("fuzz_compare"), QStringLiteral("gold-changed"),
               pair(expanded, CharacterFixture().Gold(99).Build())) && ok;
    ok = Write(root, QStringLiteral("fuzz_compare"), QStringLiteral("compare-expanded"),
               pair(expanded, CharacterFixture().WithoutGold().Build())) && ok;
    ok = Write(root, QStringLiteral("fuzz_compare"), QStringLiteral("longer"),
               pair(expanded.left(650), hero)) && ok;
    ok = Write(root, QStringLiteral("fuzz_compare"), QStringLiteral("shorter"),
               pair(expanded, CharacterFixture().Length(680).Build())) && ok;
    ok = Write(root, QStringLiteral("fuzz_compare"), QStringLiteral("compare-too-short"),
               pair(expanded, hero.left(100))) && ok;

    // FindValue: the value, the offset to continue after, the image.
    auto search = [](quint32 value, quint32 after, const QByteArray &image) {
        return LittleEndian(value, 4) + LittleEndian(after, 4) + image;
    };
    ok = Write(root, QStringLiteral("fuzz_findvalue"), QStringLiteral("gold"), search(1234, 0xFFFFFFFFu, expanded)) && ok;
    ok = Write(root, QStringLiteral("fuzz_findvalue"), QStringLiteral("experience"), search(57715, 0xFFFFFFFFu, expanded)) && ok;
    ok = Write(root, QStringLiteral("fuzz_findvalue"), QStringLiteral("stash-after-gold"), search(5678, 621, expanded)) && ok;
    ok = Write(root, QStringLiteral("fuzz_findvalue"), QStringLiteral("byte-at-end"), search(0x80 | (699 & 0x7F), 600, expanded)) && ok;
    ok = Write(root, QStringLiteral("fuzz_findvalue"), QStringLiteral("wide-value"), search(0xFFFFFFFFu, 0, QByteArray(16, char(0xFF)))) && ok;
    // Long runs of the value's own bytes, where the search reads byte by byte.
    ok = Write(root, QStringLiteral("fuzz_findvalue"), QStringLiteral("long-run"),
               search(0xFFFFFF11u, 0xFFFFFFFFu, QByteArray(2500, char(0xFF)) + "\x11" + QByteArray(499, char(0xFF)))) && ok;

    // Number texts: a mode byte (0: UTF-8), then the text.
    const char *const texts[] = {"0", "123", " \t+42\t ", "-7", "4294967295", "4294967296", "2147483648",
                                 "-2147483649", "007", "+", "-0", "12a", "", "   ", "99999999999999999999999999999999999"};
    int n = 0;
    for (const char *text : texts)
        ok = Write(root, QStringLiteral("fuzz_numberparse"), QStringLiteral("text-%1").arg(n++),
                   QByteArray(1, '\0') + QByteArray(text)) && ok;
    // The same in UTF-16, with an Arabic-Indic digit that must not count.
    const QString wide = QStringLiteral("12") + QChar(0x0663);
    QByteArray utf16(1, '\1');
    utf16.append(reinterpret_cast<const char *>(wide.utf16()), wide.size() * 2);
    ok = Write(root, QStringLiteral("fuzz_numberparse"), QStringLiteral("utf16-digit"), utf16) && ok;

    if (!ok)
        std::fprintf(stderr, "could not write every seed\n");
    return ok ? 0 : 1;
}
