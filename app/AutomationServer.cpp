#include "AutomationServer.h"

#include "mainwindow/AutoProxy.h"
#include "AutomationNames.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>

CAutomationInstance::CAutomationInstance(const QDBusConnection &bus, const QString &client,
                                         CBrennicorDlg *dialog)
    : m_bus(bus), m_strClient(client), m_pProxy(std::make_unique<CBrennicorDlgAutoProxy>(dialog))
{
    m_pWatcher = new QDBusServiceWatcher(client, m_bus, QDBusServiceWatcher::WatchForUnregistration, this);
    connect(m_pWatcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] { DropProxy(); });
    // The client may have left before the watch was in place; a unique name
    // never comes back, so one look settles it.
    if (!m_bus.interface()->isServiceRegistered(client).value())
        QMetaObject::invokeMethod(this, [this] { DropProxy(); }, Qt::QueuedConnection);
}

CAutomationInstance::~CAutomationInstance() = default;

void CAutomationInstance::Release()
{
    if (calledFromDBus() && message().service() != m_strClient) {
        sendErrorReply(QString::fromLatin1(kErrorNotHolder),
                       QStringLiteral("Only the client that created this instance can release it."));
        return;
    }
    DropProxy();
}

void CAutomationInstance::DropProxy()
{
    if (!m_pProxy)
        return;
    m_pWatcher->setWatchedServices({});
    // Unlinks the main window and unlocks the application, which may end it.
    m_pProxy.reset();
    Q_EMIT released();
}

CAutomationServer::CAutomationServer(const QDBusConnection &bus,
                                     std::function<CBrennicorDlg *()> mainWindow)
    : m_bus(bus), m_mainWindow(std::move(mainWindow))
{
}

CAutomationServer::~CAutomationServer()
{
    if (m_pInstance) {
        m_bus.unregisterObject(QString::fromLatin1(kInstancePath));
        m_pInstance.reset();
    }
    if (m_bRegistered) {
        m_bus.unregisterObject(QString::fromLatin1(kFactoryPath));
        if (!m_bUsed)
            m_bus.interface()->unregisterService(QString::fromLatin1(kAutomationService));
    }
    // A round trip to the bus: what this process sent before it (the reply to a
    // last Release) has then reached the bus, even though the process ends next.
    if (m_bus.isConnected())
        m_bus.interface()->call(QStringLiteral("GetId"));
}

bool CAutomationServer::RegisterAll()
{
    if (!m_bus.isConnected())
        return false;
    if (!m_bus.registerObject(QString::fromLatin1(kFactoryPath), this,
                              QDBusConnection::ExportScriptableSlots))
        return false;
    m_bRegistered = true;
    // Queued behind another process that still waits for its client, this one
    // gets the name as soon as that one has handed out its instance.
    m_bus.interface()->registerService(QString::fromLatin1(kAutomationService),
                                       QDBusConnectionInterface::QueueService,
                                       QDBusConnectionInterface::DontAllowReplacement);
    return true;
}

QDBusObjectPath CAutomationServer::CreateInstance()
{
    if (m_bUsed) {
        sendErrorReply(QString::fromLatin1(kErrorFactoryUsed),
                       QStringLiteral("This editor already serves a client; ask %1 again.")
                           .arg(QLatin1String(kAutomationService)));
        return {};
    }
    m_bUsed = true;
    // One instance per process: the next request goes to another process.
    m_bus.interface()->unregisterService(QString::fromLatin1(kAutomationService));

    const QString client = calledFromDBus() ? message().service() : QString();
    m_pInstance = std::make_unique<CAutomationInstance>(m_bus, client, m_mainWindow());
    connect(m_pInstance.get(), &CAutomationInstance::released, this,
            &CAutomationServer::OnInstanceReleased, Qt::QueuedConnection);
    if (!m_bus.registerObject(QString::fromLatin1(kInstancePath), m_pInstance.get(),
                              QDBusConnection::ExportScriptableSlots)) {
        m_pInstance.reset();
        sendErrorReply(QDBusError::Failed, QStringLiteral("The instance could not be exported."));
        return {};
    }
    return QDBusObjectPath(QString::fromLatin1(kInstancePath));
}

void CAutomationServer::OnInstanceReleased()
{
    // Runs from the event loop, never inside the call that released it.
    if (!m_pInstance || m_pInstance->IsHeld())
        return;
    m_bus.unregisterObject(QString::fromLatin1(kInstancePath));
    m_pInstance.reset();
}
