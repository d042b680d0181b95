// Writes a character file for the end-to-end tests and the screenshots, and
// beside it the image the editor must hold once it has loaded that file.
//
//     qv_e2e_fixture OUT.d2s [--expanded OUT.image] [--name NAME] [--class N]
//                    [--level N] [--gold N] [--stash N] [--without-stash]
//
// The file is the fixture builder's default character with the fields given.

#include "support/CharacterFixture.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

namespace {

int usage()
{
    std::fputs("usage: qv_e2e_fixture OUT.d2s [--expanded OUT.image] [--name NAME] [--class N]\n"
               "                      [--level N] [--gold N] [--stash N] [--without-stash]\n",
               stderr);
    return 2;
}

bool number(const QString &text, quint32 &value)
{
    bool ok = false;
    value = text.toUInt(&ok);
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.first().startsWith(QLatin1Char('-')))
        return usage();

    CharacterFixture fixture;
    const QString out = args.first();
    QString expanded;
    for (int i = 1; i < args.size(); ++i) {
        const QString &option = args[i];
        if (option == QLatin1String("--without-stash")) {
            fixture.WithoutGoldInStash();
            continue;
        }
        if (i + 1 >= args.size())
            return usage();
        const QString value = args[++i];
        quint32 n = 0;
        if (option == QLatin1String("--expanded"))
            expanded = value;
        else if (option == QLatin1String("--name"))
            fixture.Name(value.toLatin1());
        else if (option == QLatin1String("--class") && number(value, n))
            fixture.Class(quint8(n));
        else if (option == QLatin1String("--level") && number(value, n))
            fixture.Level(quint8(n));
        else if (option == QLatin1String("--gold") && number(value, n))
            fixture.Gold(n);
        else if (option == QLatin1String("--stash") && number(value, n))
            fixture.GoldInStash(n);
        else
            return usage();
    }

    if (!fixture.WriteTo(out)) {
        std::fprintf(stderr, "qv_e2e_fixture: cannot write %s\n", qPrintable(out));
        return 1;
    }
    if (!expanded.isEmpty() && !CharacterFixture::WriteFile(expanded, fixture.Expanded())) {
        std::fprintf(stderr, "qv_e2e_fixture: cannot write %s\n", qPrintable(expanded));
        return 1;
    }
    return 0;
}
