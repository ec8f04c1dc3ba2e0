#include "gui/frame/ListingServerStatusText.h"

#include <QStringList>

namespace tl {
namespace {

QString forwarded(const char* protocol, const ListingServerStatus& status) {
    QString text = QStringLiteral("Router forwards the port (%1)").arg(protocol);
    if (!status.externalAddress.empty())
        text += QStringLiteral(", external address %1")
                    .arg(QString::fromStdString(status.externalAddress));
    return text;
}

QString routerText(const ListingServerStatus& status) {
    switch (status.router) {
        case RouterState::NotAsked:
            return {};
        case RouterState::LoopbackOnly:
            return QStringLiteral("Loopback only (%1): no router forwards to it")
                .arg(QString::fromStdString(status.bindAddress));
        case RouterState::Asking:
            return QStringLiteral("Asking the router to forward the port");
        case RouterState::AddedUpnp:
            return forwarded("UPnP", status);
        case RouterState::AddedNatPmp:
            return forwarded("NAT-PMP", status);
        case RouterState::Refused:
            return QStringLiteral("The router refused to forward the port");
        case RouterState::NoRouter:
            return QStringLiteral("No router found to forward the port");
    }
    return {};
}

QString reachabilityText(Reachability reachability) {
    switch (reachability) {
        case Reachability::Unknown:
            return QStringLiteral("Reachability unknown");
        case Reachability::Checking:
            return QStringLiteral("Checking whether others can reach you");
        case Reachability::Reachable:
            return QStringLiteral("Others can open your listings");
        case Reachability::Unreachable:
            return QStringLiteral(
                "Others cannot reach your computer: your listings open from the marketplace "
                "copy, without photos");
    }
    return {};
}

}  // namespace

QString listingServerStatusText(const ListingServerStatus& status) {
    switch (status.listening) {
        case ServerListening::Starting:
            return {};
        case ServerListening::PortBusy:
            return QStringLiteral("Listing server not started: port %1 busy").arg(status.port);
        case ServerListening::Listening:
            break;
    }
    QStringList parts{QStringLiteral("Listening on port %1").arg(status.port)};
    if (const QString router = routerText(status); !router.isEmpty()) parts << router;
    parts << reachabilityText(status.reachability);
    return parts.join(QStringLiteral(" | "));
}

}  // namespace tl
