#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class CBrennicorDlg;
class CBrennicorDlgAutoProxy;
class QDBusServiceWatcher;

// What a client holds: the automation proxy, exported on the bus. It has no
// methods or properties of its own beyond Release. It goes when its client
// releases it or leaves the bus.
class CAutomationInstance : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "Brennicor.Application")

public:
    // Makes the proxy for dialog (which locks the application and links the two)
    // and starts watching client.
    CAutomationInstance(const QDBusConnection &bus, const QString &client, CBrennicorDlg *dialog);
    ~CAutomationInstance() override;

    [[nodiscard]] const QString &Client() const { return m_strClient; }
    [[nodiscard]] bool IsHeld() const { return m_pProxy != nullptr; }

public Q_SLOTS:
    Q_SCRIPTABLE void Release();

Q_SIGNALS:
    // The proxy is gone; the object may be taken off the bus.
    void released();

private:
    void DropProxy();

    QDBusConnection m_bus;
    QString m_strClient;
    std::unique_ptr<CBrennicorDlgAutoProxy> m_pProxy;
    QDBusServiceWatcher *m_pWatcher = nullptr;
};

// The class factory on the bus. It claims the well-known name and hands out one
// instance; then it gives the name up, so that the next client's request starts
// a fresh process through the activation file.
class CAutomationServer : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "Brennicor.ClassFactory")

public:
    // mainWindow gives the application's main window when an instance is made.
    CAutomationServer(const QDBusConnection &bus, std::function<CBrennicorDlg *()> mainWindow);
    // Releases an instance still held and leaves the bus tidy.
    ~CAutomationServer() override;

    // Exports the factory and claims the name (or queues for it while another
    // process holds it). Returns false when the factory cannot be exported.
    bool RegisterAll();

public Q_SLOTS:
    Q_SCRIPTABLE QDBusObjectPath CreateInstance();

private:
    void OnInstanceReleased();

    QDBusConnection m_bus;
    std::function<CBrennicorDlg *()> m_mainWindow;
    std::unique_ptr<CAutomationInstance> m_pInstance;
    bool m_bRegistered = false;
    bool m_bUsed = false;
};
