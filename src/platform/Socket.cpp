#include "platform/Socket.h"

#include "platform/EventGuard.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <utility>
#include <vector>

namespace platform {
namespace {

struct WinsockError {
    int number;
    const char* description;
};

// The numbers and texts the engine's messages are written for.
WinsockError ErrorOf(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return {10061, "Connection is forcefully rejected"};
    case QAbstractSocket::HostNotFoundError:
        return {11001, "Authoritative answer: Host not found"};
    case QAbstractSocket::SocketAccessError:
        return {10013, "Permission denied"};
    case QAbstractSocket::AddressInUseError:
        return {10048, "Address is in use"};
    case QAbstractSocket::SocketTimeoutError:
        return {10060, "Connection timed out"};
    case QAbstractSocket::NetworkError:
        return {10050, "Network is down"};
    case QAbstractSocket::RemoteHostClosedError:
        return {10054, "The connection is reset by remote side"};
    default:
        return {10053, "Connection is aborted due to timeout or other failure"};
    }
}

} // namespace

struct Socket::Impl {
    Socket& self;
    int state = kClosed;
    std::unique_ptr<QTcpServer> server;
    std::unique_ptr<QTcpSocket> socket;
    // A connection waiting in a ConnectionRequest event for Accept.
    std::unique_ptr<QTcpSocket> pending;
    long pendingId = 0;
    long nextRequestId = 1;
    QByteArray received;
    // Sockets and servers closed from inside one of their own events: Qt objects must not be
    // deleted while they emit, so they go at the next safe moment.
    std::vector<std::unique_ptr<QObject>> retired;
    bool purgeQueued = false;

    explicit Impl(Socket& owner) : self(owner) {}

    template <typename T> void Retire(std::unique_ptr<T>& object) {
        if (!object) return;
        object->disconnect();
        retired.push_back(std::move(object));
        if (!purgeQueued) {
            purgeQueued = true;
            QTimer::singleShot(0, [this, alive = alive] {
                if (*alive) Purge();
            });
        }
    }
    void Purge() {
        purgeQueued = false;
        retired.clear();
    }
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);

    void RaiseError(int number, const std::string& description) {
        CloseAll();
        if (auto h = self.Error) RunGuarded("Socket.Error", [&] { h(number, description); });
    }

    void CloseAll() {
        // Disconnected first: closing must not raise the events of what is being closed.
        if (socket) {
            socket->disconnect();
            socket->abort();
            Retire(socket);
        }
        if (server) {
            server->disconnect();
            server->close();
            Retire(server);
        }
        received.clear();
        state = kClosed;
    }

    void Adopt(std::unique_ptr<QTcpSocket> s) {
        socket = std::move(s);
        QTcpSocket* raw = socket.get();
        // Every action travels as one small message: none may wait for the peer's
        // acknowledgement of the one before.
        raw->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        QObject::connect(raw, &QTcpSocket::connected, raw, [this, raw] {
            raw->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            state = kConnected;
        });
        QObject::connect(raw, &QTcpSocket::readyRead, raw, [this, raw] {
            // Qt does not announce bytes that arrive while this event runs (a handler may pump
            // events), so they are taken here before the event ends.
            do {
                received += raw->readAll();
                if (auto h = self.DataArrival) RunGuarded("Socket.DataArrival", h);
            } while (socket.get() == raw && raw->bytesAvailable() > 0);
        });
        QObject::connect(raw, &QTcpSocket::bytesWritten, raw, [this, raw] {
            if (raw->bytesToWrite() > 0) return;
            if (auto h = self.SendComplete) RunGuarded("Socket.SendComplete", h);
        });
        QObject::connect(raw, &QTcpSocket::disconnected, raw, [this] {
            if (state == kConnected) state = kClosing;
        });
        QObject::connect(raw, &QTcpSocket::errorOccurred, raw, [this](QAbstractSocket::SocketError e) {
            // The peer's orderly close is not a fault: the connection is closing, and the next
            // send says so.
            if (e == QAbstractSocket::RemoteHostClosedError) {
                if (state == kConnected) state = kClosing;
                return;
            }
            const WinsockError w = ErrorOf(e);
            RaiseError(w.number, w.description);
        });
    }
};

Socket::Socket() : impl_(std::make_unique<Impl>(*this)) {}

