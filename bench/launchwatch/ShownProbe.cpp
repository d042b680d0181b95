// A Qt generic plugin that tells the launch watcher when a program's top-level
// window is shown and what its title is, for platforms without an X server to
// watch (the offscreen platform). Loaded into the measured program by
// QT_QPA_GENERIC_PLUGINS=benchshownprobe with QT_PLUGIN_PATH naming its folder,
// it writes lines to the file descriptor named by BENCH_SHOWN_FD:
//
//     E <monotonic ns> <title>     the first expose of a top-level window
//     T <monotonic ns> <title>     a later change of a top-level window's title
//
// It changes nothing in the program it is loaded into, except that with
// BENCH_SHOWN_EXIT set it ends the program at once (exit status 0) when it has
// written a line whose title contains that text: a profiler run then counts
// the start-up alone, up to the ready window.

#include <QCoreApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QWidget>
#include <QWindow>

#include <time.h>
#include <unistd.h>

namespace {

qint64 MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

class ShownReporter : public QObject
{
public:
    explicit ShownReporter(int fd) : m_fd(fd) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && !m_exposed) {
            auto *window = qobject_cast<QWindow *>(watched);
            if (window && window->isTopLevel() && window->isExposed() && window->type() != Qt::Popup
                && window->type() != Qt::ToolTip) {
                m_exposed = true;
                Report('E', window->title());
            }
        } else if (event->type() == QEvent::WindowTitleChange && m_exposed) {
            auto *widget = qobject_cast<QWidget *>(watched);
            if (widget && widget->isWindow())
                Report('T', widget->windowTitle());
        }
        return false;
    }

private:
    void Report(char kind, const QString &title)
    {
        const QByteArray line = QByteArray(1, kind) + ' ' + QByteArray::number(MonotonicNs()) + ' '
            + title.toUtf8().replace('\n', ' ') + '\n';
        // One write per line, so the watcher never reads half a line.
        const ssize_t written = ::write(m_fd, line.constData(), size_t(line.size()));
        Q_UNUSED(written);
        if (qEnvironmentVariableIsSet("BENCH_SHOWN_EXIT") && title.contains(qEnvironmentVariable("BENCH_SHOWN_EXIT")))
            ::_exit(0);
    }

    int m_fd;
    bool m_exposed = false;
};

} // namespace

class ShownProbePlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "shownprobe.json")

public:
    QObject *create(const QString &key, const QString &parameters) override
    {
        Q_UNUSED(key);
        Q_UNUSED(parameters);
        bool ok = false;
        const int fd = qEnvironmentVariableIntValue("BENCH_SHOWN_FD", &ok);
        if (!ok || fd < 0)
            return nullptr;
        auto *reporter = new ShownReporter(fd);
        QCoreApplication::instance()->installEventFilter(reporter);
        return reporter;
    }
};

#include "ShownProbe.moc"
