// Writes the starting inputs of the fuzz targets from the test fixtures and
// the real files of tests/data:
//
//     fuzz_make_seeds <fuzz/corpus>
//
// Those inputs are kept in the repository; run this again when the fixtures
// change and commit what it writes.

#include "FuzzSupport.h"
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

    // Items: each real file as it is (a change of nothing), then a few
    // damages a player meets: an item cut short, a socketed item's code made
    // unknown, a byte slipped in before the mercenary's items; and the item
    // lists of three files alone, read by their version's rules.
    const auto &real = Fuzz::RealItemFiles();
    auto change = [&](const char *name, quint8 how, int at, const QByteArray &bytes) {
        for (std::size_t k = 0; k < real.size(); ++k)
            if (real[k].name == QLatin1String(name))
                return QByteArray(1, char(k)) + LittleEndian(quint32(at - real[k].itemsOffset), 2) + char(how) + bytes;
        std::fprintf(stderr, "no real file %s\n", name);
        return QByteArray();
    };
    for (std::size_t k = 0; k < real.size(); ++k)
        ok = Write(root, QStringLiteral("fuzz_items"), QStringLiteral("whole-") + real[k].name,
                   QByteArray(1, char(k)) + QByteArray(3, '\0')) && ok;
    ok = Write(root, QStringLiteral("fuzz_items"), QStringLiteral("cut-inside-an-item"),
               change("v98_sorceress_level66.d2s", 3, 1000, {})) && ok;
    ok = Write(root, QStringLiteral("fuzz_items"), QStringLiteral("socketed-code-unknown"),
               change("v96_sorceress_level94.d2s", 1, 1277, QByteArray(1, char(0xFF)))) && ok;
    ok = Write(root, QStringLiteral("fuzz_items"), QStringLiteral("byte-before-the-mercenary"),
               change("v98_sorceress_level66.d2s", 2, 2485, QByteArray(1, '\0'))) && ok;
    // The mode byte 0x80 | k reads by the rules of the k-th version of 87, 89,
    // 92, 96, 97, 98, 99, 105.
    const struct
    {
        const char *name;
        quint8 rules;
    } alone[] = {{"v87_barbarian_new.d2s", 0x80}, {"v97_amazon_new.d2s", 0x84}, {"v105_warlock_new.d2s", 0x87}};
    for (const auto &a : alone)
        for (const auto &file : real)
            if (file.name == QLatin1String(a.name))
                ok = Write(root, QStringLiteral("fuzz_items"), QStringLiteral("lists-alone-") + file.name,
                           char(a.rules) + file.image.mid(file.itemsOffset)) && ok;

    if (!ok)
        std::fprintf(stderr, "could not write every seed\n");
    return ok ? 0 : 1;
}
