#pragma once

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>

// A TCP and a UDP port on the loopback address that record every connection
// and datagram that reaches them: pages under test aim their attempts here,
// and nothing may arrive.
class LoopbackListener {
public:
    LoopbackListener()
    {
        m_tcp.listen(QHostAddress::LocalHost);
        QObject::connect(&m_tcp, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = m_tcp.nextPendingConnection()) {
                arrived << QStringLiteral("tcp connection");
                socket->close();
                socket->deleteLater();
            }
        });
        m_udp.bind(QHostAddress::LocalHost, 0);
        QObject::connect(&m_udp, &QUdpSocket::readyRead, [this] {
            while (m_udp.hasPendingDatagrams()) {
                m_udp.receiveDatagram();
                arrived << QStringLiteral("udp datagram");
            }
        });
    }
    bool ready() const { return m_tcp.isListening() && m_udp.state() == QAbstractSocket::BoundState; }
    quint16 tcpPort() const { return m_tcp.serverPort(); }
    quint16 udpPort() const { return m_udp.localPort(); }
    // Replaces {TCP} and {UDP} in a text by the ports.
    QString withPorts(QString text) const
    {
        return text.replace(QStringLiteral("{TCP}"), QString::number(tcpPort()))
            .replace(QStringLiteral("{UDP}"), QString::number(udpPort()));
    }

    QStringList arrived;

private:
    QTcpServer m_tcp;
    QUdpSocket m_udp;
};
