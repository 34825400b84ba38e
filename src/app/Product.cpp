// SPDX-License-Identifier: MIT
#include "Product.h"

#include <QUrlQuery>

namespace Product {

static QUrl onHost(const QString& path) {
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(WebHost);
    url.setPath(path);
    return url;
}

QUrl homePageUrl() {
    QUrl url = onHost(QStringLiteral("/HOME/default.asp"));
    QUrlQuery q;
    q.addQueryItem(QStringLiteral("frompg"), Code);
    url.setQuery(q);
    return url;
}

QUrl downloadPageUrl() {
    QUrl url = onHost(QStringLiteral("/Home/download/download.asp"));
    url.setFragment(QStringLiteral("HDKV210"));
    return url;
}

QUrl versionUrl() {
    QUrl url = onHost(QStringLiteral("/home/download/GetversionSW.asp"));
    QUrlQuery q;
    q.addQueryItem(QStringLiteral("nomesw"), Code);
    url.setQuery(q);
    return url;
}

} // namespace Product
