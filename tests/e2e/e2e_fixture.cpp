// Writes a character file for the end-to-end tests and the screenshots, and
// optionally the image the editor must hold once it has loaded that file:
//     qv_e2e_fixture OUT.d2s [--expanded OUT.image] [--name NAME] [--class N]
//                    [--gold N] [--stash N] [--without-stash]
#include "support/CharacterFixture.h"

#include <QCoreApplication>
#include <QStringList>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    CharacterFixture fixture;
    QString expanded;
    for (int i = 1; i < args.size(); ++i) {
        const QString value = args.value(i + 1);
        if (args[i] == QLatin1String("--without-stash"))
            fixture.WithoutGoldInStash();
        else if (args[i] == QLatin1String("--expanded") && ++i)
            expanded = value;
        else if (args[i] == QLatin1String("--name") && ++i)
            fixture.Name(value.toLatin1());
        else if (args[i] == QLatin1String("--class") && ++i)
            fixture.Class(quint8(value.toUInt()));
        else if (args[i] == QLatin1String("--gold") && ++i)
            fixture.Gold(value.toUInt());
        else if (args[i] == QLatin1String("--stash") && ++i)
            fixture.GoldInStash(value.toUInt());
        else
            return 2;
    }
    const bool written = !args.isEmpty() && fixture.WriteTo(args.first())
        && (expanded.isEmpty() || CharacterFixture::WriteFile(expanded, fixture.Expanded()));
    return written ? 0 : 1;
}
