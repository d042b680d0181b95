// The floor: the least a Qt Widgets program of the editor's size costs to start.
// A dialog with a menu bar and about 40 controls of the kinds the main window
// has (group boxes, labels, edits, drop-down lists, check boxes, push buttons),
// built from the same Qt modules (Core, Gui, Widgets), doing nothing else: no
// file, no data exchange, no handler. The launch benchmark starts it beside the
// editor and measures both the same way.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

namespace {

struct Row
{
    const char *label;
    int y;
};

// A label and an edit at x, y; the edit is w pixels wide.
void LabelledEdit(QWidget *parent, const char *label, int x, int y, int labelWidth, int w)
{
    auto *text = new QLabel(QString::fromLatin1(label), parent);
    text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    text->setGeometry(x, y, labelWidth, 20);
    auto *edit = new QLineEdit(parent);
    edit->setGeometry(x + labelWidth + 6, y, w, 20);
    text->setBuddy(edit);
}

QComboBox *List(QWidget *parent, const QStringList &items, int x, int y, int w)
{
    auto *combo = new QComboBox(parent);
    combo->addItems(items);
    combo->setGeometry(x, y, w, 22);
    return combo;
}

void AddMenu(QMenuBar *bar, const char *title, const QStringList &items)
{
    QMenu *menu = bar->addMenu(QString::fromLatin1(title));
    for (const QString &item : items) {
        if (item.isEmpty())
            menu->addSeparator();
        else
            menu->addAction(item);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);

    QDialog window;
    window.setWindowTitle(QStringLiteral("Floor"));
    auto *layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto *bar = new QMenuBar(&window);
    AddMenu(bar, "&File", {QStringLiteral("&Open..."), QStringLiteral("Reload"), QStringLiteral("&Save"),
                           QStringLiteral("&Close"), QString(), QStringLiteral("&Backup"),
                           QStringLiteral("&Restore"), QString(), QStringLiteral("E&xit")});
    AddMenu(bar, "&Edit", {QStringLiteral("&Edit Value..."), QStringLiteral("&Find Value..."),
                           QStringLiteral("&Compare..."), QString(), QStringLiteral("Maximize Skills"),
                           QStringLiteral("Maximize Attributes"), QString(),
                           QStringLiteral("Rename Character..."), QString(),
                           QStringLiteral("Activate All Way Points"), QStringLiteral("Activate All Acts"),
                           QStringLiteral("Activate Nightmare and Hell"), QString(),
                           QStringLiteral("All Quests Done")});
    AddMenu(bar, "&Help", {QStringLiteral("&Help"), QStringLiteral("&About")});
    layout->setMenuBar(bar);

    auto *client = new QWidget(&window);
    client->setFixedSize(450, 430);
    layout->addWidget(client);

    // 2 labels on top.
    (new QLabel(QStringLiteral("A dialog of the editor's size"), client))->setGeometry(6, 6, 260, 16);
    (new QLabel(QStringLiteral("version 0"), client))->setGeometry(300, 6, 140, 16);

    // The upper group: 1 group box, 5 lists, 3 check boxes.
    auto *upper = new QGroupBox(QStringLiteral("Selections:"), client);
    upper->setGeometry(4, 28, 440, 76);
    const QStringList three = {QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")};
    List(upper, three, 12, 20, 76);
    List(upper, {QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("A3"), QStringLiteral("A4")},
         94, 20, 60);
    List(upper, three, 160, 20, 170);
    List(upper, three + QStringList{QStringLiteral("Four")}, 336, 20, 96);
    List(upper, three, 160, 46, 170);
    (new QCheckBox(QStringLiteral("First"), upper))->setGeometry(12, 48, 76, 20);
    (new QCheckBox(QStringLiteral("Second"), upper))->setGeometry(94, 48, 64, 20);
    (new QCheckBox(QStringLiteral("Third"), upper))->setGeometry(336, 48, 90, 20);

    // The lower group: 1 group box, 8 labelled edits on the left (16 controls),
    // 2 lists and 6 labelled edits on the right (12 controls), 1 push button.
    auto *lower = new QGroupBox(QStringLiteral("Values"), client);
    lower->setGeometry(4, 110, 440, 312);
    const Row left[] = {{"Name:", 22},  {"First:", 56},  {"Second:", 90}, {"Third:", 124},
                        {"Fourth:", 158}, {"Fifth:", 192}, {"Sixth:", 226}, {"Seventh:", 260}};
    for (const Row &row : left)
        LabelledEdit(lower, row.label, 6, row.y, 90, 68);
    (new QPushButton(QStringLiteral(">>"), lower))->setGeometry(174, 56, 18, 20);
    List(lower, {QStringLiteral("Red"), QStringLiteral("Green"), QStringLiteral("Blue")}, 256, 22, 176);
    QStringList numbers;
    for (int n = 1; n <= 99; ++n)
        numbers.append(QString::number(n));
    List(lower, numbers, 256, 56, 104);
    const Row right[] = {{"Eighth:", 90},   {"Ninth:", 124},   {"Tenth:", 158},
                         {"Eleventh:", 192}, {"Twelfth:", 226}, {"Thirteenth:", 260}};
    for (const Row &row : right)
        LabelledEdit(lower, row.label, 200, row.y, 130, 96);

    window.show();
    return app.exec();
}