Socket::~Socket() {
    *impl_->alive = false;
    impl_->CloseAll();
    impl_->pending.reset();
    impl_->Purge();
}

std::string Socket::LocalIP() {
    for (const QNetworkInterface& nic : QNetworkInterface::allInterfaces()) {
        const auto flags = nic.flags();
        if (!(flags & QNetworkInterface::IsUp) || (flags & QNetworkInterface::IsLoopBack)) continue;
        for (const QNetworkAddressEntry& entry : nic.addressEntries()) {
            const QHostAddress ip = entry.ip();
            if (ip.protocol() == QAbstractSocket::IPv4Protocol && !ip.isLoopback())
                return ip.toString().toStdString();
        }
    }
    return "127.0.0.1";
}

int Socket::State() const {
    return impl_->state;
}

int Socket::ListeningPort() const {
    return impl_->server && impl_->state == kListening ? impl_->server->serverPort() : 0;
}

void Socket::Connect(const std::string& host, int port) {
    impl_->CloseAll();
    impl_->Adopt(std::make_unique<QTcpSocket>());
    impl_->state = kConnecting;
    impl_->socket->connectToHost(QString::fromLatin1(host.data(), static_cast<qsizetype>(host.size())),
                                 static_cast<quint16>(port));
}

void Socket::Listen() {
    impl_->CloseAll();
    impl_->server = std::make_unique<QTcpServer>();
    QTcpServer* raw = impl_->server.get();
    if (LocalPort < 0 || LocalPort > 65535 ||
        !raw->listen(QHostAddress::AnyIPv4, static_cast<quint16>(LocalPort))) {
        const WinsockError w = ErrorOf(
            LocalPort < 0 || LocalPort > 65535 ? QAbstractSocket::UnknownSocketError : raw->serverError());
        impl_->RaiseError(w.number, w.description);
        return;
    }
    impl_->state = kListening;
    QObject::connect(raw, &QTcpServer::newConnection, raw, [this, raw] {
        while (QTcpSocket* incoming = raw->nextPendingConnection()) {
            incoming->setParent(nullptr);
            impl_->pending.reset(incoming);
            impl_->pendingId = impl_->nextRequestId++;
            if (auto h = ConnectionRequest)
                RunGuarded("Socket.ConnectionRequest", [&] { h(impl_->pendingId); });
            // Not accepted: refused.
            if (impl_->pending) {
                impl_->pending->disconnect();
                impl_->pending->abort();
                impl_->Retire(impl_->pending);
            }
            // The handler may have closed the listening socket.
            if (!impl_->server || impl_->server.get() != raw) break;
        }
    });
}

void Socket::Accept(long requestId) {
    if (!impl_->pending || requestId != impl_->pendingId) return;
    std::unique_ptr<QTcpSocket> incoming = std::move(impl_->pending);
    impl_->CloseAll();
    impl_->Adopt(std::move(incoming));
    impl_->state = impl_->socket->state() == QAbstractSocket::ConnectedState ? kConnected : kClosing;
    // Bytes the peer sent before the accept are waiting in the socket already.
    if (impl_->socket->bytesAvailable() > 0)
        QTimer::singleShot(0, impl_->socket.get(), [raw = impl_->socket.get()] { emit raw->readyRead(); });
}

void Socket::SendData(const std::string& bytes) {
    if (!impl_->socket || impl_->state != kConnected) return;
    // Written now rather than at the next turn of the event loop: a sender that waits for the
    // send to complete then usually needs no turn at all.
    impl_->socket->write(bytes.data(), static_cast<qint64>(bytes.size()));
    impl_->socket->flush();
}

std::size_t Socket::BytesToWrite() const {
    return impl_->socket ? static_cast<std::size_t>(impl_->socket->bytesToWrite()) : 0;
}

std::size_t Socket::BytesReceived() const {
    return static_cast<std::size_t>(impl_->received.size());
}

std::string Socket::PeekData() const {
    return std::string(impl_->received.constData(), static_cast<std::size_t>(impl_->received.size()));
}

std::string Socket::GetData(std::size_t length) {
    const auto n = static_cast<qsizetype>(std::min(length, BytesReceived()));
    std::string taken(impl_->received.constData(), static_cast<std::size_t>(n));
    impl_->received.remove(0, n);
    return taken;
}

void Socket::Close() {
    impl_->CloseAll();
}

} // namespace platform
