#include "link/network_address.h"

#include <QUrl>

namespace orvanta::link {

namespace {

std::optional<NetworkAddress::Kind> kindOf(const QString &scheme)
{
    if (scheme == u"tcp")
        return NetworkAddress::Kind::Raw;
    if (scheme == u"rfc2217")
        return NetworkAddress::Kind::ComPortControl;
    return std::nullopt;
}

} // namespace

std::optional<NetworkAddress> NetworkAddress::parse(const QString &device)
{
    const QUrl url(device, QUrl::StrictMode);
    const auto kind = kindOf(url.scheme().toLower());
    if (!kind || !url.isValid() || url.host().isEmpty() || url.port() <= 0 || !url.userInfo().isEmpty()
        || !(url.path().isEmpty() || url.path() == u"/") || url.hasQuery() || url.hasFragment())
        return std::nullopt;
    return NetworkAddress{*kind, url.host(), quint16(url.port())};
}

bool NetworkAddress::looksLikeOne(const QString &device)
{
    return device.contains(u"://");
}

QString NetworkAddress::endpoint() const
{
    // An IPv6 address keeps its brackets, so the port stays readable.
    return (host.contains(u':') ? u'[' + host + u']' : host) + u':' + QString::number(port);
}

} // namespace orvanta::link
