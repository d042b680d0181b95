#include "widgets/DialogBuilder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QtMath>
#include <QStyle>
#include <QTabBar>

namespace {

int mulDiv(int value, int numerator, int denominator)
{
    return int((qint64(value) * numerator + denominator / 2) / denominator);
}

QString plainLabel(const QString &text)
{
    QString s = text;
    s.remove(QLatin1Char('&'));
    s = s.trimmed();
    if (s.endsWith(QLatin1Char(':')))
        s.chop(1);
    return s;
}

// A picture may be stored a second time at twice its size, as NAME@2x.png;
// that one is read only where a screen shows the window at more than scale 1.
// Decoding four times the pixels was the largest part of the start-up.
QPixmap loadPicture(const QString &path)
{
    if (qApp->devicePixelRatio() > 1) {
        const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
        QPixmap doubled(path.left(dot) + QStringLiteral("@2x") + path.mid(dot));
        if (!doubled.isNull()) {
            doubled.setDevicePixelRatio(2);
            return doubled;
        }
    }
    return QPixmap(path);
}

// A frame with its title on the top line, as dialogs draw them. Painted here
// rather than through a style sheet, which cost the start-up half a megabyte
// of memory and a style of its own for every frame.
class FramedGroupBox : public QGroupBox
{
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QFontMetrics metrics(font());
        const int top = metrics.height() / 2;
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, top, -1, -1));
        const QRect titleRect(6, 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
        painter.fillRect(titleRect, palette().window());
        style()->drawItemText(&painter, titleRect, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(),
                              title(), QPalette::WindowText);
    }
};

// A picture drawn to the size of its control, filtered as it is drawn: a label
// that scales its contents would keep a scaled copy beside the picture. A
// picture far larger than its control (the icon in About) is first reduced by
// averaging, which filtering alone would leave jagged.
class PictureLabel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        drawFrame(&painter);
        const QRect target = contentsRect();
        QPixmap picture = pixmap();
        if (picture.width() > 3 * target.width() * devicePixelRatio() / 2) {
            picture = picture.scaled(target.size() * devicePixelRatio(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            picture.setDevicePixelRatio(devicePixelRatio());
        }
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(target, picture);
    }
};

QWidget *createControl(const ControlTemplate &c, QWidget *client)
{
    const QString text = QString::fromUtf8(c.text ? c.text : "");
    switch (c.kind) {
    case ControlKind::Static: {
        auto *label = new QLabel(text, client);
        label->setWordWrap(true);
        Qt::Alignment horizontal = Qt::AlignLeft;
        if (c.style & StyleRightAlign)
            horizontal = Qt::AlignRight;
        else if (c.style & StyleCenter)
            horizontal = Qt::AlignHCenter;
        label->setAlignment(horizontal | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case ControlKind::GroupBox:
        return new FramedGroupBox(text, client);
    case ControlKind::Bitmap: {
        auto *label = new PictureLabel(client);
        label->setPixmap(loadPicture(text));
        if (c.style & StyleBorder)
            label->setFrameShape(QFrame::Box);
        return label;
    }
    case ControlKind::Edit: {
        auto *edit = new QLineEdit(client);
        edit->setReadOnly(c.style & StyleReadOnly);
        return edit;
    }
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
        auto *button = new QPushButton(text, client);
        // Only the template's default button looks like one; Enter on any other
        // push button is the dialog's business (it clicks the focused one).
        button->setAutoDefault(false);
        button->setDefault(c.kind == ControlKind::DefPushButton);
        return button;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(text, client);
    case ControlKind::ComboBox: {
        auto *combo = new QComboBox(client);
        combo->setEditable(false);
        return combo;
    }
    case ControlKind::ListBox: {
        auto *list = new QListWidget(client);
        list->setFrameShape(QFrame::StyledPanel);
        list->setWordWrap(true);
        list->setTextElideMode(Qt::ElideNone);
        return list;
    }
    case ControlKind::TabControl: {
        auto *tabs = new QTabBar(client);
        tabs->setExpanding(false);
        tabs->setDrawBase(true);
        return tabs;
    }
    case ControlKind::Custom:
        return new QWidget(client);
    }
    return nullptr;
}

// A caption wider than the inside of its button (a narrow button such as
// ">>" where the font is larger than the one the window was laid out for) is
// drawn in a smaller font, so that it keeps clear of the button's border.
void fitCaption(QPushButton *button)
{
    const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    const qreal room = button->width() - 2 * (frame + 2);
    const qreal needed = QFontMetricsF(button->font()).horizontalAdvance(button->text());
    if (needed <= room || room <= 0)
        return;
    QFont font = button->font();
    font.setPointSizeF(qMax(5.0, font.pointSizeF() * room / needed));
    button->setFont(font);
}

} // namespace

DialogUnits::DialogUnits(const QFont &font)
{
    const QFontMetrics fm(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m_nBaseX = (fm.horizontalAdvance(letters) / 26 + 1) / 2;
    m_nBaseY = fm.height();
}

int DialogUnits::X(int units) const
{
    return mulDiv(units, m_nBaseX, 4);
}

int DialogUnits::Y(int units) const
{
    return mulDiv(units, m_nBaseY, 8);
}

QRect DialogUnits::Rect(int x, int y, int cx, int cy) const
{
    return QRect(X(x), Y(y), X(cx), Y(cy));
}

QFont DialogFont(const DialogTemplate &dialogTemplate)
{
    const QString family = QString::fromUtf8(dialogTemplate.fontName);
    QFont font;
    // The installed families as they are: hasFamily would first run the name
    // through the font configuration's substitutions, a sizeable part of the
    // start-up, for a family that is rarely there.
    if (QFontDatabase::families().contains(family, Qt::CaseInsensitive))
        font.setFamily(family);
    else
        font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(dialogTemplate.pointSize);
    return font;
}

QHash<int, QWidget *> BuildDialogControls(const DialogTemplate &dialogTemplate, QWidget *client,
                                          const DialogUnits &units)
{
    QHash<int, QWidget *> controls;
    QLabel *pendingLabel = nullptr;
    for (const ControlTemplate &c : dialogTemplate.controls) {
        QWidget *w = createControl(c, client);
        QRect rect = units.Rect(c.x, c.y, c.cx, c.cy);
        if (c.kind == ControlKind::ComboBox) {
            // The template's height is that of the opened list; the closed box
            // takes the style's own height.
            auto *combo = static_cast<QComboBox *>(w);
            const int closed = combo->sizeHint().height();
            const int itemHeight = qMax(1, combo->fontMetrics().height() + 2);
            combo->setMaxVisibleItems(qMax(3, (rect.height() - closed) / itemHeight));
            rect.setHeight(closed);
        }
        if (c.kind == ControlKind::Bitmap) {
            // A picture keeps its proportions: its height follows the width.
            const QPixmap pixmap = static_cast<QLabel *>(w)->pixmap();
            if (!pixmap.isNull() && pixmap.width() > 0)
                rect.setHeight(qMin(rect.height(), rect.width() * pixmap.height() / pixmap.width()));
        } else if (c.kind == ControlKind::Static && c.cy <= 10) {
            // A one-line label shows its whole text even where the font is wider
            // than the one the window was laid out for.
            auto *label = static_cast<QLabel *>(w);
            label->setWordWrap(false);
            // The text's advance, as it is drawn: measuring through sizeHint
            // laid the text out a second time.
            const int needed = qCeil(QFontMetricsF(label->font()).horizontalAdvance(label->text()));
            if (needed > rect.width()) {
                if (c.style & StyleRightAlign)
                    rect.setLeft(rect.right() - needed + 1);
                else
                    rect.setWidth(needed);
            }
        }
        w->setGeometry(rect);
        if (c.kind == ControlKind::PushButton || c.kind == ControlKind::DefPushButton)
            fitCaption(static_cast<QPushButton *>(w));
        if (c.style & StyleDisabled)
            w->setEnabled(false);
        if (c.id != IDC_STATIC)
            w->setObjectName(QStringLiteral("control%1").arg(c.id));

        const bool takesLabel = c.kind == ControlKind::Edit || c.kind == ControlKind::ComboBox
            || c.kind == ControlKind::ListBox || c.kind == ControlKind::Custom;
        if (c.accessibleName)
            w->setAccessibleName(QString::fromUtf8(c.accessibleName));
        else if (takesLabel && pendingLabel)
            w->setAccessibleName(plainLabel(pendingLabel->text()));
        if (takesLabel && pendingLabel) {
            pendingLabel->setBuddy(w);
        } else if (c.kind == ControlKind::ComboBox && c.accessibleName) {
            // Assistive technology on this platform names a list by the item it
            // shows and finds its purpose only through a label: a list without a
            // visible one gets a hidden label.
            auto *hidden = new QLabel(QString::fromUtf8(c.accessibleName), client);
            hidden->setObjectName(QStringLiteral("label%1").arg(c.id));
            hidden->hide();
            hidden->setBuddy(w);
        }
        pendingLabel = c.kind == ControlKind::Static && c.id == IDC_STATIC ? qobject_cast<QLabel *>(w)
                                                                           : nullptr;
        if (c.id != IDC_STATIC)
            controls.insert(c.id, w);
    }
    return controls;
}
